// The system clipboard through Qt: plain text converted through the code page, named
// formats as raw bytes.
#include "platform/qt/QtClipboard.h"

#include "platform/qt/QtCodePage.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kzp {

std::string TQtClipboard::MimeTypeOf(const std::string &name) {
  if (name == TextFormat)
    return "text/plain";
  return "application/x-qt-windows-mime;value=\"" + name + "\"";
}

bool TQtClipboard::SetContents(const std::vector<TClipboardFormat> &formats) {
  QClipboard *cb = QGuiApplication::clipboard();
  if (!cb)
    return false;
  auto *mime = new QMimeData;
  for (const TClipboardFormat &f : formats) {
    if (f.Name == TextFormat) {
      std::string text = f.Data;
      size_t nul = text.find('\0');
      if (nul != std::string::npos)
        text.resize(nul);
      mime->setText(codepage::ToQString(text));
    } else {
      mime->setData(QString::fromStdString(MimeTypeOf(f.Name)),
                    QByteArray(f.Data.data(), static_cast<qsizetype>(f.Data.size())));
    }
  }
  cb->setMimeData(mime); // the clipboard takes ownership
  return true;
}

bool TQtClipboard::HasFormat(const std::string &name) const {
  QClipboard *cb = QGuiApplication::clipboard();
  const QMimeData *mime = cb ? cb->mimeData() : nullptr;
  if (!mime)
    return false;
  if (name == TextFormat)
    return mime->hasText();
  return mime->hasFormat(QString::fromStdString(MimeTypeOf(name)));
}

std::optional<std::string> TQtClipboard::GetFormat(const std::string &name) const {
  QClipboard *cb = QGuiApplication::clipboard();
  const QMimeData *mime = cb ? cb->mimeData() : nullptr;
  if (!mime)
    return std::nullopt;
  if (name == TextFormat) {
    if (!mime->hasText())
      return std::nullopt;
    return codepage::FromQString(mime->text());
  }
  QString type = QString::fromStdString(MimeTypeOf(name));
  if (!mime->hasFormat(type))
    return std::nullopt;
  QByteArray data = mime->data(type);
  return std::string(data.constData(), static_cast<size_t>(data.size()));
}

} // namespace kzp
