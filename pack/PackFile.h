// Whole-file reading and crash-safe writing for the pack store and the kzp tool, with the
// store's German error messages.
#pragma once

#include "platform/UniqueFd.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct stat;

// Refuses (EPackIOError) what `st` shows is not a plain file: a folder, or a device, pipe or
// socket, which may never end (/dev/zero) or never deliver (a pipe without a writer).
void CheckPlainFile(const struct stat &st, const std::string &path);

// Opens the plain file at `path` for reading without ever waiting for a pipe, and tells
// what it is through `st`; EPackIOError (CheckPlainFile's included) on failure.
int OpenPlainFile(const std::string &path, struct stat &st);

// Reads the whole plain file at `path` in blocks of `blockSize` bytes; EPackIOError on failure
// (a folder given instead of a file included).
std::string ReadWholeFile(const std::string &path, std::size_t blockSize = 1 << 20);

// The pack text inside a pack file's content: its lines joined (a line ends at LF or CR LF),
// then decoded. Decoding ends at the first character outside the alphabet; when anything
// but "=", blanks, TABs, CR or LF follows that character the data was cut short and
// EPackFormatError names the byte, since saving such a pack would throw away the rest.
// `fileContent` is consumed to keep only one copy of a large pack in memory.
std::string PackTextOfFileContent(std::string fileContent, const std::string &path);

// Where a file lies on disk and when it was last changed, to tell whether a file is still
// the one this program read or wrote.
struct TFileIdentity {
  unsigned long long Device = 0, Inode = 0;
  long long Size = -1, MtimeSec = 0, MtimeNsec = 0;
  bool operator==(const TFileIdentity &) const = default;
};
bool IdentityOf(const std::string &path,
                TFileIdentity &identity); // the name itself; false when missing
bool IdentityOfTarget(const std::string &path, TFileIdentity &identity); // a link followed
TFileIdentity IdentityOfFd(int fd);

// What reading a pack file gives: its records (the pack text cut on LF as SplitString cuts
// it), the file as it was read, and whether it ends early: a pack text that does not end
// with LF, or base64 that ends in a lone character, is cut off, since the writer never
// leaves either. LastRecordCut tells that the last record itself is incomplete.
struct TPackRead {
  std::vector<std::string> Records;
  TFileIdentity File;
  bool CutOff = false;
  bool LastRecordCut = false;
};

// The pack in a pack file's content, its lines joined and decoded as above. Damage in the
// middle raises EPackFormatError naming the byte (with `path`).
TPackRead ReadPackBytes(std::string_view fileContent, const std::string &path);

// The pack file at `path`, read without a second copy of it or of the pack text, so opening
// a large pack needs little more memory than its records.
TPackRead ReadPackFile(const std::string &path);

class TBase64StreamEncoder;

// Pack text is encoded and written in slices of this many bytes (a multiple of 3), so that a
// write never holds a second copy of a large pack.
constexpr std::size_t kEncodeSlice = 3 << 18;

// Feeds the pack text of records[first, end) (each record followed by LF) to `encoder`,
// appending its base64 text to `chunk`; whenever `chunk` reaches a slice, `flush` must write
// it out and empty it. What remains in `chunk` (and in the encoder) is the caller's.
void EncodeRecords(const std::vector<std::string> &records, std::size_t first,
                   TBase64StreamEncoder &encoder, std::string &chunk,
                   const std::function<void(std::string &chunk)> &flush);

// A file about to be replaced: a link resolved to the file it names, its folder and name,
// and the permissions and owner the replacement takes over.
struct TReplaceTarget {
  std::string Path, Folder, Base;
  bool Exists = false;
  unsigned Mode = 0;
  bool HaveOwner = false;
  unsigned Owner = 0, Group = 0;
};

// Resolves `path` and makes sure its file may be replaced: not a folder, not read-only, its
// folder writable. EPackIOError with `path` in the message otherwise.
TReplaceTarget PrepareReplace(const std::string &path);

// Flushes a folder's entries (a rename in it) to disk.
void SyncFolder(const std::string &folder);

// Writes all of `bytes` to `fd`, going on after interruptions: 0, or the errno that stopped it.
int WriteAll(int fd, std::string_view bytes);

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
  // `beforeRename` runs once the new file is on disk, just before it replaces the old one.
  void Commit(void (*beforeRename)(void *) = nullptr, void *context = nullptr);

  const TReplaceTarget &Target() const { return target_; }
  // The new file as it lies on disk after Commit().
  const TFileIdentity &Written() const { return written_; }

private:
  void Flush();
  void WriteOut(std::string_view bytes);
  [[noreturn]] void Fail(int errnoValue);

  std::string path_; // as the caller named it, for messages
  TReplaceTarget target_;
  TFileIdentity written_;
  std::string temp_;
  std::string buffer_;
  kzp::TUniqueFd fd_;
};
