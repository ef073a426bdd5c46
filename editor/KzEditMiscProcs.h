// Helpers the buffer, the editor and the painter share: tab expansion and the conversion
// between buffer columns and display columns.
#pragma once

#include <string>
#include <string_view>

// The most cells a line reports or expands to: 2^28 - 1. A longer expansion (eight megabytes of
// tabs at the widest stop) is cut there; no view reaches that far, since its pixel positions
// would not fit an int.
inline constexpr int KzMaxExpandedCells = (1 << 28) - 1;

// Expands the tabs of a line for a tab width. The result keeps tabs as runs of tab characters
// (one per cell up to the next tab stop), so its length is the number of display cells; the
// painter draws those cells blank. hasTabs tells whether the line had any tab.
using TConvertTabsProc = std::string (*)(std::string_view line, int tabWidth, bool &hasTabs);

// Width 1 or less: every tab becomes one space.
std::string ConvertTabs1(std::string_view line, int tabWidth, bool &hasTabs);
// Widths that are powers of two: the next tab stop by a bit mask.
std::string ConvertTabs2n(std::string_view line, int tabWidth, bool &hasTabs);
// Any other width: the next tab stop by a remainder.
std::string ConvertTabs(std::string_view line, int tabWidth, bool &hasTabs);
// The routine that fits a tab width.
TConvertTabsProc GetBestConvertTabsProc(int tabWidth);

// The number of cells a line occupies after expansion, without building the expanded text;
// at most KzMaxExpandedCells.
int GetExpandedLength(std::string_view line, int tabWidth);

// The 1-based display column of a 1-based buffer column. Columns beyond the line's end count
// one cell each past its expanded end. A tab width of 1 or less counts a tab as one cell.
int BufferToDisplayColumn(std::string_view line, int column, int tabWidth);

// The same for ascending buffer columns of one line, walking the line once for all of them.
class TKzDisplayColumnWalk {
public:
  TKzDisplayColumnWalk(std::string_view line, int tabWidth) : FLine(line), FTabWidth(tabWidth) {}
  // `column` must not be smaller than the one asked before.
  int DisplayColumn(int column);

private:
  std::string_view FLine;
  int FTabWidth;
  std::size_t FAt = 0;  // characters walked
  long long FCells = 0; // display cells before character FAt
};
// The inverse: the largest buffer column whose display column is not beyond the given one, so a
// display column inside a tab's cells maps to the tab itself. Columns past the line's end
// convert one to one.
int DisplayToBufferColumn(std::string_view line, int displayColumn, int tabWidth);

// True for 1, 2, 4, 8, ...
inline bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }
