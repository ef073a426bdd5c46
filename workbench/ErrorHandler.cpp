// The error handler and the application object that installs it around every event.
#include "workbench/ErrorHandler.h"

#include "platform/Dialogs.h"

void ShowException(const std::exception &error)
{
    Dialogs().MessageDlg(nullptr, error.what(), "Tarvex Template Studio", TMsgDlgType::mtError,
                         TMsgDlgButtons::mbOK);
}

TKzApplication::TKzApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TKzApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowException(error);
    }
    return false;
}
