// Page geometry: the printer's sheet or the A4 stand-in, margins in every unit, and the pixel
// positions of each page with mirroring, gutter and line numbers.
#include "PrintFixture.h"

#include "print/KzEditPrintMargins.h"
#include "print/KzEditPrinterInfo.h"

namespace {

struct TMarginsOf {
  int TextLeft, TextRight, TextTop, TextBottom, HeaderBottom, FooterTop, HFTextLeft, HFTextRight, HFInnerSpace;
  friend bool operator==(const TMarginsOf &, const TMarginsOf &) = default;
};

TMarginsOf Of(const TKzEditPrintMargins &m) {
  return {m.TextLeft,  m.TextRight,  m.TextTop,    m.TextBottom,  m.HeaderBottom,
          m.FooterTop, m.HFTextLeft, m.HFTextRight, m.HFInnerSpace};
}

} // namespace

TEST(PrinterInfo, WithoutPrinterTheSheetIsA4At300DpiAndEdgesConvertFromTheSheet)
{
  TRecordingPrinter none; // lists no printer, though it would report another sheet
  none.Sheet = {1000, 1000, 900, 900, 10, 10, 100, 100};
  for (TKzEditPrinterInfo info : {TKzEditPrinterInfo(nullptr), TKzEditPrinterInfo(&none)}) {
    EXPECT_FALSE(info.IsValid());
    EXPECT_EQ(info.PhysicalWidth(), 2481);
    EXPECT_TRUE(info.IsValid());
    EXPECT_EQ(info.PhysicalHeight(), 3507);
    EXPECT_EQ(info.PrintableWidth(), 2358);
    EXPECT_EQ(info.PrintableHeight(), 3407);
    EXPECT_EQ(info.LeftOffset(), 65);
    EXPECT_EQ(info.TopOffset(), 50);
    EXPECT_EQ(info.RightOffset(), 58);
    EXPECT_EQ(info.BottomOffset(), 50);
    EXPECT_EQ(info.XResolution(), 300);
    EXPECT_FLOAT_EQ(info.YPixPermm(), static_cast<float>(300 / 25.4));
    EXPECT_EQ(info.LeftEdgePixels(25), 230);
    EXPECT_EQ(info.RightEdgePixels(15), 119);
    // A margin inside the unprintable border lies left of the printable area.
    EXPECT_EQ(info.LeftEdgePixels(2), -41);
  }
}

TEST(PrinterInfo, AnInstalledPrinterGivesItsOwnSheetReadOnceUntilRefreshed)
{
  TRecordingPrinter laser;
  laser.Names = {"Laser"};
  laser.Sheet = {4960, 7016, 4800, 6800, 100, 120, 600, 600};
  TKzEditPrinterInfo info(&laser);
  EXPECT_EQ(info.RightOffset(), 60);
  EXPECT_EQ(info.BottomOffset(), 96);
  EXPECT_EQ(info.TopEdgePixels(10), 116); // 10 mm at 600 dpi is 236.2 pixels
  laser.Sheet.LeftOffset = 0;
  EXPECT_EQ(info.LeftOffset(), 100);
  info.RefreshPrinterInfo();
  EXPECT_EQ(info.LeftOffset(), 0);
  // Rounding goes to the even neighbour at one half.
  EXPECT_EQ(KzRoundPixels(2.5), 2);
  EXPECT_EQ(KzRoundPixels(3.5), 4);
  EXPECT_EQ(KzRoundPixels(-0.5), 0);
}

TEST(PrintMargins, TheDefaultMarginsOnTheA4SheetGiveTheKnownPositions)
{
  TKzEditPrinterInfo info;
  kzp::TFixedCanvas canvas;
  TKzEditPrintMargins m;
  m.ComputePageMargins(canvas, 1, info, false, false, 0);
  EXPECT_EQ(Of(m), (TMarginsOf{230, 2239, 245, 3162, 127, 3280, 254, 2215, 6}));
  EXPECT_EQ(m.GutterPixels, 0);
  // Line numbers in the margin leave the text area alone; outside it they narrow it by the
  // width of the highest number with ": " (8 pixels a character on this canvas).
  m.ComputePageMargins(canvas, 1, info, true, true, 1234);
  EXPECT_EQ(m.TextLeft, 230);
  m.ComputePageMargins(canvas, 1, info, true, false, 1234);
  EXPECT_EQ(m.TextLeft, 230 + 6 * 8);
  EXPECT_EQ(m.HFTextLeft, 230 + 48 + 24);
}

TEST(PrintMargins, MirroredPagesSwapTheSidesAndTheGutterStaysInside)
{
  TKzEditPrinterInfo info;
  kzp::TFixedCanvas canvas;
  TKzEditPrintMargins m;
  m.SetGutter(10);
  const int inner = info.LeftEdgePixels(35), outer = info.LeftEdgePixels(15);
  m.ComputePageMargins(canvas, 2, info, false, false, 0);
  EXPECT_EQ(m.TextLeft, 230 + 118) << "without mirroring every page has the gutter on the left";
  m.SetMirrorMargins(true);
  for (int page : {1, 3}) {
    m.ComputePageMargins(canvas, page, info, false, false, 0);
    EXPECT_EQ(m.TextLeft, inner);
    EXPECT_EQ(m.TextRight, 2358 - info.RightEdgePixels(15));
  }
  m.ComputePageMargins(canvas, 2, info, false, false, 0);
  EXPECT_EQ(m.TextLeft, outer);
  EXPECT_EQ(m.TextRight, 2358 - info.RightEdgePixels(35));
  EXPECT_EQ(m.GutterPixels, 118);
}

TEST(PrintMargins, LengthsReadInTheirUnitAndTheUnitChangesOnlyTheReading)
{
  TKzEditPrintMargins m;
  m.SetUnitSystem(usInch);
  m.SetLeft(1);
  m.SetUnitSystem(usMM);
  EXPECT_DOUBLE_EQ(m.Left(), 25.4);
  m.SetUnitSystem(usCM);
  EXPECT_DOUBLE_EQ(m.Left(), 2.54);
  EXPECT_DOUBLE_EQ(m.Right(), 1.5);
  m.SetUnitSystem(muThousandthsOfInches);
  EXPECT_DOUBLE_EQ(m.Left(), 1000);
  m.SetTop(500);
  m.SetUnitSystem(usMM);
  EXPECT_DOUBLE_EQ(m.Top(), 12.7);

  TKzEditPrintMargins copy;
  m.SetMirrorMargins(true);
  m.SetUnitSystem(usCM);
  copy.Assign(m);
  EXPECT_EQ(copy.UnitSystem(), usCM);
  EXPECT_TRUE(copy.MirrorMargins());
  EXPECT_DOUBLE_EQ(copy.Top(), 1.27);
}
