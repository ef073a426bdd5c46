// The completion list bound to editors: it opens on its shortcut or shortly after a trigger
// character, completes the token left of the caret with the chosen entry and closes again.
#pragma once

#include "completion/KzBaseCompletionProposal.h"
#include "editor/KzEditKbdHandler.h"
#include "editor/KzEditKeyCmds.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TCustomKzEdit;
class TKzCompletionProposal;
namespace kzp {
class TStoredValue;
}

// Raised before the value replaces the token; the handler may change it.
using TCodeCompletionEvent = std::function<void(TKzCompletionProposal &, std::string &value,
                                                TShiftState, int index, char endToken)>;
// Raised after the value was inserted.
using TAfterCodeCompletionEvent = std::function<void(
    TKzCompletionProposal &, const std::string &value, TShiftState, int index, char endToken)>;
using TCompletionNotify = std::function<void(TKzCompletionProposal &)>;

// Ctrl+Space as a shortcut value.
inline constexpr std::uint16_t KzCompletionDefaultShortCut = 16416;

class TKzCompletionProposal : public TKzBaseCompletionProposal {
public:
  explicit TKzCompletionProposal(TKzCompletionHost &host, TKzComponent *owner = nullptr);
  ~TKzCompletionProposal() override;

  const char *ClassName() const override { return "TKzCompletionProposal"; }

  // Virtual key in the low 13 bits, Shift 0x2000, Ctrl 0x4000, Alt 0x8000.
  std::uint16_t ShortCut = KzCompletionDefaultShortCut;
  // The editor of the stored configuration; setting it detaches the previous one.
  TCustomKzEdit *Editor() const { return FEditor; }
  void SetEditor(TCustomKzEdit *editor);
  int TimerInterval() const { return FTimerInterval; }
  void SetTimerInterval(int milliseconds);
  // Setting scoUseBuiltInTimer makes the trigger timer, clearing it frees the timer.
  void SetOptions(TKzCompletionOptions options) override;
  bool TimerExists() const { return FTimerExists; }
  bool TimerEnabled() const { return FTimerEnabled; }

  void AttachEditor(TCustomKzEdit &editor);
  // False when the editor was not attached.
  bool DetachEditor(TCustomKzEdit &editor);
  const std::vector<TCustomKzEdit *> &AttachedEditors() const { return FAttached; }

  // Opens the list for the caret of an attached, writable editor.
  void OpenAt(TCustomKzEdit &editor);
  // The token left of the caret that the list completes; sets TokenStartColumn.
  std::string CurrentInputOf(TCustomKzEdit &editor);
  void CloseList();
  // CloseList, then OnCancelled.
  void CancelList();

  // The next character that reaches an attached editor is dropped (the shortcut's own).
  bool SwallowNextChar = false;
  // Column of the caret line where the token being completed starts.
  int TokenStartColumn = 0;

  // ---- hooked on every attached editor ----
  void ShortcutKeyHook(TKzPersistent *sender, std::uint16_t &key, TShiftState shift);
  void TriggerCharHook(TKzPersistent *sender, char &c);
  void CommandWatchHook(TCustomKzEdit &editor, bool afterProcessing, bool &handled,
                        TKzEditorCommand &command, char &c, void *data, void *handlerData);
  void TimerTick();

  // ---- the list window's notifications ----
  void ForwardChar(TKzBaseCompletionProposalForm &form, char c);
  void AcceptEntry(TKzBaseCompletionProposalForm &form, TShiftState shift, char endChar);
  void AbortList(TKzBaseCompletionProposalForm &form);

  TCodeCompletionEvent OnCodeCompletion;
  TAfterCodeCompletionEvent OnAfterCodeCompletion;
  TCompletionNotify OnCancelled;

private:
  bool IsAttached(const TCustomKzEdit &editor) const;
  bool IsTriggerChar(char c) const;
  void EnableTimer();
  void DisableTimer();
  // The value that replaces the selected token.
  std::string ChooseValue(TCustomKzEdit &editor, char endChar) const;

  TCustomKzEdit *FEditor = nullptr;
  std::vector<TCustomKzEdit *> FAttached;
  int FTimerInterval = 1000;
  bool FTimerExists = false;
  bool FTimerEnabled = false;
  TCustomKzEdit *FTimerEditor = nullptr; // whose host runs the timer
};

// Applies the completion list's object of a window's stored form: "Options" (names), "Width",
// "NbLinesInWindow", "EndOfTokenChr", "TriggerChars", "Title", "Font" and "TitleFont" ({ "Name",
// "Height", "Style" bits, "Color" name or number }), "Columns" ([ { "BiggestWord",
// "DefaultFontStyle" } ]), "ShortCut" (text or number) and "TimerInterval". A malformed value
// or an unknown option raises kzp::EStoredFormError.
void LoadStoredCompletionSettings(TKzCompletionProposal &proposal,
                                  const kzp::TStoredValue &component);
