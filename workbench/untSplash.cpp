// The splash window. The picture is a JPEG among the program's resources, decoded with
// libjpeg; without it the window keeps its size and stays blank rather than failing.
#include "workbench/untSplash.h"

#include "workbench/JpegImage.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace {
constexpr int kSplashWidth = 518;
constexpr int kSplashHeight = 258;
} // namespace

QImage LoadSplashPicture() {
  QFile file(QStringLiteral(":/splash.jpg"));
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return DecodeJpeg(file.readAll());
}

TfrmSplash::TfrmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), picture_(LoadSplashPicture()) {
  Image1 = new QLabel(this);
  const QSize size = picture_.isNull() ? QSize(kSplashWidth, kSplashHeight) : picture_.size();
  Image1->setGeometry(0, 0, size.width(), size.height());
  if (!picture_.isNull())
    Image1->setPixmap(QPixmap::fromImage(picture_));
  setFixedSize(size);
  if (const QScreen *screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(size.width() / 2, size.height() / 2));
  }
}
