// The print commands of the main window: "Drucken" on the default printer (or into a PDF when
// the machine has none), "Druckvorschau" and "Als PDF exportieren …", with the progress window.
#include "workbench/untMain.h"

#include "highlight/KzHighlighterHtml.h"
#include "pack/PackStore.h"
#include "platform/Dialogs.h"
#include "platform/StoredForm.h"
#include "platform/qt/QtCodePage.h"
#include "platform/qt/QtPdfPrinter.h"
#include "platform/qt/QtPrinter.h"
#include "print/KzEditPrint.h"
#include "print/KzEditPrintStoredForm.h"
#include "workbench/ErrorHandler.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untPrintPreview.h"
#include "workbench/untPrintProgress.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

const char *const kPrintCaption = "Drucken";

// The name a PDF of a template gets: the last part of its name without the extension
// ("img/x.htm" gives "x"), "Ohne Titel" when no template is open or nothing is left.
QString PdfBaseName(const std::string &templateName) {
  if (templateName == "na")
    return QStringLiteral("Ohne Titel");
  QString name = kzp::codepage::ToQString(templateName);
  name = name.mid(
      std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot > 0)
    name.truncate(dot);
  if (name.isEmpty() || name.count(QLatin1Char('.')) == name.size())
    return QStringLiteral("Ohne Titel");
  return name;
}

bool NameTaken(const QString &path) {
  std::error_code ec;
  return std::filesystem::symlink_status(path.toStdString(), ec).type() !=
         std::filesystem::file_type::not_found;
}

// Whether a new file can be made in the folder: tried for real, since permissions alone do
// not tell (a read-only mount, a folder removed since the pack was opened).
bool FolderTakesFiles(const QString &folder) {
  if (folder.isEmpty())
    return false;
  const std::string probe =
      (folder + QStringLiteral("/.kzpstudio-probe-%1").arg(::getpid())).toStdString();
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0)
    return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

// The first free name of base.pdf, "base (2).pdf", "base (3).pdf", ... in the folder.
QString FreePdfPath(const QString &folder, const QString &base) {
  QString path = folder + QLatin1Char('/') + base + QStringLiteral(".pdf");
  for (int n = 2; NameTaken(path); ++n)
    path = folder + QLatin1Char('/') + base + QStringLiteral(" (%1).pdf").arg(n);
  return path;
}

} // namespace

void TfrmMain::SetupPrintJob(const kzp::TStoredValue &stored) {
  printJob = std::make_unique<TKzEditPrint>();
  // The print settings fixed with the window's layout.
  RunGuarded([&] {
    if (const kzp::TStoredValue *settings = stored.Find("printJob"))
      LoadStoredPrintSettings(*printJob, *settings,
                              [this](const std::string &name) -> TKzCustomHighlighter * {
                                return name == "htmlHighlight" ? htmlHighlight.get() : nullptr;
                              });
  });
}

void TfrmMain::BindPrintJob() {
  printJob->TakeFromEditor(editor->Core());
  printJob->SetTitle(ThePackStore().CurrentTemplate);
}

bool TfrmMain::RunPrintJob(kzp::TPrinter &printer) {
  TfrmPrintProgress progress(this);
  QElapsedTimer clock;
  clock.start();
  printJob->SetPrinter(&printer);
  printJob->OnPrintStatus = [&](TKzEditPrint &job, TKzPrintStatus status, int page, bool &abort) {
    if (status != psNewPage)
      return;
    if (!progress.isVisible() && clock.elapsed() >= PrintProgressDelayMs)
      progress.show();
    if (!progress.isVisible())
      return;
    progress.ShowPage(page, job.PageCount());
    QCoreApplication::processEvents();
    abort = progress.Cancelled();
  };
  struct TUnbind {
    TKzEditPrint &Job;
    ~TUnbind() {
      Job.OnPrintStatus = nullptr;
      Job.SetPrinter(nullptr);
    }
  } unbind{*printJob};
  printJob->PrintAll();
  return !printJob->Aborted();
}

void TfrmMain::actItem31Click() {
  BindPrintJob();
  if (!kzp::QtPrinterNames().empty()) {
    kzp::TQtPrinter printer;
    RunPrintJob(printer);
    return;
  }
  // Without a printer the same pages go into a PDF beside the pack, or in the home folder
  // when the pack's folder takes no files.
  const std::string &packPath = ThePackStore().PackPath;
  const QString packFolder =
      packPath == "na" ? QString() : QFileInfo(QString::fromStdString(packPath)).absolutePath();
  const QString home = QDir::homePath();
  QString folder;
  for (const QString &candidate : {packFolder, home}) {
    if (FolderTakesFiles(candidate)) {
      folder = candidate;
      break;
    }
  }
  if (folder.isEmpty()) {
    const std::string where = packFolder.isEmpty()
                                  ? "im Home-Ordner (" + home.toStdString() + ")"
                                  : "im Ordner des Packs (" + packFolder.toStdString() +
                                        ") noch im Home-Ordner (" + home.toStdString() + ")";
    Dialogs().MessageDlg(this,
                         "Es ist kein Drucker eingerichtet, und die PDF-Datei kann " +
                             std::string(packFolder.isEmpty() ? "nicht " : "weder ") + where +
                             " angelegt werden. Es wurde nichts gedruckt.",
                         kPrintCaption, TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  const QString path = FreePdfPath(folder, PdfBaseName(ThePackStore().CurrentTemplate));
  kzp::TQtPdfPrinter pdf(path.toStdString(), false);
  if (!RunPrintJob(pdf))
    return;
  Dialogs().MessageDlg(
      this,
      "Es ist kein Drucker eingerichtet. Das Template wurde als PDF-Datei gespeichert:\n" +
          path.toStdString(),
      kPrintCaption, TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
}

void TfrmMain::actPrintPreviewClick() {
  BindPrintJob();
  // The preview lays the pages out for the printer "Drucken" would use.
  std::unique_ptr<kzp::TQtPrinter> printer;
  if (!kzp::QtPrinterNames().empty())
    printer = std::make_unique<kzp::TQtPrinter>();
  bool print = false;
  {
    TfrmPrintPreview preview(*printJob, printer.get(), this);
    preview.exec();
    print = preview.PrintRequested();
  }
  if (print)
    actItem31Click();
}

void TfrmMain::actExportPdfClick() {
  std::string path =
      Dialogs().SaveFileName(this, "Als PDF exportieren", "PDF-Dokument (*.pdf)|*.pdf");
  if (path.empty())
    return;
  // The file dialog has asked about replacing the name it was given; a name that only gets
  // its ".pdf" here has not been asked about.
  if (!QString::fromStdString(path).endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
    path += ".pdf";
    if (NameTaken(QString::fromStdString(path)) &&
        Dialogs().MessageDlg(
            this, "Die Datei \"" + path + "\" existiert bereits.\nMöchten Sie sie ersetzen?",
            "Als PDF exportieren", TMsgDlgType::mtConfirmation,
            TMsgDlgButtons::mbYesNoCancel) != TModalResult::mrYes)
      return;
  }
  BindPrintJob();
  kzp::TQtPdfPrinter pdf(path, true);
  RunPrintJob(pdf);
}
