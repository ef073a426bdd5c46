// The dialog service over Qt's message boxes and file dialogs.
#pragma once

#include "platform/Dialogs.h"

class TQtDialogs : public TDialogs {
public:
  TModalResult MessageDlg(TDialogOwner owner, const std::string &text, const std::string &caption,
                          TMsgDlgType type, TMsgDlgButtons buttons) override;
  std::string OpenFileName(TDialogOwner owner, const std::string &title,
                           const std::string &filter) override;
  std::string SaveFileName(TDialogOwner owner, const std::string &title,
                           const std::string &filter) override;
  std::string BrowseForFolder(const std::string &caption, const std::string &preset) override;
  bool AskNumber(TDialogOwner owner, const std::string &caption, const std::string &label,
                 int &value, int min, int max) override;
};

// The filter in the form Qt's file dialogs take ("Desc (*.a *.b);;Other (*)").
class QString;
QString QtFilterString(const std::string &filter);
