// The view over the text: top line and left column limits, pixel scrolling against full
// repaints, the scroll-bar state for short, long and very long texts, scroll-bar messages,
// the wheel with its remainder, the hint and the resize upkeep.
#include "ViewFixture.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

std::string Lines(int n, const std::string &line = "x") {
  std::string text;
  for (int i = 0; i < n; ++i) {
    text += line;
    if (i + 1 < n)
      text += "\r\n";
  }
  return text;
}

TKzScrollBarState Bar(bool visible, bool enabled, int min, int max, int page, int pos, bool first,
                      bool second) {
  TKzScrollBarState s;
  s.Visible = visible;
  s.Enabled = enabled;
  s.Min = min;
  s.Max = max;
  s.Page = page;
  s.Pos = pos;
  s.FirstArrowEnabled = first;
  s.SecondArrowEnabled = second;
  return s;
}

void ExpectBar(const TKzScrollBarState &got, const TKzScrollBarState &want) {
  EXPECT_EQ(got.Visible, want.Visible);
  EXPECT_EQ(got.Enabled, want.Enabled);
  EXPECT_EQ(got.Min, want.Min);
  EXPECT_EQ(got.Max, want.Max);
  EXPECT_EQ(got.Page, want.Page);
  EXPECT_EQ(got.Pos, want.Pos);
  EXPECT_EQ(got.FirstArrowEnabled, want.FirstArrowEnabled);
  EXPECT_EQ(got.SecondArrowEnabled, want.SecondArrowEnabled);
}

} // namespace

TEST(ScrollView, ResizeRecomputesTheWindowInCellsAndRows) {
  TViewFixture f;
  EXPECT_EQ(f.Edit->CharsInWindow(), 40);
  EXPECT_EQ(f.Edit->LinesInWindow(), 10);
  f.Host.Width = 500;
  f.Host.Height = 170;
  f.Edit->SizeOrFontChanged(false);
  EXPECT_EQ(f.Edit->CharsInWindow(), (500 - 32) / 8);
  EXPECT_EQ(f.Edit->LinesInWindow(), 10);
  f.Host.Width = 20; // narrower than the gutter
  f.Edit->SizeOrFontChanged(false);
  EXPECT_EQ(f.Edit->CharsInWindow(), 0);
  // Extra line spacing makes rows taller.
  f.Host.Height = 180;
  f.Edit->SetExtraLineSpacing(2);
  EXPECT_EQ(f.Edit->LineHeight(), 18);
  EXPECT_EQ(f.Edit->LinesInWindow(), 10);
}

TEST(ScrollView, ShortTextStaysAtTheTopWithADisabledBar) {
  TViewFixture f;
  f.Edit->SetText(Lines(3));
  for (int code : {1, 3, 7}) {
    f.Edit->ScrollBarMessage(true, code, 0);
    EXPECT_EQ(f.Edit->TopLine(), 1) << code;
  }
  f.Edit->SetTopLine(5);
  EXPECT_EQ(f.Edit->TopLine(), 1);
  ExpectBar(f.Edit->VertScrollBar(), Bar(true, false, 1, 3, 10, 1, false, false));
  ExpectBar(f.Host.Bars[1], f.Edit->VertScrollBar());
  // The horizontal range is MaxScrollWidth whatever the line lengths.
  ExpectBar(f.Edit->HorzScrollBar(), Bar(true, true, 1, 1024, 40, 1, true, true));
  // With eoHideShowScrollbars a bar with nothing to scroll goes away.
  f.Edit->SetOptions(f.Edit->Options() | TKzEditorOptions{eoHideShowScrollbars});
  f.Edit->UpdateScrollBars();
  EXPECT_FALSE(f.Edit->VertScrollBar().Visible);
  EXPECT_TRUE(f.Edit->HorzScrollBar().Visible);
  f.Edit->SetScrollBars(ssNoBars);
  f.Edit->UpdateScrollBars();
  EXPECT_FALSE(f.Edit->VertScrollBar().Visible);
  EXPECT_FALSE(f.Edit->HorzScrollBar().Visible);
  f.Edit->SetScrollBars(ssVertical);
  f.Edit->UpdateScrollBars();
  EXPECT_FALSE(f.Edit->HorzScrollBar().Visible);
}

TEST(ScrollView, SmallMovesScrollPixelsLargeOnesRepaintAll) {
  TViewFixture f;
  f.Edit->SetText(Lines(100));
  f.Host.ClearRecords();
  f.Edit->SetTopLine(5);
  ASSERT_EQ(f.Host.Scrolls.size(), 1u);
  EXPECT_EQ(f.Host.Scrolls[0].DX, 0);
  EXPECT_EQ(f.Host.Scrolls[0].DY, -64);
  EXPECT_EQ(f.Host.Scrolls[0].Rect, (kzp::TRect{0, 0, 352, 160}));
  EXPECT_EQ(f.Host.InvalidatedAll, 0);
  f.Host.ClearRecords();
  f.Edit->SetTopLine(15); // a full window: everything
  EXPECT_TRUE(f.Host.Scrolls.empty());
  EXPECT_EQ(f.Host.InvalidatedAll, 1);
  f.Edit->SetTopLine(500);
  EXPECT_EQ(f.Edit->TopLine(), 91);
  ExpectBar(f.Edit->VertScrollBar(), Bar(true, true, 1, 100, 10, 91, true, true));
  f.Edit->SetTopLine(-3);
  EXPECT_EQ(f.Edit->TopLine(), 1);
  // Past the end of the text when allowed.
  f.Edit->SetOptions(f.Edit->Options() | TKzEditorOptions{eoScrollPastEof});
  f.Edit->SetTopLine(500);
  EXPECT_EQ(f.Edit->TopLine(), 100);
  EXPECT_EQ(f.Edit->VertScrollBar().Max, 109);
}

TEST(ScrollView, OneLineDownPaintsOneRow) {
  TViewFixture f;
  f.Edit->SetText(Lines(100, "abc def"));
  f.Host.ClearRecords();
  f.Edit->ScrollBarMessage(true, 1, 0);
  EXPECT_EQ(f.Edit->TopLine(), 2);
  ASSERT_EQ(f.Host.Scrolls.size(), 1u);
  EXPECT_EQ(f.Host.Scrolls[0].DY, -16);
  EXPECT_EQ(f.Host.UpdatesNow, 1);
  // The band the move uncovers is the last row.
  f.PaintClip({0, 160 - 16, 352, 160});
  EXPECT_EQ(f.Edit->PaintedRows(), 1);
  EXPECT_EQ(f.Canvas.TextAt(144), "abc def");
}

TEST(ScrollView, LeftCharLimitsAndHorizontalPixelScrolling) {
  TViewFixture f;
  f.Edit->SetText(Lines(3, std::string(50, 'a')));
  f.Host.ClearRecords();
  f.Edit->SetLeftChar(5);
  ASSERT_EQ(f.Host.Scrolls.size(), 1u);
  EXPECT_EQ(f.Host.Scrolls[0].DX, -32);
  EXPECT_EQ(f.Host.Scrolls[0].Rect, (kzp::TRect{32, 0, 352, 160}));
  EXPECT_EQ(f.Edit->TextOrigin(), 32 - 4 * 8);
  f.Edit->SetLeftChar(5000);
  EXPECT_EQ(f.Edit->LeftChar(), 1024 - 40 + 1);
  f.Edit->ScrollBarMessage(false, 6, 0);
  EXPECT_EQ(f.Edit->LeftChar(), 1);
  // The right-end code goes to column 1024 - CharsInWindow + 1.
  f.Edit->ScrollBarMessage(false, 7, 0);
  EXPECT_EQ(f.Edit->LeftChar(), 985);
  ExpectBar(f.Edit->HorzScrollBar(), Bar(true, true, 1, 1024, 40, 985, true, true));
  // Without eoScrollPastEol the longest line limits the view.
  f.Edit->SetOptions(f.Edit->Options() - TKzEditorOptions{eoScrollPastEol});
  f.Edit->SetLeftChar(5000);
  EXPECT_EQ(f.Edit->LeftChar(), 50 - 40 + 1);
  f.Edit->UpdateScrollBars();
  EXPECT_EQ(f.Edit->HorzScrollBar().Max, 50);
  f.Edit->ScrollBarMessage(false, 4, 3);
  EXPECT_EQ(f.Edit->LeftChar(), 3);
  f.Edit->ScrollBarMessage(false, 3, 0);
  EXPECT_EQ(f.Edit->LeftChar(), 11);
  f.Edit->ScrollBarMessage(false, 2, 0);
  EXPECT_EQ(f.Edit->LeftChar(), 1);
}

TEST(ScrollView, VeryLongTextScalesTheVerticalBar) {
  TViewFixture f;
  f.Edit->SetText(Lines(40000));
  ExpectBar(f.Edit->VertScrollBar(), Bar(true, true, 0, 32767, 8, 1, true, true));
  // Dragging the thumb to its end (the last thumb position is max - page + 1).
  f.Edit->ScrollBarMessage(true, 5, 32767 - 8 + 1);
  EXPECT_EQ(f.Edit->TopLine(), 40000 - 10 + 1);
  EXPECT_EQ(f.Edit->VertScrollBar().Pos, 32760);
  f.Edit->ScrollBarMessage(true, 5, 16384);
  EXPECT_EQ(f.Edit->TopLine(), (40000 + 10 - 1) * 16384 / 32767);
  f.Edit->ScrollBarMessage(true, 6, 0);
  EXPECT_EQ(f.Edit->TopLine(), 1);
  f.Edit->ScrollBarMessage(true, 7, 0);
  EXPECT_EQ(f.Edit->TopLine(), 39991);
}

TEST(ScrollView, PageMessagesAndScrollByOneLess) {
  TViewFixture f;
  f.Edit->SetText(Lines(100));
  f.Edit->ScrollBarMessage(true, 3, 0);
  EXPECT_EQ(f.Edit->TopLine(), 11);
  f.Edit->SetOptions(f.Edit->Options() | TKzEditorOptions{eoScrollByOneLess});
  f.Edit->ScrollBarMessage(true, 3, 0);
  EXPECT_EQ(f.Edit->TopLine(), 20);
  f.Edit->ScrollBarMessage(true, 2, 0);
  EXPECT_EQ(f.Edit->TopLine(), 11);
  f.Edit->ScrollBarMessage(true, 0, 0);
  EXPECT_EQ(f.Edit->TopLine(), 10);
  // Every message raises OnScroll; unknown codes do nothing else.
  std::vector<TKzScrollBarKind> kinds;
  f.Edit->OnScroll = [&](TCustomKzEdit &, TKzScrollBarKind k) { kinds.push_back(k); };
  f.Host.ClearRecords();
  f.Edit->ScrollBarMessage(true, 9, 0);
  f.Edit->ScrollBarMessage(false, 1, 0);
  EXPECT_EQ(kinds, (std::vector<TKzScrollBarKind>{sbVertical, sbHorizontal}));
  EXPECT_EQ(f.Host.UpdatesNow, 0);
  EXPECT_EQ(f.Edit->TopLine(), 10);
}

TEST(ScrollView, ArrowsFollowTheViewWhenAsked) {
  TViewFixture f;
  f.Edit->SetText(Lines(100));
  f.Edit->SetOptions(f.Edit->Options() | TKzEditorOptions{eoDisableScrollArrows});
  f.Edit->UpdateScrollBars();
  EXPECT_FALSE(f.Edit->VertScrollBar().FirstArrowEnabled);
  EXPECT_TRUE(f.Edit->VertScrollBar().SecondArrowEnabled);
  EXPECT_FALSE(f.Edit->HorzScrollBar().FirstArrowEnabled);
  EXPECT_TRUE(f.Edit->HorzScrollBar().SecondArrowEnabled);
  f.Edit->SetTopLine(50);
  EXPECT_TRUE(f.Edit->VertScrollBar().FirstArrowEnabled);
  EXPECT_TRUE(f.Edit->VertScrollBar().SecondArrowEnabled);
  f.Edit->SetTopLine(91);
  EXPECT_TRUE(f.Edit->VertScrollBar().FirstArrowEnabled);
  EXPECT_FALSE(f.Edit->VertScrollBar().SecondArrowEnabled);
  f.Edit->SetLeftChar(985);
  EXPECT_TRUE(f.Edit->HorzScrollBar().FirstArrowEnabled);
  EXPECT_FALSE(f.Edit->HorzScrollBar().SecondArrowEnabled);
}

TEST(ScrollView, UpdateWaitsForThePaintLock) {
  TViewFixture f;
  f.Edit->SetText(Lines(100));
  int before = f.Host.BarUpdates;
  f.Edit->IncPaintLock();
  f.Edit->SetTopLine(20);
  EXPECT_TRUE(f.Edit->ScrollBarsPending());
  EXPECT_EQ(f.Host.BarUpdates, before);
  f.Edit->DecPaintLock();
  EXPECT_FALSE(f.Edit->ScrollBarsPending());
  EXPECT_EQ(f.Host.Bars[1].Pos, 20);
}

TEST(ScrollView, WheelKeepsItsRemainder) {
  TViewFixture f;
  f.Edit->SetText(Lines(100));
  f.Edit->SetTopLine(20);
  int scrolls = 0;
  f.Edit->OnScroll = [&](TCustomKzEdit &, TKzScrollBarKind k) { scrolls += k == sbVertical; };
  f.Edit->MouseWheel(60, 0);
  EXPECT_EQ(f.Edit->TopLine(), 20);
  EXPECT_EQ(f.Edit->WheelRemainder(), 60);
  f.Edit->MouseWheel(60, 0); // two half notches make one: three lines towards the start
  EXPECT_EQ(f.Edit->TopLine(), 17);
  EXPECT_EQ(f.Edit->WheelRemainder(), 0);
  f.Edit->MouseWheel(-240, 0);
  EXPECT_EQ(f.Edit->TopLine(), 23);
  f.Edit->MouseWheel(-150, 0);
  EXPECT_EQ(f.Edit->TopLine(), 26);
  EXPECT_EQ(f.Edit->WheelRemainder(), -30);
  f.Edit->MouseWheel(30, 0);
  EXPECT_EQ(f.Edit->WheelRemainder(), 0);
  EXPECT_EQ(scrolls, 5);
  // Ctrl scrolls a window per notch, half of one with eoHalfPageScroll.
  f.Edit->MouseWheel(-120, ssCtrl);
  EXPECT_EQ(f.Edit->TopLine(), 36);
  f.Edit->SetOptions(f.Edit->Options() | TKzEditorOptions{eoHalfPageScroll});
  f.Edit->MouseWheel(-120, ssCtrl);
  EXPECT_EQ(f.Edit->TopLine(), 41);
  // One page per notch, or more lines than fit, both scroll one window.
  f.Host.WheelLines = -1;
  f.Edit->MouseWheel(120, 0);
  EXPECT_EQ(f.Edit->TopLine(), 31);
  f.Host.WheelLines = 25;
  f.Edit->MouseWheel(120, 0);
  EXPECT_EQ(f.Edit->TopLine(), 21);
}

TEST(ScrollView, ThumbDragShowsTheTopLineHintAndReleaseHidesIt) {
  TViewFixture f;
  f.Edit->SetText(Lines(100));
  f.Edit->SetTopLine(30);
  f.Edit->ScrollBarMessage(true, 5, 1);
  EXPECT_EQ(f.Edit->TopLine(), 1);
  EXPECT_TRUE(f.Host.HintVisible);
  EXPECT_EQ(f.Host.HintText, "Top Line: 1");
  EXPECT_EQ(f.Host.HintColour, kzp::clInfoBk);
  // Eleven characters of 8 pixels plus the frame, 4 pixels from the right; 10 from the top.
  EXPECT_EQ(f.Host.HintX, 352 - (11 * 8 + 6) - 4);
  EXPECT_EQ(f.Host.HintY, 10);
  f.Edit->ScrollBarMessage(true, 8, 0);
  EXPECT_FALSE(f.Host.HintVisible);

  f.Edit->SetScrollHintFormat(shfTopToBottom);
  f.Edit->SetOptions(f.Edit->Options() | TKzEditorOptions{eoScrollHintFollows});
  f.Host.TrackPos = 50;
  f.Edit->ScrollBarMessage(true, 4, 5);
  EXPECT_EQ(f.Host.HintText, "5 - 15");
  // Arrow 16 + (160 - 32) * 50 / 100 + half the hint's 18 pixels.
  EXPECT_EQ(f.Host.HintY, 16 + 64 + 9);
  f.Edit->ScrollBarMessage(true, 4, 95);
  EXPECT_EQ(f.Host.HintText, "91 - 100");
  // Without eoShowScrollHint there is no hint.
  f.Edit->ScrollBarMessage(true, 8, 0);
  f.Edit->SetOptions(f.Edit->Options() - TKzEditorOptions{eoShowScrollHint});
  f.Edit->ScrollBarMessage(true, 5, 3);
  EXPECT_FALSE(f.Host.HintVisible);
}

TEST(ScrollView, CaretPlacementAndShapes) {
  TViewFixture f;
  f.Edit->SetText(Lines(100, "abcdef"));
  f.Edit->SetCaretXY({3, 5});
  int w, h, ox, oy;
  f.Edit->CaretShape(w, h, ox, oy);
  EXPECT_EQ((std::vector<int>{w, h, ox, oy}), (std::vector<int>{2, 16, 0, 0}));
  f.Edit->SetInsertMode(false);
  f.Edit->CaretShape(w, h, ox, oy);
  EXPECT_EQ((std::vector<int>{w, h, ox, oy}), (std::vector<int>{8, 16, 0, 0}));
  f.Edit->SetOverwriteCaret(ctHorizontalLine);
  f.Edit->CaretShape(w, h, ox, oy);
  EXPECT_EQ((std::vector<int>{w, h, ox, oy}), (std::vector<int>{8, 2, 0, 14}));
  f.Edit->SetOverwriteCaret(ctHalfBlock);
  f.Edit->CaretShape(w, h, ox, oy);
  EXPECT_EQ((std::vector<int>{w, h, ox, oy}), (std::vector<int>{8, 8, 0, 8}));
  EXPECT_EQ(f.Edit->RowColumnToPixels({3, 5}), (kzp::TPoint{32 + 16, 64}));
  EXPECT_EQ(f.Edit->PixelsToRowColumn(32 + 16 + 3, 64 + 5), (TDisplayCoord{3, 5}));
  EXPECT_EQ(f.Edit->PixelsToRowColumn(32 + 16 + 5, 64 + 5), (TDisplayCoord{4, 5}));
  // Scrolling carries the caret with its cell.
  f.Edit->SetInsertMode(true);
  f.Edit->SetTopLine(3);
  EXPECT_EQ(f.Host.CaretX, 32 + 16);
  EXPECT_EQ(f.Host.CaretY, 2 * 16);
  f.Edit->SetLeftChar(2);
  EXPECT_EQ(f.Host.CaretX, 32 + 8);
}

TEST(ScrollView, WideRangesScaleTheHorizontalBarAndAutoSizeGrowsIt) {
  TViewFixture f;
  f.Edit->SetText(Lines(3));
  f.Edit->SetMaxScrollWidth(40000);
  f.Edit->UpdateScrollBars();
  // 32767 * 40 / 40000 = 32.8 and 32767 * 1 / 40000 = 0.8, both rounded.
  ExpectBar(f.Edit->HorzScrollBar(), Bar(true, true, 0, 32767, 33, 1, true, true));
  f.Edit->ScrollBarMessage(false, 5, 16384);
  EXPECT_EQ(f.Edit->LeftChar(), 40000 * 16384 / 32767);

  f.Edit->SetMaxScrollWidth(100);
  f.Edit->SetOptions(f.Edit->Options() | TKzEditorOptions{eoAutoSizeMaxScrollWidth});
  f.Edit->SetLeftChar(90);
  EXPECT_EQ(f.Edit->LeftChar(), 90);
  EXPECT_EQ(f.Edit->MaxScrollWidth(), 90 + 40);
  EXPECT_EQ(f.Edit->HorzScrollBar().Max, 130);
}

TEST(ScrollView, HiddenGutterPutsTheTextTwoPixelsFromTheEdge) {
  TViewFixture f;
  f.Edit->SetText("ab");
  f.Edit->Gutter().SetVisible(false);
  EXPECT_EQ(f.Edit->GutterWidth(), 0);
  EXPECT_EQ(f.Edit->TextOrigin(), 2);
  EXPECT_EQ(f.Edit->CharsInWindow(), (352 - 2) / 8);
  f.PaintAll();
  ASSERT_FALSE(f.Canvas.CallsOf(kzp::TCanvasOp::Text).empty());
  EXPECT_EQ(f.Canvas.CallsOf(kzp::TCanvasOp::Text)[0].X, 2);
  EXPECT_TRUE(f.Canvas.CallsOf(kzp::TCanvasOp::Line).empty());
}

// Hostile values: a growing scroll width stops where pixel positions would overflow, and a
// huge wheel movement in a tall window scrolls to the ends without wrapping around.
TEST(ScrollView, ExtremeLeftCharAndWheelStayWithinTheText) {
  TViewFixture f;
  f.Edit->SetText(Lines(5000));
  f.Edit->SetOptions(f.Edit->Options() | TKzEditorOptions{eoAutoSizeMaxScrollWidth});
  f.Edit->SetLeftChar(INT_MAX);
  const int highest = INT_MAX / 8 - 40;
  EXPECT_EQ(f.Edit->LeftChar(), highest);
  EXPECT_EQ(f.Edit->MaxScrollWidth(), highest + 40);
  EXPECT_EQ(f.Edit->TextOrigin(), 32 - (highest - 1) * 8);
  f.PaintAll();
  EXPECT_EQ(f.Canvas.CallsOf(kzp::TCanvasOp::Text).size(), 0u); // nothing of "x" that far right
  f.Edit->SetLeftChar(1);

  f.Host.Height = 16 * 2000;
  f.Edit->SizeOrFontChanged(false);
  ASSERT_EQ(f.Edit->LinesInWindow(), 2000);
  f.Edit->SetTopLine(100);
  f.Edit->MouseWheel(INT_MAX, ssCtrl);
  EXPECT_EQ(f.Edit->TopLine(), 1);
  EXPECT_EQ(f.Edit->WheelRemainder(), INT_MAX % 120);
  f.Edit->MouseWheel(INT_MIN, ssCtrl);
  EXPECT_EQ(f.Edit->TopLine(), 5000 - 2000 + 1);
  EXPECT_EQ(f.Edit->WheelRemainder(),
            static_cast<int>((INT_MAX % 120 + static_cast<long long>(INT_MIN)) % 120));
}
