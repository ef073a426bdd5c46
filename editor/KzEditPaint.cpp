// Painting of the editor control: the gutter, the text lines through the highlighter with
// selection and special colours, the right edge, invalidation, the font grid and the caret.
#include "editor/KzEdit.h"

#include "editor/KzEditGutter.h"
#include "editor/KzEditTokenWalk.h"
#include "editor/KzTextDrawer.h"

#include <algorithm>
#include <climits>
#include <string_view>

namespace {

constexpr unsigned char kMiddleDot = 183;
constexpr unsigned char kGuillemet = 187;
constexpr unsigned char kPilcrow = 182;

// A column far right of anything on screen, for selections that run past the line end.
constexpr int kBeyondLine = INT_MAX / 4;

// Stores a property's new value; false when it had that value already, so nothing repaints.
template <class T>
bool Change(T &field, T value) {
  if (field == value)
    return false;
  field = value;
  return true;
}

bool OnlySpaces(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

} // namespace

struct TCustomKzEdit::TKzPaintData {
  explicit TKzPaintData(const kzp::TFont &font) : Drawer(0, font) {}
  TKzGutter Gutter;
  TKzSelectedColor SelectedColor;
  TheTextDrawer Drawer;
  // Reused per paint, so painting a line allocates nothing once the buffers have grown.
  std::string Line;
  std::string Run;
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
  // Wide arithmetic: a line of a million tabs at a wide tab stop has columns whose pixel
  // position does not fit an int. Such columns are never on screen, so clamping is enough;
  // the upper bound leaves room for what callers add (a caret's offset in its cell).
  const long long x = static_cast<long long>(column - FLeftChar) * FCharWidth + GutterWidth() + 2;
  return static_cast<int>(std::clamp<long long>(x, INT_MIN, INT_MAX / 2));
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
  TheTextDrawer &drawer = FPaintData->Drawer;
  const int gw = GutterWidth();
  const int cw = FCharWidth;
  const int textLeft = std::max(clip.Left, gw + 2);

  // The background for no particular line: the white-space attribute's, else the editor's.
  TKzHighlighterAttributes *spaceAttr = FHighlighter ? FHighlighter->RoleAttribute(RoleWhitespace) : nullptr;
  TKzHighlighterAttributes *commentAttr = FHighlighter ? FHighlighter->RoleAttribute(RoleComment) : nullptr;
  const kzp::TColor defaultBg = spaceAttr && spaceAttr->Background() != clNone ? spaceAttr->Background() : FColor;

  if (clip.Left < gw + 2 && clip.Right > gw) {
    canvas.SetBrushColor(defaultBg);
    canvas.FillRect({std::max(clip.Left, gw), clip.Top, std::min(gw + 2, clip.Right), clip.Bottom});
  }

  // The selection in display coordinates.
  bool anySelection = SelectionAvailable() && !(FHideSelection && !Focused());
  TDisplayCoord selFirst{}, selLast{};
  if (anySelection) {
    selFirst = BufferToDisplayPos(SelectionFirst());
    selLast = BufferToDisplayPos(SelectionLast());
    if (FSelectionMode == smColumn && selFirst.Column > selLast.Column)
      std::swap(selFirst.Column, selLast.Column);
  }
  const bool showSpecial = HasOption(eoShowSpecialChars);
  auto colX = [&](int col) { return ColumnToX(col); };

  std::string &lineText = FPaintData->Line;
  std::string &run = FPaintData->Run;

  for (int row = firstRow; row <= lastRow; ++row) {
    const int line = row;
    const int y = (row - FTopLine) * FLineHeight;
    ++FPaintedRows;
    // A line without tabs is its own expanded form; copying it into the kept buffer costs
    // no allocation once the buffer has grown.
    if (FLines.LineFlags(line - 1) & sfNoTabs)
      lineText.assign(FLines.LineView(line - 1));
    else
      lineText = FLines.ExpandedLine(line - 1);
    const int lineLen = static_cast<int>(lineText.size());

    // Colours of the line.
    kzp::TColor lineFg = FFont.Color;
    const bool activeLine = FActiveLineColor != clNone && line == FCaretY;
    kzp::TColor lineBg = activeLine ? FActiveLineColor : defaultBg;
    bool special = false;
    if (OnSpecialLineColors)
      OnSpecialLineColors(*this, line, special, lineFg, lineBg);
    kzp::TColor selFg = special ? lineFg : FPaintData->SelectedColor.Foreground();
    kzp::TColor selBg = special ? lineBg : FPaintData->SelectedColor.Background();

    // The selected display columns of this line, [selStart, selEnd).
    int selStart = 0, selEnd = 0;
    if (anySelection && line >= selFirst.Row && line <= selLast.Row) {
      switch (FSelectionMode) {
      case smNormal:
        selStart = line == selFirst.Row ? selFirst.Column : 1;
        selEnd = line == selLast.Row ? selLast.Column : kBeyondLine;
        break;
      case smColumn:
        selStart = selFirst.Column;
        selEnd = selLast.Column;
        break;
      case smLine:
        selStart = 1;
        selEnd = kBeyondLine;
        break;
      }
    }
    const bool hasSel = selStart < selEnd;
    const bool completeSel = hasSel && selStart <= firstCol && selEnd > lastCol;

    // Draws columns [c1, c2) of the run text (which starts at column runCol), split at the
    // selection into unselected, selected and unselected pieces.
    auto drawRun = [&](int runCol, kzp::TFontStyles style, kzp::TColor fg, kzp::TColor bg) {
      int runEnd = runCol + static_cast<int>(run.size());
      drawer.SetStyle(style);
      auto piece = [&](int c1, int c2, bool selected) {
        if (c1 >= c2)
          return;
        drawer.SetForeColor(selected ? selFg : fg);
        drawer.SetBackColor(selected ? selBg : bg);
        kzp::TRect r{colX(c1), y, colX(c2), y + FLineHeight};
        drawer.ExtTextOut(r.Left, y, kzp::etoOpaque, r,
                          std::string_view(run).substr(static_cast<size_t>(c1 - runCol), static_cast<size_t>(c2 - c1)));
      };
      if (!hasSel) {
        piece(runCol, runEnd, false);
        return;
      }
      int s = std::clamp(selStart, runCol, runEnd);
      int e = std::clamp(selEnd, runCol, runEnd);
      piece(runCol, s, false);
      piece(s, e, true);
      piece(e, runEnd, false);
    };

    // Copies expanded text [from, to) (0-based) into the run, making tabs and spaces visible
    // when special characters are shown.
    auto appendText = [&](int from, int to) {
      for (int i = from; i < to; ++i) {
        char c = lineText[static_cast<size_t>(i)];
        if (c == '\t') {
          if (showSpecial) {
            // One guillemet in the middle of each tab's run of cells; a tab's run ends at
            // the next multiple of the tab width.
            const int tw = std::max(FTabWidth, 1);
            int tabStart = i;
            while (tabStart > 0 && tabStart % tw != 0 && lineText[static_cast<size_t>(tabStart - 1)] == '\t')
              --tabStart;
            int tabEnd = i + 1;
            while (tabEnd < lineLen && tabEnd % tw != 0 && lineText[static_cast<size_t>(tabEnd)] == '\t')
              ++tabEnd;
            c = i == tabStart + (tabEnd - tabStart - 1) / 2 ? static_cast<char>(kGuillemet) : ' ';
          } else {
            c = ' ';
          }
        } else if (c == ' ' && showSpecial) {
          c = static_cast<char>(kMiddleDot);
        }
        run.push_back(c);
      }
    };

    int runCol = 0; // 0: no run open
    kzp::TFontStyles runStyle = 0;
    kzp::TColor runFg = lineFg, runBg = lineBg;
    TKzHighlighterAttributes *lastAttr = nullptr;
    int paintedTo = firstCol; // first column not yet covered by a run

    auto flush = [&] {
      if (runCol > 0 && !run.empty()) {
        drawRun(runCol, runStyle, runFg, runBg);
        paintedTo = runCol + static_cast<int>(run.size());
      }
      run.clear();
      runCol = 0;
    };

    // Adds the expanded text [s, e) (0-based) drawn with the given attribute colours.
    auto addToken = [&](int s, int e, kzp::TFontStyles style, kzp::TColor fg, kzp::TColor bg) {
      int c1 = std::max(s + 1, firstCol);
      int c2 = std::min(e + 1, lastCol + 1);
      if (c1 >= c2)
        return;
      std::string_view text(lineText.data() + (c1 - 1), static_cast<size_t>(c2 - c1));
      bool spaces = OnlySpaces(text);
      bool absorb = false;
      if (runCol > 0) {
        bool sameStyle = style == runStyle ||
                         (spaces && !(style & kzp::fsUnderline) && !(runStyle & kzp::fsUnderline));
        bool sameColours = (special && !HasOption(eoSpecialLineDefaultFg)) || completeSel ||
                           (bg == runBg && (fg == runFg || spaces));
        absorb = sameStyle && sameColours;
      }
      if (!absorb) {
        flush();
        runCol = c1;
        runStyle = style;
        runFg = fg;
        runBg = bg;
      }
      appendText(c1 - 1, c2 - 1);
    };

    if (FHighlighter) {
      TKzTokenWalk walk(*FHighlighter, FLines, lineText, line - 1);
      for (TKzToken t; walk.Next(t);) {
        if (t.Start + 1 > lastCol)
          break;
        if (t.End + 1 <= firstCol)
          continue;
        const TKzTokenLook look =
            LookOfToken(t.Attr, {FFont.Style, lineFg, lineBg},
                        !(special && !HasOption(eoSpecialLineDefaultFg)), !special && !activeLine);
        addToken(t.Start, t.End, look.Style, look.Foreground, look.Background);
      }
      lastAttr = walk.LastAttr();
    } else {
      addToken(0, lineLen, FFont.Style, lineFg, lineBg);
    }
    kzp::TFontStyles lastStyle = runStyle;
    char lastChar = run.empty() ? ' ' : run.back();
    flush();

    // The end-of-line marker occupies the cell after the text.
    int fillCol = std::max(paintedTo, std::min(lineLen + 1, lastCol + 1));
    if (showSpecial && lineLen + 1 >= firstCol && lineLen + 1 <= lastCol) {
      TKzHighlighterAttributes *eolAttr = lastAttr && lastAttr == commentAttr ? commentAttr : spaceAttr;
      kzp::TColor fg = eolAttr && eolAttr->Foreground() != clNone ? eolAttr->Foreground() : lineFg;
      kzp::TColor bg = eolAttr && eolAttr->Background() != clNone ? eolAttr->Background() : lineBg;
      run.assign(1, static_cast<char>(kPilcrow));
      drawRun(lineLen + 1, 0, fg, bg);
      run.clear();
      fillCol = lineLen + 2;
    }

    // The rest of the row: selected part in the selection colour, then the line background.
    int fillX = std::max(colX(fillCol), textLeft);
    if (lastStyle != 0 && fillCol == lineLen + 1 && lineLen >= firstCol) {
      // Keep the overhang of a styled last character visible.
      drawer.SetStyle(lastStyle);
      int extra = canvas.TextWidth(std::string_view(&lastChar, 1)) - cw;
      if (extra > 0)
        fillX += extra;
    }
    if (fillX < clip.Right) {
      if (hasSel && selEnd > fillCol) {
        int s = std::max(colX(std::max(selStart, fillCol)), fillX);
        int e = std::min(selEnd >= kBeyondLine ? clip.Right : colX(selEnd), clip.Right);
        if (s > fillX) {
          canvas.SetBrushColor(lineBg);
          canvas.FillRect({fillX, y, s, y + FLineHeight});
        }
        if (e > s) {
          canvas.SetBrushColor(selBg);
          canvas.FillRect({s, y, e, y + FLineHeight});
        }
        fillX = std::max(fillX, e);
      }
      if (fillX < clip.Right) {
        canvas.SetBrushColor(lineBg);
        canvas.FillRect({fillX, y, clip.Right, y + FLineHeight});
      }
    }
  }

  // Rows below the last line.
  int belowTop = std::max((lastRow - FTopLine + 1) * FLineHeight, clip.Top);
  if (belowTop < clip.Bottom && textLeft < clip.Right) {
    canvas.SetBrushColor(defaultBg);
    canvas.FillRect({textLeft, belowTop, clip.Right, clip.Bottom});
  }

  // The right edge, over every painted row and the empty area below.
  if (FRightEdge > 0) {
    int x = ColumnToX(FRightEdge) + cw;
    if (x >= textLeft && x < clip.Right) {
      canvas.SetPen({FRightEdgeColor, 1, kzp::TPenStyle::psSolid});
      canvas.Line(x, clip.Top, x, clip.Bottom);
    }
  }
}
