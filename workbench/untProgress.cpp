// The progress window. It is a tool window of its owner so that it stays above the main
// window without blocking it.
#include "workbench/untProgress.h"

#include "ui_frmProgress.h"

TfrmProgress::TfrmProgress(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), ui_(std::make_unique<Ui::frmProgress>())
{
    ui_->setupUi(this);
    ProgressBar1 = ui_->ProgressBar1;
    ProgressBar1->setMinimum(0);
    hide();
}

TfrmProgress::~TfrmProgress() = default;
