// The print preview. Each page is drawn by the print job itself on an image of the sheet, so
// the preview shows exactly the layout the printer gets.
#include "workbench/untPrintPreview.h"

#include "platform/qt/QtCanvas.h"
#include "print/KzEditPrint.h"
#include "ui_frmPrintPreview.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>

#include <algorithm>
#include <array>

namespace {
constexpr std::array<int, 7> kZooms = {25, 50, 75, 100, 125, 150, 200};
constexpr double kScreenDpi = 96.0;
} // namespace

TfrmPrintPreview::TfrmPrintPreview(TKzEditPrint &job, kzp::TPrinter *printer, QWidget *parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmPrintPreview>()), job_(job),
      measureDevice_(1, 1, QImage::Format_RGB32) {
  ui_->setupUi(this);
  lblPage = ui_->lblPage;
  lblZoom = ui_->lblZoom;
  lblSheet = ui_->lblSheet;
  btnFirst = ui_->btnFirst;
  btnPrevious = ui_->btnPrevious;
  btnNext = ui_->btnNext;
  btnLast = ui_->btnLast;
  btnZoomIn = ui_->btnZoomIn;
  btnZoomOut = ui_->btnZoomOut;
  btnPrint = ui_->btnPrint;
  btnClose = ui_->btnClose;
  saPage = ui_->saPage;

  job_.SetPrinter(printer);
  job_.PrinterInfo().RefreshPrinterInfo();
  measure_ = std::make_unique<kzp::TQtCanvas>(&measureDevice_);
  job_.PreparePages(*measure_);

  connect(btnFirst, &QPushButton::clicked, this, [this] { ShowPage(1); });
  connect(btnPrevious, &QPushButton::clicked, this, [this] { ShowPage(page_ - 1); });
  connect(btnNext, &QPushButton::clicked, this, [this] { ShowPage(page_ + 1); });
  connect(btnLast, &QPushButton::clicked, this, [this] { ShowPage(PageCount()); });
  connect(btnZoomIn, &QPushButton::clicked, this, [this] {
    const auto next = std::upper_bound(kZooms.begin(), kZooms.end(), zoom_);
    SetZoom(next == kZooms.end() ? kZooms.back() : *next);
  });
  connect(btnZoomOut, &QPushButton::clicked, this, [this] {
    const auto below = std::lower_bound(kZooms.begin(), kZooms.end(), zoom_);
    SetZoom(below == kZooms.begin() ? kZooms.front() : *(below - 1));
  });
  connect(btnPrint, &QPushButton::clicked, this, [this] {
    printRequested_ = true;
    accept();
  });
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
  Refresh();
}

TfrmPrintPreview::~TfrmPrintPreview() {
  // The job keeps its layout, not the canvas it was measured on.
  job_.SetPrinter(nullptr);
}

int TfrmPrintPreview::PageCount() const { return job_.PageCount(); }

void TfrmPrintPreview::ShowPage(int page) {
  page_ = std::clamp(page, 1, std::max(1, PageCount()));
  Refresh();
}

void TfrmPrintPreview::SetZoom(int percent) {
  zoom_ = std::clamp(percent, kZooms.front(), kZooms.back());
  Refresh();
}

QImage TfrmPrintPreview::RenderPage(int page) const {
  TKzEditPrinterInfo &info = job_.PrinterInfo();
  const double scale = zoom_ / 100.0 * kScreenDpi / info.XResolution();
  QImage sheet(std::max(1, qRound(info.PhysicalWidth() * scale)),
               std::max(1, qRound(info.PhysicalHeight() * scale)), QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(scale, scale);
  painter.translate(info.LeftOffset(), info.TopOffset());
  kzp::TQtCanvas canvas(&painter);
  job_.DrawPage(canvas, page);
  return sheet;
}

void TfrmPrintPreview::Refresh() {
  const QImage sheet = RenderPage(page_);
  lblSheet->setPixmap(QPixmap::fromImage(sheet));
  lblSheet->resize(sheet.size());
  lblPage->setText(QStringLiteral("Seite %1 von %2").arg(page_).arg(PageCount()));
  lblZoom->setText(QStringLiteral("%1 %").arg(zoom_));
  btnFirst->setEnabled(page_ > 1);
  btnPrevious->setEnabled(page_ > 1);
  btnNext->setEnabled(page_ < PageCount());
  btnLast->setEnabled(page_ < PageCount());
  btnZoomIn->setEnabled(zoom_ < kZooms.back());
  btnZoomOut->setEnabled(zoom_ > kZooms.front());
}

void TfrmPrintPreview::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
  case Qt::Key_PageDown: ShowPage(page_ + 1); return;
  case Qt::Key_PageUp: ShowPage(page_ - 1); return;
  case Qt::Key_Home: ShowPage(1); return;
  case Qt::Key_End: ShowPage(PageCount()); return;
  default: QDialog::keyPressEvent(event);
  }
}
