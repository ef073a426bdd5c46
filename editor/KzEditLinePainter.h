// Draws one row of text on the editor's character grid: the line's tokens in their looks,
// merged into as few runs as possible, the selection over them, the visible special
// characters and the rest of the row up to the clip's right edge.
#pragma once

#include "editor/KzEditTokenWalk.h"
#include "platform/Canvas.h"

#include <climits>
#include <string>
#include <utility>
#include <vector>

class TKzEditStringList;
class TheTextDrawer;

// A selection end that runs past the end of the line reaches this display column.
inline constexpr int KzBeyondLine = INT_MAX / 4;

// Display columns to pixels: column c starts at (c - LeftChar) * CharWidth + Origin, where
// Origin is the x of the view's first column (gutter width + 2).
struct TKzColumnGrid {
  int LeftChar = 1;
  int CharWidth = 8;
  int Origin = 0;
  // Wide arithmetic: a line of a million tabs at a wide tab stop has columns whose pixel
  // position does not fit an int. Such columns are never on screen, so clamping is enough;
  // the upper bound leaves room for what callers add (a caret's offset in its cell).
  int X(int column) const;
};

// What all rows of one paint share.
struct TKzPaintFrame {
  kzp::TRect Clip;
  int FirstCol = 1, LastCol = 1; // the display columns the clip shows
  int TextLeft = 0;              // left edge of the text area inside the clip
  int LineHeight = 16;
  TKzColumnGrid Grid;
  int TabWidth = 8;
  bool ShowSpecialChars = false;
  // On a special line the tokens keep their own foreground only with this set.
  bool SpecialLineDefaultFg = false;
  // The highlighter and the buffer whose stored ranges start each line; no highlighter draws
  // each row as one run in the line's look.
  TKzCustomHighlighter *Highlighter = nullptr;
  const TKzEditStringList *Lines = nullptr;
  TKzHighlighterAttributes *SpaceAttr = nullptr;   // white-space role, for the line-end mark
  TKzHighlighterAttributes *CommentAttr = nullptr; // comment role, likewise
};

// One row.
struct TKzPaintRow {
  const std::string *Text = nullptr; // the line tab-expanded (tabs as runs of tab characters)
  int LineIndex = 0;                 // 0-based buffer line, for the highlighter's state
  int Y = 0;
  TKzTokenLook Look;       // the line's font style and colours
  bool Special = false;    // OnSpecialLineColors marked the line
  bool ActiveLine = false; // the caret line in ActiveLineColor
  kzp::TColor SelForeground = kzp::clHighlightText;
  kzp::TColor SelBackground = kzp::clHighlight;
  int SelStart = 0, SelEnd = 0; // selected display columns [SelStart, SelEnd)
  // Marked display columns [first, second), ascending and apart; drawn on MarkBackground
  // where they are not selected. Null for none.
  const std::vector<std::pair<int, int>> *Marks = nullptr;
  kzp::TColor MarkBackground = kzp::clYellow;
};

class TKzLinePainter {
public:
  explicit TKzLinePainter(TheTextDrawer &drawer) : FDrawer(drawer) {}
  TKzLinePainter(const TKzLinePainter &) = delete;
  TKzLinePainter &operator=(const TKzLinePainter &) = delete;

  // Draws the row through the drawer, which must be drawing on `canvas`.
  void PaintRow(kzp::TCanvas &canvas, const TKzPaintFrame &frame, const TKzPaintRow &row);

private:
  void AddToken(int start, int end, const TKzTokenLook &look);
  void AppendText(int from, int to);
  void Flush();
  void DrawRun(int runCol, const TKzTokenLook &look);
  void FillRest(kzp::TCanvas &canvas, kzp::TFontStyles lastStyle, char lastChar);

  TheTextDrawer &FDrawer;
  // Per row; the buffers are kept, so a row allocates nothing once they have grown.
  const TKzPaintFrame *FFrame = nullptr;
  const TKzPaintRow *FRow = nullptr;
  int FLength = 0;
  bool FHasSel = false, FCompleteSel = false;
  std::string FRun;
  int FRunCol = 0; // first column of the open run; 0 when none is open
  TKzTokenLook FRunLook;
  int FPaintedTo = 0; // first column no run has covered yet
};
