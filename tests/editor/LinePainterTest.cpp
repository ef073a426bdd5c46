// One row drawn on its own, as a printer or a preview draws it without an editor: the runs
// and their looks, the selection pieces, a row scrolled sideways and the fill after the text.
#include "editor/KzEditLinePainter.h"
#include "editor/KzEditTextBuffer.h"
#include "editor/KzTextDrawer.h"
#include "highlight/KzHighlighterHtml.h"
#include "platform/FixedCanvas.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using kzp::TCanvasOp;

namespace {

// (x, text, foreground, background, style) of every text call, (left, right, colour) of
// every fill.
using TText = std::tuple<int, std::string, kzp::TColor, kzp::TColor, kzp::TFontStyles>;
using TFill = std::tuple<int, int, kzp::TColor>;

struct TPainterFixture {
  kzp::TFixedCanvas Canvas;
  kzp::TFont Font;
  TheTextDrawer Drawer{0, Font};
  TKzLinePainter Painter{Drawer};
  TKzPaintFrame Frame;
  TKzEditStringList Lines;

  TPainterFixture() {
    Drawer.CalcExtent(Canvas);
    Frame.Clip = {0, 0, 200, 16};
    Frame.FirstCol = 1;
    Frame.LastCol = 25; // 200 pixels of 8
    Frame.TextLeft = 0;
    Frame.LineHeight = 16;
    Frame.Grid = {1, 8, 0};
    Frame.Lines = &Lines;
  }
  void Paint(const std::string &text, TKzPaintRow row) {
    row.Text = &text;
    Canvas.ClearCalls();
    Drawer.BeginDrawing(&Canvas);
    Painter.PaintRow(Canvas, Frame, row);
    Drawer.EndDrawing();
  }
  std::vector<TText> Texts() const {
    std::vector<TText> out;
    for (const auto &c : Canvas.CallsOf(TCanvasOp::Text))
      out.emplace_back(c.X, c.Text, c.Font.Color, c.Brush.Color, c.Font.Style);
    return out;
  }
  std::vector<TFill> Fills() const {
    std::vector<TFill> out;
    for (const auto &c : Canvas.CallsOf(TCanvasOp::FillRect))
      out.emplace_back(c.Rect.Left, c.Rect.Right, c.Brush.Color);
    return out;
  }
};

TKzPaintRow PlainRow() {
  TKzPaintRow row;
  row.Look = {0, kzp::clBlack, kzp::clWhite};
  row.SelForeground = kzp::clWhite;
  row.SelBackground = kzp::clNavy;
  return row;
}

} // namespace

TEST(LinePainter, PlainRowSplitAtTheSelectionAndFilledToTheClip) {
  TPainterFixture f;
  TKzPaintRow row = PlainRow();
  f.Paint("hello", row);
  EXPECT_EQ(f.Texts(), (std::vector<TText>{{0, "hello", kzp::clBlack, kzp::clWhite, 0}}));
  EXPECT_EQ(f.Fills(), (std::vector<TFill>{{40, 200, kzp::clWhite}}));

  // Columns 2..3 selected; the selection runs on past the line's end to column 8.
  row.SelStart = 2;
  row.SelEnd = 4;
  f.Paint("hello", row);
  EXPECT_EQ(f.Texts(), (std::vector<TText>{{0, "h", kzp::clBlack, kzp::clWhite, 0},
                                           {8, "el", kzp::clWhite, kzp::clNavy, 0},
                                           {24, "lo", kzp::clBlack, kzp::clWhite, 0}}));
  row.SelStart = 4;
  row.SelEnd = 8;
  f.Paint("hello", row);
  EXPECT_EQ(f.Texts(), (std::vector<TText>{{0, "hel", kzp::clBlack, kzp::clWhite, 0},
                                           {24, "lo", kzp::clWhite, kzp::clNavy, 0}}));
  EXPECT_EQ(f.Fills(), (std::vector<TFill>{{40, 56, kzp::clNavy}, {56, 200, kzp::clWhite}}));
  // A selection of whole lines fills the row to the clip in its colour.
  row.SelStart = 1;
  row.SelEnd = KzBeyondLine;
  f.Paint("hi", row);
  EXPECT_EQ(f.Fills(), (std::vector<TFill>{{16, 200, kzp::clNavy}}));
}

TEST(LinePainter, HighlightedRowMergesTokensThatLookAlike) {
  TPainterFixture f;
  TKzHTMLHighlighter html;
  f.Frame.Highlighter = &html;
  f.Lines.SetText("<b> x");
  const std::string text = f.Lines.GetLine(0);
  f.Paint(text, PlainRow());
  // Tags in their attribute's look; the blank before the text joins the tag's run, which
  // has the same background.
  std::vector<TText> texts = f.Texts();
  ASSERT_FALSE(texts.empty());
  std::string joined;
  int x = 0;
  for (const TText &t : texts) {
    EXPECT_EQ(std::get<0>(t), x); // runs follow each other on the grid
    x += 8 * int(std::get<1>(t).size());
    joined += std::get<1>(t);
  }
  EXPECT_EQ(joined, "<b> x");
  const TKzTokenLook tag = LookOfToken(html.SymbolAttri, {0, kzp::clBlack, kzp::clWhite});
  EXPECT_EQ(std::get<2>(texts.front()), tag.Foreground);
  EXPECT_EQ(std::get<4>(texts.front()), tag.Style);
  const TKzTokenLook body = LookOfToken(html.TextAttri, {0, kzp::clBlack, kzp::clWhite});
  EXPECT_EQ(std::get<1>(texts.back()).back(), 'x');
  EXPECT_EQ(std::get<2>(texts.back()), body.Foreground);
}

TEST(LinePainter, RowScrolledSidewaysDrawsOnlyTheVisibleColumns) {
  TPainterFixture f;
  // The view starts at column 3 and shows columns 3..6 in a clip of 32 pixels.
  f.Frame.Grid = {3, 8, 0};
  f.Frame.FirstCol = 3;
  f.Frame.LastCol = 6;
  f.Frame.Clip = {0, 0, 32, 16};
  f.Paint("abcdefgh", PlainRow());
  EXPECT_EQ(f.Texts(), (std::vector<TText>{{0, "cdef", kzp::clBlack, kzp::clWhite, 0}}));
  EXPECT_TRUE(f.Fills().empty());
}

TEST(LinePainter, SpecialCharactersAndTheLineEndMark) {
  TPainterFixture f;
  f.Frame.ShowSpecialChars = true;
  f.Frame.TabWidth = 4;
  // "a" then a tab expanded to three cells, then "b c": the guillemet sits in the middle
  // cell of the tab, blanks are middle dots, the pilcrow follows the text.
  f.Paint(std::string("a\t\t\tb c"), PlainRow());
  const std::vector<TText> texts = f.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(std::get<1>(texts[0]), std::string("a \xBB b\xB7") + "c");
  EXPECT_EQ(std::get<0>(texts[1]), 56);
  EXPECT_EQ(std::get<1>(texts[1]), "\xB6");
  EXPECT_EQ(f.Fills(), (std::vector<TFill>{{64, 200, kzp::clWhite}}));
}

TEST(LinePainter, MarksTakeTheirBackgroundWhereTheSelectionDoesNotCoverThem) {
  TPainterFixture f;
  TKzPaintRow row = PlainRow();
  const std::vector<std::pair<int, int>> marks{{2, 4}, {6, 8}};
  row.Marks = &marks;
  row.MarkBackground = kzp::clAqua;
  f.Paint("abcdefgh", row);
  EXPECT_EQ(f.Texts(), (std::vector<TText>{{0, "a", kzp::clBlack, kzp::clWhite, 0},
                                           {8, "bc", kzp::clBlack, kzp::clAqua, 0},
                                           {24, "de", kzp::clBlack, kzp::clWhite, 0},
                                           {40, "fg", kzp::clBlack, kzp::clAqua, 0},
                                           {56, "h", kzp::clBlack, kzp::clWhite, 0}}));
  // The selection wins where it meets a mark, on both sides of it.
  row.SelStart = 3;
  row.SelEnd = 7;
  f.Paint("abcdefgh", row);
  EXPECT_EQ(f.Texts(), (std::vector<TText>{{0, "a", kzp::clBlack, kzp::clWhite, 0},
                                           {8, "b", kzp::clBlack, kzp::clAqua, 0},
                                           {16, "cdef", kzp::clWhite, kzp::clNavy, 0},
                                           {48, "g", kzp::clBlack, kzp::clAqua, 0},
                                           {56, "h", kzp::clBlack, kzp::clWhite, 0}}));
  // Nothing marked past the text, so the fill after it keeps the line's colour.
  EXPECT_EQ(f.Fills(), (std::vector<TFill>{{64, 200, kzp::clWhite}}));
}
