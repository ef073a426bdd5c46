// Message boxes and the file and folder pickers, behind one interface so that tests answer
// them without a person and the windows never talk to the toolkit's dialogs directly.
#pragma once

#include <string>
#include <vector>

// The window that owns a box or picker; the Qt layer reads it as a QWidget*. Null means the
// application's active window.
using TDialogOwner = void *;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
// mbReloadCancel shows "Neu laden" (answering mrYes) and "Abbrechen" (mrCancel).
enum class TMsgDlgButtons { mbOK, mbYesNoCancel, mbYesNo, mbReloadCancel };
enum class TModalResult { mrOk, mrYes, mrNo, mrCancel };

class TDialogs {
public:
  virtual ~TDialogs() = default;

  // Shows a message box and waits for the answer. Closing the box by its frame answers
  // mrCancel for Yes/No/Cancel, mrNo for Yes/No and mrOk for a box with only OK.
  virtual TModalResult MessageDlg(TDialogOwner owner, const std::string &text,
                                  const std::string &caption, TMsgDlgType type,
                                  TMsgDlgButtons buttons) = 0;

  // File pickers. `filter` pairs descriptions and patterns with "|"
  // ("ZelkoTemplateFile (*.kzp)|*.kzp"). An empty result means the user cancelled.
  virtual std::string OpenFileName(TDialogOwner owner, const std::string &title,
                                   const std::string &filter) = 0;
  virtual std::string SaveFileName(TDialogOwner owner, const std::string &title,
                                   const std::string &filter) = 0;

  // The folder picker: `preset` is selected when it names an existing folder. An empty
  // result means the user cancelled.
  virtual std::string BrowseForFolder(const std::string &caption, const std::string &preset) = 0;

  // Asks for a whole number between `min` and `max`, offering `value`; true and the number
  // in `value` when the user confirmed. A service that cannot ask answers false.
  virtual bool AskNumber(TDialogOwner owner, const std::string &caption, const std::string &label,
                         int &value, int min, int max) {
    (void)owner, (void)caption, (void)label, (void)value, (void)min, (void)max;
    return false;
  }

  // The folder the file pickers open in, and the folder picker when it has no preset;
  // empty leaves the choice to the platform.
  void SetStartFolder(const std::string &folder) { startFolder_ = folder; }
  const std::string &StartFolder() const { return startFolder_; }

private:
  std::string startFolder_;
};

// The program-wide dialog service: main() installs the real one, tests a scripted fake.
// Dialogs() without an installed service is a programming error and throws std::logic_error.
TDialogs &Dialogs();
void SetDialogs(TDialogs *dialogs);

// One "description|pattern" pair of a filter as the pickers of this platform want them:
// the patterns separated by spaces, and the catch-all "*.*" as "*" so that files without a
// dot in their name are offered too. Returns the filters one per entry.
struct TFileFilter {
  std::string Description;
  std::string Patterns;
};
std::vector<TFileFilter> ParseFileFilter(const std::string &filter);
