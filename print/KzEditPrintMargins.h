// The page margins in a unit of the user's choice, and their pixel positions on one page.
#pragma once

#include "print/KzEditPrintTypes.h"

namespace kzp {
class TCanvas;
}
class TKzEditPrinterInfo;

class TKzEditPrintMargins {
public:
  // Lengths are kept in millimetres and read and written in UnitSystem. Changing the unit
  // converts nothing: the same millimetres only read differently.
  TUnitSystem UnitSystem() const { return FUnitSystem; }
  void SetUnitSystem(TUnitSystem value) { FUnitSystem = value; }

  double Left() const { return FromMM(FLeft); }
  void SetLeft(double v) { FLeft = ToMM(v); }
  double Right() const { return FromMM(FRight); }
  void SetRight(double v) { FRight = ToMM(v); }
  double Top() const { return FromMM(FTop); }
  void SetTop(double v) { FTop = ToMM(v); }
  double Bottom() const { return FromMM(FBottom); }
  void SetBottom(double v) { FBottom = ToMM(v); }
  // From the sheet's top edge to the bottom of the header area.
  double Header() const { return FromMM(FHeader); }
  void SetHeader(double v) { FHeader = ToMM(v); }
  // From the sheet's bottom edge to the top of the footer area.
  double Footer() const { return FromMM(FFooter); }
  void SetFooter(double v) { FFooter = ToMM(v); }
  double LeftHFTextIndent() const { return FromMM(FLeftHFTextIndent); }
  void SetLeftHFTextIndent(double v) { FLeftHFTextIndent = ToMM(v); }
  double RightHFTextIndent() const { return FromMM(FRightHFTextIndent); }
  void SetRightHFTextIndent(double v) { FRightHFTextIndent = ToMM(v); }
  double HFInternalMargin() const { return FromMM(FHFInternalMargin); }
  void SetHFInternalMargin(double v) { FHFInternalMargin = ToMM(v); }
  // Binding allowance added to the left (inner) margin.
  double Gutter() const { return FromMM(FGutter); }
  void SetGutter(double v) { FGutter = ToMM(v); }
  // Even pages swap the left and right margins.
  bool MirrorMargins() const { return FMirrorMargins; }
  void SetMirrorMargins(bool v) { FMirrorMargins = v; }

  // Copies the lengths, MirrorMargins and UnitSystem.
  void Assign(const TKzEditPrintMargins &source) { *this = source; }

  // The pixel positions of page `pageNumber`, relative to the printable area. With line
  // numbers outside the margin the text area starts after the width of the highest number
  // followed by ": ", measured in the canvas's current font.
  void ComputePageMargins(kzp::TCanvas &canvas, int pageNumber, TKzEditPrinterInfo &printer,
                          bool lineNumbers, bool lineNumbersInMargin, int highestLineNumber);

  // Results of the last ComputePageMargins.
  int TextLeft = 0, TextRight = 0, TextTop = 0, TextBottom = 0;
  int HeaderBottom = 0, FooterTop = 0;
  int HFTextLeft = 0, HFTextRight = 0;
  int HFInnerSpace = 0;
  int GutterPixels = 0;

private:
  double ToMM(double v) const;
  double FromMM(double mm) const;

  TUnitSystem FUnitSystem = usMM;
  double FLeft = 25, FRight = 15, FTop = 25, FBottom = 25;
  double FHeader = 15, FFooter = 15;
  double FLeftHFTextIndent = 2, FRightHFTextIndent = 2;
  double FHFInternalMargin = 0.5;
  double FGutter = 0;
  bool FMirrorMargins = false;
};
