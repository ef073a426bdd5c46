// The Add-file dialog. It only collects the two names; the caller adds the file.
#include "workbench/untAddFile.h"

#include "platform/Dialogs.h"
#include "platform/qt/QtCodePage.h"
#include "ui_frmAddFile.h"

#include <QFileInfo>

TfrmAddFile::TfrmAddFile(QWidget *parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmAddFile>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  edFile = ui_->edFile;
  edZiel = ui_->edZiel;
  Button1 = ui_->Button1;
  Button2 = ui_->Button2;
  Button3 = ui_->Button3;
  for (QPushButton *b : {Button1, Button2, Button3})
    b->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, &TfrmAddFile::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TfrmAddFile::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TfrmAddFile::Button3Click);
}

TfrmAddFile::~TfrmAddFile() = default;

void TfrmAddFile::Button1Click() {
  const std::string path =
      Dialogs().OpenFileName(this, "Datei hinzufügen", "Alle Dateien (*.*)|*.*");
  if (path.empty())
    return;
  const QString full = QString::fromStdString(path);
  edFile->setText(full);
  edZiel->setText(QFileInfo(full).fileName());
}

void TfrmAddFile::Button2Click() {
  if (edFile->text().isEmpty() || edZiel->text().isEmpty()) {
    Dialogs().MessageDlg(this, "Bitte wählen Sie eine Datei und eine Zieldatei aus!", "Fehler",
                         TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  accept();
}

void TfrmAddFile::Button3Click() {
  edFile->clear();
  edZiel->clear();
  reject();
}

std::string TfrmAddFile::SourcePath() const { return edFile->text().toStdString(); }

std::string TfrmAddFile::TargetName() const { return kzp::codepage::FromQString(edZiel->text()); }
