// Whole-file reading and crash-safe writing of pack files.
#include "pack/PackFile.h"

#include "pack/KzpCodec.h"
#include "pack/PackStore.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kWriteChunk = 1 << 20;

std::string FolderMessage(const std::string &path)
{
    return "Ist ein Ordner, keine Datei: " + path;
}

class TFd {
public:
    explicit TFd(int fd) : fd_(fd) {}
    ~TFd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TFd(const TFd &) = delete;
    TFd &operator=(const TFd &) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::string IOErrorMessage(int errnoValue, const std::string &path)
{
    std::string text;
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        text = "Datei nicht gefunden";
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        text = "Zugriff verweigert";
        break;
    case EISDIR:
        return FolderMessage(path);
    default:
        text = "E/A-Fehler " + std::to_string(errnoValue);
        break;
    }
    if (!path.empty())
        text += ": " + path;
    return text;
}

std::string ReadWholeFile(const std::string &path, std::size_t blockSize)
{
    TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        throw EPackIOError(IOErrorMessage(errno, path), errno);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        throw EPackIOError(IOErrorMessage(errno, path), errno);
    if (S_ISDIR(st.st_mode))
        throw EPackIOError(FolderMessage(path), EISDIR);
    std::string data;
    if (S_ISREG(st.st_mode))
        data.reserve(static_cast<std::size_t>(st.st_size));
    std::size_t used = 0;
    for (;;) {
        if (data.size() < used + blockSize)
            data.resize(used + blockSize);
        const ssize_t got = ::read(fd.Get(), data.data() + used, blockSize);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            throw EPackIOError(IOErrorMessage(err, path), err);
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    data.resize(used);
    data.shrink_to_fit();
    return data;
}

std::string PackTextOfFileContent(std::string content, const std::string &path)
{
    // Join the lines in place. Each entry tells where in the joined text the next line
    // starts and at which file offset, so a damaged byte can be named by its file position.
    std::vector<std::pair<std::size_t, std::size_t>> lineStarts;
    char *text = content.data();
    const std::size_t n = content.size();
    std::size_t read = 0, written = 0;
    while (read < n) {
        const void *hit = std::memchr(text + read, '\n', n - read);
        const std::size_t lineEnd = hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - text) : n;
        std::size_t keepEnd = lineEnd;
        if (hit && keepEnd > read && text[keepEnd - 1] == '\r')
            --keepEnd;
        if (written != read)
            std::memmove(text + written, text + read, keepEnd - read);
        written += keepEnd - read;
        read = hit ? lineEnd + 1 : n;
        if (hit)
            lineStarts.emplace_back(written, read);
    }
    content.resize(written);

    std::string packText;
    const std::size_t stop = DecodeBase64To(content, packText);
    if (stop < content.size()) {
        const bool onlyFill = std::all_of(content.begin() + static_cast<std::ptrdiff_t>(stop) + 1, content.end(),
                                          [](char c) { return c == '=' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
        if (!onlyFill) {
            std::size_t offset = stop;
            auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), stop,
                                          [](std::size_t v, const std::pair<std::size_t, std::size_t> &e) { return v < e.first; });
            if (after != lineStarts.begin()) {
                const auto &start = *(after - 1);
                offset = start.second + (stop - start.first);
            }
            throw EPackFormatError("Die Datei ist beschädigt: ungültiges Zeichen an Byte-Position " +
                                   std::to_string(offset) + " (gezählt ab 0): " + path);
        }
    }
    return packText;
}

TSafeFileWriter::TSafeFileWriter(const std::string &path) : path_(path), target_(path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved))
            target_ = resolved;
    }
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            throw EPackIOError(FolderMessage(path_), EISDIR);
        // The rename would replace a read-only file without asking, so ask the file itself
        // whether it may be written.
        const int probe = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
        if (probe < 0)
            Fail(errno);
        ::close(probe);
        // A file nobody may write is read-only for the administrator too, as the read-only
        // attribute is on the desktop systems our users come from.
        if ((st.st_mode & 0222) == 0)
            Fail(EACCES);
        mode_ = st.st_mode & 07777;
        haveOwner_ = true;
        owner_ = st.st_uid;
        group_ = st.st_gid;
    } else if (errno == ENOENT) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode_ = 0666 & ~mask;
    } else {
        Fail(errno);
    }

    const std::size_t slash = target_.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target_.substr(0, slash));
    const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    std::string pattern = dir + "/." + base + ".tmp-XXXXXX";
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0)
        Fail(errno);
    temp_ = pattern;
    buffer_.reserve(kWriteChunk);
}

TSafeFileWriter::~TSafeFileWriter()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temp_.empty())
        ::unlink(temp_.c_str());
}

void TSafeFileWriter::Fail(int errnoValue)
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    throw EPackIOError(IOErrorMessage(errnoValue, path_), errnoValue);
}

void TSafeFileWriter::Write(std::string_view bytes)
{
    if (buffer_.size() + bytes.size() <= kWriteChunk) {
        buffer_.append(bytes);
        return;
    }
    Flush();
    if (bytes.size() >= kWriteChunk) {
        const char *p = bytes.data();
        std::size_t left = bytes.size();
        while (left > 0) {
            const ssize_t put = ::write(fd_, p, left);
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                Fail(errno);
            }
            p += put;
            left -= static_cast<std::size_t>(put);
        }
    } else {
        buffer_.append(bytes);
    }
}

void TSafeFileWriter::Flush()
{
    const char *p = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t put = ::write(fd_, p, left);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
        }
        p += put;
        left -= static_cast<std::size_t>(put);
    }
    buffer_.clear();
}

void TSafeFileWriter::Commit()
{
    Flush();
    if (haveOwner_ && ::geteuid() == 0) {
        // Only root can give the file back to its owner; for everyone else it is theirs anyway.
        if (::fchown(fd_, owner_, group_) != 0) {
            // The pack then belongs to root; it is still whole and readable by root.
        }
    }
    if (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0)
        Fail(errno);
    if (::fsync(fd_) != 0)
        Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        Fail(errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        Fail(errno);
    temp_.clear();
    // The rename itself must reach the disk too, or a crash could bring back the old file.
    const std::size_t slash = target_.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target_.substr(0, slash));
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}
