// The view: its construction, the grid and colours, invalidation, the caret's shape and
// painting of the gutter and the text rows.
#include "editor/KzEditView.h"

#include "editor/KzEditDocument.h"
#include "editor/KzEditMiscProcs.h"
#include "editor/KzEditModel.h"

#include <algorithm>
#include <climits>
#include <string_view>

namespace {

// Stores a property's new value; false when it had that value already, so nothing repaints.
template <class T> bool Change(T &field, T value) {
  if (field == value)
    return false;
  field = value;
  return true;
}

} // namespace

TKzEditView::TKzEditView(const TKzEditDocument &doc, const TKzEditModel &model, TKzEditHost &window,
                         TKzEditViewHost &host)
    : FDoc(doc), FModel(model), FWindow(window), FHost(host), FDrawer(0, FFont) {
  FGutter.OnChange = [this] { GutterChanged(); };
  FSelectedColor.OnChange = [this] { Invalidate(); };
}

bool TKzEditView::HasOption(TKzEditorOption o) const { return FModel.HasOption(o); }
int TKzEditView::DisplayLineCount() const { return FModel.DisplayLineCount(); }

int TKzEditView::GutterWidth() const { return FGutter.RealGutterWidth(FCharWidth); }

int TKzEditView::ColumnToX(int column) const {
  return TKzColumnGrid{FLeftChar, FCharWidth, GutterWidth() + 2}.X(column);
}

// ---- font, grid and colours ----

void TKzEditView::SetFont(const kzp::TFont &font) {
  FFont = font;
  FDrawer.SetBaseFont(&FFont);
  FDrawer.SetBaseStyle(FFont.Style);
  SizeOrFontChanged(true);
}

void TKzEditView::SetMeasureCanvas(kzp::TCanvas *canvas) {
  FMeasureCanvas = canvas;
  SizeOrFontChanged(true);
}

void TKzEditView::SetExtraLineSpacing(int value) {
  if (Change(FExtraLineSpacing, value))
    SizeOrFontChanged(true);
}

void TKzEditView::SetColor(kzp::TColor value) {
  if (Change(FColor, value))
    Invalidate();
}

void TKzEditView::SetActiveLineColor(kzp::TColor value) {
  if (Change(FActiveLineColor, value))
    InvalidateLines(FModel.CaretY(), FModel.CaretY());
}

void TKzEditView::SetRightEdge(int value) {
  if (Change(FRightEdge, value))
    Invalidate();
}

void TKzEditView::SetRightEdgeColor(kzp::TColor value) {
  if (Change(FRightEdgeColor, value))
    Invalidate();
}

void TKzEditView::SetMarkColor(kzp::TColor value) {
  if (Change(FMarkColor, value))
    Invalidate();
}

void TKzEditView::RecalcCharExtent() {
  TheTextDrawer &drawer = FDrawer;
  drawer.SetBaseFont(&FFont);
  drawer.SetBaseStyle(FFont.Style);
  if (FMeasureCanvas) {
    // Only the bold/italic combinations that actually occur decide the cell.
    unsigned mask = 0;
    if (FDoc.Highlighter()) {
      for (int i = 0; i < FDoc.Highlighter()->AttributeCount(); ++i)
        if (TKzHighlighterAttributes *a = FDoc.Highlighter()->AttributeAt(i))
          mask |= 1u << (a->Style() & 3);
    }
    if (mask == 0)
      mask = 1u << (FFont.Style & 3);
    drawer.CalcExtent(*FMeasureCanvas, mask);
  }
  FCharWidth = drawer.CharWidth();
  FLineHeight = std::max(1, drawer.CharHeight() + FExtraLineSpacing);
}

void TKzEditView::SetHideSelection(bool value) {
  if (Change(FHideSelection, value))
    Invalidate();
}

void TKzEditView::HighlighterChanged() {
  SizeOrFontChanged(true);
  Invalidate();
}

void TKzEditView::GutterChanged() {
  FGutter.AutoSizeDigitCount(FDoc.Lines().Count());
  SizeOrFontChanged(false);
  Invalidate();
}

// ---- invalidation ----

// The rows of lines firstLine..lastLine that are in the window, from the left edge to right.
void TKzEditView::InvalidateRows(int firstLine, int lastLine, int right) {
  if (!FWindow.HandleAllocated())
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
  FWindow.InvalidateRect(0, (firstLine - FTopLine) * FLineHeight, right,
                         (lastLine - FTopLine + 1) * FLineHeight);
}

void TKzEditView::InvalidateLines(int firstLine, int lastLine) {
  InvalidateRows(firstLine, lastLine, FWindow.ClientWidth());
}

void TKzEditView::InvalidateGutter() {
  if (FWindow.HandleAllocated())
    FWindow.InvalidateRect(0, 0, GutterWidth(), FWindow.ClientHeight());
}

void TKzEditView::InvalidateGutterLines(int firstLine, int lastLine) {
  InvalidateRows(firstLine, lastLine, GutterWidth());
}

void TKzEditView::Invalidate() {
  if (FWindow.HandleAllocated())
    FWindow.InvalidateAll();
}

// ---- caret ----

void TKzEditView::CaretShape(int &width, int &height, int &offsetX, int &offsetY) const {
  TKzEditCaretType shape = FModel.InsertMode() ? FInsertCaret : FOverwriteCaret;
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

void TKzEditView::InitializeCaret() {
  int w, h, ox, oy;
  CaretShape(w, h, ox, oy);
  FWindow.CreateCaret(w, h);
  UpdateCaret();
}

void TKzEditView::UpdateCaret() {
  int w, h, ox, oy;
  CaretShape(w, h, ox, oy);
  kzp::TPoint p = RowColumnToPixels(FModel.DisplayXY());
  FWindow.SetCaretPos(p.X + ox, p.Y + oy);
}

// ---- painting ----

void TKzEditView::Paint(kzp::TCanvas &canvas, const kzp::TRect &clip) {
  FPaintedRows = 0;
  if (clip.IsEmpty())
    return;
  // The digit field follows the line count; a change moves everything, so repaint all.
  TKzGutter &gutter = FGutter;
  if (gutter.AutoSizeDigitCount(FDoc.Lines().Count())) {
    SizeOrFontChanged(false);
    Invalidate();
  }
  TheTextDrawer &drawer = FDrawer;
  drawer.BeginDrawing(&canvas);
  canvas.SetClipRect(clip);

  // Rows from the clip's top and bottom, limited to the lines that exist; columns from its
  // left and right edges relative to the text origin.
  int firstRow = FTopLine + std::max(clip.Top, 0) / FLineHeight;
  int lastRow = std::min(FTopLine + (clip.Bottom - 1) / FLineHeight, FDoc.Lines().Count());
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

  FHost.PaintHooks(canvas);
  drawer.EndDrawing();
}

void TKzEditView::PaintGutter(kzp::TCanvas &canvas, const kzp::TRect &clip, int firstRow,
                              int lastRow) {
  const TKzGutter &gutter = FGutter;
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
      FHost.GutterGetText(line, text);
      int width = canvas.TextWidth(text);
      kzp::TRect band{clip.Left, y, gw - 2, y + FLineHeight};
      if (band.IsEmpty())
        continue;
      int x = gw - gutter.RightOffset() - 2 - width;
      canvas.ExtTextOut(x, y + (FLineHeight - textHeight) / 2, kzp::etoOpaque, &band, text,
                        nullptr);
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
  case gbsNone: break;
  }

  std::vector<int> &offsets = FGlyphOffsets;
  offsets.assign(static_cast<size_t>(std::max(lastRow - firstRow + 1, 0)), 0);
  if (FBookMarkOptions.GlyphsVisible && !FDoc.Marks().empty() && lastRow >= firstRow)
    PaintBookmarks(canvas, firstRow, lastRow);
  for (int row = firstRow; row <= lastRow; ++row)
    FHost.GutterPaint(row, offsets[static_cast<size_t>(row - firstRow)],
                      (row - FTopLine) * FLineHeight);
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
  canvas.Polygon({{x, top},
                  {x + w - 1, top},
                  {x + w - 1, top + h - 1},
                  {x + w / 2, top + h - 4},
                  {x, top + h - 1}});
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

void TKzEditView::PaintBookmarks(kzp::TCanvas &canvas, int firstRow, int lastRow) {
  std::vector<int> &offsets = FGlyphOffsets;
  const TKzBookMarkOpt &opt = FBookMarkOptions;
  // Two passes: the kind named by DrawBookmarksFirst first, then the others.
  for (int pass = 0; pass < 2; ++pass) {
    bool wantBookmarks = (pass == 0) == opt.DrawBookmarksFirst;
    for (const TKzEditMark &mark : FDoc.Marks()) {
      if (!mark.Visible || mark.IsBookmark() != wantBookmarks)
        continue;
      if (mark.Line < firstRow || mark.Line > lastRow)
        continue;
      int glyph = mark.IsBookmark() ? mark.BookmarkNumber : mark.ImageIndex;
      // Only the ten built-in glyphs exist.
      if (glyph < 0 || glyph > 9)
        continue;
      int &offset = offsets[static_cast<size_t>(mark.Line - firstRow)];
      DrawBookmarkGlyph(canvas, opt.LeftMargin + offset, (mark.Line - FTopLine) * FLineHeight,
                        FLineHeight, glyph);
      offset += opt.Xoffset;
    }
  }
}

void TKzEditView::MarkColumns(int line, int firstCol, int lastCol) {
  FLineMarks.clear();
  FMarkColumns.clear();
  if (!FHost.HasLineMarks())
    return;
  const std::string_view text = FDoc.Lines().LineView(line - 1);
  const int tabWidth = FModel.TabWidth();
  const bool noTabs = FDoc.Lines().LineFlags(line - 1) & sfNoTabs;
  const int firstChar = noTabs ? firstCol : DisplayToBufferColumn(text, firstCol, tabWidth);
  const int lastChar = noTabs ? lastCol : DisplayToBufferColumn(text, lastCol, tabWidth);
  FHost.LineMarks(line, firstChar, lastChar, FLineMarks);
  // Display columns, so that tabs before or inside a mark move it as they move the text; one
  // walk along the line for all marks. Empty stretches and anything out of order are left
  // out.
  TKzDisplayColumnWalk walk(text, tabWidth);
  auto column = [&](int ch) { return noTabs ? ch : walk.DisplayColumn(ch); };
  int last = 1;
  for (const TKzLineMark &m : FLineMarks) {
    if (m.End <= m.Start || m.Start < last)
      continue;
    const int c1 = column(m.Start);
    const int c2 = column(m.End);
    if (c2 > c1)
      FMarkColumns.emplace_back(c1, c2);
    last = m.End;
  }
}

void TKzEditView::PaintTextLines(kzp::TCanvas &canvas, const kzp::TRect &clip, int firstRow,
                                 int lastRow, int firstCol, int lastCol) {
  const int gw = GutterWidth();
  TKzPaintFrame frame;
  frame.Clip = clip;
  frame.FirstCol = firstCol;
  frame.LastCol = lastCol;
  frame.TextLeft = std::max(clip.Left, gw + 2);
  frame.LineHeight = FLineHeight;
  frame.Grid = {FLeftChar, FCharWidth, gw + 2};
  frame.TabWidth = FModel.TabWidth();
  frame.ShowSpecialChars = HasOption(eoShowSpecialChars);
  frame.SpecialLineDefaultFg = HasOption(eoSpecialLineDefaultFg);
  frame.Highlighter = FDoc.Highlighter();
  frame.Lines = &FDoc.Lines();
  frame.SpaceAttr =
      FDoc.Highlighter() ? FDoc.Highlighter()->RoleAttribute(RoleWhitespace) : nullptr;
  frame.CommentAttr = FDoc.Highlighter() ? FDoc.Highlighter()->RoleAttribute(RoleComment) : nullptr;

  // The background for no particular line: the white-space attribute's, else the editor's.
  const kzp::TColor defaultBg = frame.SpaceAttr && frame.SpaceAttr->Background() != clNone
                                    ? frame.SpaceAttr->Background()
                                    : FColor;
  if (clip.Left < gw + 2 && clip.Right > gw) {
    canvas.SetBrushColor(defaultBg);
    canvas.FillRect({std::max(clip.Left, gw), clip.Top, std::min(gw + 2, clip.Right), clip.Bottom});
  }

  // The selection in display coordinates.
  const bool anySelection = FModel.SelectionAvailable() && !(FHideSelection && !FWindow.HasFocus());
  TDisplayCoord selFirst{}, selLast{};
  if (anySelection) {
    selFirst = FModel.BufferToDisplayPos(FModel.SelectionFirst());
    selLast = FModel.BufferToDisplayPos(FModel.SelectionLast());
    if (FModel.SelectionMode() == smColumn && selFirst.Column > selLast.Column)
      std::swap(selFirst.Column, selLast.Column);
  }

  std::string &lineText = FLineText;
  for (int line = firstRow; line <= lastRow; ++line) { // rows are lines without word wrap
    ++FPaintedRows;
    // A line without tabs is its own expanded form; copying it into the kept buffer costs
    // no allocation once the buffer has grown.
    if (FDoc.Lines().LineFlags(line - 1) & sfNoTabs)
      lineText.assign(FDoc.Lines().LineView(line - 1));
    else
      lineText = FDoc.Lines().ExpandedLine(line - 1);

    TKzPaintRow row;
    row.Text = &lineText;
    row.LineIndex = line - 1;
    row.Y = (line - FTopLine) * FLineHeight;
    row.ActiveLine = FActiveLineColor != clNone && line == FModel.CaretY();
    row.Look = {FFont.Style, FFont.Color, row.ActiveLine ? FActiveLineColor : defaultBg};
    FHost.SpecialLineColors(line, row.Special, row.Look.Foreground, row.Look.Background);
    row.SelForeground = row.Special ? row.Look.Foreground : FSelectedColor.Foreground();
    row.SelBackground = row.Special ? row.Look.Background : FSelectedColor.Background();
    if (anySelection && line >= selFirst.Row && line <= selLast.Row) {
      switch (FModel.SelectionMode()) {
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
    MarkColumns(line, firstCol, lastCol);
    row.Marks = &FMarkColumns;
    row.MarkBackground = FMarkColor;
    FPainter.PaintRow(canvas, frame, row);
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
