// The editor's view: what part of the text is on screen (top line, left column, the window in
// rows and columns), the character grid and the colours, the gutter, painting row by row,
// the scroll bars, the wheel and the scroll hint, and the mapping between pixels and cells.
// It reads the document and the edit model and changes neither; the window is reached
// through TKzEditHost, the control around it through TKzEditViewHost.
#pragma once

#include "editor/KzEditGuards.h"
#include "editor/KzEditGutter.h"
#include "editor/KzEditHost.h"
#include "editor/KzEditLinePainter.h"
#include "editor/KzEditPaintTypes.h"
#include "editor/KzEditTypes.h"
#include "editor/KzTextDrawer.h"
#include "platform/Canvas.h"

#include <string>
#include <vector>

class TKzEditDocument;
class TKzEditModel;

// Bookmark keys and glyphs.
struct TKzBookMarkOpt {
  bool DrawBookmarksFirst = true;
  bool EnableKeys = true;
  bool GlyphsVisible = true;
  int LeftMargin = 2;
  int Xoffset = 12;
};

// Caret shapes for insert and overwrite mode.
enum TKzEditCaretType : std::uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };

// Which scroll bars the control shows.
enum TKzScrollStyle : std::uint8_t { ssNoBars, ssHorizontal, ssVertical, ssBoth };

// What the view needs from the control around it: the paint lock and whether it holds updates
// back, status changes, a wider scroll range, and the control's painting and scrolling
// events.
class TKzEditViewHost : public TKzPaintLockable {
public:
  virtual bool PaintLocked() const = 0;
  virtual void StatusChanged(TKzStatusChanges changes) = 0;
  // The view scrolled past MaxScrollWidth under eoAutoSizeMaxScrollWidth.
  virtual void GrowMaxScrollWidth(int value) = 0;
  virtual void Scrolled(TKzScrollBarKind bar) = 0;
  // OnPaint and OnPaintTransient, on the canvas prepared by the view.
  virtual void PaintHooks(kzp::TCanvas &canvas) = 0;
  virtual void GutterGetText(int line, std::string &text) = 0;
  virtual void GutterPaint(int line, int x, int y) = 0;
  virtual void SpecialLineColors(int line, bool &special, kzp::TColor &foreground,
                                 kzp::TColor &background) = 0;
  virtual bool HasLineMarks() const = 0;
  virtual void LineMarks(int line, int firstChar, int lastChar,
                         std::vector<TKzLineMark> &marks) = 0;

protected:
  ~TKzEditViewHost() = default;
};

class TKzEditView {
public:
  TKzEditView(const TKzEditDocument &doc, const TKzEditModel &model, TKzEditHost &window,
              TKzEditViewHost &host);
  TKzEditView(const TKzEditView &) = delete;
  TKzEditView &operator=(const TKzEditView &) = delete;

  // ---- the part of the text in view ----
  int TopLine() const { return FTopLine; }
  void SetTopLine(int value);
  int LeftChar() const { return FLeftChar; }
  void SetLeftChar(int value);
  int LinesInWindow() const { return FLinesInWindow; }
  int CharsInWindow() const { return FCharsInWindow; }
  // Scrolls so that the caret's cell is in view.
  void EnsureCursorPosVisible();
  // The client area or the font changed: recompute LinesInWindow and CharsInWindow (and
  // with fontChanged the grid first).
  void SizeOrFontChanged(bool fontChanged);

  // ---- grid, font and colours ----
  int CharWidth() const { return FCharWidth; }
  int LineHeight() const { return FLineHeight; }
  int GutterWidth() const;
  // x of display column 1: gutter width + 2 - (LeftChar - 1) * CharWidth.
  int TextOrigin() const { return ColumnToX(1); }
  // x of the left edge of a display column, held within int for columns far off screen.
  int ColumnToX(int column) const;
  TDisplayCoord PixelsToRowColumn(int x, int y) const;
  kzp::TPoint RowColumnToPixels(TDisplayCoord p) const;
  // The buffer position under a client pixel, on a line that exists.
  TBufferCoord PixelsToBuffer(int x, int y) const;

  const kzp::TFont &Font() const { return FFont; }
  void SetFont(const kzp::TFont &font);
  // The canvas the grid is measured on (not owned); the Qt widget gives one for the screen.
  void SetMeasureCanvas(kzp::TCanvas *canvas);
  kzp::TCanvas *MeasureCanvas() const { return FMeasureCanvas; }
  int ExtraLineSpacing() const { return FExtraLineSpacing; }
  void SetExtraLineSpacing(int value);
  kzp::TColor Color() const { return FColor; }
  void SetColor(kzp::TColor value);
  kzp::TColor ActiveLineColor() const { return FActiveLineColor; }
  void SetActiveLineColor(kzp::TColor value);
  int RightEdge() const { return FRightEdge; }
  void SetRightEdge(int value);
  kzp::TColor RightEdgeColor() const { return FRightEdgeColor; }
  void SetRightEdgeColor(kzp::TColor value);
  // The background of marked stretches (TKzLineMarksEvent); the text keeps its colour.
  kzp::TColor MarkColor() const { return FMarkColor; }
  void SetMarkColor(kzp::TColor value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  TKzGutter &Gutter() { return FGutter; }
  const TKzGutter &Gutter() const { return FGutter; }
  TKzSelectedColor &SelectedColor() { return FSelectedColor; }
  TheTextDrawer &TextDrawer() { return FDrawer; }
  TKzBookMarkOpt &BookMarkOptions() { return FBookMarkOptions; }
  const TKzBookMarkOpt &BookMarkOptions() const { return FBookMarkOptions; }
  // The gutter changed: width, window sizes, repaint.
  void GutterChanged();
  // The highlighter's styles decide the grid: measure it again and repaint.
  void HighlighterChanged();

  // ---- invalidation, in buffer lines (1-based); last -1 means to the end of the window ----
  void InvalidateLines(int firstLine, int lastLine);
  void InvalidateGutter();
  void InvalidateGutterLines(int firstLine, int lastLine);
  void Invalidate();

  // ---- caret ----
  TKzEditCaretType InsertCaret() const { return FInsertCaret; }
  void SetInsertCaret(TKzEditCaretType value) { FInsertCaret = value; }
  TKzEditCaretType OverwriteCaret() const { return FOverwriteCaret; }
  void SetOverwriteCaret(TKzEditCaretType value) { FOverwriteCaret = value; }
  // Size and offset inside the cell of the caret shape for the current mode.
  void CaretShape(int &width, int &height, int &offsetX, int &offsetY) const;
  // Places the window's caret at the caret's cell.
  void UpdateCaret();
  // Creates the window's caret in the shape of the current mode, then places it.
  void InitializeCaret();
  // Caret and scroll bars are brought up to date when the paint lock is released.
  void MarkCaretPending(bool scrollBarsToo) {
    FCaretPending = true;
    FScrollBarsPending = FScrollBarsPending || scrollBarsToo;
  }
  // The paint lock went: what waited for it.
  void FlushPending();

  // ---- scroll bars, messages, wheel and hint ----
  TKzScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TKzScrollStyle value);
  void UpdateScrollBars();
  bool ScrollBarsPending() const { return FScrollBarsPending; }
  const TKzScrollBarState &HorzScrollBar() const { return FHorzBar; }
  const TKzScrollBarState &VertScrollBar() const { return FVertBar; }
  // Scroll-bar codes: line up/left 0, line down/right 1, page up 2, page down 3, thumb
  // position 4, thumb track 5, top 6, bottom 7, end of scrolling 8.
  void ScrollBarMessage(bool vertical, int code, int position);
  // A wheel movement in the platform's units (120 per notch; positive = towards the start).
  void MouseWheel(int delta, TShiftState shift);
  int WheelRemainder() const { return FWheelAccumulator; }
  kzp::TColor ScrollHintColor() const { return FScrollHintColor; }
  void SetScrollHintColor(kzp::TColor value) { FScrollHintColor = value; }
  TKzScrollHintFormat ScrollHintFormat() const { return FScrollHintFormat; }
  void SetScrollHintFormat(TKzScrollHintFormat value) { FScrollHintFormat = value; }
  std::string ScrollHintText() const;
  bool ScrollHintShown() const { return FScrollHintShown; }

  // ---- painting ----
  void Paint(kzp::TCanvas &canvas, const kzp::TRect &clip);
  // Rows of text painted by the last Paint (for checks that a scroll repaints little).
  int PaintedRows() const { return FPaintedRows; }

private:
  bool HasOption(TKzEditorOption o) const;
  bool WordWrap() const { return false; } // never switched on in this program
  int DisplayLineCount() const;
  void RecalcCharExtent();
  void InvalidateRows(int firstLine, int lastLine, int right);
  void PaintGutter(kzp::TCanvas &canvas, const kzp::TRect &clip, int firstRow, int lastRow);
  void PaintBookmarks(kzp::TCanvas &canvas, int firstRow, int lastRow);
  // Fills FMarkColumns with the marks of `line` (1-based) in display columns
  // [firstCol, lastCol].
  void MarkColumns(int line, int firstCol, int lastCol);
  void PaintTextLines(kzp::TCanvas &canvas, const kzp::TRect &clip, int firstRow, int lastRow,
                      int firstCol, int lastCol);
  void ShowScrollHint();

  const TKzEditDocument &FDoc;
  const TKzEditModel &FModel;
  TKzEditHost &FWindow;
  TKzEditViewHost &FHost;

  kzp::TFont FFont;
  kzp::TCanvas *FMeasureCanvas = nullptr;
  TKzGutter FGutter;
  TKzSelectedColor FSelectedColor;
  TheTextDrawer FDrawer;
  TKzLinePainter FPainter{FDrawer};
  TKzBookMarkOpt FBookMarkOptions;

  int FTopLine = 1;
  int FLeftChar = 1;
  int FLinesInWindow = 0;
  int FCharsInWindow = 0;
  int FCharWidth = 8;
  int FLineHeight = 16;
  int FExtraLineSpacing = 0;
  kzp::TColor FColor = kzp::clWindow;
  kzp::TColor FActiveLineColor = kzp::clNone;
  int FRightEdge = 80;
  kzp::TColor FRightEdgeColor = kzp::clSilver;
  // A light amber that dark and coloured text stays readable on.
  kzp::TColor FMarkColor = kzp::RGBColor(255, 226, 128);
  bool FHideSelection = false;
  TKzEditCaretType FInsertCaret = ctVerticalLine;
  TKzEditCaretType FOverwriteCaret = ctBlock;
  TKzScrollStyle FScrollBars = ssBoth;
  kzp::TColor FScrollHintColor = kzp::clInfoBk;
  TKzScrollHintFormat FScrollHintFormat = shfTopLineOnly;
  bool FScrollHintShown = false;
  bool FScrollBarsPending = false;
  bool FCaretPending = false;
  TKzScrollBarState FHorzBar;
  TKzScrollBarState FVertBar;
  int FWheelAccumulator = 0;
  int FPaintedRows = 0;
  // Reused per paint, so painting a line allocates nothing once the buffers have grown.
  std::string FLineText;
  // Marks of the row being painted, as the host gave them and in display columns.
  std::vector<TKzLineMark> FLineMarks;
  std::vector<std::pair<int, int>> FMarkColumns;
  std::vector<int> FGlyphOffsets;
};
