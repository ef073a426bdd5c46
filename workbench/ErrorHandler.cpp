// The error handler and the application object that installs it around every event.
#include "workbench/ErrorHandler.h"

#include "pack/PackStore.h"
#include "platform/Dialogs.h"
#include "platform/FileErrors.h"

namespace {
void ShowText(const std::string &text) {
  Dialogs().MessageDlg(nullptr, text, "Tarvex Template Studio", TMsgDlgType::mtError,
                       TMsgDlgButtons::mbOK);
}
} // namespace

void ShowException(const std::exception &error) {
  if (dynamic_cast<const EPackCancelled *>(&error))
    return;
  ShowText(kzp::ExceptionText(error));
}

void ShowUnknownException() { ShowText(kzp::kUnknownErrorText); }

TKzApplication::TKzApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TKzApplication::notify(QObject *receiver, QEvent *event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception &error) {
    ShowException(error);
  } catch (...) {
    ShowUnknownException();
  }
  return false;
}
