// A printer as the print job sees it: the installed printers, the sheet geometry of the current
// one, and a document of sheets drawn on a canvas. The Qt side implements it over the real
// printers and over a PDF file; tests use a recording one.
#pragma once

#include "platform/Canvas.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace kzp {

// The printer could not begin, continue or finish a document; what() is the German message.
class EPrinterError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Sheet geometry in device pixels: the whole sheet, the area the printer can mark and where
// that area lies on the sheet, and the resolution in dots per inch.
struct TPrinterGeometry {
  int PhysicalWidth = 0;
  int PhysicalHeight = 0;
  int PrintableWidth = 0;
  int PrintableHeight = 0;
  int LeftOffset = 0;
  int TopOffset = 0;
  int XResolution = 0;
  int YResolution = 0;
  friend bool operator==(const TPrinterGeometry &, const TPrinterGeometry &) = default;
};

// An A4 sheet at 300 dots per inch with the unprintable edges of a common laser printer; what
// printing assumes when the machine has no printer, and the PDF target's sheet.
inline constexpr TPrinterGeometry A4At300Dpi{2481, 3507, 2358, 3407, 65, 50, 300, 300};

// A document runs BeginDoc, then drawing on Canvas() with NewPage between the sheets, then
// EndDoc; Abort instead of EndDoc throws the document away. The canvas's origin is the top
// left corner of the printable area.
class TPrinter {
public:
  TPrinter() = default;
  TPrinter(const TPrinter &) = delete;
  TPrinter &operator=(const TPrinter &) = delete;
  virtual ~TPrinter() = default;

  // The names of the installed printers; empty when there is none.
  virtual std::vector<std::string> Printers() const = 0;
  // The geometry of the printer a document goes to.
  virtual TPrinterGeometry Geometry() const = 0;

  // The name the document carries in the spooler.
  virtual void SetTitle(const std::string &title) = 0;
  // Failures raise EPrinterError; after a failed BeginDoc there is no document.
  virtual void BeginDoc() = 0;
  virtual void NewPage() = 0;
  virtual void EndDoc() = 0;
  // Ends the document without finishing it; does nothing when no document is open.
  virtual void Abort() = 0;
  // Between BeginDoc and EndDoc or Abort.
  virtual bool Printing() const = 0;
  // Valid while Printing().
  virtual TCanvas &Canvas() = 0;
};

} // namespace kzp
