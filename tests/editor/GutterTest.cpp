// Gutter width, digit field and line-number text.
#include "editor/KzEditGutter.h"

#include <gtest/gtest.h>

TEST(Gutter, DefaultsGiveAThirtyPixelBandWithoutNumbers) {
  TKzGutter g;
  EXPECT_EQ(g.RealGutterWidth(8), 30);
  EXPECT_EQ(g.Font().Name, "Courier New");
  EXPECT_EQ(g.Font().Height, -11);
  EXPECT_EQ(g.Color(), kzp::clBtnFace);
  EXPECT_EQ(g.BorderStyle(), gbsMiddle);
  EXPECT_EQ(g.LeftOffset(), 16);
  EXPECT_EQ(g.RightOffset(), 2);
  EXPECT_EQ(g.DigitCount(), 4);
  g.SetVisible(false);
  EXPECT_EQ(g.RealGutterWidth(8), 0);
}

TEST(Gutter, WidthWithNumbersCountsOffsetsDigitsAndTwoPixels) {
  TKzGutter g;
  g.SetShowLineNumbers(true);
  EXPECT_EQ(g.RealGutterWidth(8), 16 + 2 + 4 * 8 + 2);
  g.SetLeftOffset(-5);
  g.SetRightOffset(-1);
  EXPECT_EQ(g.LeftOffset(), 0);
  EXPECT_EQ(g.RightOffset(), 0);
  EXPECT_EQ(g.RealGutterWidth(8), 4 * 8 + 2);
  g.SetDigitCount(1);
  EXPECT_EQ(g.DigitCount(), 2);
  g.SetDigitCount(40);
  EXPECT_EQ(g.DigitCount(), 12);
}

TEST(Gutter, AutoSizeWidensTheFieldToTheDigitsOfTheLineCount) {
  TKzGutter g;
  g.SetShowLineNumbers(true);
  EXPECT_FALSE(g.AutoSizeDigitCount(12345)); // without AutoSize the field stays
  EXPECT_EQ(g.DigitField(), 4);
  EXPECT_EQ(g.FormatLineNumber(12345), "12345"); // overflows to the left
  g.SetAutoSize(true);
  EXPECT_EQ(g.DigitField(), 5);
  EXPECT_EQ(g.RealGutterWidth(8), 16 + 2 + 5 * 8 + 2);
  EXPECT_EQ(g.FormatLineNumber(7), "    7");
  EXPECT_TRUE(g.AutoSizeDigitCount(9999));
  EXPECT_EQ(g.DigitField(), 4);
  // ZeroStart numbers from 0, so 10000 lines still need only four digits.
  g.SetZeroStart(true);
  EXPECT_FALSE(g.AutoSizeDigitCount(10000));
  EXPECT_TRUE(g.AutoSizeDigitCount(10001));
  EXPECT_EQ(g.DigitField(), 5);
  // Numbers off: the field falls back to DigitCount.
  g.SetShowLineNumbers(false);
  EXPECT_EQ(g.DigitField(), 4);
}

TEST(Gutter, LineNumberTextPadsWithSpacesOrZeros) {
  TKzGutter g;
  EXPECT_EQ(g.FormatLineNumber(7), "   7");
  g.SetLeadingZeros(true);
  EXPECT_EQ(g.FormatLineNumber(7), "0007");
  EXPECT_EQ(g.FormatLineNumber(1234), "1234");
  g.SetZeroStart(true);
  EXPECT_EQ(g.FormatLineNumber(7), "0006");
  EXPECT_EQ(g.FormatLineNumber(1), "0000");
  g.SetLeadingZeros(false);
  EXPECT_EQ(g.FormatLineNumber(1), "   0");
}

TEST(Gutter, EveryRealChangeNotifiesOnce) {
  TKzGutter g;
  int changes = 0;
  g.OnChange = [&] { ++changes; };
  g.SetColor(kzp::clRed);
  g.SetColor(kzp::clRed);
  g.SetWidth(40);
  g.SetBorderStyle(gbsRight);
  g.SetShowLineNumbers(true);
  g.SetShowLineNumbers(true);
  kzp::TFont f = g.Font();
  f.Name = "Terminal";
  g.SetFont(f);
  g.SetFont(f);
  EXPECT_EQ(changes, 5);
  TKzGutter other;
  other.Assign(g);
  EXPECT_EQ(other.Width(), 40);
  EXPECT_EQ(other.Font().Name, "Terminal");
  EXPECT_TRUE(other.ShowLineNumbers());
}
