// The Add-file dialog: a source file and the name it gets inside the pack.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

class QLineEdit;
class QPushButton;
namespace Ui {
class frmAddFile;
}

class TfrmAddFile : public QDialog {
  Q_OBJECT
public:
  explicit TfrmAddFile(QWidget *parent = nullptr);
  ~TfrmAddFile() override;

  void Button1Click(); // "...": choose the source file
  void Button2Click(); // "Ok"
  void Button3Click(); // "Abbrechen"

  // The source path as the file system spells it; empty means nothing is to be added.
  std::string SourcePath() const;
  // The target name as the pack's 8-bit string, exactly as typed.
  std::string TargetName() const;

  QLineEdit *edFile, *edZiel;
  QPushButton *Button1, *Button2, *Button3;

private:
  std::unique_ptr<Ui::frmAddFile> ui_;
};
