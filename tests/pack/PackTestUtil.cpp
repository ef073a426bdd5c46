// Helpers of the pack tests.
#include "PackTestUtil.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

TTempFolder::TTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kzpack-XXXXXX").string();
  if (!::mkdtemp(pattern.data()))
    throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TTempFolder::~TTempFolder() {
  std::error_code ec;
  // Restore write access first so read-only test files can be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_symlink(ec))
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

void WriteBytes(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const std::string &path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

unsigned FileMode(const std::string &path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

std::string AllBytes() {
  std::string s;
  for (int i = 0; i < 256; ++i)
    s += static_cast<char>(i);
  return s;
}

std::string ReferenceEncode(const std::string &bytes) {
  std::string out;
  unsigned acc = 0;
  int count = 0;
  for (unsigned char c : bytes) {
    acc = (acc << 8) + c;
    count += 8;
    while (count >= 6) {
      count -= 6;
      out += kAlphabet[acc >> count];
      acc &= (1u << count) - 1;
    }
  }
  if (count > 0)
    out += kAlphabet[acc << (6 - count)];
  return out;
}

std::string ReferenceDecode(const std::string &text) {
  std::string out;
  unsigned acc = 0;
  int count = 0;
  for (char ch : text) {
    const char *hit = ch ? std::strchr(kAlphabet, ch) : nullptr;
    if (!hit)
      break;
    acc = (acc << 6) + static_cast<unsigned>(hit - kAlphabet);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((acc >> count) & 0xFF);
      acc &= (1u << count) - 1;
    }
  }
  return out;
}

std::string PackFileOf(const std::string &packText) { return ReferenceEncode(packText) + "\r\n"; }

std::string Joined(const std::vector<std::string> &records) {
  std::string text;
  for (const std::string &r : records)
    text += r + "\n";
  return text;
}

std::vector<std::string> FolderEntries(const std::string &dir) {
  std::vector<std::string> names;
  DIR *d = ::opendir(dir.c_str());
  while (const dirent *e = ::readdir(d)) {
    const std::string n = e->d_name;
    if (n != "." && n != "..")
      names.push_back(n);
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}
