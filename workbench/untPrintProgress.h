// The progress window of a print job: the page being printed, and "Abbrechen" to stop the job.
#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
namespace Ui {
class frmPrintProgress;
}

class TfrmPrintProgress : public QDialog {
  Q_OBJECT
public:
  explicit TfrmPrintProgress(QWidget *parent = nullptr);
  ~TfrmPrintProgress() override;

  // Shows that page `page` of `pageCount` is being printed.
  void ShowPage(int page, int pageCount);
  // Set once "Abbrechen" was pressed or the window was closed.
  bool Cancelled() const { return cancelled_; }

  QLabel *lblPage;
  QProgressBar *pbPages;
  QPushButton *btnCancel;

protected:
  void reject() override;

private:
  std::unique_ptr<Ui::frmPrintProgress> ui_;
  bool cancelled_ = false;
};
