// Start-up of the studio: splash picture, main window, the single windows, the event loop.
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtShell.h"
#include "workbench/AppWindows.h"
#include "workbench/ErrorHandler.h"
#include "workbench/HtmlHelp.h"
#include "workbench/PreviewView.h"
#include "workbench/Resources.h"
#include "workbench/untMain.h"
#include "workbench/untSplash.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {
// Shows the splash for `ms` milliseconds while still answering paint requests.
void PauseWithSplash(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    QThread::msleep(10);
  }
}

// The main window starts maximised. Maximising is the window manager's job; where there is
// none (a bare X server, a kiosk session) the window would stay at its small design size in
// a corner, so once the manager had its chance the window fills the screen's free area
// itself.
void ShowMaximized(QWidget &window) {
  window.showMaximized();
  QTimer::singleShot(300, &window, [&window] {
    const QScreen *screen = window.screen();
    if (!screen || !window.isMaximized())
      return;
    const QRect area = screen->availableGeometry();
    const QSize now = window.frameGeometry().size();
    if (now.width() * 10 < area.width() * 9 || now.height() * 10 < area.height() * 9)
      window.setGeometry(area);
  });
}
// A request to end the program from outside (the session ending, kill, Ctrl+C in the
// terminal) ends the event loop like Exit does, so that the program's clean-up runs: the
// pack store removes the copy of the pack it keeps beside it while files are being added.
// The handler itself only writes to a pipe; the loop reads it.
int quitPipe[2] = {-1, -1};

void QuitOnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(quitPipe[1], &byte, 1);
}

void QuitOnTerminationSignals(QObject &context) {
  if (::pipe2(quitPipe, O_CLOEXEC | O_NONBLOCK) != 0)
    return;
  auto *notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, &context);
  QObject::connect(notifier, &QSocketNotifier::activated, &context, [] {
    char byte;
    while (::read(quitPipe[0], &byte, 1) > 0) {
    }
    QCoreApplication::quit();
  });
  struct sigaction action {};
  action.sa_handler = QuitOnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    ::sigaction(signal, &action, nullptr);
}
} // namespace

int main(int argc, char *argv[]) {
  PreparePreviewBeforeApplication();
  TKzApplication app(argc, argv);
  QuitOnTerminationSignals(app);
  InitWorkbenchResources();

  auto splash = std::make_unique<TfrmSplash>();
  splash->show();
  splash->repaint();
  QApplication::processEvents();
  PauseWithSplash(1000);

  // The name the desktop shows for the program. No display name: Qt would append it to
  // every dialog caption.
  QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kzpstudio.png")));
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  // Qt's own buttons and dialogs speak German too ("Ja", "Nein", "Abbrechen").
  QTranslator qtGerman;
  if (qtGerman.load(QStringLiteral("qtbase_de"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtGerman);

  TQtDialogs dialogs;
  SetDialogs(&dialogs);
  TQtShell shell;
  SetShell(&shell);
  LoadHtmlHelp();

  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  const std::string programDir = QApplication::applicationDirPath().toStdString() + "/";
  int result = 0;
  {
    TfrmMain frmMain(programDir, arguments);
    CreateAppWindows(&frmMain);
    ShowMaximized(frmMain);
    splash->hide();
    splash.reset();
    result = app.exec();
    DestroyAppWindows();
    UnloadHtmlHelp();
  }
  SetShell(nullptr);
  SetDialogs(nullptr);
  return result;
}
