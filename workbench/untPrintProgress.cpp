// The print progress window. It is modal while it is up, so nothing can change the pack or
// start a second job while the pages go out.
#include "workbench/untPrintProgress.h"

#include "ui_frmPrintProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

TfrmPrintProgress::TfrmPrintProgress(QWidget *parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmPrintProgress>()) {
  ui_->setupUi(this);
  lblPage = ui_->lblPage;
  pbPages = ui_->pbPages;
  btnCancel = ui_->btnCancel;
  setModal(true);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmPrintProgress::reject);
}

TfrmPrintProgress::~TfrmPrintProgress() = default;

void TfrmPrintProgress::ShowPage(int page, int pageCount) {
  pbPages->setMaximum(pageCount);
  pbPages->setValue(page);
  lblPage->setText(QStringLiteral("Seite %1 von %2 wird gedruckt …").arg(page).arg(pageCount));
}

void TfrmPrintProgress::reject() {
  // The job stops at the next page; the window goes when the job is over.
  cancelled_ = true;
  btnCancel->setEnabled(false);
  lblPage->setText(QStringLiteral("Der Druckauftrag wird abgebrochen …"));
}
