// A PDF file as a printer: QPdfWriter into a temporary file that takes the target's name
// once the document is complete.
#include "platform/qt/QtPdfPrinter.h"

#include "platform/qt/QtCanvas.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kzp {

namespace {

// Renames without ever replacing an existing file: renameat2 where the file system knows
// it, else a hard link (which fails on an existing name) and the removal of the old name.
int RenameNoReplace(const std::string &from, const std::string &to) {
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return 0;
  if (errno != EINVAL && errno != ENOSYS)
    return errno;
#endif
  if (::link(from.c_str(), to.c_str()) != 0)
    return errno;
  ::unlink(from.c_str());
  return 0;
}

std::string Reason(int error) {
  switch (error) {
  case EEXIST: return "Die Datei existiert bereits.";
  case EACCES:
  case EPERM:
  case EROFS: return "Zugriff verweigert.";
  case ENOSPC:
  case EDQUOT: return "Der Datenträger ist voll.";
  case ENOENT:
  case ENOTDIR: return "Der Ordner existiert nicht.";
  default: return std::strerror(error);
  }
}

} // namespace

struct TQtPdfPrinter::TDocument {
  QTemporaryFile File;
  std::unique_ptr<QPdfWriter> Writer;
  QPainter Painter;
  std::unique_ptr<TQtCanvas> Canvas;
  explicit TDocument(const QString &templateName) : File(templateName) {}
};

TQtPdfPrinter::TQtPdfPrinter(const std::string &path, bool replaceExisting)
    : FPath(path), FReplace(replaceExisting) {}

TQtPdfPrinter::~TQtPdfPrinter() { Abort(); }

std::vector<std::string> TQtPdfPrinter::Printers() const { return {"PDF"}; }

bool TQtPdfPrinter::Printing() const { return FDoc != nullptr; }

void TQtPdfPrinter::BeginDoc() {
  Abort();
  const QFileInfo target(QString::fromStdString(FPath));
  // Hidden beside the target, so the final rename stays on one file system.
  auto doc = std::make_unique<TDocument>(target.absolutePath() + QStringLiteral("/.") +
                                         target.fileName() + QStringLiteral(".XXXXXX"));
  if (!doc->File.open()) {
    const int error = errno ? errno : EACCES;
    throw EPrinterError("Die Datei \"" + FPath + "\" kann nicht angelegt werden. " + Reason(error));
  }
  doc->Writer = std::make_unique<QPdfWriter>(&doc->File);
  QPdfWriter &w = *doc->Writer;
  w.setResolution(A4At300Dpi.XResolution);
  w.setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  w.setCreator(QStringLiteral("Tarvex Template Studio"));
  w.setTitle(QString::fromStdString(FTitle));
  if (!doc->Painter.begin(&w))
    throw EPrinterError("Die Datei \"" + FPath + "\" kann nicht beschrieben werden.");
  doc->Canvas = std::make_unique<TQtCanvas>(&doc->Painter);
  FDoc = std::move(doc);
  StartSheet();
}

void TQtPdfPrinter::StartSheet() {
  FDoc->Painter.resetTransform();
  FDoc->Painter.translate(A4At300Dpi.LeftOffset, A4At300Dpi.TopOffset);
}

void TQtPdfPrinter::NewPage() {
  if (!FDoc)
    return;
  if (!FDoc->Writer->newPage())
    throw EPrinterError("In die Datei \"" + FPath + "\" kann keine neue Seite geschrieben werden.");
  StartSheet();
}

void TQtPdfPrinter::EndDoc() {
  if (!FDoc)
    return;
  std::unique_ptr<TDocument> doc = std::move(FDoc);
  doc->Canvas.reset();
  doc->Painter.end();
  doc->Writer.reset();
  // The bytes are on the disk before the file gets its name, so a crash right after never
  // leaves a truncated PDF under the target's name.
  // The temporary file is private while it is written; the finished PDF gets the mode any
  // new file of the user gets.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  const bool written = doc->File.flush() && doc->File.error() == QFileDevice::NoError &&
                       ::fchmod(doc->File.handle(), 0666 & ~mask) == 0 &&
                       ::fsync(doc->File.handle()) == 0;
  const int writeError = errno ? errno : EIO;
  const std::string temp = doc->File.fileName().toStdString();
  doc->File.close();
  if (!written)
    throw EPrinterError("Die Datei \"" + FPath + "\" konnte nicht geschrieben werden. " +
                        Reason(writeError));
  int error = 0;
  if (FReplace)
    error = std::rename(temp.c_str(), FPath.c_str()) == 0 ? 0 : errno;
  else
    error = RenameNoReplace(temp, FPath);
  if (error != 0)
    throw EPrinterError("Die Datei \"" + FPath + "\" konnte nicht gespeichert werden. " +
                        Reason(error));
  doc->File.setAutoRemove(false);
}

void TQtPdfPrinter::Abort() {
  if (!FDoc)
    return;
  FDoc->Canvas.reset();
  FDoc->Painter.end();
  FDoc.reset(); // the temporary file goes with it
}

TCanvas &TQtPdfPrinter::Canvas() {
  if (!FDoc)
    throw EPrinterError("Es ist kein Druckauftrag offen.");
  return *FDoc->Canvas;
}

} // namespace kzp
