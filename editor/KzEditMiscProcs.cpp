// Tab expansion and column conversion shared by the buffer, the editor and the painter.
#include "editor/KzEditMiscProcs.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

bool HasTab(std::string_view line) {
  return !line.empty() && std::memchr(line.data(), '\t', line.size()) != nullptr;
}

// Cells a tab at the zero-based column col takes: up to the next stop, at least one.
inline int TabCells(int col, int tabWidth) {
  if (tabWidth <= 1)
    return 1;
  return tabWidth - col % tabWidth;
}

} // namespace

std::string ConvertTabs1(std::string_view line, int /*tabWidth*/, bool &hasTabs) {
  hasTabs = HasTab(line);
  std::string out(line);
  if (hasTabs)
    for (char &c : out)
      if (c == '\t')
        c = ' ';
  return out;
}

namespace {

// The common body of the two tab-stop routines; cells gives the cells a tab at column col
// takes, which both compute alike, one with a mask and one with a remainder.
template <class TCells>
std::string ExpandTabRuns(std::string_view line, int tabWidth, bool &hasTabs, TCells cells) {
  hasTabs = HasTab(line);
  if (!hasTabs)
    return std::string(line);
  std::string out;
  out.reserve(line.size() + std::size_t(tabWidth) * 2);
  // Only a line that could pass the limit if it were all tabs is checked against it.
  const bool mayPassLimit = static_cast<unsigned long long>(line.size()) * unsigned(tabWidth) >=
                            unsigned(KzMaxExpandedCells);
  int col = 0;
  for (char c : line) {
    if (mayPassLimit && col >= KzMaxExpandedCells) {
      out.resize(std::size_t(KzMaxExpandedCells));
      break;
    }
    if (c == '\t') {
      const int n = cells(col);
      out.append(std::size_t(n), '\t');
      col += n;
    } else {
      out.push_back(c);
      ++col;
    }
  }
  if (out.size() > std::size_t(KzMaxExpandedCells))
    out.resize(std::size_t(KzMaxExpandedCells));
  return out;
}

} // namespace

std::string ConvertTabs2n(std::string_view line, int tabWidth, bool &hasTabs) {
  const int mask = tabWidth - 1;
  return ExpandTabRuns(line, tabWidth, hasTabs, [=](int col) { return tabWidth - (col & mask); });
}

std::string ConvertTabs(std::string_view line, int tabWidth, bool &hasTabs) {
  return ExpandTabRuns(line, tabWidth, hasTabs, [=](int col) { return tabWidth - col % tabWidth; });
}

TConvertTabsProc GetBestConvertTabsProc(int tabWidth) {
  if (tabWidth <= 1)
    return &ConvertTabs1;
  if (IsPowerOfTwo(tabWidth))
    return &ConvertTabs2n;
  return &ConvertTabs;
}

namespace {

// The length of a line long enough to pass the limit, counted with a check after each step.
[[gnu::noinline]] int SaturatedExpandedLength(std::string_view line, int tabWidth) {
  int col = 0;
  for (char c : line) {
    col += c == '\t' ? TabCells(col, tabWidth) : 1;
    if (col >= KzMaxExpandedCells)
      return KzMaxExpandedCells;
  }
  return col;
}

} // namespace

int GetExpandedLength(std::string_view line, int tabWidth) {
  if (tabWidth <= 1 || !HasTab(line))
    return int(std::min<std::size_t>(line.size(), std::size_t(KzMaxExpandedCells)));
  // Only a line that could pass the limit if it were all tabs needs the checked count.
  if (static_cast<unsigned long long>(line.size()) * unsigned(tabWidth) >=
      unsigned(KzMaxExpandedCells))
    return SaturatedExpandedLength(line, tabWidth);
  int col = 0;
  for (char c : line)
    col += c == '\t' ? TabCells(col, tabWidth) : 1;
  return col;
}

// Both conversions count in wide integers: a line of millions of tabs at a wide tab stop has
// more cells than an int holds. Display columns are held within half the int range, so that
// callers may still add to them.
int TKzDisplayColumnWalk::DisplayColumn(int column) {
  if (column < 1)
    column = 1;
  const std::size_t inLine = std::min<std::size_t>(std::size_t(column - 1), FLine.size());
  for (; FAt < inLine; ++FAt)
    FCells += FLine[FAt] == '\t' ? TabCells(int(FCells % std::max(FTabWidth, 1)), FTabWidth) : 1;
  const long long display = FCells + 1 + (column - 1 - static_cast<long long>(inLine));
  return static_cast<int>(std::min<long long>(display, INT_MAX / 2));
}

int BufferToDisplayColumn(std::string_view line, int column, int tabWidth) {
  return TKzDisplayColumnWalk(line, tabWidth).DisplayColumn(column);
}

int DisplayToBufferColumn(std::string_view line, int displayColumn, int tabWidth) {
  if (displayColumn < 1)
    displayColumn = 1;
  long long col = 0; // cells before character i
  for (std::size_t i = 0; i < line.size(); ++i) {
    const int w = line[i] == '\t' ? TabCells(int(col % std::max(tabWidth, 1)), tabWidth) : 1;
    if (displayColumn <= col + w)
      return int(i) + 1;
    col += w;
  }
  const long long buffer = static_cast<long long>(line.size()) + 1 + (displayColumn - 1 - col);
  return static_cast<int>(std::clamp<long long>(buffer, 1, INT_MAX / 2));
}
