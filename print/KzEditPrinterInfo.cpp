// Reading the printer's geometry and turning millimetres from the sheet edge into pixels.
#include "print/KzEditPrinterInfo.h"

#include <cmath>

int KzRoundPixels(double value) { return static_cast<int>(std::nearbyint(value)); }

void TKzEditPrinterInfo::SetPrinter(kzp::TPrinter *printer) {
  FPrinter = printer;
  FValid = false;
}

void TKzEditPrinterInfo::RefreshPrinterInfo() {
  FValid = true;
  if (!FPrinter || FPrinter->Printers().empty())
    FGeometry = kzp::A4At300Dpi;
  else
    FGeometry = FPrinter->Geometry();
  // A printer that reports no resolution would make every length zero pixels wide and the
  // layout divide by nothing; such a report is taken as the common 300 dpi.
  if (FGeometry.XResolution <= 0)
    FGeometry.XResolution = 300;
  if (FGeometry.YResolution <= 0)
    FGeometry.YResolution = 300;
  FXPixPermm = static_cast<float>(FGeometry.XResolution / 25.4);
  FYPixPermm = static_cast<float>(FGeometry.YResolution / 25.4);
}

const kzp::TPrinterGeometry &TKzEditPrinterInfo::Read() {
  if (!FValid)
    RefreshPrinterInfo();
  return FGeometry;
}

int TKzEditPrinterInfo::PhysicalWidth() { return Read().PhysicalWidth; }
int TKzEditPrinterInfo::PhysicalHeight() { return Read().PhysicalHeight; }
int TKzEditPrinterInfo::PrintableWidth() { return Read().PrintableWidth; }
int TKzEditPrinterInfo::PrintableHeight() { return Read().PrintableHeight; }
int TKzEditPrinterInfo::LeftOffset() { return Read().LeftOffset; }
int TKzEditPrinterInfo::TopOffset() { return Read().TopOffset; }
int TKzEditPrinterInfo::XResolution() { return Read().XResolution; }
int TKzEditPrinterInfo::YResolution() { return Read().YResolution; }
float TKzEditPrinterInfo::XPixPermm() {
  Read();
  return FXPixPermm;
}

float TKzEditPrinterInfo::YPixPermm() {
  Read();
  return FYPixPermm;
}

int TKzEditPrinterInfo::RightOffset() {
  const kzp::TPrinterGeometry &g = Read();
  return g.PhysicalWidth - g.PrintableWidth - g.LeftOffset;
}

int TKzEditPrinterInfo::BottomOffset() {
  const kzp::TPrinterGeometry &g = Read();
  return g.PhysicalHeight - g.PrintableHeight - g.TopOffset;
}

int TKzEditPrinterInfo::LeftEdgePixels(double mm) {
  return KzRoundPixels(mm * XPixPermm() - LeftOffset());
}
int TKzEditPrinterInfo::RightEdgePixels(double mm) {
  return KzRoundPixels(mm * XPixPermm() - RightOffset());
}
int TKzEditPrinterInfo::TopEdgePixels(double mm) {
  return KzRoundPixels(mm * YPixPermm() - TopOffset());
}
int TKzEditPrinterInfo::BottomEdgePixels(double mm) {
  return KzRoundPixels(mm * YPixPermm() - BottomOffset());
}
