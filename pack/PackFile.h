// Whole-file reading and crash-safe writing for the pack store and the kzp tool, with the
// store's German error messages.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reads the whole file at `path` in blocks of `blockSize` bytes; EPackIOError on failure
// (a folder given instead of a file included).
std::string ReadWholeFile(const std::string &path, std::size_t blockSize = 1 << 20);

// The pack text inside a pack file's content: its lines joined (a line ends at LF or CR LF),
// then decoded. Decoding ends at the first character outside the alphabet; when anything
// but "=", blanks, TABs, CR or LF follows that character the data was cut short and
// EPackFormatError names the byte, since saving such a pack would throw away the rest.
// `fileContent` is consumed to keep only one copy of a large pack in memory.
std::string PackTextOfFileContent(std::string fileContent, const std::string &path);

// The records of the pack file at `path`: its lines joined and decoded as above, the pack
// text cut on LF as SplitString cuts it. The file is read without a second copy of it or of
// the pack text, so opening a large pack needs little more memory than its records.
std::vector<std::string> ReadPackRecords(const std::string &path);

// Writes a file so that at no moment the old one is missing or partly replaced: the bytes
// go to a temporary file beside the target, which is flushed to disk, given the target's
// permissions and renamed over it. A link is followed, so the file it names is replaced.
// Without Commit() (an error or an exception) the temporary file is removed and the target
// stays as it was.
class TSafeFileWriter {
public:
    explicit TSafeFileWriter(const std::string &path);
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter &) = delete;
    TSafeFileWriter &operator=(const TSafeFileWriter &) = delete;

    void Write(std::string_view bytes);
    void Commit();

private:
    void Flush();
    [[noreturn]] void Fail(int errnoValue);

    std::string path_;   // as the caller named it, for messages
    std::string target_; // the file that is replaced
    std::string temp_;
    std::string buffer_;
    int fd_ = -1;
    unsigned mode_ = 0;
    bool haveOwner_ = false;
    unsigned owner_ = 0, group_ = 0;
};
