// Letter classes and case pairs of the program's 8-bit code page (Windows-1252), so that
// searching treats Ä and ä, Š and š as one letter and ß, µ, ª, º as letters of their own.
#pragma once

#include <array>
#include <cstdint>

namespace kzcharclass {

// Class bits of one character.
enum : std::uint8_t {
  ccUpper = 1,  // a capital letter
  ccLower = 2,  // a small letter (ß and µ too, which have no capital here)
  ccLetter = 4, // any letter, ª and º included
  ccDigit = 8,  // 0-9 only; the superscripts are no digits
  ccSpace = 16, // TAB, LF, VT, FF, CR, space and the no-break space
  ccControl = 32,
  ccPrintable = 64, // has a glyph or is a blank that prints (space, no-break space)
};

struct TCharTables {
  std::array<std::uint8_t, 256> Lower; // the small letter of a capital, else the character
  std::array<std::uint8_t, 256> Upper; // the capital of a small letter, else the character
  std::array<std::uint8_t, 256> Class; // the class bits above
};

// The tables of Windows-1252; `asciiOnly` limits every class and case pair to the first 128
// characters (as the C library's "C" locale sees them), which tests use to check the layout
// the regular-expression library expects.
const TCharTables &Cp1252(bool asciiOnly = false);

inline std::uint8_t ToLower(unsigned char c) { return Cp1252().Lower[c]; }
inline std::uint8_t ToUpper(unsigned char c) { return Cp1252().Upper[c]; }
inline bool IsLetter(unsigned char c) { return (Cp1252().Class[c] & ccLetter) != 0; }

} // namespace kzcharclass
