// Finding the addresses of a style sheet and resolving them to pack names.
#include "template/StyleSheetUrls.h"

#include "platform/Hex.h"

#include <cctype>
#include <vector>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool MatchesNoCase(std::string_view text, std::size_t at, std::string_view word) {
  if (at + word.size() > text.size())
    return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (Lower(text[at + i]) != word[i])
      return false;
  return true;
}

// The end of the string whose opening quote is at `at` (one past its closing quote).
std::size_t SkipString(std::string_view css, std::size_t at) {
  const char quote = css[at];
  std::size_t p = at + 1;
  while (p < css.size() && css[p] != quote && css[p] != '\n') {
    if (css[p] == '\\')
      ++p;
    ++p;
  }
  return p < css.size() ? p + 1 : p;
}

// An address's "%XX" escapes as the bytes they stand for; empty when a "%" starts no escape
// (a construct of the template language, say), since no pack name can be told then.
std::string PercentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const int high = i + 2 < text.size() ? kzp::HexDigitValue(text[i + 1]) : -1;
    const int low = high >= 0 ? kzp::HexDigitValue(text[i + 2]) : -1;
    if (low < 0)
      return {};
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

} // namespace

void ForEachStyleSheetUrl(std::string_view css,
                          const std::function<void(std::size_t, std::size_t)> &found) {
  const std::size_t n = css.size();
  std::size_t p = 0;
  bool afterImport = false; // the next string is the address of an @import
  while (p < n) {
    const char c = css[p];
    if (c == '/' && p + 1 < n && css[p + 1] == '*') {
      const std::size_t end = css.find("*/", p + 2);
      p = end == std::string_view::npos ? n : end + 2;
      continue;
    }
    if (c == '"' || c == '\'') {
      const std::size_t end = SkipString(css, p);
      if (afterImport && end - p >= 2 && css[end - 1] == c)
        found(p + 1, end - p - 2);
      afterImport = false;
      p = end;
      continue;
    }
    if (c == '@' && MatchesNoCase(css, p + 1, "import")) {
      afterImport = true;
      p += 7;
      continue;
    }
    if ((c == 'u' || c == 'U') && MatchesNoCase(css, p, "url(") &&
        (p == 0 || !(std::isalnum(static_cast<unsigned char>(css[p - 1])) || css[p - 1] == '-'))) {
      std::size_t q = p + 4;
      while (q < n && IsBlank(css[q]))
        ++q;
      std::size_t start = q, end;
      if (q < n && (css[q] == '"' || css[q] == '\'')) {
        end = SkipString(css, q);
        start = q + 1;
        const std::size_t close = css.find(')', end);
        if (end - q >= 2 && css[end - 1] == css[q])
          found(start, end - 1 - start);
        p = close == std::string_view::npos ? n : close + 1;
      } else {
        end = css.find(')', q);
        if (end == std::string_view::npos)
          end = n;
        std::size_t last = end;
        while (last > start && IsBlank(css[last - 1]))
          --last;
        if (last > start)
          found(start, last - start);
        p = end < n ? end + 1 : n;
      }
      afterImport = false;
      continue;
    }
    if (!IsBlank(c) && afterImport)
      afterImport = false;
    ++p;
  }
}

std::string PackNameOfAddress(std::string_view from, std::string_view address) {
  const std::size_t cut = address.find_first_of("?#");
  if (cut != std::string_view::npos)
    address = address.substr(0, cut);
  if (address.empty() || address.front() == '/')
    return {};
  // A scheme is letters, digits, "+", "-", "." before the first ":".
  const std::size_t colon = address.find(':');
  if (colon != std::string_view::npos &&
      address.substr(0, colon).find('/') == std::string_view::npos)
    return {};
  std::vector<std::string_view> parts;
  const std::size_t slash = from.rfind('/');
  std::string_view folder =
      slash == std::string_view::npos ? std::string_view() : from.substr(0, slash);
  auto addSegments = [&parts](std::string_view path, bool keepLastEmpty) {
    std::size_t start = 0;
    while (start <= path.size()) {
      std::size_t end = path.find('/', start);
      if (end == std::string_view::npos)
        end = path.size();
      const std::string_view part = path.substr(start, end - start);
      if (part == "..") {
        if (parts.empty())
          return false;
        parts.pop_back();
      } else if (part != "." && (!part.empty() || (keepLastEmpty && end == path.size()))) {
        parts.push_back(part);
      }
      start = end + 1;
    }
    return true;
  };
  if (!folder.empty())
    addSegments(folder, false);
  if (!addSegments(address, true))
    return {};
  std::string name;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i)
      name += '/';
    name += parts[i];
  }
  return PercentDecoded(name);
}
