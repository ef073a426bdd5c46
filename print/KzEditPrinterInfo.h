// The geometry of the current printer in printer pixels, read once and kept, with the A4
// 300 dpi sheet as the stand-in when the machine has no printer.
#pragma once

#include "platform/Printer.h"

class TKzEditPrinterInfo {
public:
  // printer: not owned; null or a printer that lists no installed printer gives the A4 sheet.
  explicit TKzEditPrinterInfo(kzp::TPrinter *printer = nullptr) : FPrinter(printer) {}

  void SetPrinter(kzp::TPrinter *printer);
  kzp::TPrinter *Printer() const { return FPrinter; }

  // Reads the values again and marks them valid.
  void RefreshPrinterInfo();
  bool IsValid() const { return FValid; }

  // Each reading refreshes first when the values are not valid yet.
  int PhysicalWidth();
  int PhysicalHeight();
  int PrintableWidth();
  int PrintableHeight();
  int LeftOffset();
  int TopOffset();
  int RightOffset();  // physical width - printable width - left offset
  int BottomOffset(); // physical height - printable height - top offset
  int XResolution();
  int YResolution();
  float XPixPermm();
  float YPixPermm();

  // A distance in millimetres from a sheet edge as a distance in pixels from the same edge of
  // the printable area; negative when it lies in the unprintable border.
  int LeftEdgePixels(double mm);
  int RightEdgePixels(double mm);
  int TopEdgePixels(double mm);
  int BottomEdgePixels(double mm);

private:
  const kzp::TPrinterGeometry &Read(); // refreshed first when not valid
  kzp::TPrinter *FPrinter;
  kzp::TPrinterGeometry FGeometry;
  float FXPixPermm = 0;
  float FYPixPermm = 0;
  bool FValid = false;
};

// Round to the nearest integer, halves to the even neighbour, as every pixel position here.
int KzRoundPixels(double value);
