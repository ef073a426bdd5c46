// The file viewer: Qt's image readers decode what they know; everything else is described.
#include "workbench/untPicture.h"

#include "pack/KzpCodec.h"
#include "pack/PackStore.h"
#include "pack/SplitFns.h"

#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

std::optional<std::string> PackFileBytes(const std::vector<std::string> &records,
                                         const std::string &name) {
  const std::string key = "img:" + name;
  for (std::size_t i = 1; i < records.size(); ++i) {
    const std::string &record = records[i];
    if (!IsFileRecord(record) || RecordKey(record) != key)
      continue;
    std::vector<std::string> tokens;
    SplitString(record, '\t', tokens);
    return DecodeBase64(tokens.size() >= 3 ? tokens[2] : std::string());
  }
  return std::nullopt;
}

TfrmPicture::TfrmPicture(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmPicture"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  scroll_ = new QScrollArea(this);
  scroll_->setAlignment(Qt::AlignCenter);
  scroll_->setBackgroundRole(QPalette::Dark);
  Picture = new QLabel;
  Picture->setObjectName(QStringLiteral("Picture"));
  Picture->setAlignment(Qt::AlignCenter);
  scroll_->setWidget(Picture);
  scroll_->setWidgetResizable(true);
  Info = new QLabel(this);
  Info->setObjectName(QStringLiteral("Info"));
  Info->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Info->setWordWrap(true);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(scroll_, 1);
  layout->addWidget(Info);
}

void TfrmPicture::ShowFile(const QString &name, const std::string &bytes) {
  setWindowTitle(name);
  const QByteArray data =
      QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  const QMimeType type = QMimeDatabase().mimeTypeForFileNameAndData(name, data);
  const QString size = QLocale(QLocale::German).toString(static_cast<qint64>(bytes.size())) +
                       QStringLiteral(" Bytes");

  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  // The picture is shown as it is stored, turned the way its own data says.
  reader.setAutoTransform(true);
  const QImage image = reader.read();
  showsPicture_ = !image.isNull();
  if (showsPicture_) {
    Picture->setPixmap(QPixmap::fromImage(image));
    Info->setText(QStringLiteral("%1 – %2, %3 × %4 Pixel, %5")
                      .arg(name, type.comment())
                      .arg(image.width())
                      .arg(image.height())
                      .arg(size));
  } else {
    Picture->clear();
    Info->setText(QStringLiteral("Name: %1\nGröße: %2\nTyp: %3 (%4)")
                      .arg(name, size, type.comment(), type.name()));
  }
  scroll_->setVisible(showsPicture_);

  // Small pictures get a small window; big ones the better part of the screen.
  QSize wanted = showsPicture_ ? image.size() + QSize(40, 80) : QSize(360, 120);
  if (const QScreen *screen = parentWidget() ? parentWidget()->screen() : nullptr)
    wanted = wanted.boundedTo(screen->availableGeometry().size() * 3 / 4);
  resize(wanted.expandedTo(QSize(380, 140)));
  show();
  raise();
  activateWindow();
}
