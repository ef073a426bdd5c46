// The printers of the desktop over QPrinter and QPrinterInfo, drawn on through the Qt canvas.
#pragma once

#include "platform/Printer.h"

#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPrinter;
class QTemporaryFile;

namespace kzp {

class TQtCanvas;

// The names of the installed printers and the default one (empty when there is none).
std::vector<std::string> QtPrinterNames();
std::string QtDefaultPrinterName();

// A real printer: the named one, or the desktop's default (or the first installed) for an
// empty name. Documents go to it without any dialog. Where the printing system is CUPS, a
// document is spooled into a file of its own and handed to the queue only when it is
// complete, so an aborted job prints nothing at all (Qt's own CUPS route cannot take a job
// back once it was begun).
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

  const std::string &Name() const { return FName; }

private:
  void Close();
  std::string FName;
  std::string FTitle;
  std::unique_ptr<QPrinter> FPrinter; // the queue itself: its sheet and resolution
  std::unique_ptr<QPrinter> FSpool;   // the document while it is drawn, with CUPS
  std::unique_ptr<QTemporaryFile> FSpoolFile;
  std::unique_ptr<QPainter> FPainter;
  std::unique_ptr<TQtCanvas> FCanvas;
};

} // namespace kzp
