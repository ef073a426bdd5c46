// The canvas state machine, colours and fonts, checked on the recording canvas.
#include "platform/FixedCanvas.h"

#include <gtest/gtest.h>

using namespace kzp;

TEST(Colors, SystemColoursResolveThroughThePalette) {
  SetSystemPalette(nullptr); // an editor widget elsewhere may have installed Qt's
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFFu);
  EXPECT_EQ(ColorToRGB(clWindowText), 0x000000u);
  EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(212, 208, 200));
  EXPECT_EQ(ColorToRGB(clInfoBk), RGBColor(255, 255, 225));
  SetSystemPalette([](int index) -> TColor { return index == 5 ? 0x123456u : 0u; });
  EXPECT_EQ(ColorToRGB(clWindow), 0x123456u);
  EXPECT_EQ(ColorToRGB(clSilver), 0xC0C0C0u);
  SetSystemPalette(nullptr);
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFFu);
  EXPECT_EQ(RGBColor(1, 2, 3), 0x030201u);
  EXPECT_EQ(RedOf(0x030201u), 1u);
  EXPECT_EQ(BlueOf(0x030201u), 3u);
}

TEST(Fonts, PointSizesConvertAtTheDeviceResolution) {
  TFont f;
  EXPECT_EQ(f.Size(), 10); // -13 px at 96 dpi
  f.SetSize(8);
  EXPECT_EQ(f.Height, -11);
  f.SetSize(10, 300);
  EXPECT_EQ(f.Height, -42);
  EXPECT_EQ(f.Size(300), 10);
  TFont bold = f;
  bold.Style = fsBold;
  bold.Color = clRed;
  EXPECT_TRUE(f.SameBase(bold));
  bold.Height = -40;
  EXPECT_FALSE(f.SameBase(bold));
}

TEST(Rects, IntersectionNeverTurnsNegative) {
  TRect a{0, 0, 10, 10}, b{5, 5, 20, 20}, c{30, 30, 40, 40};
  EXPECT_EQ(a.Intersected(b), (TRect{5, 5, 10, 10}));
  EXPECT_TRUE(a.Intersected(c).IsEmpty());
  EXPECT_EQ(a.Intersected(c).Width(), 0);
  EXPECT_TRUE(a.Contains(9, 9));
  EXPECT_FALSE(a.Contains(10, 9));
}

TEST(CanvasState, SaveAndRestoreBringBackFontPenBrushAlignAndClip) {
  TFixedCanvas c;
  TFont f;
  f.Name = "Arial";
  c.SetFont(f);
  c.SetBrushColor(clRed);
  c.SetPenColor(clBlue);
  c.SaveState();
  c.SetFontStyle(fsBold);
  c.SetBrushStyle(TBrushStyle::bsClear);
  c.SetPenColor(clLime);
  c.SetTextAlign(TTextAlign::taBaseline);
  c.SetClipRect({1, 2, 3, 4});
  EXPECT_EQ(c.SavedStates(), 1);
  c.RestoreState();
  EXPECT_EQ(c.SavedStates(), 0);
  EXPECT_EQ(c.Font().Name, "Arial");
  EXPECT_EQ(c.Font().Style, 0);
  EXPECT_EQ(c.Brush().Color, clRed);
  EXPECT_EQ(c.Brush().Style, TBrushStyle::bsSolid);
  EXPECT_EQ(c.Pen().Color, clBlue);
  EXPECT_EQ(c.TextAlign(), TTextAlign::taTop);
  EXPECT_FALSE(c.HasClip());
}

TEST(CanvasState, TextOutFillsTheTextCellOnlyWithASolidBrush) {
  TFixedCanvas c; // 8 x 16 cells
  c.SetBrushColor(clYellow);
  c.TextOut(10, 20, "abc");
  ASSERT_EQ(c.Calls.size(), 1u);
  EXPECT_EQ(c.Calls[0].Options, etoOpaque);
  EXPECT_EQ(c.Calls[0].Rect, (TRect{10, 20, 34, 36}));
  EXPECT_TRUE(c.Calls[0].Advances.empty());
  c.SetTextAlign(TTextAlign::taBaseline);
  c.TextOut(0, 13, "a");
  EXPECT_EQ(c.Calls[1].Rect, (TRect{0, 0, 8, 16}));
  c.SetBrushStyle(TBrushStyle::bsClear);
  c.TextOut(0, 0, "x");
  EXPECT_EQ(c.Calls[2].Options, 0u);
  EXPECT_FALSE(c.Calls[2].HasRect);
}

TEST(CanvasState, LineToDrawsFromThePenPositionAndMovesIt) {
  TFixedCanvas c;
  c.MoveTo(3, 4);
  c.LineTo(3, 20);
  c.LineTo(9, 20);
  auto lines = c.CallsOf(TCanvasOp::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ((TRect{lines[0].X, lines[0].Y, lines[0].X2, lines[0].Y2}), (TRect{3, 4, 3, 20}));
  EXPECT_EQ((TRect{lines[1].X, lines[1].Y, lines[1].X2, lines[1].Y2}), (TRect{3, 20, 9, 20}));
  EXPECT_EQ(c.PenPos(), (TPoint{9, 20}));
}

TEST(FixedCanvas, MetricsFollowTheStyleOfTheCurrentFont) {
  TFixedCanvas c;
  c.PerStyle[fsBold].CharWidth = 9;
  c.PerStyle[fsBold].HasABC = false;
  c.PerStyle[fsBold].AveCharWidth = 7;
  TABCWidths abc;
  EXPECT_TRUE(c.CharABCWidths('M', abc));
  EXPECT_EQ(abc.Sum(), 8);
  EXPECT_EQ(c.TextWidth("abcd"), 32);
  c.SetFontStyle(fsBold);
  EXPECT_FALSE(c.CharABCWidths('M', abc));
  EXPECT_EQ(c.TextWidth("abcd"), 36);
  EXPECT_EQ(c.TextMetrics().AveCharWidth, 7);
  TFixedCanvas same;
  same.PerStyle[fsBold] = c.PerStyle[fsBold];
  EXPECT_EQ(same.MetricsKey(), c.MetricsKey());
  EXPECT_NE(TFixedCanvas().MetricsKey(), c.MetricsKey());
}
