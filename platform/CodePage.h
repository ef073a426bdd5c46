// The program's 8-bit code page (Windows-1252) and its mapping to Unicode code points.
#pragma once

#include <string>

namespace kzp::codepage {

// The Unicode code point of an 8-bit character. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, as
// Windows itself does, so every byte survives a round trip.
char32_t ToUnicode(unsigned char c);

// The 8-bit character of a code point, or -1 when the code page has none.
int FromUnicode(char32_t cp);

// Whole strings. FromUnicodeString drops the code points the code page cannot hold and
// reports through `lossless` whether anything was dropped.
std::u32string ToUnicodeString(const std::string &text);
std::string FromUnicodeString(const std::u32string &text, bool *lossless = nullptr);

} // namespace kzp::codepage
