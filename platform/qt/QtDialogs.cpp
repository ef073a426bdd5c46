// Message boxes and pickers shown with Qt. Captions and texts arrive as UTF-8, file and
// folder names leave as UTF-8, the encoding of the file system.
#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
QWidget *OwnerWidget(TDialogOwner owner) {
  if (owner)
    return static_cast<QWidget *>(owner);
  return QApplication::activeWindow();
}

QMessageBox::Icon IconOf(TMsgDlgType type) {
  switch (type) {
  case TMsgDlgType::mtWarning: return QMessageBox::Warning;
  case TMsgDlgType::mtError: return QMessageBox::Critical;
  case TMsgDlgType::mtInformation: return QMessageBox::Information;
  case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}
} // namespace

QString QtFilterString(const std::string &filter) {
  QStringList parts;
  for (const TFileFilter &f : ParseFileFilter(filter)) {
    const QString desc = QString::fromStdString(f.Description);
    const QString patterns = QString::fromStdString(f.Patterns);
    // Qt reads the patterns from the parentheses of the description, so a description
    // that already names them in its own parentheses is kept; otherwise they are added.
    if (desc.endsWith(QLatin1Char(')')) && desc.contains(QLatin1Char('(')))
      parts << desc.left(desc.lastIndexOf(QLatin1Char('('))) + QLatin1Char('(') + patterns +
                   QLatin1Char(')');
    else
      parts << desc + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return parts.join(QStringLiteral(";;"));
}

TModalResult TQtDialogs::MessageDlg(TDialogOwner owner, const std::string &text,
                                    const std::string &caption, TMsgDlgType type,
                                    TMsgDlgButtons buttons) {
  QMessageBox box(IconOf(type), QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::NoButton, OwnerWidget(owner));
  QPushButton *reload = nullptr;
  switch (buttons) {
  case TMsgDlgButtons::mbYesNoCancel:
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    break;
  case TMsgDlgButtons::mbYesNo:
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    break;
  case TMsgDlgButtons::mbReloadCancel:
    reload = box.addButton(QStringLiteral("Neu laden"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(reload);
    box.setEscapeButton(QMessageBox::Cancel);
    break;
  case TMsgDlgButtons::mbOK: box.setStandardButtons(QMessageBox::Ok); break;
  }
  const int answer = box.exec();
  if (reload)
    return box.clickedButton() == reload ? TModalResult::mrYes : TModalResult::mrCancel;
  switch (answer) {
  case QMessageBox::Yes: return TModalResult::mrYes;
  case QMessageBox::No: return TModalResult::mrNo;
  case QMessageBox::Ok: return TModalResult::mrOk;
  default:
    if (buttons == TMsgDlgButtons::mbYesNo)
      return TModalResult::mrNo;
    return buttons == TMsgDlgButtons::mbOK ? TModalResult::mrOk : TModalResult::mrCancel;
  }
}

std::string TQtDialogs::OpenFileName(TDialogOwner owner, const std::string &title,
                                     const std::string &filter) {
  return QFileDialog::getOpenFileName(OwnerWidget(owner), QString::fromStdString(title),
                                      QString::fromStdString(StartFolder()), QtFilterString(filter))
      .toStdString();
}

std::string TQtDialogs::SaveFileName(TDialogOwner owner, const std::string &title,
                                     const std::string &filter) {
  // The name is taken as chosen: no extension is appended behind the user's back.
  QFileDialog dialog(OwnerWidget(owner), QString::fromStdString(title),
                     QString::fromStdString(StartFolder()), QtFilterString(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QString());
  // Confirming an existing file is how the user picks a pack to reuse, so no overwrite
  // question: nothing is overwritten there.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst().toStdString();
}

std::string TQtDialogs::BrowseForFolder(const std::string &caption, const std::string &preset) {
  QString start = QString::fromStdString(preset);
  if (!start.isEmpty() && !QFileInfo(start).isDir())
    start.clear();
  if (start.isEmpty() && QFileInfo(QString::fromStdString(StartFolder())).isDir())
    start = QString::fromStdString(StartFolder());
  if (start.isEmpty())
    start = QDir::homePath();
  // A modal dialog disables the program's other windows while it is open and enables them
  // again afterwards, whatever the answer.
  return QFileDialog::getExistingDirectory(QApplication::activeWindow(),
                                           QString::fromStdString(caption), start,
                                           QFileDialog::ShowDirsOnly)
      .toStdString();
}

bool TQtDialogs::AskNumber(TDialogOwner owner, const std::string &caption, const std::string &label,
                           int &value, int min, int max) {
  bool ok = false;
  const int answer = QInputDialog::getInt(OwnerWidget(owner), QString::fromStdString(caption),
                                          QString::fromStdString(label), value, min, max, 1, &ok);
  if (ok)
    value = answer;
  return ok;
}
