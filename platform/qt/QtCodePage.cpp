#include "platform/qt/QtCodePage.h"

#include "platform/CodePage.h"

#include <QList>

namespace kzp::codepage {

QString ToQString(const std::string &text) {
  std::u32string u = ToUnicodeString(text);
  return QString::fromUcs4(u.data(), static_cast<qsizetype>(u.size()));
}

std::string FromQString(const QString &text, bool *lossless) {
  QList<uint> ucs4 = text.toUcs4();
  std::u32string u(ucs4.begin(), ucs4.end());
  return FromUnicodeString(u, lossless);
}

} // namespace kzp::codepage
