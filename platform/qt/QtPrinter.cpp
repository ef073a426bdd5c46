// Printing on the desktop's printers through QPrinter.
#include "platform/qt/QtPrinter.h"

#include "platform/qt/QtCanvas.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace kzp {

std::vector<std::string> QtPrinterNames() {
  std::vector<std::string> names;
  for (const QString &name : QPrinterInfo::availablePrinterNames())
    names.push_back(name.toStdString());
  return names;
}

std::string QtDefaultPrinterName() {
  QString name = QPrinterInfo::defaultPrinterName();
  if (name.isEmpty()) {
    const QStringList all = QPrinterInfo::availablePrinterNames();
    if (!all.isEmpty())
      name = all.front();
  }
  return name.toStdString();
}

TQtPrinter::TQtPrinter(const std::string &printerName) {
  const std::string name = printerName.empty() ? QtDefaultPrinterName() : printerName;
  const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
  FPrinter = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

TQtPrinter::~TQtPrinter() { Abort(); }

std::vector<std::string> TQtPrinter::Printers() const { return QtPrinterNames(); }

TPrinterGeometry TQtPrinter::Geometry() const {
  const QRectF paper = FPrinter->paperRect(QPrinter::DevicePixel);
  const QRectF page = FPrinter->pageRect(QPrinter::DevicePixel);
  TPrinterGeometry g;
  g.PhysicalWidth = qRound(paper.width());
  g.PhysicalHeight = qRound(paper.height());
  g.PrintableWidth = qRound(page.width());
  g.PrintableHeight = qRound(page.height());
  g.LeftOffset = qRound(page.left() - paper.left());
  g.TopOffset = qRound(page.top() - paper.top());
  g.XResolution = FPrinter->logicalDpiX();
  g.YResolution = FPrinter->logicalDpiY();
  return g;
}

void TQtPrinter::SetTitle(const std::string &title) { FPrinter->setDocName(QString::fromStdString(title)); }

void TQtPrinter::BeginDoc() {
  Abort();
  FPainter = std::make_unique<QPainter>();
  if (!FPainter->begin(FPrinter.get())) {
    FPainter.reset();
    throw EPrinterError("Der Drucker \"" + FPrinter->printerName().toStdString() +
                        "\" kann den Druckauftrag nicht annehmen.");
  }
  FCanvas = std::make_unique<TQtCanvas>(FPainter.get());
}

void TQtPrinter::NewPage() {
  if (!FPrinter->newPage())
    throw EPrinterError("Der Drucker konnte keine neue Seite beginnen.");
}

void TQtPrinter::EndDoc() {
  if (!FPainter)
    return;
  FCanvas.reset();
  const bool done = FPainter->end();
  FPainter.reset();
  if (!done)
    throw EPrinterError("Der Druckauftrag konnte nicht abgeschlossen werden.");
}

void TQtPrinter::Abort() {
  if (!FPainter)
    return;
  FPrinter->abort();
  FCanvas.reset();
  FPainter->end();
  FPainter.reset();
}

TCanvas &TQtPrinter::Canvas() {
  if (!FCanvas)
    throw EPrinterError("Es ist kein Druckauftrag offen.");
  return *FCanvas;
}

} // namespace kzp
