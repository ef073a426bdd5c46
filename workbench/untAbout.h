// The About box: the splash picture, the program's name and the maker's web address.
#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;
class TfrmSplash;
namespace Ui {
class frmAbout;
}

// The maker's web site, shown on the About box's button and opened by it.
extern const char *const kMakerAddress;

class TfrmAbout : public QDialog {
  Q_OBJECT
public:
  // `pictureHolder` lends its picture; it is copied, so the holder may go first.
  explicit TfrmAbout(const TfrmSplash &pictureHolder, QWidget *parent = nullptr);
  ~TfrmAbout() override;

  void Button1Click(); // "Schließen"
  void Button2Click(); // the web address

  QLabel *Image1, *Label1;
  QPushButton *Button1, *Button2;

private:
  void FormCreate(const TfrmSplash &pictureHolder);
  std::unique_ptr<Ui::frmAbout> ui_;
};
