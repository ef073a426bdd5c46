// The shared test application; without a display it runs on the offscreen platform. It is
// never destroyed: the font caches and the shared measuring canvas hold Qt objects that live
// to the end of the program, and tearing the application down under them crashes at exit.
#include "QtApp.h"

#include <QApplication>

void EnsureQtApp() {
  if (QApplication::instance())
    return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kz_qt_test";
  static char *argv[] = {name, nullptr};
  static QApplication *app = new QApplication(argc, argv);
  (void)app;
}
