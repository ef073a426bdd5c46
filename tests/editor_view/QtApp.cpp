// The shared test application; without a display it runs on the offscreen platform.
#include "QtApp.h"

#include <QApplication>

void EnsureQtApp() {
  if (QApplication::instance())
    return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_editor_view";
  static char *argv[] = {name, nullptr};
  static QApplication app(argc, argv);
}
