// Painting of the editor control: the gutter, the text lines through the highlighter with
// selection and special colours, the right edge, invalidation, the font grid and the caret.
#include "editor/KzEdit.h"

#include "editor/KzEditGutter.h"
#include "editor/KzEditLinePainter.h"
#include "editor/KzTextDrawer.h"

#include <algorithm>
#include <climits>
#include <string_view>

namespace {


// Stores a property's new value; false when it had that value already, so nothing repaints.
template <class T>
bool Change(T &field, T value) {
  if (field == value)
    return false;
  field = value;
  return true;
}

} // namespace

struct TCustomKzEdit::TKzPaintData {
  explicit TKzPaintData(const kzp::TFont &font) : Drawer(0, font) {}
  TKzGutter Gutter;
  TKzSelectedColor SelectedColor;
  TheTextDrawer Drawer;
  // Reused per paint, so painting a line allocates nothing once the buffers have grown.
  TKzLinePainter Painter{Drawer};
  std::string Line;
  std::vector<int> GlyphOffsets;
};

void TCustomKzEdit::CreatePaintData() {
  FPaintData = new TKzPaintData(FFont);
  FPaintData->Gutter.OnChange = [this] { GutterChanged(); };
  FPaintData->SelectedColor.OnChange = [this] { Invalidate(); };
}

void TCustomKzEdit::DestroyPaintData() {
  delete FPaintData;
  FPaintData = nullptr;
}

TKzGutter &TCustomKzEdit::Gutter() { return FPaintData->Gutter; }
const TKzGutter &TCustomKzEdit::Gutter() const { return FPaintData->Gutter; }
TKzSelectedColor &TCustomKzEdit::SelectedColor() { return FPaintData->SelectedColor; }
TheTextDrawer &TCustomKzEdit::TextDrawer() { return FPaintData->Drawer; }

int TCustomKzEdit::GutterWidth() const { return FPaintData->Gutter.RealGutterWidth(FCharWidth); }

int TCustomKzEdit::TextOrigin() const { return ColumnToX(1); }

int TCustomKzEdit::ColumnToX(int column) const {
  return TKzColumnGrid{FLeftChar, FCharWidth, GutterWidth() + 2}.X(column);
}

// ---- font, grid and colours ----

void TCustomKzEdit::SetFont(const kzp::TFont &font) {
  FFont = font;
  FPaintData->Drawer.SetBaseFont(&FFont);
  FPaintData->Drawer.SetBaseStyle(FFont.Style);
  SizeOrFontChanged(true);
}

void TCustomKzEdit::SetMeasureCanvas(kzp::TCanvas *canvas) {
  FMeasureCanvas = canvas;
  SizeOrFontChanged(true);
}

void TCustomKzEdit::SetExtraLineSpacing(int value) {
  if (Change(FExtraLineSpacing, value))
    SizeOrFontChanged(true);
}

void TCustomKzEdit::SetColor(kzp::TColor value) {
  if (Change(FColor, value))
    Invalidate();
}

void TCustomKzEdit::SetActiveLineColor(kzp::TColor value) {
  if (Change(FActiveLineColor, value))
    InvalidateLine(FCaretY);
}

void TCustomKzEdit::SetRightEdge(int value) {
  if (Change(FRightEdge, value))
    Invalidate();
}

void TCustomKzEdit::SetRightEdgeColor(kzp::TColor value) {
  if (Change(FRightEdgeColor, value))
    Invalidate();
}

void TCustomKzEdit::RecalcCharExtent() {
  TheTextDrawer &drawer = FPaintData->Drawer;
  drawer.SetBaseFont(&FFont);
  drawer.SetBaseStyle(FFont.Style);
  if (FMeasureCanvas) {
    // Only the bold/italic combinations that actually occur decide the cell.
    unsigned mask = 0;
    if (FHighlighter) {
      for (int i = 0; i < FHighlighter->AttributeCount(); ++i)
        if (TKzHighlighterAttributes *a = FHighlighter->AttributeAt(i))
          mask |= 1u << (a->Style() & 3);
    }
    if (mask == 0)
      mask = 1u << (FFont.Style & 3);
    drawer.CalcExtent(*FMeasureCanvas, mask);
  }
  FCharWidth = drawer.CharWidth();
  FLineHeight = std::max(1, drawer.CharHeight() + FExtraLineSpacing);
}

void TCustomKzEdit::GutterChanged() {
  FPaintData->Gutter.AutoSizeDigitCount(FLines.Count());
  SizeOrFontChanged(false);
  Invalidate();
}

// ---- invalidation ----

// The rows of lines firstLine..lastLine that are in the window, from the left edge to right.
void TCustomKzEdit::InvalidateRows(int firstLine, int lastLine, int right) {
  if (!FHost.HandleAllocated())
    return;
  int lastVisible = FTopLine + FLinesInWindow; // the partly visible row below counts
  if (lastLine < 0)
    lastLine = lastVisible;
  if (firstLine > lastLine)
    std::swap(firstLine, lastLine);
  firstLine = std::max(firstLine, FTopLine);
  lastLine = std::min(lastLine, lastVisible);
  if (firstLine > lastLine)
    return;
  FHost.InvalidateRect(0, (firstLine - FTopLine) * FLineHeight, right, (lastLine - FTopLine + 1) * FLineHeight);
}

void TCustomKzEdit::InvalidateLines(int firstLine, int lastLine) {
  InvalidateRows(firstLine, lastLine, FHost.ClientWidth());
}

void TCustomKzEdit::InvalidateLine(int line) { InvalidateLines(line, line); }

void TCustomKzEdit::InvalidateGutter() {
  if (FHost.HandleAllocated())
    FHost.InvalidateRect(0, 0, GutterWidth(), FHost.ClientHeight());
}

void TCustomKzEdit::InvalidateGutterLines(int firstLine, int lastLine) {
  InvalidateRows(firstLine, lastLine, GutterWidth());
}

void TCustomKzEdit::Invalidate() {
  if (FHost.HandleAllocated())
    FHost.InvalidateAll();
}

// ---- caret ----

void TCustomKzEdit::CaretShape(int &width, int &height, int &offsetX, int &offsetY) const {
  TKzEditCaretType shape = FInsertMode ? FInsertCaret : FOverwriteCaret;
  offsetX = 0;
  offsetY = 0;
  switch (shape) {
  case ctVerticalLine:
    width = 2;
    height = FLineHeight;
    break;
  case ctHorizontalLine:
    width = FCharWidth;
    height = 2;
    offsetY = FLineHeight - 2;
    break;
  case ctHalfBlock:
    width = FCharWidth;
    height = (FLineHeight - FExtraLineSpacing) / 2;
    offsetY = FLineHeight - FExtraLineSpacing - height;
    break;
  case ctBlock:
  default:
    width = FCharWidth;
    height = FLineHeight - FExtraLineSpacing;
    break;
  }
}

void TCustomKzEdit::InitializeCaret() {
  int w, h, ox, oy;
  CaretShape(w, h, ox, oy);
  FHost.CreateCaret(w, h);
  UpdateCaret();
}

void TCustomKzEdit::UpdateCaret() {
  int w, h, ox, oy;
  CaretShape(w, h, ox, oy);
  kzp::TPoint p = RowColumnToPixels(DisplayXY());
  FHost.SetCaretPos(p.X + ox, p.Y + oy);
}

// ---- painting ----

void TCustomKzEdit::Paint(kzp::TCanvas &canvas, const kzp::TRect &clip) {
  FPaintedRows = 0;
  if (clip.IsEmpty())
    return;
  // The digit field follows the line count; a change moves everything, so repaint all.
  TKzGutter &gutter = FPaintData->Gutter;
  if (gutter.AutoSizeDigitCount(FLines.Count())) {
    SizeOrFontChanged(false);
    Invalidate();
  }
  TheTextDrawer &drawer = FPaintData->Drawer;
  drawer.BeginDrawing(&canvas);
  canvas.SetClipRect(clip);

  // Rows from the clip's top and bottom, limited to the lines that exist; columns from its
  // left and right edges relative to the text origin.
  int firstRow = FTopLine + std::max(clip.Top, 0) / FLineHeight;
  int lastRow = std::min(FTopLine + (clip.Bottom - 1) / FLineHeight, FLines.Count());
  int gw = GutterWidth();
  int firstCol = FLeftChar + std::max(clip.Left - gw - 2, 0) / FCharWidth;
  int lastCol = FLeftChar + std::max(clip.Right - 1 - gw - 2, 0) / FCharWidth;

  if (clip.Left < gw) {
    // The gutter uses its own font; the text drawer expects its own back on the canvas.
    canvas.SaveState();
    PaintGutter(canvas, clip, firstRow, lastRow);
    canvas.RestoreState();
  }
  if (clip.Right > gw)
    PaintTextLines(canvas, clip, firstRow, lastRow, firstCol, lastCol);

  // The painting event, then the transient hook, each on a canvas in the editor's font and
  // background that it may change at will.
  for (const TKzPaintEvent *event : {&OnPaint, &OnPaintTransient}) {
    if (!*event)
      continue;
    canvas.SaveState();
    canvas.SetFont(FFont);
    canvas.SetBrushColor(FColor);
    (*event)(*this, canvas);
    canvas.RestoreState();
  }
  drawer.EndDrawing();
}

void TCustomKzEdit::PaintGutter(kzp::TCanvas &canvas, const kzp::TRect &clip, int firstRow, int lastRow) {
  const TKzGutter &gutter = FPaintData->Gutter;
  int gw = GutterWidth();
  int right = std::min(clip.Right, gw);
  canvas.SetBrushColor(gutter.Color());
  int belowTop = std::max((lastRow - FTopLine + 1) * FLineHeight, clip.Top);

  if (gutter.ShowLineNumbers()) {
    kzp::TFont font = gutter.Font();
    if (!gutter.UseFontStyle()) {
      font = FFont;
      font.Style = 0;
    }
    canvas.SetFont(font);
    int textHeight = canvas.TextMetrics().Height;
    for (int row = firstRow; row <= lastRow; ++row) {
      int line = row; // rows are lines without word wrap
      int y = (row - FTopLine) * FLineHeight;
      std::string text = gutter.FormatLineNumber(line);
      if (OnGutterGetText)
        OnGutterGetText(*this, line, text);
      int width = canvas.TextWidth(text);
      kzp::TRect band{clip.Left, y, gw - 2, y + FLineHeight};
      if (band.IsEmpty())
        continue;
      int x = gw - gutter.RightOffset() - 2 - width;
      canvas.ExtTextOut(x, y + (FLineHeight - textHeight) / 2, kzp::etoOpaque, &band, text, nullptr);
    }
    if (belowTop < clip.Bottom)
      canvas.FillRect({clip.Left, belowTop, gw - 2, clip.Bottom});
    // The two pixels that the border does not cover keep the gutter colour.
    if (gutter.BorderStyle() != gbsMiddle) {
      int from = std::max(gw - 2, clip.Left);
      int to = gutter.BorderStyle() == gbsRight ? gw - 1 : gw;
      if (from < to)
        canvas.FillRect({from, clip.Top, to, clip.Bottom});
    }
  } else {
    canvas.FillRect({clip.Left, clip.Top, right, clip.Bottom});
  }

  switch (gutter.BorderStyle()) {
  case gbsMiddle:
    canvas.SetPen({FColor, 1, kzp::TPenStyle::psSolid});
    canvas.Line(gw - 2, clip.Top, gw - 2, clip.Bottom);
    canvas.SetPenColor(gutter.Color());
    canvas.Line(gw - 1, clip.Top, gw - 1, clip.Bottom);
    break;
  case gbsRight:
    canvas.SetPen({FColor, 1, kzp::TPenStyle::psSolid});
    canvas.Line(gw - 1, clip.Top, gw - 1, clip.Bottom);
    break;
  case gbsNone:
    break;
  }

  std::vector<int> &offsets = FPaintData->GlyphOffsets;
  offsets.assign(static_cast<size_t>(std::max(lastRow - firstRow + 1, 0)), 0);
  if (FBookMarkOptions.GlyphsVisible && !FMarks.empty() && lastRow >= firstRow)
    PaintBookmarks(canvas, firstRow, lastRow, offsets);

  if (OnGutterPaint) {
    for (int row = firstRow; row <= lastRow; ++row)
      OnGutterPaint(*this, row, offsets[static_cast<size_t>(row - firstRow)], (row - FTopLine) * FLineHeight);
  }
}

namespace {

// The built-in bookmark glyph: a small tag with its number, drawn with canvas primitives so it
// scales with the line height.
void DrawBookmarkGlyph(kzp::TCanvas &canvas, int x, int y, int lineHeight, int number) {
  int h = std::min(lineHeight - 2, 14);
  if (h < 6)
    h = std::max(lineHeight, 2);
  int w = 11;
  int top = y + (lineHeight - h) / 2;
  canvas.SaveState();
  canvas.SetPen({kzp::RGBColor(0, 64, 128), 1, kzp::TPenStyle::psSolid});
  canvas.SetBrushColor(kzp::RGBColor(96, 176, 255));
  // A tag whose lower edge is notched like a ribbon.
  canvas.Polygon({{x, top}, {x + w - 1, top}, {x + w - 1, top + h - 1}, {x + w / 2, top + h - 4}, {x, top + h - 1}});
  kzp::TFont f;
  f.Name = "Arial";
  f.Height = -std::max(6, h - 5);
  f.Style = kzp::fsBold;
  f.Color = kzp::clBlack;
  canvas.SetFont(f);
  char digit = static_cast<char>('0' + number);
  std::string_view text(&digit, 1);
  int tw = canvas.TextWidth(text);
  canvas.ExtTextOut(x + (w - tw) / 2, top, 0, nullptr, text, nullptr);
  canvas.RestoreState();
}

} // namespace

void TCustomKzEdit::PaintBookmarks(kzp::TCanvas &canvas, int firstRow, int lastRow, std::vector<int> &offsets) {
  const TKzBookMarkOpt &opt = FBookMarkOptions;
  // Two passes: the kind named by DrawBookmarksFirst first, then the others.
  for (int pass = 0; pass < 2; ++pass) {
    bool wantBookmarks = (pass == 0) == opt.DrawBookmarksFirst;
    for (const TKzEditMark &mark : FMarks) {
      if (!mark.Visible || mark.IsBookmark() != wantBookmarks)
        continue;
      if (mark.Line < firstRow || mark.Line > lastRow)
        continue;
      int glyph = mark.IsBookmark() ? mark.BookmarkNumber : mark.ImageIndex;
      // Only the ten built-in glyphs exist.
      if (glyph < 0 || glyph > 9)
        continue;
      int &offset = offsets[static_cast<size_t>(mark.Line - firstRow)];
      DrawBookmarkGlyph(canvas, opt.LeftMargin + offset, (mark.Line - FTopLine) * FLineHeight, FLineHeight, glyph);
      offset += opt.Xoffset;
    }
  }
}

void TCustomKzEdit::PaintTextLines(kzp::TCanvas &canvas, const kzp::TRect &clip, int firstRow, int lastRow,
                                   int firstCol, int lastCol) {
  const int gw = GutterWidth();
  TKzPaintFrame frame;
  frame.Clip = clip;
  frame.FirstCol = firstCol;
  frame.LastCol = lastCol;
  frame.TextLeft = std::max(clip.Left, gw + 2);
  frame.LineHeight = FLineHeight;
  frame.Grid = {FLeftChar, FCharWidth, gw + 2};
  frame.TabWidth = FTabWidth;
  frame.ShowSpecialChars = HasOption(eoShowSpecialChars);
  frame.SpecialLineDefaultFg = HasOption(eoSpecialLineDefaultFg);
  frame.Highlighter = FHighlighter;
  frame.Lines = &FLines;
  frame.SpaceAttr = FHighlighter ? FHighlighter->RoleAttribute(RoleWhitespace) : nullptr;
  frame.CommentAttr = FHighlighter ? FHighlighter->RoleAttribute(RoleComment) : nullptr;

  // The background for no particular line: the white-space attribute's, else the editor's.
  const kzp::TColor defaultBg =
      frame.SpaceAttr && frame.SpaceAttr->Background() != clNone ? frame.SpaceAttr->Background() : FColor;
  if (clip.Left < gw + 2 && clip.Right > gw) {
    canvas.SetBrushColor(defaultBg);
    canvas.FillRect({std::max(clip.Left, gw), clip.Top, std::min(gw + 2, clip.Right), clip.Bottom});
  }

  // The selection in display coordinates.
  const bool anySelection = SelectionAvailable() && !(FHideSelection && !Focused());
  TDisplayCoord selFirst{}, selLast{};
  if (anySelection) {
    selFirst = BufferToDisplayPos(SelectionFirst());
    selLast = BufferToDisplayPos(SelectionLast());
    if (FSelectionMode == smColumn && selFirst.Column > selLast.Column)
      std::swap(selFirst.Column, selLast.Column);
  }

  std::string &lineText = FPaintData->Line;
  for (int line = firstRow; line <= lastRow; ++line) { // rows are lines without word wrap
    ++FPaintedRows;
    // A line without tabs is its own expanded form; copying it into the kept buffer costs
    // no allocation once the buffer has grown.
    if (FLines.LineFlags(line - 1) & sfNoTabs)
      lineText.assign(FLines.LineView(line - 1));
    else
      lineText = FLines.ExpandedLine(line - 1);

    TKzPaintRow row;
    row.Text = &lineText;
    row.LineIndex = line - 1;
    row.Y = (line - FTopLine) * FLineHeight;
    row.ActiveLine = FActiveLineColor != clNone && line == FCaretY;
    row.Look = {FFont.Style, FFont.Color, row.ActiveLine ? FActiveLineColor : defaultBg};
    if (OnSpecialLineColors)
      OnSpecialLineColors(*this, line, row.Special, row.Look.Foreground, row.Look.Background);
    row.SelForeground = row.Special ? row.Look.Foreground : FPaintData->SelectedColor.Foreground();
    row.SelBackground = row.Special ? row.Look.Background : FPaintData->SelectedColor.Background();
    if (anySelection && line >= selFirst.Row && line <= selLast.Row) {
      switch (FSelectionMode) {
      case smNormal:
        row.SelStart = line == selFirst.Row ? selFirst.Column : 1;
        row.SelEnd = line == selLast.Row ? selLast.Column : KzBeyondLine;
        break;
      case smColumn:
        row.SelStart = selFirst.Column;
        row.SelEnd = selLast.Column;
        break;
      case smLine:
        row.SelStart = 1;
        row.SelEnd = KzBeyondLine;
        break;
      }
    }
    FPaintData->Painter.PaintRow(canvas, frame, row);
  }

  // Rows below the last line.
  const int belowTop = std::max((lastRow - FTopLine + 1) * FLineHeight, clip.Top);
  if (belowTop < clip.Bottom && frame.TextLeft < clip.Right) {
    canvas.SetBrushColor(defaultBg);
    canvas.FillRect({frame.TextLeft, belowTop, clip.Right, clip.Bottom});
  }

  // The right edge, over every painted row and the empty area below.
  if (FRightEdge > 0) {
    const int x = ColumnToX(FRightEdge) + FCharWidth;
    if (x >= frame.TextLeft && x < clip.Right) {
      canvas.SetPen({FRightEdgeColor, 1, kzp::TPenStyle::psSolid});
      canvas.Line(x, clip.Top, x, clip.Bottom);
    }
  }
}
