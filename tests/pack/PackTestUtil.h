// Helpers of the pack tests: a fresh folder per test and whole-file reading and writing.
#pragma once

#include <string>
#include <vector>

class TTempFolder {
public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder &) = delete;
  TTempFolder &operator=(const TTempFolder &) = delete;

  const std::string &Path() const { return path_; }
  std::string operator/(const std::string &name) const { return path_ + "/" + name; }

private:
  std::string path_;
};

void WriteBytes(const std::string &path, const std::string &bytes);
std::string ReadBytes(const std::string &path);
bool Exists(const std::string &path);
unsigned FileMode(const std::string &path);

// The pack text of `records`: each followed by LF.
std::string Joined(const std::vector<std::string> &records);
// The names in a folder, "." and ".." left out, sorted.
std::vector<std::string> FolderEntries(const std::string &dir);

// Every byte value 0..255 once, in order.
std::string AllBytes();

// The file a pack with these records is written as: records joined with LF after each,
// encoded without "=", then CR LF.
std::string PackFileOf(const std::string &packText);

// The encoder written out as the plain bit accumulator, to check the fast one against.
std::string ReferenceEncode(const std::string &bytes);
std::string ReferenceDecode(const std::string &text);
inline std::string EncodeBase64ForTest(const std::string &bytes) { return ReferenceEncode(bytes); }
