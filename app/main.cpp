// Start-up of the studio: for now the bare main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvex Template Studio"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tarvex Template Studio"));
    window.resize(1024, 720);
    window.show();
    return app.exec();
}
