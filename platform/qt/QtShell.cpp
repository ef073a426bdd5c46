// Opens web addresses through the desktop, which starts the user's browser.
#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

void TQtShell::OpenAddress(const std::string &address) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}
