// Start-up of the studio: splash picture, main window, the single windows, the event loop.
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtShell.h"
#include "workbench/AppWindows.h"
#include "workbench/ErrorHandler.h"
#include "workbench/HtmlHelp.h"
#include "workbench/Resources.h"
#include "workbench/untMain.h"
#include "workbench/untSplash.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <memory>

namespace {
// Shows the splash for `ms` milliseconds while still answering paint requests.
void PauseWithSplash(int ms)
{
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
void ShowMaximized(QWidget &window)
{
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
} // namespace

int main(int argc, char *argv[])
{
    TKzApplication app(argc, argv);
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
    if (qtGerman.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
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
