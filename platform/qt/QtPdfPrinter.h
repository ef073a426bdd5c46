// A PDF file as a printer, over QPdfWriter and the Qt canvas.
#pragma once

#include "platform/Printer.h"

#include <memory>
#include <string>
#include <vector>

namespace kzp {

// A PDF file on an A4 sheet at 300 dpi, drawn as a printer without unprintable edges would
// draw it with the same margins: the canvas starts at the A4 stand-in's printable area. The
// document is written to a temporary file beside the target, which takes the target's name
// only once it is complete; an abort or a failure leaves no file behind.
class TQtPdfPrinter : public TPrinter {
public:
  // replaceExisting false: a file that already has the name when the document is complete
  // is kept, and EndDoc fails.
  TQtPdfPrinter(const std::string &path, bool replaceExisting);
  ~TQtPdfPrinter() override;

  const std::string &Path() const { return FPath; }

  // Lists itself, so the job takes its sheet.
  std::vector<std::string> Printers() const override;
  TPrinterGeometry Geometry() const override { return A4At300Dpi; }
  void SetTitle(const std::string &title) override { FTitle = title; }
  void BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;
  void Abort() override;
  bool Printing() const override;
  TCanvas &Canvas() override;

private:
  struct TDocument;
  void StartSheet();
  std::string FPath;
  bool FReplace;
  std::string FTitle;
  std::unique_ptr<TDocument> FDoc;
};

} // namespace kzp
