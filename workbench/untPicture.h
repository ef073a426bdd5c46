// The file viewer of the project explorer: a picture of the pack shown as it is, any other
// file described by its name, size and type.
#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QScrollArea;

// The bytes of the first file record named `name` in `records`; none when there is none.
std::optional<std::string> PackFileBytes(const std::vector<std::string> &records,
                                         const std::string &name);

class TfrmPicture : public QDialog {
  Q_OBJECT
public:
  explicit TfrmPicture(QWidget *parent = nullptr);

  // Shows the file `name` (as the tree shows it) with its bytes.
  void ShowFile(const QString &name, const std::string &bytes);

  // Whether the last file shown was decoded as a picture.
  bool ShowsPicture() const { return showsPicture_; }

  QLabel *Picture; // the picture, empty for other files
  QLabel *Info;    // name, size, type

private:
  QScrollArea *scroll_;
  bool showsPicture_ = false;
};
