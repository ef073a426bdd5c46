// The printers of the desktop over QPrinter and QPrinterInfo, drawn on through the Qt canvas.
#pragma once

#include "platform/Printer.h"

#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPrinter;

namespace kzp {

class TQtCanvas;

// The names of the installed printers and the default one (empty when there is none).
std::vector<std::string> QtPrinterNames();
std::string QtDefaultPrinterName();

// A real printer: the named one, or the desktop's default (or the first installed) for an
// empty name. Documents go to it without any dialog.
class TQtPrinter : public TPrinter {
public:
  explicit TQtPrinter(const std::string &printerName = {});
  ~TQtPrinter() override;

  std::vector<std::string> Printers() const override;
  TPrinterGeometry Geometry() const override;
  void SetTitle(const std::string &title) override;
  void BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;
  void Abort() override;
  bool Printing() const override { return FCanvas != nullptr; }
  TCanvas &Canvas() override;

  // The printer the documents go to (its name is empty when the machine has none).
  QPrinter &Device() { return *FPrinter; }

private:
  std::unique_ptr<QPrinter> FPrinter;
  std::unique_ptr<QPainter> FPainter;
  std::unique_ptr<TQtCanvas> FCanvas;
};

} // namespace kzp
