// The progress window. It is a tool window of its owner so that it stays above the main
// window without blocking it.
#include "workbench/untProgress.h"

#include "ui_frmProgress.h"

#include <QShowEvent>

TfrmProgress::TfrmProgress(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      ui_(std::make_unique<Ui::frmProgress>()) {
  ui_->setupUi(this);
  ProgressBar1 = ui_->ProgressBar1;
  ProgressBar1->setMinimum(0);
  hide();
}

TfrmProgress::~TfrmProgress() = default;

void TfrmProgress::showEvent(QShowEvent *event) {
  // A tool window is placed wherever the desktop likes (the top left corner, without a
  // window manager); like the dialogs it belongs in the middle of the main window.
  if (const QWidget *owner = parentWidget()) {
    QRect placed(QPoint(0, 0), frameGeometry().size());
    placed.moveCenter(owner->window()->frameGeometry().center());
    move(placed.topLeft());
  }
  QWidget::showEvent(event);
}
