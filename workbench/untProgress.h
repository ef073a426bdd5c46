// The progress window of the folder import: one bar, above the other windows, not modal.
#pragma once

#include <QWidget>

#include <memory>

class QProgressBar;
namespace Ui {
class frmProgress;
}

class TfrmProgress : public QWidget {
  Q_OBJECT
public:
  explicit TfrmProgress(QWidget *parent = nullptr);
  ~TfrmProgress() override;

  QProgressBar *ProgressBar1;

protected:
  void showEvent(QShowEvent *event) override;

private:
  std::unique_ptr<Ui::frmProgress> ui_;
};
