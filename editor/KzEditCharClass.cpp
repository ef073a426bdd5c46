// Windows-1252 letter classes and case pairs, built once.
#include "editor/KzEditCharClass.h"

namespace kzcharclass {

namespace {

TCharTables Build(bool asciiOnly) {
  TCharTables t{};
  for (int c = 0; c < 256; ++c) {
    t.Lower[c] = t.Upper[c] = std::uint8_t(c);
    t.Class[c] = 0;
  }
  auto pair = [&t](int upper, int lower) {
    t.Lower[upper] = std::uint8_t(lower);
    t.Upper[lower] = std::uint8_t(upper);
    t.Class[upper] |= ccUpper | ccLetter;
    t.Class[lower] |= ccLower | ccLetter;
  };
  for (int c = 'A'; c <= 'Z'; ++c)
    pair(c, c + 32);
  for (int c = '0'; c <= '9'; ++c)
    t.Class[c] |= ccDigit;
  for (int c : {'\t', '\n', '\v', '\f', '\r', ' '})
    t.Class[c] |= ccSpace;
  for (int c = 0; c < 0x20; ++c)
    t.Class[c] |= ccControl;
  t.Class[0x7F] |= ccControl;
  for (int c = 0x20; c < 0x7F; ++c)
    t.Class[c] |= ccPrintable;
  if (asciiOnly)
    return t;

  // Capitals and their small letters: À..Þ with à..þ (× and ÷ are no letters), and the
  // four pairs Windows-1252 keeps in its 0x80 row.
  for (int c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7)
      pair(c, c + 32);
  pair(0x8A, 0x9A); // Š š
  pair(0x8C, 0x9C); // Œ œ
  pair(0x8E, 0x9E); // Ž ž
  pair(0x9F, 0xFF); // Ÿ ÿ
  // Small letters without a capital in the code page, and the two ordinal indicators.
  for (int c : {0x83, 0xB5, 0xDF})
    t.Class[c] |= ccLower | ccLetter;
  for (int c : {0xAA, 0xBA})
    t.Class[c] |= ccLetter;
  t.Class[0xA0] |= ccSpace;
  // The five bytes the code page leaves undefined behave as the C1 controls they map to.
  for (int c = 0x80; c < 0x100; ++c) {
    const bool undefined = c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
    t.Class[c] |= undefined ? ccControl : ccPrintable;
  }
  return t;
}

} // namespace

const TCharTables &Cp1252(bool asciiOnly) {
  static const TCharTables full = Build(false);
  static const TCharTables ascii = Build(true);
  return asciiOnly ? ascii : full;
}

} // namespace kzcharclass
