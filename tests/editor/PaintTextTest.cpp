// Text lines on the recording canvas: token runs and their colours, selection pieces in the
// three modes and past the line end, the caret line, special lines and characters, the right
// edge, the rows below the text and the clip that limits all of it.
#include "ViewFixture.h"

#include <gtest/gtest.h>

#include <tuple>

using kzp::TCanvasCall;
using kzp::TCanvasOp;
using kzp::TRect;

namespace {

struct TRun {
  int X;
  std::string Text;
  kzp::TColor Fg, Bg;
  kzp::TFontStyles Style;
};

std::vector<TRun> Runs(const std::vector<TCanvasCall> &texts) {
  std::vector<TRun> out;
  for (const auto &t : texts)
    out.push_back({t.X, t.Text, t.Font.Color, t.Brush.Color, t.Font.Style});
  return out;
}

void ExpectRuns(const std::vector<TCanvasCall> &texts, const std::vector<TRun> &expected) {
  auto got = Runs(texts);
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE("run " + std::to_string(i) + " '" + got[i].Text + "'");
    EXPECT_EQ(got[i].X, expected[i].X);
    EXPECT_EQ(got[i].Text, expected[i].Text);
    EXPECT_EQ(got[i].Fg, expected[i].Fg);
    EXPECT_EQ(got[i].Bg, expected[i].Bg);
    EXPECT_EQ(got[i].Style, expected[i].Style);
  }
}

// The filled rectangles of a row right of the text as (left, right, colour).
std::vector<std::tuple<int, int, kzp::TColor>> Fills(const std::vector<TCanvasCall> &fills) {
  std::vector<std::tuple<int, int, kzp::TColor>> out;
  for (const auto &f : fills)
    out.emplace_back(f.Rect.Left, f.Rect.Right, f.Brush.Color);
  return out;
}

using Fill = std::tuple<int, int, kzp::TColor>;

} // namespace

TEST(PaintText, PlainLinesOnTheGridWithFillsAndTheRowsBelow) {
  TViewFixture f;
  f.Edit->SetText("abc\r\nhello world");
  f.PaintAll();
  auto row0 = f.TextsInRow(0);
  ExpectRuns(row0, {{32, "abc", kzp::clWindowText, kzp::clWindow, 0}});
  EXPECT_EQ(row0[0].Y, 0);
  EXPECT_EQ(row0[0].Advances, (std::vector<int>{8, 8, 8}));
  EXPECT_EQ(row0[0].Rect, (TRect{32, 0, 56, 16}));
  EXPECT_EQ(row0[0].Options, kzp::etoOpaque);
  EXPECT_EQ(Fills(f.FillsInRow(0)), (std::vector<Fill>{{56, 352, kzp::clWindow}}));
  ExpectRuns(f.TextsInRow(1), {{32, "hello world", kzp::clWindowText, kzp::clWindow, 0}});
  EXPECT_EQ(f.TextsInRow(1)[0].Y, 16);
  // The gap between gutter and text, and everything below the last line.
  bool gap = false, below = false;
  for (const auto &c : f.Canvas.CallsOf(TCanvasOp::FillRect)) {
    gap |= c.Rect == TRect{30, 0, 32, 160} && c.Brush.Color == kzp::clWindow;
    below |= c.Rect == TRect{32, 32, 352, 160} && c.Brush.Color == kzp::clWindow;
  }
  EXPECT_TRUE(gap);
  EXPECT_TRUE(below);
  EXPECT_EQ(f.Edit->PaintedRows(), 2);
  // The right edge at column 80 lies outside this window.
  EXPECT_TRUE(f.Canvas.CallsOf(TCanvasOp::Line).size() == 2); // only the gutter border
}

TEST(PaintText, TokensMergeIntoRunsByStyleAndColour) {
  TViewFixture f;
  TTestHighlighter hl;
  f.Edit->SetHighlighter(&hl);
  f.Edit->SetText("ab CD 12 x");
  f.PaintAll();
  ExpectRuns(f.TextsInRow(0),
             {
                 // a space token joins the run before it when the backgrounds match
                 {32, "ab ", kzp::clNavy, kzp::clWindow, 0},
                 // spaces join a bold run too: neither style underlines
                 {56, "CD ", kzp::clMaroon, kzp::clWindow, kzp::fsBold},
                 {80, "12", kzp::clRed, kzp::clYellow, 0},
                 // a different background starts a new run, in the line colours
                 {96, " ", kzp::clWindowText, kzp::clWindow, 0},
                 {104, "x", kzp::clNavy, kzp::clWindow, 0},
             });
  hl.Key->SetStyle(kzp::fsBold | kzp::fsUnderline);
  f.PaintAll();
  auto runs = Runs(f.TextsInRow(0));
  ASSERT_GE(runs.size(), 3u);
  EXPECT_EQ(runs[1].Text, "CD"); // an underlined run does not swallow spaces
  EXPECT_EQ(runs[2].Text, " ");
  f.Edit->SetHighlighter(nullptr);
}

TEST(PaintText, WhiteSpaceBackgroundIsTheDefaultLineBackground) {
  TViewFixture f;
  TTestHighlighter hl;
  const kzp::TColor cream = 0xF0FBFF;
  hl.Space->SetBackground(cream);
  f.Edit->SetHighlighter(&hl);
  f.Edit->SetText("ab");
  f.PaintAll();
  ExpectRuns(f.TextsInRow(0), {{32, "ab", kzp::clNavy, cream, 0}});
  EXPECT_EQ(Fills(f.FillsInRow(0)), (std::vector<Fill>{{48, 352, cream}}));
  bool below = false;
  for (const auto &c : f.Canvas.CallsOf(TCanvasOp::FillRect))
    below |= c.Rect == TRect{32, 16, 352, 160} && c.Brush.Color == cream;
  EXPECT_TRUE(below);
  f.Edit->SetHighlighter(nullptr);
}

TEST(PaintText, SelectionPiecesInNormalMode) {
  TViewFixture f;
  f.Edit->SetText("abcdefgh\r\nijkl");
  f.Edit->SetSelectionAnchor({3, 1});
  f.Edit->SetSelectionEnd({6, 1});
  f.PaintAll();
  const auto hl = kzp::clHighlight, ht = kzp::clHighlightText, w = kzp::clWindow,
             wt = kzp::clWindowText;
  ExpectRuns(f.TextsInRow(0),
             {{32, "ab", wt, w, 0}, {48, "cde", ht, hl, 0}, {72, "fgh", wt, w, 0}});
  EXPECT_EQ(Fills(f.FillsInRow(0)), (std::vector<Fill>{{96, 352, w}}));

  // Over two lines: the first line's selection runs on past its end to the window's edge.
  f.Edit->SetText("abcd\r\nefgh");
  f.Edit->SetSelectionAnchor({3, 1});
  f.Edit->SetSelectionEnd({2, 2});
  f.PaintAll();
  ExpectRuns(f.TextsInRow(0), {{32, "ab", wt, w, 0}, {48, "cd", ht, hl, 0}});
  EXPECT_EQ(Fills(f.FillsInRow(0)), (std::vector<Fill>{{64, 352, hl}}));
  ExpectRuns(f.TextsInRow(1), {{32, "e", ht, hl, 0}, {40, "fgh", wt, w, 0}});
  EXPECT_EQ(Fills(f.FillsInRow(1)), (std::vector<Fill>{{64, 352, w}}));

  // A hidden selection of an editor without focus is not drawn.
  f.Edit->SetHideSelection(true);
  f.Host.Focus = false;
  f.PaintAll();
  ExpectRuns(f.TextsInRow(0), {{32, "abcd", wt, w, 0}});
  f.Host.Focus = true;
  f.PaintAll();
  EXPECT_EQ(f.TextsInRow(0).size(), 2u);
}

TEST(PaintText, SelectionPiecesInLineAndColumnMode) {
  TViewFixture f;
  const auto hl = kzp::clHighlight, ht = kzp::clHighlightText, w = kzp::clWindow,
             wt = kzp::clWindowText;
  f.Edit->SetText("abc\r\nabcdefghij\r\nxy");
  f.Edit->SetSelectionMode(smColumn);
  f.Edit->SetSelectionAnchor({2, 1});
  f.Edit->SetSelectionEnd({8, 2});
  f.PaintAll();
  // The rectangle reaches past the end of the short line: painted up to its end column.
  ExpectRuns(f.TextsInRow(0), {{32, "a", wt, w, 0}, {40, "bc", ht, hl, 0}});
  EXPECT_EQ(Fills(f.FillsInRow(0)), (std::vector<Fill>{{56, 88, hl}, {88, 352, w}}));
  ExpectRuns(f.TextsInRow(1),
             {{32, "a", wt, w, 0}, {40, "bcdefg", ht, hl, 0}, {88, "hij", wt, w, 0}});
  ExpectRuns(f.TextsInRow(2), {{32, "xy", wt, w, 0}});

  f.Edit->SetSelectionMode(smLine);
  f.Edit->SetSelectionAnchor({2, 2});
  f.Edit->SetSelectionEnd({3, 2});
  f.PaintAll();
  ExpectRuns(f.TextsInRow(0), {{32, "abc", wt, w, 0}});
  ExpectRuns(f.TextsInRow(1), {{32, "abcdefghij", ht, hl, 0}});
  EXPECT_EQ(Fills(f.FillsInRow(1)), (std::vector<Fill>{{112, 352, hl}}));
}

TEST(PaintText, FullySelectedLineIsOneRunInSelectionColours) {
  TViewFixture f;
  TTestHighlighter hl;
  f.Edit->SetHighlighter(&hl);
  f.Edit->SetText("ab CD 12\r\nz");
  f.Edit->SetSelectionAnchor({1, 1});
  f.Edit->SetSelectionEnd({1, 2});
  f.PaintAll();
  // Styles still split runs; colours do not.
  ExpectRuns(f.TextsInRow(0), {{32, "ab ", kzp::clHighlightText, kzp::clHighlight, 0},
                               {56, "CD ", kzp::clHighlightText, kzp::clHighlight, kzp::fsBold},
                               {80, "12", kzp::clHighlightText, kzp::clHighlight, 0}});
  f.Edit->SetHighlighter(nullptr);
}

TEST(PaintText, ActiveLineColourOnlyWhenSet) {
  TViewFixture f;
  TTestHighlighter hl;
  f.Edit->SetHighlighter(&hl);
  f.Edit->SetText("a 1\r\nb 2");
  f.Edit->SetCaretXY({1, 2});
  f.PaintAll();
  ExpectRuns(f.TextsInRow(1),
             {{32, "b ", kzp::clNavy, kzp::clWindow, 0}, {48, "2", kzp::clRed, kzp::clYellow, 0}});
  f.Edit->SetActiveLineColor(kzp::clAqua);
  f.PaintAll();
  // On the caret line every token's background is the active line colour.
  ExpectRuns(f.TextsInRow(1),
             {{32, "b ", kzp::clNavy, kzp::clAqua, 0}, {48, "2", kzp::clRed, kzp::clAqua, 0}});
  EXPECT_EQ(Fills(f.FillsInRow(1)), (std::vector<Fill>{{56, 352, kzp::clAqua}}));
  ExpectRuns(f.TextsInRow(0),
             {{32, "a ", kzp::clNavy, kzp::clWindow, 0}, {48, "1", kzp::clRed, kzp::clYellow, 0}});
  f.Edit->SetHighlighter(nullptr);
}

TEST(PaintText, SpecialLinesTakeTheirOwnColoursAlsoForTheSelection) {
  TViewFixture f;
  TTestHighlighter hl;
  f.Edit->SetHighlighter(&hl);
  f.Edit->SetText("ab CD\r\nab CD");
  f.Edit->OnSpecialLineColors = [](TCustomKzEdit &, int line, bool &special, kzp::TColor &fg,
                                   kzp::TColor &bg) {
    if (line == 1) {
      special = true;
      fg = kzp::clWhite;
      bg = kzp::clBlack;
    }
  };
  f.Edit->SetSelectionAnchor({2, 1});
  f.Edit->SetSelectionEnd({3, 1});
  f.PaintAll();
  ExpectRuns(f.TextsInRow(0), {{32, "a", kzp::clWhite, kzp::clBlack, 0},
                               {40, "b", kzp::clWhite, kzp::clBlack, 0},
                               {48, " ", kzp::clWhite, kzp::clBlack, 0},
                               {56, "CD", kzp::clWhite, kzp::clBlack, kzp::fsBold}});
  ExpectRuns(f.TextsInRow(1), {{32, "ab ", kzp::clNavy, kzp::clWindow, 0},
                               {56, "CD", kzp::clMaroon, kzp::clWindow, kzp::fsBold}});
  // With eoSpecialLineDefaultFg the tokens keep their own text colour.
  f.Edit->SetOptions(f.Edit->Options() | TKzEditorOptions{eoSpecialLineDefaultFg});
  f.Edit->SetSelectionAnchor({1, 2});
  f.PaintAll();
  ExpectRuns(f.TextsInRow(0), {{32, "ab ", kzp::clNavy, kzp::clBlack, 0},
                               {56, "CD", kzp::clMaroon, kzp::clBlack, kzp::fsBold}});
  f.Edit->SetHighlighter(nullptr);
}

TEST(PaintText, SpecialCharactersShowBlanksTabsAndTheLineEnd) {
  TViewFixture f;
  TTestHighlighter hl;
  f.Edit->SetHighlighter(&hl);
  f.Edit->SetOptions(f.Edit->Options() | TKzEditorOptions{eoShowSpecialChars});
  f.Edit->SetText("a b\tc\r\nx #n");
  f.PaintAll();
  // "a b" then a tab filling columns 4..8 with the guillemet in its middle, then "c".
  std::string row0;
  for (const auto &t : f.TextsInRow(0))
    row0 += t.Text;
  EXPECT_EQ(row0, "a\xB7"
                  "b  \xBB  c\xB6");
  auto texts0 = f.TextsInRow(0);
  const TCanvasCall &eol0 = texts0.back();
  EXPECT_EQ(eol0.X, 32 + 9 * 8);
  EXPECT_EQ(eol0.Font.Color, kzp::clWindowText); // white-space colours, which fall back to the line
  auto texts1 = f.TextsInRow(1);
  EXPECT_EQ(texts1.back().Text, "\xB6");
  EXPECT_EQ(texts1.back().Font.Color, kzp::clGreen); // the line ends in a comment
  EXPECT_EQ(Fills(f.FillsInRow(1)).front(), (Fill{32 + 5 * 8, 352, kzp::clWindow}));
  f.Edit->SetHighlighter(nullptr);
}

TEST(PaintText, RightEdgeLineOverRowsAndTheEmptyArea) {
  TViewFixture f;
  f.Edit->SetText("abc");
  f.Edit->SetRightEdge(5);
  f.Edit->SetRightEdgeColor(kzp::clRed);
  f.PaintAll();
  auto lines = f.Canvas.CallsOf(TCanvasOp::Line);
  ASSERT_EQ(lines.size(), 3u);
  const TCanvasCall &edge = lines.back();
  EXPECT_EQ((TRect{edge.X, edge.Y, edge.X2, edge.Y2}), (TRect{72, 0, 72, 160}));
  EXPECT_EQ(edge.Pen.Color, kzp::clRed);
  // Scrolled by three columns the edge moves left with the text.
  f.Edit->SetLeftChar(4);
  f.PaintAll();
  EXPECT_EQ(f.Canvas.CallsOf(TCanvasOp::Line).back().X, 48);
  f.Edit->SetRightEdge(0);
  f.PaintAll();
  EXPECT_EQ(f.Canvas.CallsOf(TCanvasOp::Line).size(), 2u);
}

TEST(PaintText, OnlyRowsAndColumnsInsideTheClipArePainted) {
  TViewFixture f;
  TTestHighlighter hl;
  f.Edit->SetHighlighter(&hl);
  std::string text;
  for (int i = 0; i < 30; ++i)
    text += "abcdefghijklmnopqrstuvwxyz\r\n";
  f.Edit->SetText(text);
  hl.LinesBegun = 0;
  f.PaintClip({100, 32, 140, 48});
  EXPECT_EQ(f.Edit->PaintedRows(), 1);
  EXPECT_EQ(hl.LinesBegun, 1);
  // Columns 9 to 14 hold x 96..143.
  ExpectRuns(f.TextsInRow(2), {{96, "ijklmn", kzp::clNavy, kzp::clWindow, 0}});
  for (const auto &c : f.Canvas.Calls)
    EXPECT_GE(c.Op == TCanvasOp::Text ? c.X : 100, 96); // nothing in the gutter
  // A clip across two partial rows paints both.
  f.PaintClip({0, 40, 352, 70});
  EXPECT_EQ(f.Edit->PaintedRows(), 3);
  f.Edit->SetHighlighter(nullptr);
}

TEST(PaintText, ScrolledTextSkipsTokensLeftOfTheView) {
  TViewFixture f;
  TTestHighlighter hl;
  f.Edit->SetHighlighter(&hl);
  f.Edit->SetText("ab CD efg");
  f.Edit->SetLeftChar(5);
  f.PaintAll();
  ExpectRuns(f.TextsInRow(0), {{32, "D ", kzp::clMaroon, kzp::clWindow, kzp::fsBold},
                               {48, "efg", kzp::clNavy, kzp::clWindow, 0}});
  f.Edit->SetHighlighter(nullptr);
}

TEST(PaintText, RangeOfThePreviousLineIsRestoredBeforeALine) {
  TViewFixture f;
  TTestHighlighter hl;
  f.Edit->SetHighlighter(&hl);
  f.Edit->SetText("a /* b\r\nstill\r\nend */ c");
  f.PaintAll();
  ExpectRuns(f.TextsInRow(1), {{32, "still", kzp::clGreen, kzp::clWindow, kzp::fsItalic}});
  auto row2 = Runs(f.TextsInRow(2));
  ASSERT_EQ(row2.size(), 2u);
  EXPECT_EQ(row2[0].Text, "end */ ");
  EXPECT_EQ(row2[1].Text, "c");
  // Painting only the last row still starts it inside the comment.
  f.PaintClip({0, 32, 352, 48});
  EXPECT_EQ(Runs(f.TextsInRow(2))[0].Fg, kzp::clGreen);
  f.Edit->SetHighlighter(nullptr);
}

TEST(PaintText, OnPaintGetsTheCanvasInTheEditorFontAndBackground) {
  TViewFixture f;
  kzp::TFont seen;
  kzp::TColor brush = 0;
  int calls = 0;
  f.Edit->SetColor(kzp::clLime);
  kzp::TFont font = f.Edit->Font();
  font.Color = kzp::clBlue;
  f.Edit->SetFont(font);
  f.Edit->SetText("x");
  f.Edit->OnPaint = [&](TCustomKzEdit &, kzp::TCanvas &c) {
    ++calls;
    seen = c.Font();
    brush = c.Brush().Color;
  };
  f.PaintAll();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen.Name, "Courier New");
  EXPECT_EQ(seen.Color, kzp::clBlue);
  EXPECT_EQ(brush, kzp::clLime);
  ExpectRuns(f.TextsInRow(0), {{32, "x", kzp::clBlue, kzp::clLime, 0}});
  // The canvas comes back as it was given.
  EXPECT_EQ(f.Canvas.SavedStates(), 0);
  EXPECT_FALSE(f.Canvas.HasClip());
}
