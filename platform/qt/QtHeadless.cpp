// The offscreen application for programs without a window.
#include "platform/qt/QtHeadless.h"

#include <QGuiApplication>

namespace kzp {

namespace {
int gArgc = 1;
char gName[] = "kzp";
char *gArgv[] = {gName, nullptr};
} // namespace

TQtHeadlessApp::TQtHeadlessApp() {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  FApp = std::make_unique<QGuiApplication>(gArgc, gArgv);
}

TQtHeadlessApp::~TQtHeadlessApp() = default;

} // namespace kzp
