// The splash window: the studio's picture, borderless, centred on the desktop.
#pragma once

#include <QImage>
#include <QWidget>

class QLabel;

class TfrmSplash : public QWidget {
  Q_OBJECT
public:
  explicit TfrmSplash(QWidget *parent = nullptr);

  // The splash picture (518 by 258), null when the stored picture could not be decoded.
  const QImage &Picture() const { return picture_; }

  QLabel *Image1;

private:
  QImage picture_;
};

// The stored splash picture, decoded; null when it is missing or unreadable.
QImage LoadSplashPicture();
