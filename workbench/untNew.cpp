// The New-pack dialog. Empty fields get defaults on confirmation, because an empty metadata
// string does not survive the pack format.
#include "workbench/untNew.h"

#include "platform/Dialogs.h"
#include "ui_frmNew.h"
#include "workbench/PackText.h"

#include <QFileInfo>

TfrmNew::TfrmNew(QWidget *parent) : QDialog(parent), ui_(std::make_unique<Ui::frmNew>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  StaticText1 = ui_->StaticText1;
  metaTitel = ui_->metaTitel;
  metaAuthor = ui_->metaAuthor;
  metaAuthorMail = ui_->metaAuthorMail;
  metaAuthorWeb = ui_->metaAuthorWeb;
  metaOrdner = ui_->metaOrdner;
  Edit1 = ui_->Edit1;
  Button1 = ui_->Button1;
  Button2 = ui_->Button2;
  act = ui_->act;
  act->hide();
  Button1->setAutoDefault(false);
  Button2->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, &TfrmNew::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TfrmNew::Button2Click);
}

TfrmNew::~TfrmNew() = default;

void TfrmNew::Button2Click() {
  const std::string path =
      Dialogs().SaveFileName(this, "Zieldatei wählen", "Zelko Template File (*.kzp)|*.kzp");
  if (!path.empty())
    Edit1->setText(QString::fromStdString(path));
}

void TfrmNew::Button1Click() {
  if (Edit1->text().isEmpty()) {
    Dialogs().MessageDlg(this, "Bitte geben Sie eine Zieldatei an!", "Erstellen",
                         TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  // The pack keeps the program's 8-bit text; a character outside it would silently vanish.
  if (const char *label =
          FirstUnfitMetaField(metaTitel, metaAuthor, metaAuthorMail, metaAuthorWeb, metaOrdner)) {
    Dialogs().MessageDlg(this,
                         std::string("Das Feld \"") + label +
                             "\" enthält Zeichen, die ein Template-Pack nicht speichern kann.",
                         "Erstellen", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  // An existing file is reused as the new pack: its templates and files stay, but its
  // metadata are replaced by these fields, which nothing else warns about.
  if (QFileInfo(Edit1->text()).isFile() &&
      Dialogs().MessageDlg(
          this,
          "Die Datei „" + Edit1->text().toStdString() +
              "“ gibt es schon. Ihre Templates und Dateien bleiben erhalten, ihre Metadaten "
              "werden aber durch die eingegebenen ersetzt.\nMöchten Sie fortfahren?",
          "Erstellen", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) != TModalResult::mrYes)
    return;
  act->setText(QStringLiteral("do"));
  const std::pair<QLineEdit *, const char *> defaults[] = {{metaTitel, "Neues Template"},
                                                           {metaAuthor, "Autor"},
                                                           {metaAuthorMail, "nicht definiert"},
                                                           {metaAuthorWeb, "nicht definiert"},
                                                           {metaOrdner, "undefined"}};
  for (const auto &[field, text] : defaults)
    if (field->text().isEmpty())
      field->setText(QString::fromUtf8(text));
  accept();
}

kzpMetaData TfrmNew::MetaData() const {
  return MetaDataOf(metaTitel, metaAuthor, metaAuthorMail, metaAuthorWeb, metaOrdner);
}

std::string TfrmNew::TargetPath() const { return Edit1->text().toStdString(); }

void TfrmNew::ClearFields() {
  for (QLineEdit *field : {Edit1, metaTitel, metaAuthor, metaAuthorMail, metaAuthorWeb, metaOrdner})
    field->clear();
}
