// The gutter on the recording canvas: band, border lines, line numbers and their place,
// the events, and the bookmark glyphs in their two passes.
#include "ViewFixture.h"
#include "platform/StoredForm.h"

#include <gtest/gtest.h>

#include <string>

using kzp::TCanvasCall;
using kzp::TCanvasOp;
using kzp::TRect;

namespace {

std::vector<TCanvasCall> GutterTexts(const kzp::TFixedCanvas &c, int gutterWidth) {
  std::vector<TCanvasCall> out;
  for (const auto &t : c.CallsOf(TCanvasOp::Text))
    if (t.HasRect && t.Rect.Right <= gutterWidth)
      out.push_back(t);
  return out;
}

TRect LineOf(const TCanvasCall &c) { return {c.X, c.Y, c.X2, c.Y2}; }

} // namespace

TEST(PaintGutter, WithoutNumbersABandInButtonFaceAndTheMiddleBorder) {
  TViewFixture f;
  f.Edit->SetText("a\r\nb");
  f.PaintAll();
  const auto &first = f.Canvas.Calls.front();
  EXPECT_EQ(first.Op, TCanvasOp::FillRect);
  EXPECT_EQ(first.Rect, (TRect{0, 0, 30, 160}));
  EXPECT_EQ(first.Brush.Color, kzp::clBtnFace);
  auto lines = f.Canvas.CallsOf(TCanvasOp::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(LineOf(lines[0]), (TRect{28, 0, 28, 160}));
  EXPECT_EQ(lines[0].Pen.Color, kzp::clWindow);
  EXPECT_EQ(LineOf(lines[1]), (TRect{29, 0, 29, 160}));
  EXPECT_EQ(lines[1].Pen.Color, kzp::clBtnFace);
  EXPECT_TRUE(GutterTexts(f.Canvas, 30).empty());

  f.Edit->Gutter().SetBorderStyle(gbsRight);
  f.PaintAll();
  lines = f.Canvas.CallsOf(TCanvasOp::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(LineOf(lines[0]), (TRect{29, 0, 29, 160}));
  EXPECT_EQ(lines[0].Pen.Color, kzp::clWindow);

  // A clip right of the gutter leaves it alone.
  f.PaintClip({40, 0, 100, 160});
  for (const auto &c : f.Canvas.Calls)
    EXPECT_FALSE(c.Op == TCanvasOp::FillRect && c.Rect.Left < 30);
}

TEST(PaintGutter, LineNumbersRightAlignedAndCentredInTheGutterFont) {
  TViewFixture f;
  f.Edit->SetText("a\r\nb\r\nc");
  f.Edit->Gutter().SetShowLineNumbers(true);
  EXPECT_EQ(f.Edit->GutterWidth(), 16 + 2 + 4 * 8 + 2);
  EXPECT_EQ(f.Edit->CharsInWindow(), (352 - 52 - 2) / 8);
  // A gutter font two pixels shorter than the row: the numbers sit one pixel down.
  f.Measure.PerStyle[0].Height = 16;
  f.Canvas.PerStyle[0].Height = 14;
  f.PaintAll();
  auto nums = GutterTexts(f.Canvas, 52);
  ASSERT_EQ(nums.size(), 3u);
  EXPECT_EQ(nums[0].Text, "   1");
  EXPECT_EQ(nums[2].Text, "   3");
  // Ends RightOffset + 2 pixels left of the gutter's edge: 52 - 2 - 2 - 4 * 8.
  EXPECT_EQ(nums[1].X, 16);
  EXPECT_EQ(nums[1].Y, 16 + 1);
  EXPECT_EQ(nums[1].Rect, (TRect{0, 16, 50, 32}));
  EXPECT_EQ(nums[1].Options, kzp::etoOpaque);
  EXPECT_EQ(nums[1].Brush.Color, kzp::clBtnFace);
  EXPECT_EQ(nums[1].Font.Name, "Courier New");
  EXPECT_EQ(nums[1].Font.Height, -11);
  EXPECT_TRUE(nums[1].Advances.empty()); // the gutter font keeps its own widths
  // The band below the last number.
  bool below = false;
  for (const auto &c : f.Canvas.CallsOf(TCanvasOp::FillRect))
    below |= c.Rect == TRect{0, 48, 50, 160} && c.Brush.Color == kzp::clBtnFace;
  EXPECT_TRUE(below);

  f.Edit->Gutter().SetUseFontStyle(false);
  kzp::TFont font = f.Edit->Font();
  font.Color = kzp::clRed;
  font.Style = kzp::fsBold;
  f.Edit->SetFont(font);
  f.PaintAll();
  nums = GutterTexts(f.Canvas, 52);
  ASSERT_FALSE(nums.empty());
  EXPECT_EQ(nums[0].Font.Height, -13);
  EXPECT_EQ(nums[0].Font.Color, kzp::clRed);
  EXPECT_EQ(nums[0].Font.Style, 0);
}

TEST(PaintGutter, AutoSizeFollowsTheLineCountAndTheTextEventReplacesNumbers) {
  TViewFixture f;
  f.Host.Width = 800;
  f.Edit->SizeOrFontChanged(false);
  std::string text;
  for (int i = 0; i < 12345; ++i)
    text += "x\r\n";
  text += "x";
  f.Edit->Gutter().SetShowLineNumbers(true);
  f.Edit->SetText(text);
  f.Edit->SetTopLine(12340); // 12346 lines: the highest top line is 12337
  EXPECT_EQ(f.Edit->TopLine(), 12337);
  f.PaintAll();
  auto nums = GutterTexts(f.Canvas, f.Edit->GutterWidth());
  ASSERT_FALSE(nums.empty());
  EXPECT_EQ(nums[0].Text, "12337"); // four-digit field, the number overflows to the left
  EXPECT_EQ(nums[0].X, 52 - 4 - 5 * 8);
  f.Edit->Gutter().SetAutoSize(true);
  EXPECT_EQ(f.Edit->GutterWidth(), 16 + 2 + 5 * 8 + 2);
  f.Edit->Gutter().SetLeadingZeros(true);
  f.Edit->OnGutterGetText = [](TCustomKzEdit &, int line, std::string &s) {
    if (line == 12338)
      s = "x";
  };
  f.PaintAll();
  nums = GutterTexts(f.Canvas, f.Edit->GutterWidth());
  ASSERT_GE(nums.size(), 3u);
  EXPECT_EQ(nums[0].Text, "12337");
  EXPECT_EQ(nums[1].Text, "x");
  EXPECT_EQ(nums[1].X, 60 - 4 - 8);
}

TEST(PaintGutter, BookmarksInTwoPassesAdvancingByXoffset) {
  TViewFixture f;
  f.Edit->SetText("a\r\nb\r\nc");
  TKzEditMark other;
  other.Line = 2;
  other.ImageIndex = 1;
  TKzEditMark bookmark;
  bookmark.Line = 2;
  bookmark.BookmarkNumber = 3;
  TKzEditMark bad;
  bad.Line = 3;
  bad.BookmarkNumber = 12; // outside 0..9: skipped
  TKzEditMark hidden;
  hidden.Line = 1;
  hidden.BookmarkNumber = 1;
  hidden.Visible = false;
  f.Edit->Marks() = {other, bookmark, bad, hidden};
  std::vector<std::tuple<int, int, int>> painted;
  f.Edit->OnGutterPaint = [&](TCustomKzEdit &, int line, int x, int y) {
    painted.emplace_back(line, x, y);
  };
  f.PaintAll();
  auto glyphs = f.Canvas.CallsOf(TCanvasOp::Polygon);
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_EQ(glyphs[0].Points.front().X, 2);      // the bookmark first, at LeftMargin
  EXPECT_EQ(glyphs[1].Points.front().X, 2 + 12); // then the other mark one Xoffset on
  EXPECT_GE(glyphs[0].Points.front().Y, 16);
  EXPECT_LT(glyphs[0].Points.front().Y, 32);
  // The glyph's number is drawn on it.
  bool three = false;
  for (const auto &t : f.Canvas.CallsOf(TCanvasOp::Text))
    three |= t.Text == "3" && t.X >= 2 && t.X < 14;
  EXPECT_TRUE(three);
  EXPECT_EQ(painted, (std::vector<std::tuple<int, int, int>>{{1, 0, 0}, {2, 24, 16}, {3, 0, 32}}));

  f.Edit->BookMarkOptions().DrawBookmarksFirst = false;
  f.PaintAll();
  glyphs = f.Canvas.CallsOf(TCanvasOp::Polygon);
  ASSERT_EQ(glyphs.size(), 2u);
  bool oneFirst = false;
  for (const auto &t : f.Canvas.CallsOf(TCanvasOp::Text))
    oneFirst |= t.Text == "1" && t.X >= 2 && t.X < 14;
  EXPECT_TRUE(oneFirst); // the other mark (image 1) now takes the first place

  f.Edit->BookMarkOptions().GlyphsVisible = false;
  f.PaintAll();
  EXPECT_TRUE(f.Canvas.CallsOf(TCanvasOp::Polygon).empty());
}

// The studio's own stored form gives the gutter only its font, so the editor of the main
// window shows no line numbers: a 30-pixel band with the border, whatever the line count.
TEST(PaintGutter, TheMainWindowsStoredFormKeepsTheBandWithoutNumbers) {
  TViewFixture f;
  const kzp::TStoredValue form =
      kzp::LoadStoredForm(std::string(KZ_PROJECT_DIR) + "/resources/frmMain.json");
  LoadStoredEditorSettings(*f.Edit, form.Get("editor"));
  EXPECT_EQ(f.Edit->Gutter().Font().Name, "Terminal");
  EXPECT_EQ(f.Edit->Gutter().Font().Height, -11);
  EXPECT_FALSE(f.Edit->Gutter().ShowLineNumbers());
  EXPECT_EQ(f.Edit->Gutter().Color(), kzp::clBtnFace);
  EXPECT_EQ(f.Edit->Gutter().BorderStyle(), gbsMiddle);
  std::string text;
  for (int i = 0; i < 12345; ++i)
    text += "x\r\n";
  f.Edit->SetText(text);
  EXPECT_EQ(f.Edit->GutterWidth(), 30);
  f.PaintAll();
  EXPECT_TRUE(GutterTexts(f.Canvas, 30).empty());
  EXPECT_EQ(f.Canvas.Calls.front().Rect, (TRect{0, 0, 30, 160}));
}
