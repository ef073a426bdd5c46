// Printing on the desktop's printers through QPrinter, with CUPS reached at run time for
// handing over finished documents.
#include "platform/qt/QtPrinter.h"

#include "platform/qt/QtCanvas.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <dlfcn.h>

namespace kzp {

namespace {

// The two calls of libcups that hand a file to a queue. The library is the one Qt's own CUPS
// support is built on, so it is there wherever Qt lists CUPS printers; it is opened when first
// needed, and without it printing takes Qt's direct route.
struct TCups {
  using TPrintFile = int (*)(const char *name, const char *file, const char *title, int numOptions,
                             void *options);
  using TLastError = const char *(*)();
  TPrintFile PrintFile = nullptr;
  TLastError LastError = nullptr;

  static const TCups &Get() {
    static const TCups cups = [] {
      TCups c;
      if (void *lib = ::dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL)) {
        c.PrintFile = reinterpret_cast<TPrintFile>(::dlsym(lib, "cupsPrintFile"));
        c.LastError = reinterpret_cast<TLastError>(::dlsym(lib, "cupsLastErrorString"));
      }
      return c;
    }();
    return cups;
  }
  bool Available() const { return PrintFile && LastError; }
};

} // namespace

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

TQtPrinter::TQtPrinter(const std::string &printerName)
    : FName(printerName.empty() ? QtDefaultPrinterName() : printerName) {
  const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(FName));
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

void TQtPrinter::SetTitle(const std::string &title) {
  FTitle = title;
  FPrinter->setDocName(QString::fromStdString(title));
}

void TQtPrinter::BeginDoc() {
  Abort();
  QPrinter *device = FPrinter.get();
  if (!FName.empty() && FPrinter->outputFormat() == QPrinter::NativeFormat &&
      TCups::Get().Available()) {
    FSpoolFile = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                  QStringLiteral("/kzpstudio-druck-XXXXXX.pdf"));
    if (!FSpoolFile->open()) {
      FSpoolFile.reset();
      throw EPrinterError("Für den Druckauftrag kann keine temporäre Datei angelegt werden.");
    }
    // The same sheet, margins and resolution as the queue, drawn into the file.
    FSpool = std::make_unique<QPrinter>(QPrinter::HighResolution);
    FSpool->setOutputFileName(FSpoolFile->fileName());
    FSpool->setResolution(FPrinter->resolution());
    FSpool->setPageLayout(FPrinter->pageLayout());
    FSpool->setDocName(QString::fromStdString(FTitle));
    device = FSpool.get();
  }
  FPainter = std::make_unique<QPainter>();
  if (!FPainter->begin(device)) {
    Close();
    throw EPrinterError("Der Drucker \"" + FName + "\" kann den Druckauftrag nicht annehmen.");
  }
  FCanvas = std::make_unique<TQtCanvas>(FPainter.get());
}

void TQtPrinter::NewPage() {
  QPrinter *device = FSpool ? FSpool.get() : FPrinter.get();
  if (!device->newPage())
    throw EPrinterError("Der Drucker konnte keine neue Seite beginnen.");
}

void TQtPrinter::Close() {
  FCanvas.reset();
  if (FPainter && FPainter->isActive())
    FPainter->end();
  FPainter.reset();
  FSpool.reset();
  FSpoolFile.reset(); // removes the spooled file
}

void TQtPrinter::EndDoc() {
  if (!FPainter)
    return;
  FCanvas.reset();
  const bool done = FPainter->end();
  if (done && FSpool) {
    const TCups &cups = TCups::Get();
    FSpoolFile->close();
    const QByteArray file = FSpoolFile->fileName().toLocal8Bit();
    const std::string title = FTitle.empty() ? "Tarvex Template Studio" : FTitle;
    if (cups.PrintFile(FName.c_str(), file.constData(), title.c_str(), 0, nullptr) == 0) {
      const std::string reason = cups.LastError() ? cups.LastError() : "";
      Close();
      throw EPrinterError("Der Drucker \"" + FName +
                          "\" hat den Druckauftrag abgelehnt: " + reason);
    }
  }
  Close();
  if (!done)
    throw EPrinterError("Der Druckauftrag konnte nicht abgeschlossen werden.");
}

void TQtPrinter::Abort() {
  if (!FPainter)
    return;
  // Spooled, the file simply goes; printing directly, the printer is told as far as Qt can.
  if (!FSpool)
    FPrinter->abort();
  Close();
}

TCanvas &TQtPrinter::Canvas() {
  if (!FCanvas)
    throw EPrinterError("Es ist kein Druckauftrag offen.");
  return *FCanvas;
}

} // namespace kzp
