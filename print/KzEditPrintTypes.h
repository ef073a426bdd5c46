// Small value types of printing: units, frame kinds, alignments, status codes, page starts and
// wrap positions.
#pragma once

#include <cstdint>

// The unit in which the margins are read and written.
enum TUnitSystem : std::uint8_t { usMM = 0, usCM = 1, usInch = 2, muThousandthsOfInches = 3 };

// How a header or footer is set off from the text; a set of these bits.
using TFrameTypes = std::uint8_t;
inline constexpr TFrameTypes ftLine = 1;   // a line between it and the text
inline constexpr TFrameTypes ftBox = 2;    // an outline around it
inline constexpr TFrameTypes ftShaded = 4; // a filled background

enum THeaderFooterAlign : std::uint8_t { hfaLeft = 0, hfaRight = 1, hfaCenter = 2 };

// What a status report of the print job is about.
enum TKzPrintStatus : std::uint8_t { psBegin = 0, psNewPage = 1, psEnd = 2 };

// Where a page begins: the 0-based source line and, for a wrapped line that went on from the
// page before, its first row on this page (0 when the page starts with a whole line).
struct TPageLine {
  int LineNumber = 0;
  int Row = 0;
  friend bool operator==(const TPageLine &, const TPageLine &) = default;
};

// One wrap position: the 1-based index of the last character of a printed row.
struct TWrapPos {
  int Index = 0;
  friend bool operator==(const TWrapPos &, const TWrapPos &) = default;
};
