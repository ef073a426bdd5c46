// Header and footer: roman numerals, macros, compacted lines, item positions, mirroring and
// the three kinds of frame.
#include "PrintFixture.h"

#include "print/KzEditPrintHeaderFooter.h"
#include "print/KzEditPrintMargins.h"

namespace {

using kzp::TCanvasCall;
using kzp::TCanvasOp;

class HeaderFooterTest : public ::testing::Test {
protected:
  HeaderFooterTest() {
    // The default canvas: 8 pixels a character, "W" 16 high with ascent 13.
    Margins.ComputePageMargins(Canvas, 1, Info, false, false, 0);
    for (THeaderFooter *hf :
         {static_cast<THeaderFooter *>(&Header), static_cast<THeaderFooter *>(&Footer)})
      hf->DateTimeTexts = [](std::string &date, std::string &time) {
        date = "24.12.2024";
        time = "18:30:00";
      };
  }
  std::string Expand(const std::string &text, int page = 3, int count = 10, bool roman = false) {
    THeaderFooterItem item;
    item.Text = text;
    return item.GetText(count, page, roman, "index.htm", "18:30:00", "24.12.2024");
  }
  std::vector<TCanvasCall> Texts() const { return Canvas.CallsOf(TCanvasOp::Text); }

  TKzEditPrinterInfo Info;
  kzp::TFixedCanvas Canvas;
  TKzEditPrintMargins Margins;
  THeader Header;
  TFooter Footer;
};

} // namespace

TEST_F(HeaderFooterTest, MacrosAreReplacedInAnyCaseAndEverythingElseStaysAsWritten) {
  EXPECT_EQ(RomanNumeral(1994), "MCMXCIV");
  EXPECT_EQ(RomanNumeral(4000), "MMMM");
  EXPECT_EQ(RomanNumeral(3888), "MMMDCCCLXXXVIII");
  EXPECT_EQ(RomanNumeral(0), "");
  EXPECT_EQ(Expand("Seite $PAGENUM$ von $PAGECOUNT$"), "Seite 3 von 10");
  EXPECT_EQ(Expand("$PAGENUM$/$PAGECOUNT$", 4, 9, true), "IV/IX");
  EXPECT_EQ(Expand("$$PAGENUM$"), "$3");
  EXPECT_EQ(Expand("$FOO$"), "$FOO$");
  EXPECT_EQ(Expand("$FOO$PAGENUM$"), "$FOO3");
  EXPECT_EQ(Expand("kostet 5 $"), "kostet 5 $");
  EXPECT_EQ(Expand("$TITLE$: $DATE$ $TIME$"), "index.htm: 24.12.2024 18:30:00");
  EXPECT_EQ(Expand("$DATETIME$|$TIMEDATE$"), "24.12.2024 18:30:00|18:30:00 24.12.2024");
  EXPECT_EQ(Expand("   "), "");
  EXPECT_EQ(Expand(" $PAGENUM$ "), " 3 ");
}

TEST_F(HeaderFooterTest, LinesAreCompactedAndItemsPlacedByAlignmentOnTheirBaseline) {
  Header.Add("links", nullptr, hfaLeft, 1);
  Header.Add("Seite $PAGENUM$", nullptr, hfaRight, 1);
  Header.Add("Mitte", nullptr, hfaCenter, 3);
  Header.InitPrint(Canvas, 10, Margins, "t");
  ASSERT_EQ(Header.LineInfo().size(), 2u);
  EXPECT_EQ(Header.Item(2).LineNumber, 2);
  EXPECT_EQ(Header.FrameHeight(), 2 * 16 + 2 * 6);
  Header.Print(Canvas, 7);
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 3u);
  const int top = 127 - Header.FrameHeight() + 6;
  EXPECT_EQ(texts[0].Text, "links");
  EXPECT_EQ(texts[0].X, 254);
  EXPECT_EQ(texts[0].Y, top + 13);
  EXPECT_EQ(texts[0].Align, kzp::TTextAlign::taBaseline);
  EXPECT_EQ(texts[0].Font.Name, "Arial");
  EXPECT_EQ(texts[1].Text, "Seite 7");
  EXPECT_EQ(texts[1].X, 2215 - 7 * 8);
  EXPECT_EQ(texts[2].Text, "Mitte");
  EXPECT_EQ(texts[2].X, (254 + 2215 - 40) / 2);
  EXPECT_EQ(texts[2].Y, top + 16 + 13);
  // The default frame is the line under the header, and the canvas comes back as it was.
  const auto lines = Canvas.CallsOf(TCanvasOp::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Y, 127);
  EXPECT_EQ(lines[0].X, 230);
  EXPECT_EQ(lines[0].X2, 2239);
  EXPECT_EQ(Canvas.TextAlign(), kzp::TTextAlign::taTop);
  EXPECT_EQ(Canvas.Font().Name, "Courier New");
}

TEST_F(HeaderFooterTest, MirrorPositionMovesSideAlignedItemsOnEvenPagesOnly) {
  Footer.SetMirrorPosition(true);
  Footer.Add("$PAGENUM$", nullptr, hfaLeft, 1);
  Footer.Add("Mitte", nullptr, hfaCenter, 1);
  Footer.InitPrint(Canvas, 4, Margins, "t");
  for (int page = 1; page <= 4; ++page) {
    Canvas.ClearCalls();
    Footer.Print(Canvas, page);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].X, page % 2 == 0 ? 2215 - 8 : 254) << page;
    EXPECT_EQ(texts[1].X, (254 + 2215 - 40) / 2) << page;
    EXPECT_EQ(texts[0].Y, 3280 + 6 + 13);
  }
}

TEST_F(HeaderFooterTest, BoxAndShadingFillAndOutlineTheFrameRectangleButOnlyWithItems) {
  Footer.SetFrameTypes(ftLine | ftBox | ftShaded);
  Footer.InitPrint(Canvas, 5, Margins, "t");
  EXPECT_EQ(Footer.FrameHeight(), -1);
  Footer.Print(Canvas, 1);
  EXPECT_TRUE(Canvas.Calls.empty());

  Footer.Add("x", nullptr, hfaLeft, 1);
  Footer.SetShadedColor(kzp::clYellow);
  Footer.SetLineColor(kzp::clRed);
  Footer.SetFrameTypes(ftBox | ftShaded);
  Footer.InitPrint(Canvas, 1, Margins, "t");
  const kzp::TRect frame{230, 3280, 2239, 3280 + 16 + 12};
  Footer.Print(Canvas, 1);
  auto fills = Canvas.CallsOf(TCanvasOp::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].Rect, frame);
  EXPECT_EQ(fills[0].Brush.Color, kzp::clYellow);
  auto lines = Canvas.CallsOf(TCanvasOp::Line);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].Pen.Color, kzp::clRed);
  EXPECT_EQ(lines[0].Y, 3280);

  Canvas.ClearCalls();
  Footer.SetFrameTypes(ftShaded);
  Footer.Print(Canvas, 1);
  EXPECT_EQ(Canvas.CallsOf(TCanvasOp::FillRect).size(), 1u);
  EXPECT_TRUE(Canvas.CallsOf(TCanvasOp::Line).empty());
  EXPECT_EQ(Texts().at(0).Brush.Style, kzp::TBrushStyle::bsClear) << "no background of its own";
}

TEST_F(HeaderFooterTest, AssignCopiesItemsFontsAndSettingsAndItemFontsScaleToTheDevice) {
  kzp::TFont big{"Times New Roman", -16, kzp::fsBold, kzp::clBlue};
  Header.Add("a", &big, hfaRight, 5);
  Header.SetRomanNumbers(true);
  Header.SetFrameTypes(ftBox);
  TFooter copy;
  copy.Assign(Header);
  EXPECT_EQ(copy.Kind(), THeaderFooter::hftHeader);
  ASSERT_EQ(copy.Count(), 1);
  EXPECT_EQ(copy.Item(0).Font, big);
  EXPECT_EQ(copy.Item(0).LineNumber, 5);
  EXPECT_TRUE(copy.RomanNumbers());
  EXPECT_EQ(copy.FrameTypes(), ftBox);

  // 12 points at 300 dpi; the item itself keeps its screen height.
  copy.SetPixelsPerInch(300);
  copy.InitPrint(Canvas, 1, Margins, "t");
  copy.Print(Canvas, 1);
  EXPECT_EQ(Texts().at(0).Font.Height, -50);
  EXPECT_EQ(copy.Item(0).Font.Height, -16);
  EXPECT_EQ(KzFontAtResolution({"Arial", -13}, 300).Height, -42);
}
