// The character grid, the shared font stock and the drawing bracket.
#include "editor/KzTextDrawer.h"
#include "platform/FixedCanvas.h"

#include <gtest/gtest.h>

using kzp::fsBold;
using kzp::fsItalic;
using kzp::TFixedCanvas;
using kzp::TFont;

namespace {

TFont Courier(int height = -13) {
  TFont f;
  f.Name = "Courier New";
  f.Height = height;
  return f;
}

} // namespace

TEST(TextDrawerGrid, CellIsTheAdvanceOfMPlusOverhangOrTheAverageWidth) {
  TFixedCanvas c;
  c.PerStyle[0].Overhang = 1;
  TheTextDrawer d(0, Courier());
  d.CalcExtent(c);
  EXPECT_EQ(d.CharWidth(), 9);
  EXPECT_EQ(d.CharHeight(), 16);
  TFixedCanvas noAbc;
  noAbc.PerStyle[0].HasABC = false;
  noAbc.PerStyle[0].AveCharWidth = 6;
  d.CalcExtent(noAbc);
  EXPECT_EQ(d.CharWidth(), 6);
}

TEST(TextDrawerGrid, LargestCellOverTheBoldItalicCombinationsInUse) {
  TFixedCanvas c;
  c.PerStyle[fsBold].CharWidth = 10;
  c.PerStyle[fsItalic].Height = 18;
  c.PerStyle[fsBold | fsItalic].CharWidth = 12;
  TheTextDrawer d(0, Courier());
  d.CalcExtent(c, 1u << 0);
  EXPECT_EQ(d.CharWidth(), 8);
  EXPECT_EQ(d.CharHeight(), 16);
  d.CalcExtent(c, (1u << 0) | (1u << fsBold) | (1u << fsItalic));
  EXPECT_EQ(d.CharWidth(), 10);
  EXPECT_EQ(d.CharHeight(), 18);
  d.CalcExtent(c, 1u << (fsBold | fsItalic));
  EXPECT_EQ(d.CharWidth(), 12);
  EXPECT_EQ(d.CharHeight(), 16);
  // An empty set measures the base style.
  d.SetBaseStyle(fsBold);
  d.CalcExtent(c, 0);
  EXPECT_EQ(d.CharWidth(), 10);
}

TEST(TextDrawerGrid, NoBaseFontIsRefused) {
  TheTextDrawer d(0, Courier());
  try {
    d.SetBaseFont(nullptr);
    FAIL() << "expected an error";
  } catch (const EKzTextDrawerError &e) {
    EXPECT_STREQ(e.what(), "SetBaseFont: 'Value' must be specified.");
  }
  EXPECT_THROW(TheFontStock stock(nullptr), EKzTextDrawerError);
}

TEST(FontStock, VariantsOfOneFontAreSharedAndMeasuredOncePerDevice) {
  int before = TheFontStock::SharedFontCount();
  TFont a = Courier(-77);
  TFont b = a;
  b.Style = fsBold;
  b.Color = kzp::clRed;
  {
    TheFontStock s1(&a);
    TheFontStock s2(&b);
    EXPECT_EQ(TheFontStock::SharedFontCount(), before + 1);
    EXPECT_EQ(s1.ShareCount(), 2);
    EXPECT_EQ(s2.BaseFont().Style, 0); // the shared description has its style cleared
    EXPECT_EQ(s2.VariantFont(fsBold | fsItalic).Style, fsBold | fsItalic);
    TFixedCanvas c;
    c.PerStyle[fsBold].CharWidth = 11;
    EXPECT_EQ(s1.Metrics(c, fsBold).CharAdvance, 11);
    EXPECT_EQ(s2.MeasuredVariants(), 1);
    c.PerStyle[fsBold].CharWidth = 5; // a different device kind now
    EXPECT_EQ(s2.Metrics(c, fsBold).CharAdvance, 5);
    EXPECT_EQ(s1.MeasuredVariants(), 2);
    EXPECT_EQ(c.SavedStates(), 0); // measuring leaves the canvas as it was
    TFont other = Courier(-78);
    TheFontStock s3(&other);
    EXPECT_EQ(TheFontStock::SharedFontCount(), before + 2);
    s3.SetBaseFont(&a);
    EXPECT_EQ(TheFontStock::SharedFontCount(), before + 1);
    EXPECT_EQ(s1.ShareCount(), 3);
  }
  EXPECT_EQ(TheFontStock::SharedFontCount(), before);
}

TEST(TextDrawerDrawing, OnlyTheOutermostBracketSavesAndRestoresTheCanvas) {
  TFixedCanvas c;
  c.SetBrushColor(kzp::clAqua);
  TheTextDrawer d(0, Courier());
  d.BeginDrawing(&c);
  EXPECT_EQ(c.SavedStates(), 1);
  d.BeginDrawing(&c);
  EXPECT_EQ(c.SavedStates(), 1);
  EXPECT_EQ(d.DrawingCount(), 2);
  d.SetBackColor(kzp::clRed);
  d.EndDrawing();
  EXPECT_EQ(c.Brush().Color, kzp::clRed); // still drawing
  d.EndDrawing();
  EXPECT_EQ(c.SavedStates(), 0);
  EXPECT_EQ(c.Brush().Color, kzp::clAqua);
  EXPECT_EQ(d.Canvas(), nullptr);
}

TEST(TextDrawerDrawing, EveryCharacterAdvancesByOneCell) {
  TFixedCanvas c;
  c.PerStyle[fsBold].CharWidth = 10;
  TheTextDrawer d(0, Courier());
  d.CalcExtent(c, (1u << 0) | (1u << fsBold));
  d.BeginDrawing(&c);
  d.SetStyle(fsBold);
  d.SetForeColor(kzp::clNavy);
  d.SetBackColor(kzp::clYellow);
  d.ExtTextOut(4, 5, kzp::etoOpaque, {4, 5, 44, 21}, "abcd");
  d.SetStyle(0);
  d.TextOut(0, 0, "xy");
  d.EndDrawing();
  auto texts = c.CallsOf(kzp::TCanvasOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Advances, (std::vector<int>{10, 10, 10, 10}));
  EXPECT_EQ(texts[0].Font.Style, fsBold);
  EXPECT_EQ(texts[0].Font.Color, kzp::clNavy);
  EXPECT_EQ(texts[0].Font.Name, "Courier New");
  EXPECT_EQ(texts[0].Brush.Color, kzp::clYellow);
  EXPECT_EQ(texts[0].Options, kzp::etoOpaque);
  EXPECT_EQ(texts[0].Rect, (kzp::TRect{4, 5, 44, 21}));
  EXPECT_EQ(texts[1].Advances, (std::vector<int>{10, 10}));
  EXPECT_EQ(texts[1].Font.Style, 0);
  EXPECT_EQ(texts[1].Options, 0u);
}
