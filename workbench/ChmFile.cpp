// chmlib through dlopen. The unit record is declared here with chmlib's published layout,
// so that building needs no chmlib headers and running needs no chmlib at all.
#include "workbench/ChmFile.h"

#include "platform/CodePage.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include <dlfcn.h>

namespace {
constexpr int kChmMaxPath = 512;
constexpr int kChmResolveSuccess = 0;
constexpr int kChmEnumerateNormal = 1;
constexpr int kChmEnumerateFiles = 8;
constexpr int kChmEnumeratorContinue = 1;

struct TChmUnitInfo {
  unsigned long long Start;
  unsigned long long Length;
  int Space;
  int Flags;
  char Path[kChmMaxPath + 1];
};

template <class F> void Lookup(void *handle, const char *name, F &target) {
  target = reinterpret_cast<F>(dlsym(handle, name));
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The value of attribute `attr` inside one tag's text, "" when absent.
std::string AttributeValue(const std::string &tag, const std::string &attr) {
  const std::string lower = Lower(tag);
  std::size_t pos = 0;
  while ((pos = lower.find(attr, pos)) != std::string::npos) {
    const bool startsWord = pos > 0 && std::isspace(static_cast<unsigned char>(lower[pos - 1]));
    std::size_t p = pos + attr.size();
    while (p < lower.size() && std::isspace(static_cast<unsigned char>(lower[p])))
      ++p;
    if (!startsWord || p >= lower.size() || lower[p] != '=') {
      pos += attr.size();
      continue;
    }
    ++p;
    while (p < lower.size() && std::isspace(static_cast<unsigned char>(lower[p])))
      ++p;
    if (p < tag.size() && (tag[p] == '"' || tag[p] == '\'')) {
      const char quote = tag[p];
      const std::size_t end = tag.find(quote, p + 1);
      return tag.substr(p + 1, end == std::string::npos ? std::string::npos : end - p - 1);
    }
    std::size_t end = p;
    while (end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[end])) &&
           tag[end] != '>')
      ++end;
    return tag.substr(p, end - p);
  }
  return {};
}
} // namespace

TChmLibrary::TChmLibrary(const char *libraryName) {
  handle_ = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
  if (!handle_)
    return;
  Lookup(handle_, "chm_open", open_);
  Lookup(handle_, "chm_close", close_);
  Lookup(handle_, "chm_resolve_object", resolve_);
  Lookup(handle_, "chm_retrieve_object", retrieve_);
  Lookup(handle_, "chm_enumerate", enumerate_);
}

TChmLibrary::~TChmLibrary() {
  if (handle_)
    dlclose(handle_);
}

TChmFile::TChmFile(const TChmLibrary &library, const std::string &path) : lib_(library) {
  if (lib_.Available())
    file_ = lib_.open_(path.c_str());
}

TChmFile::~TChmFile() {
  if (file_)
    lib_.close_(file_);
}

std::optional<std::string> TChmFile::Read(const std::string &path) const {
  if (!file_)
    return std::nullopt;
  TChmUnitInfo unit{};
  if (lib_.resolve_(file_, path.c_str(), &unit) != kChmResolveSuccess)
    return std::nullopt;
  std::string bytes(static_cast<std::size_t>(unit.Length), '\0');
  if (unit.Length == 0)
    return bytes;
  const long long got =
      lib_.retrieve_(file_, &unit, reinterpret_cast<unsigned char *>(bytes.data()), 0,
                     static_cast<long long>(unit.Length));
  if (got < 0)
    return std::nullopt;
  bytes.resize(static_cast<std::size_t>(got));
  return bytes;
}

std::vector<std::string> TChmFile::Paths() const {
  std::vector<std::string> paths;
  if (!file_)
    return paths;
  auto collect = [](void *, void *unit, void *context) -> int {
    static_cast<std::vector<std::string> *>(context)->push_back(
        static_cast<TChmUnitInfo *>(unit)->Path);
    return kChmEnumeratorContinue;
  };
  lib_.enumerate_(file_, kChmEnumerateNormal | kChmEnumerateFiles, collect, &paths);
  return paths;
}

// The system record: a 4-byte version, then entries of a 16-bit code, a 16-bit length and
// that many bytes; string entries end with a zero byte.
std::string TChmFile::SystemEntry(unsigned code) const {
  const auto system = Read("/#SYSTEM");
  if (!system || system->size() < 4)
    return {};
  const std::string &s = *system;
  auto u16 = [&s](std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(s[at])) |
           static_cast<unsigned>(static_cast<unsigned char>(s[at + 1])) << 8;
  };
  std::size_t pos = 4;
  while (pos + 4 <= s.size()) {
    const unsigned entryCode = u16(pos);
    const std::size_t length = u16(pos + 2);
    pos += 4;
    if (pos + length > s.size())
      break;
    if (entryCode == code) {
      std::string value = s.substr(pos, length);
      const auto zero = value.find('\0');
      if (zero != std::string::npos)
        value.resize(zero);
      return value;
    }
    pos += length;
  }
  return {};
}

std::string TChmFile::ContentsFile() const { return SystemEntry(0); }
std::string TChmFile::IndexFile() const { return SystemEntry(1); }
std::string TChmFile::DefaultTopic() const { return SystemEntry(2); }

namespace {
using kzp::AppendUtf8;

bool IsUtf8(const std::string &s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80           ? 1
                          : (c >> 5) == 0x6  ? 2
                          : (c >> 4) == 0xE  ? 3
                          : (c >> 3) == 0x1E ? 4
                                             : 0;
    if (n == 0 || i + n > s.size())
      return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
        return false;
    i += n;
  }
  return true;
}

// Help compilers write index files in the author's 8-bit code page as often as in UTF-8;
// whatever is not UTF-8 is taken as Windows-1252, the program's own code page.
std::string AsUtf8(const std::string &s) {
  if (IsUtf8(s))
    return s;
  std::string out;
  for (const char c : s)
    AppendUtf8(out, kzp::codepage::ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

// An attribute value as text: "&amp;", "&auml;", "&#228;" and "&#xE4;" become their
// characters. A reference this list does not know stays as written.
std::string DecodeReferences(const std::string &value) {
  static const std::pair<const char *, char32_t> named[] = {
      {"amp", U'&'},        {"lt", U'<'},        {"gt", U'>'},        {"quot", U'"'},
      {"apos", U'\''},      {"nbsp", U'\u00A0'}, {"auml", U'\u00E4'}, {"ouml", U'\u00F6'},
      {"uuml", U'\u00FC'},  {"Auml", U'\u00C4'}, {"Ouml", U'\u00D6'}, {"Uuml", U'\u00DC'},
      {"szlig", U'\u00DF'}, {"euro", U'\u20AC'}, {"copy", U'\u00A9'},
  };
  const std::string text = AsUtf8(value);
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t semi = text[i] == '&' ? text.find(';', i + 1) : std::string::npos;
    if (semi == std::string::npos || semi - i > 10) {
      out += text[i++];
      continue;
    }
    const std::string ref = text.substr(i + 1, semi - i - 1);
    char32_t cp = 0;
    bool known = false;
    if (ref.size() > 1 && ref[0] == '#') {
      const bool hex = ref[1] == 'x' || ref[1] == 'X';
      const std::string digits = ref.substr(hex ? 2 : 1);
      known = !digits.empty() && digits.find_first_not_of(hex ? "0123456789abcdefABCDEF"
                                                              : "0123456789") == std::string::npos;
      if (known) {
        const unsigned long v = std::stoul(digits, nullptr, hex ? 16 : 10);
        known = v > 0 && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF);
        cp = static_cast<char32_t>(v);
      }
    } else {
      for (const auto &[name, c] : named)
        if (ref == name) {
          cp = c;
          known = true;
        }
    }
    if (!known) {
      out += text[i++];
      continue;
    }
    AppendUtf8(out, cp);
    i = semi + 1;
  }
  return out;
}
} // namespace

std::vector<TSitemapEntry> ParseSitemap(const std::string &html) {
  std::vector<TSitemapEntry> entries;
  const std::string lower = Lower(html);
  std::size_t pos = 0;
  while ((pos = lower.find("<object", pos)) != std::string::npos) {
    std::size_t end = lower.find("</object", pos);
    if (end == std::string::npos)
      end = lower.size();
    TSitemapEntry entry;
    std::size_t p = pos;
    while ((p = lower.find("<param", p)) != std::string::npos && p < end) {
      const std::size_t close = lower.find('>', p);
      const std::string tag =
          html.substr(p, close == std::string::npos ? std::string::npos : close - p);
      const std::string name = Lower(AttributeValue(tag, "name"));
      if (name == "name" && entry.Name.empty())
        entry.Name = DecodeReferences(AttributeValue(tag, "value"));
      else if (name == "local" && entry.Local.empty())
        entry.Local = DecodeReferences(AttributeValue(tag, "value"));
      p += 6;
    }
    if (!entry.Name.empty())
      entries.push_back(std::move(entry));
    pos = end;
  }
  return entries;
}
