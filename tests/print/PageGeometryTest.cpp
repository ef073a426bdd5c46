// Page geometry: the printer's sheet or the A4 stand-in, margins in every unit, and the pixel
// positions of each page with mirroring, gutter and line numbers.
#include "PrintFixture.h"

#include "print/KzEditPrintMargins.h"
#include "print/KzEditPrinterInfo.h"

TEST(PrinterInfo, WithoutPrinterTheSheetIsA4At300DpiAPrinterGivesItsOwnReadOnce) {
  TRecordingPrinter printer; // lists no printer, though it would report another sheet
  printer.Sheet = {4960, 7016, 4800, 6800, 100, 120, 600, 600};
  TKzEditPrinterInfo info(&printer);
  EXPECT_FALSE(info.IsValid());
  EXPECT_EQ(info.RightOffset(), 58);
  EXPECT_TRUE(info.IsValid());
  EXPECT_EQ(info.BottomOffset(), 50);
  EXPECT_EQ(info.LeftEdgePixels(25), 230);
  EXPECT_EQ(info.RightEdgePixels(15), 119);
  EXPECT_EQ(info.LeftEdgePixels(2), -41)
      << "a margin in the unprintable border is left of the area";

  printer.Names = {"Laser"};
  EXPECT_EQ(info.LeftOffset(), 65) << "read once";
  info.RefreshPrinterInfo();
  EXPECT_EQ(info.RightOffset(), 60);
  EXPECT_EQ(info.BottomOffset(), 96);
  EXPECT_EQ(info.TopEdgePixels(10), 116); // 10 mm at 600 dpi is 236.2 pixels
  EXPECT_EQ(KzRoundPixels(2.5), 2);
  EXPECT_EQ(KzRoundPixels(3.5), 4);
}

TEST(PrintMargins, DefaultsGiveTheKnownPositionsAndLineNumbersNarrowTheTextOutsideTheMargin) {
  TKzEditPrinterInfo info;
  kzp::TFixedCanvas canvas; // 8 pixels a character
  TKzEditPrintMargins m;
  m.ComputePageMargins(canvas, 1, info, false, false, 0);
  EXPECT_EQ(
      (std::vector<int>{m.TextLeft, m.TextRight, m.TextTop, m.TextBottom, m.HeaderBottom,
                        m.FooterTop, m.HFTextLeft, m.HFTextRight, m.HFInnerSpace, m.GutterPixels}),
      (std::vector<int>{230, 2239, 245, 3162, 127, 3280, 254, 2215, 6, 0}));
  m.ComputePageMargins(canvas, 1, info, true, true, 1234);
  EXPECT_EQ(m.TextLeft, 230);
  m.ComputePageMargins(canvas, 1, info, true, false, 1234);
  EXPECT_EQ(m.TextLeft, 230 + 6 * 8); // "1234: "
  EXPECT_EQ(m.HFTextLeft, 230 + 48 + 24);
}

TEST(PrintMargins, MirroredPagesSwapTheSidesAndTheGutterStaysInside) {
  TKzEditPrinterInfo info;
  kzp::TFixedCanvas canvas;
  TKzEditPrintMargins m;
  m.SetGutter(10);
  m.ComputePageMargins(canvas, 2, info, false, false, 0);
  EXPECT_EQ(m.TextLeft, 348) << "without mirroring every page has the gutter on the left";
  m.SetMirrorMargins(true);
  for (int page : {1, 2, 3}) {
    m.ComputePageMargins(canvas, page, info, false, false, 0);
    EXPECT_EQ(m.TextLeft, page == 2 ? 112 : 348) << page;
    EXPECT_EQ(m.TextRight, page == 2 ? 2358 - 355 : 2239) << page;
  }
  EXPECT_EQ(m.GutterPixels, 118);
}

TEST(PrintMargins, LengthsReadInTheirUnitAndTheUnitChangesOnlyTheReading) {
  TKzEditPrintMargins m;
  m.SetUnitSystem(usInch);
  m.SetLeft(1);
  m.SetUnitSystem(usCM);
  EXPECT_DOUBLE_EQ(m.Left(), 2.54);
  EXPECT_DOUBLE_EQ(m.Right(), 1.5);
  m.SetUnitSystem(muThousandthsOfInches);
  EXPECT_DOUBLE_EQ(m.Left(), 1000);
  m.SetTop(500);
  m.SetMirrorMargins(true);
  TKzEditPrintMargins copy;
  copy.Assign(m);
  copy.SetUnitSystem(usMM);
  EXPECT_DOUBLE_EQ(copy.Top(), 12.7);
  EXPECT_TRUE(copy.MirrorMargins());
}
