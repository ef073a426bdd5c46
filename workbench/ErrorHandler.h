// The program's one error handler: a failed command ends with its German message in a box.
#pragma once

#include <QApplication>

#include <exception>

// Shows the German message of `error` in an error box owned by the active window. A change
// the user cancelled when asked (EPackCancelled) shows nothing: the user knows.
void ShowException(const std::exception &error);
// For what is thrown that is no std::exception at all.
void ShowUnknownException();

// Runs a command handler; an exception that escapes it ends the command and is shown.
template <class F> void RunGuarded(F &&handler) {
  try {
    handler();
  } catch (const std::exception &error) {
    ShowException(error);
  } catch (...) {
    ShowUnknownException();
  }
}

// The application object. Exceptions escaping an event handler that RunGuarded did not wrap
// (an editor key, a paint) end up here instead of ending the program.
class TKzApplication : public QApplication {
public:
  TKzApplication(int &argc, char **argv);
  bool notify(QObject *receiver, QEvent *event) override;
};
