// Small readers shared by the tests of the data files that lie beside the program.
#include "DataFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kzdata {

std::string BinPath(const std::string &relative) {
  return std::string(KZ_BIN_DIR) + "/" + relative;
}

std::string SourcePath(const std::string &relative) {
  return std::string(KZ_PROJECT_DIR) + "/" + relative;
}

bool FileExists(const std::string &path) { return std::filesystem::is_regular_file(path); }

std::string ReadBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> ReadLines(const std::string &path) {
  const std::string bytes = ReadBytes(path);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos)
      end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> ListDir(const std::string &dir) {
  std::vector<std::string> names;
  for (const auto &entry : std::filesystem::directory_iterator(dir)) {
    if (entry.is_regular_file())
      names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string DecodeEntities(const std::string &text) {
  static const std::pair<const char *, const char *> named[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}, {"&nbsp;", " "}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool done = false;
    if (text[i] == '&') {
      for (const auto &[entity, plain] : named) {
        if (text.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
          out += plain;
          i += std::char_traits<char>::length(entity);
          done = true;
          break;
        }
      }
      if (!done && i + 2 < text.size() && text[i + 1] == '#') {
        const std::size_t semi = text.find(';', i);
        if (semi != std::string::npos) {
          const long code = std::stol(text.substr(i + 2, semi - i - 2));
          out += code < 256 ? std::string(1, static_cast<char>(code)) : std::string("?");
          i = semi + 1;
          done = true;
        }
      }
    }
    if (!done)
      out += text[i++];
  }
  return out;
}

std::vector<std::string> HrefsOf(const std::string &html) {
  std::vector<std::string> hrefs;
  const std::string key = "href=\"";
  for (std::size_t at = html.find(key); at != std::string::npos; at = html.find(key, at)) {
    at += key.size();
    const std::size_t end = html.find('"', at);
    if (end == std::string::npos)
      break;
    hrefs.push_back(DecodeEntities(html.substr(at, end - at)));
    at = end;
  }
  return hrefs;
}

std::vector<std::string> PlaceholdersOf(const std::string &text) {
  std::vector<std::string> names;
  std::size_t at = 0;
  while ((at = text.find("%%", at)) != std::string::npos) {
    const std::size_t end = text.find("%%", at + 2);
    if (end == std::string::npos)
      break;
    names.push_back(text.substr(at + 2, end - at - 2));
    at = end + 2;
  }
  return names;
}

namespace {
int BigEndian(const std::string &bytes, std::size_t at, int count) {
  int value = 0;
  for (int i = 0; i < count; ++i)
    value = value * 256 + static_cast<unsigned char>(bytes[at + i]);
  return value;
}
} // namespace

TSize PngSize(const std::string &bytes) {
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
      bytes.compare(12, 4, "IHDR") != 0)
    return {};
  return {BigEndian(bytes, 16, 4), BigEndian(bytes, 20, 4)};
}

TSize JpegSize(const std::string &bytes) {
  if (bytes.size() < 4 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xD8)
    return {};
  std::size_t at = 2;
  while (at + 9 < bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF) {
    const int marker = static_cast<unsigned char>(bytes[at + 1]);
    const int length = BigEndian(bytes, at + 2, 2);
    // Start-of-frame markers carry the size; C4, C8 and CC are tables, not frames.
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      return {BigEndian(bytes, at + 7, 2), BigEndian(bytes, at + 5, 2)};
    at += 2 + static_cast<std::size_t>(length);
  }
  return {};
}

} // namespace kzdata
