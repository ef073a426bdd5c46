// Unit conversion of the margins and their pixel positions on a page.
#include "print/KzEditPrintMargins.h"

#include "platform/Canvas.h"
#include "print/KzEditPrinterInfo.h"

#include <string>

double TKzEditPrintMargins::ToMM(double v) const {
  switch (FUnitSystem) {
  case usCM: return v * 10;
  case usInch: return v * 25.4;
  case muThousandthsOfInches: return v * 25.4 / 1000;
  case usMM: break;
  }
  return v;
}

double TKzEditPrintMargins::FromMM(double mm) const {
  switch (FUnitSystem) {
  case usCM: return mm / 10;
  case usInch: return mm / 25.4;
  case muThousandthsOfInches: return mm * 1000 / 25.4;
  case usMM: break;
  }
  return mm;
}

void TKzEditPrintMargins::ComputePageMargins(kzp::TCanvas &canvas, int pageNumber,
                                             TKzEditPrinterInfo &printer, bool lineNumbers,
                                             bool lineNumbersInMargin, int highestLineNumber) {
  const int printableWidth = printer.PrintableWidth();
  const int printableHeight = printer.PrintableHeight();
  if (FMirrorMargins && pageNumber % 2 == 0) {
    TextLeft = printer.LeftEdgePixels(FRight);
    TextRight = printableWidth - printer.RightEdgePixels(FLeft + FGutter);
  } else {
    TextLeft = printer.LeftEdgePixels(FLeft + FGutter);
    TextRight = printableWidth - printer.RightEdgePixels(FRight);
  }
  if (lineNumbers && !lineNumbersInMargin)
    TextLeft += canvas.TextWidth(std::to_string(highestLineNumber) + ": ");
  TextTop = printer.TopEdgePixels(FTop);
  TextBottom = printableHeight - printer.BottomEdgePixels(FBottom);
  HeaderBottom = printer.TopEdgePixels(FHeader);
  FooterTop = printableHeight - printer.BottomEdgePixels(FFooter);
  HFInnerSpace = KzRoundPixels(printer.YPixPermm() * FHFInternalMargin);
  GutterPixels = KzRoundPixels(printer.XPixPermm() * FGutter);
  HFTextRight = TextRight - KzRoundPixels(printer.XPixPermm() * FRightHFTextIndent);
  HFTextLeft = TextLeft + KzRoundPixels(printer.XPixPermm() * FLeftHFTextIndent);
}
