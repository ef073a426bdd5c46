// The program's one error handler: a failed command ends with its German message in a box.
#pragma once

#include <QApplication>

#include <exception>

// Shows the message of `error` (UTF-8) in an error box owned by the active window.
void ShowException(const std::exception &error);

// Runs a command handler; an exception that escapes it ends the command and is shown.
template <class F> void RunGuarded(F &&handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        ShowException(error);
    }
}

// The application object. Exceptions escaping an event handler that RunGuarded did not wrap
// (an editor key, a paint) end up here instead of ending the program.
class TKzApplication : public QApplication {
public:
    TKzApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
