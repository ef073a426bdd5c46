// The About box.
#include "workbench/untAbout.h"

#include "platform/Shell.h"
#include "ui_frmAbout.h"
#include "workbench/untSplash.h"

#include <QPixmap>

const char *const kMakerAddress = "https://www.tarvex.de";

TfrmAbout::TfrmAbout(const TfrmSplash &pictureHolder, QWidget *parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmAbout>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  Image1 = ui_->Image1;
  Label1 = ui_->Label1;
  Button1 = ui_->Button1;
  Button2 = ui_->Button2;
  Button2->setText(QString::fromUtf8(kMakerAddress));
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TfrmAbout::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TfrmAbout::Button2Click);
  FormCreate(pictureHolder);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::FormCreate(const TfrmSplash &pictureHolder) {
  if (!pictureHolder.Picture().isNull())
    Image1->setPixmap(QPixmap::fromImage(pictureHolder.Picture()));
}

void TfrmAbout::Button1Click() { accept(); }

void TfrmAbout::Button2Click() { Shell().OpenAddress(kMakerAddress); }
