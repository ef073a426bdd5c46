// Whole-file reading and crash-safe writing of pack files.
#include "pack/PackFile.h"

#include "pack/KzpCodec.h"
#include "pack/PackStore.h"
#include "platform/FileErrors.h"
#include "platform/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

using kzp::TUniqueFd;

namespace {

constexpr std::size_t kWriteChunk = 1 << 20;

} // namespace

std::string IOErrorMessage(int errnoValue, const std::string &path) {
  std::string text = kzp::FileErrorText(errnoValue);
  if (!path.empty())
    text += ": " + path;
  return text;
}

void CheckPlainFile(const struct stat &st, const std::string &path) {
  if (S_ISDIR(st.st_mode))
    throw EPackIOError(IOErrorMessage(EISDIR, path), EISDIR);
  if (!S_ISREG(st.st_mode))
    throw EPackIOError("Keine gewöhnliche Datei: " + path, 0);
}

int OpenPlainFile(const std::string &path, struct stat &st) {
  // Without O_NONBLOCK the open of a pipe would wait for a writer that may never come; a
  // plain file reads the same either way, but the flag is cleared again for it all the same.
  TUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.Valid())
    throw EPackIOError(IOErrorMessage(errno, path), errno);
  if (::fstat(fd.Get(), &st) != 0)
    throw EPackIOError(IOErrorMessage(errno, path), errno);
  CheckPlainFile(st, path);
  const int flags = ::fcntl(fd.Get(), F_GETFL);
  if (flags >= 0)
    ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK);
  return fd.Release();
}

namespace {

// Reads `fd` to its end in blocks of `blockSize` bytes into a buffer sized for `expected`,
// so a large file is never copied while it grows; the last read (of 0 bytes) confirms the end.
std::string ReadAll(int fd, std::size_t expected, std::size_t blockSize, const std::string &path) {
  std::string data(expected, '\0');
  std::size_t used = 0;
  for (;;) {
    if (data.size() == used)
      data.resize(used + blockSize);
    const std::size_t room = std::min(blockSize, data.size() - used);
    const ssize_t got = ::read(fd, data.data() + used, room);
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
  return data;
}

} // namespace

std::string ReadWholeFile(const std::string &path, std::size_t blockSize) {
  struct stat st {};
  TUniqueFd fd(OpenPlainFile(path, st));
  return ReadAll(fd.Get(), static_cast<std::size_t>(st.st_size), blockSize, path);
}

namespace {

// The lines of a pack file joined (a line ends at LF or CR LF). A file written by the pack
// writer has its only line end at the very end and is used where it lies; otherwise the
// lines are joined into a copy. Each entry of lineStarts tells where in the joined text a
// line starts and at which file offset, so a damaged byte can be named by its position.
struct TJoinedText {
  std::string_view text;
  std::string storage;
  std::vector<std::pair<std::size_t, std::size_t>> lineStarts;

  std::size_t FileOffset(std::size_t joined) const {
    auto after = std::upper_bound(
        lineStarts.begin(), lineStarts.end(), joined,
        [](std::size_t v, const std::pair<std::size_t, std::size_t> &e) { return v < e.first; });
    if (after == lineStarts.begin())
      return joined;
    return (after - 1)->second + (joined - (after - 1)->first);
  }
};

void JoinLines(std::string_view content, TJoinedText &joined) {
  const std::size_t n = content.size();
  const void *first = std::memchr(content.data(), '\n', n);
  if (!first) {
    joined.text = content;
    return;
  }
  if (static_cast<const char *>(first) == content.data() + n - 1) {
    std::size_t keep = n - 1;
    if (keep > 0 && content[keep - 1] == '\r')
      --keep;
    joined.text = content.substr(0, keep);
    return;
  }
  std::string &out = joined.storage;
  out.reserve(n);
  std::size_t read = 0;
  while (read < n) {
    const void *hit = std::memchr(content.data() + read, '\n', n - read);
    const std::size_t lineEnd =
        hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - content.data()) : n;
    std::size_t keepEnd = lineEnd;
    if (hit && keepEnd > read && content[keepEnd - 1] == '\r')
      --keepEnd;
    out.append(content.data() + read, keepEnd - read);
    read = hit ? lineEnd + 1 : n;
    if (hit)
      joined.lineStarts.emplace_back(out.size(), read);
  }
  joined.text = out;
}

// Decoding ended at `stop`. Fill characters and blanks after the data are harmless; anything
// else means the data was cut short there.
void CheckDecodeStop(const TJoinedText &joined, std::size_t stop, const std::string &path) {
  if (stop >= joined.text.size())
    return;
  const std::string_view rest = joined.text.substr(stop + 1);
  const bool onlyFill = std::all_of(rest.begin(), rest.end(), [](char c) {
    return c == '=' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
  });
  if (!onlyFill)
    throw EPackFormatError("Die Datei ist beschädigt: ungültiges Zeichen an Byte-Position " +
                           std::to_string(joined.FileOffset(stop)) + " (gezählt ab 0): " + path);
}

TFileIdentity IdentityOfStat(const struct stat &st) {
  return TFileIdentity{
      static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
      static_cast<long long>(st.st_size), static_cast<long long>(st.st_mtim.tv_sec),
      static_cast<long long>(st.st_mtim.tv_nsec)};
}

// A file's bytes, mapped where possible so that a large pack is not copied into fresh memory.
class TFileBytes {
public:
  explicit TFileBytes(const std::string &path) {
    struct stat st {};
    TUniqueFd fd(OpenPlainFile(path, st));
    identity_ = IdentityOfStat(st);
    if (st.st_size == 0)
      return;
    void *map = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ,
                       MAP_PRIVATE | MAP_POPULATE, fd.Get(), 0);
    if (map != MAP_FAILED) {
      map_ = map;
      size_ = static_cast<std::size_t>(st.st_size);
      return;
    }
    owned_ = ReadAll(fd.Get(), static_cast<std::size_t>(st.st_size), 1 << 20, path);
  }
  ~TFileBytes() {
    if (map_)
      ::munmap(map_, size_);
  }
  TFileBytes(const TFileBytes &) = delete;
  TFileBytes &operator=(const TFileBytes &) = delete;

  std::string_view Bytes() const {
    return map_ ? std::string_view(static_cast<const char *>(map_), size_)
                : std::string_view(owned_);
  }
  const TFileIdentity &Identity() const { return identity_; }

private:
  void *map_ = nullptr;
  std::size_t size_ = 0;
  std::string owned_;
  TFileIdentity identity_;
};

} // namespace

std::string PackTextOfFileContent(std::string content, const std::string &path) {
  TJoinedText joined;
  JoinLines(content, joined);
  std::string packText;
  const std::size_t stop = DecodeBase64To(joined.text, packText);
  CheckDecodeStop(joined, stop, path);
  return packText;
}

TPackRead ReadPackBytes(std::string_view content, const std::string &path) {
  TJoinedText joined;
  JoinLines(content, joined);

  // First pass: decode slice by slice into a small buffer, only to find where decoding
  // stops and where each record lies. The records are cut as SplitString on LF cuts them:
  // runs of LF collapse, and only a run of two or more at the end leaves one empty record.
  constexpr std::size_t kSlice = 1 << 16; // characters; a multiple of 4 keeps groups whole
  std::vector<std::pair<std::size_t, std::size_t>> ranges;
  std::string scratch;
  std::size_t decoded = 0, stop = joined.text.size(), tokenStart = 0, trailingLf = 0;
  bool inToken = false;
  for (std::size_t at = 0; at < joined.text.size(); at += kSlice) {
    const std::string_view slice = joined.text.substr(at, kSlice);
    const std::size_t sliceStop = DecodeBase64To(slice, scratch);
    const char *bytes = scratch.data();
    const std::size_t m = scratch.size();
    std::size_t i = 0;
    while (i < m) {
      if (!inToken) {
        while (i < m && bytes[i] == '\n') {
          ++i;
          ++trailingLf;
        }
        if (i < m) {
          inToken = true;
          tokenStart = decoded + i;
          trailingLf = 0;
        }
      } else {
        const void *hit = std::memchr(bytes + i, '\n', m - i);
        if (!hit) {
          i = m;
        } else {
          const std::size_t j = static_cast<std::size_t>(static_cast<const char *>(hit) - bytes);
          ranges.emplace_back(tokenStart, decoded + j);
          inToken = false;
          trailingLf = 1;
          i = j + 1;
        }
      }
    }
    decoded += m;
    if (sliceStop < slice.size()) {
      stop = at + sliceStop;
      break;
    }
  }
  CheckDecodeStop(joined, stop, path);
  TPackRead read;
  // The writer ends the pack text with LF and never leaves a lone character (6 bits, no
  // whole byte) at the end of its base64: either one means the file ends early.
  read.CutOff = decoded > 0 && (inToken || stop % 4 == 1);
  read.LastRecordCut = inToken;
  if (inToken)
    ranges.emplace_back(tokenStart, decoded);
  else if (decoded > 0 && (ranges.empty() || trailingLf >= 2))
    ranges.emplace_back(decoded, decoded);

  // Second pass: each record decoded straight into its own string.
  const std::string_view data = joined.text.substr(0, stop);
  read.Records.reserve(ranges.size());
  for (const auto &[first, end] : ranges) {
    read.Records.emplace_back(end - first, '\0');
    DecodeBase64Span(data, first, end, read.Records.back().data());
  }
  return read;
}

TPackRead ReadPackFile(const std::string &path) {
  const TFileBytes file(path);
  TPackRead read = ReadPackBytes(file.Bytes(), path);
  read.File = file.Identity();
  return read;
}

bool IdentityOf(const std::string &path, TFileIdentity &identity) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0)
    return false;
  identity = IdentityOfStat(st);
  return true;
}

bool IdentityOfTarget(const std::string &path, TFileIdentity &identity) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    return false;
  identity = IdentityOfStat(st);
  return true;
}

TFileIdentity IdentityOfFd(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0)
    return TFileIdentity{};
  return IdentityOfStat(st);
}

void EncodeRecords(const std::vector<std::string> &records, std::size_t first,
                   TBase64StreamEncoder &encoder, std::string &chunk,
                   const std::function<void(std::string &chunk)> &flush) {
  for (std::size_t i = first; i < records.size(); ++i) {
    std::string_view rest(records[i]);
    while (!rest.empty()) {
      const std::size_t take = std::min(rest.size(), kEncodeSlice);
      encoder.Feed(rest.substr(0, take), chunk);
      rest.remove_prefix(take);
      if (chunk.size() >= kEncodeSlice)
        flush(chunk);
    }
    encoder.Feed("\n", chunk);
  }
}

TReplaceTarget PrepareReplace(const std::string &path) {
  TReplaceTarget t;
  t.Path = path;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
      t.Path = resolved;
  }
  const std::size_t slash = t.Path.rfind('/');
  t.Folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : t.Path.substr(0, slash));
  t.Base = slash == std::string::npos ? t.Path : t.Path.substr(slash + 1);
  auto fail = [&](int err) { throw EPackIOError(IOErrorMessage(err, path), err); };
  if (::stat(t.Path.c_str(), &st) == 0) {
    CheckPlainFile(st, path);
    // The rename would replace a read-only file without asking, so ask the file itself
    // whether it may be written.
    if (!TUniqueFd(::open(t.Path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK)).Valid())
      fail(errno);
    // A file nobody may write is read-only for the administrator too, as the read-only
    // attribute is on the desktop systems our users come from.
    if ((st.st_mode & 0222) == 0)
      fail(EACCES);
    t.Exists = true;
    t.Mode = st.st_mode & 07777;
    t.HaveOwner = true;
    t.Owner = st.st_uid;
    t.Group = st.st_gid;
  } else if (errno == ENOENT) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    t.Mode = 0666 & ~mask;
  } else {
    fail(errno);
  }
  return t;
}

void SyncFolder(const std::string &folder) {
  const TUniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Valid())
    ::fsync(dir.Get());
}

TSafeFileWriter::TSafeFileWriter(const std::string &path)
    : path_(path), target_(PrepareReplace(path)) {
  // The process number in the name lets a later run tell a leftover of a crash.
  std::string pattern =
      target_.Folder + "/." + target_.Base + ".tmp-" + std::to_string(::getpid()) + "-XXXXXX";
  fd_.Reset(::mkostemp(pattern.data(), O_CLOEXEC));
  if (!fd_.Valid())
    Fail(errno);
  temp_ = pattern;
  buffer_.reserve(kWriteChunk);
}

TSafeFileWriter::~TSafeFileWriter() {
  fd_.Reset();
  if (!temp_.empty())
    ::unlink(temp_.c_str());
}

void TSafeFileWriter::Fail(int errnoValue) {
  fd_.Reset();
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
  throw EPackIOError(IOErrorMessage(errnoValue, path_), errnoValue);
}

void TSafeFileWriter::Write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() <= kWriteChunk) {
    buffer_.append(bytes);
    return;
  }
  Flush();
  if (bytes.size() >= kWriteChunk)
    WriteOut(bytes);
  else
    buffer_.append(bytes);
}

int WriteAll(int fd, std::string_view bytes) {
  const char *p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t put = ::write(fd, p, left);
    if (put < 0) {
      if (errno == EINTR)
        continue;
      return errno;
    }
    p += put;
    left -= static_cast<std::size_t>(put);
  }
  return 0;
}

void TSafeFileWriter::WriteOut(std::string_view bytes) {
  if (const int err = WriteAll(fd_.Get(), bytes))
    Fail(err);
}

void TSafeFileWriter::Flush() {
  WriteOut(buffer_);
  buffer_.clear();
}

void TSafeFileWriter::Commit(void (*beforeRename)(void *), void *context) {
  Flush();
  if (target_.HaveOwner && ::geteuid() == 0) {
    // Only root can give the file back to its owner; for everyone else it is theirs anyway.
    if (::fchown(fd_.Get(), target_.Owner, target_.Group) != 0) {
      // The pack then belongs to root; it is still whole and readable by root.
    }
  }
  if (::fchmod(fd_.Get(), static_cast<mode_t>(target_.Mode)) != 0)
    Fail(errno);
  if (::fsync(fd_.Get()) != 0)
    Fail(errno);
  written_ = IdentityOfFd(fd_.Get());
  if (const int err = fd_.Close())
    Fail(err);
  if (beforeRename)
    beforeRename(context);
  if (::rename(temp_.c_str(), target_.Path.c_str()) != 0)
    Fail(errno);
  temp_.clear();
  // The rename itself must reach the disk too, or a crash could bring back the old file.
  SyncFolder(target_.Folder);
}
