// The New-pack dialog: the five metadata strings and the target file of a new pack.
#pragma once

#include "pack/PackStore.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
namespace Ui {
class frmNew;
}

class TfrmNew : public QDialog {
  Q_OBJECT
public:
  explicit TfrmNew(QWidget *parent = nullptr);
  ~TfrmNew() override;

  // "..." chooses the target file; "Templatepack erstellen" confirms.
  void Button2Click();
  void Button1Click();

  // The five fields in pack order, as the pack's 8-bit strings.
  kzpMetaData MetaData() const;
  // The target path, as the file system spells it.
  std::string TargetPath() const;
  // Empties the target and the five fields, as the New command does after each use.
  void ClearFields();

  QLabel *StaticText1;
  QLineEdit *metaTitel, *metaAuthor, *metaAuthorMail, *metaAuthorWeb, *metaOrdner;
  QLineEdit *Edit1;
  QPushButton *Button1, *Button2;
  QLabel *act; // hidden result marker: "no" until confirmed, then "do"

private:
  std::unique_ptr<Ui::frmNew> ui_;
};
