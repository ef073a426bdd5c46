// Windows-1252 table: only 0x80..0x9F differ from Latin-1.
#include "platform/CodePage.h"

namespace kzp::codepage {

namespace {
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
} // namespace

char32_t ToUnicode(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F)
    return kHigh[c - 0x80];
  return c;
}

int FromUnicode(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
    return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == cp)
      return 0x80 + i;
  return -1;
}

std::u32string ToUnicodeString(const std::string &text) {
  std::u32string out;
  out.reserve(text.size());
  for (unsigned char c : text)
    out.push_back(ToUnicode(c));
  return out;
}

std::string FromUnicodeString(const std::u32string &text, bool *lossless) {
  std::string out;
  out.reserve(text.size());
  bool all = true;
  for (char32_t cp : text) {
    int c = FromUnicode(cp);
    if (c < 0)
      all = false;
    else
      out.push_back(static_cast<char>(c));
  }
  if (lossless)
    *lossless = all;
  return out;
}

} // namespace kzp::codepage
