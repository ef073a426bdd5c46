// The completion list's binding to editors: shortcut, trigger timer, current token, inserting
// the chosen entry and closing.
#include "completion/KzCompletionProposal.h"

#include "editor/KzEdit.h"
#include "editor/KzEditModel.h"

#include <algorithm>

namespace {

// The end-of-token characters an editor without highlighter takes as word breaks.
constexpr std::string_view kDefaultWordBreakChars = ".,;:\"'!?[](){}^-=+*/\\|";

// Ends the undo group of what came before, so it is undone separately from what follows.
void BreakUndoGroup(TCustomKzEdit &editor) {
  if (editor.UndoList().HasItems())
    editor.UndoList().AddGroupBreak();
}

} // namespace

TKzCompletionProposal::TKzCompletionProposal(TKzCompletionHost &host, TKzComponent *owner)
    : TKzBaseCompletionProposal(host, owner) {
  EndOfTokenChr = "()[]. ";
  TriggerChars = ".";
  SetOptions(KzCompletionDefaultOptions);
  TKzBaseCompletionProposalForm &form = Form();
  form.OnForwardChar = [this](TKzBaseCompletionProposalForm &f, char c) { ForwardChar(f, c); };
  form.OnAccept = [this](TKzBaseCompletionProposalForm &f, TShiftState s, char end) {
    AcceptEntry(f, s, end);
  };
  form.OnAbort = [this](TKzBaseCompletionProposalForm &f) { AbortList(f); };
  // The window lost the keyboard to another window or program: the list is gone, which
  // counts as a cancel.
  form.OnDeactivated = [this](TKzBaseCompletionProposalForm &) { CancelList(); };
}

TKzCompletionProposal::~TKzCompletionProposal() {
  if (Visible())
    CancelList();
  SetEditor(nullptr);
  while (!FAttached.empty())
    DetachEditor(*FAttached.back());
  Form().OnForwardChar = nullptr;
  Form().OnAccept = nullptr;
  Form().OnAbort = nullptr;
  Form().OnDeactivated = nullptr;
}

// ---- configuration ----

void TKzCompletionProposal::SetEditor(TCustomKzEdit *editor) {
  if (editor == FEditor)
    return;
  TCustomKzEdit *old = FEditor;
  FEditor = nullptr;
  if (old)
    DetachEditor(*old);
  FEditor = editor;
  if (editor)
    AttachEditor(*editor);
}

void TKzCompletionProposal::SetTimerInterval(int milliseconds) {
  FTimerInterval = milliseconds;
  if (FTimerEnabled && FTimerEditor)
    FTimerEditor->Host().StartTimer(TKzTimerReason::CompletionTrigger, FTimerInterval);
}

void TKzCompletionProposal::SetOptions(TKzCompletionOptions options) {
  TKzBaseCompletionProposal::SetOptions(options);
  const bool wanted = options.Contains(scoUseBuiltInTimer);
  if (wanted && !FTimerExists) {
    FTimerExists = true; // made disabled
  } else if (!wanted && FTimerExists) {
    DisableTimer();
    FTimerExists = false;
  }
}

void TKzCompletionProposal::EnableTimer() {
  TCustomKzEdit *target = Form().TargetEditor();
  if (!FTimerExists || !target)
    return;
  if (FTimerEnabled && FTimerEditor == target)
    return; // a running timer keeps running
  DisableTimer();
  FTimerEditor = target;
  FTimerEditor->Host().StartTimer(TKzTimerReason::CompletionTrigger, FTimerInterval);
  FTimerEnabled = true;
}

void TKzCompletionProposal::DisableTimer() {
  if (!FTimerEnabled)
    return;
  FTimerEnabled = false;
  if (FTimerEditor)
    FTimerEditor->Host().StopTimer(TKzTimerReason::CompletionTrigger);
  FTimerEditor = nullptr;
}

// ---- attaching ----

bool TKzCompletionProposal::IsAttached(const TCustomKzEdit &editor) const {
  return std::find(FAttached.begin(), FAttached.end(), &editor) != FAttached.end();
}

void TKzCompletionProposal::AttachEditor(TCustomKzEdit &editor) {
  if (IsAttached(editor))
    return;
  FAttached.push_back(&editor);
  editor.HookKeyDown(TKzKeyEvent::Of<&TKzCompletionProposal::ShortcutKeyHook>(this));
  editor.HookKeyPress(TKzKeyPressEvent::Of<&TKzCompletionProposal::TriggerCharHook>(this));
  editor.HookCommands(THookedCommandEvent::Of<&TKzCompletionProposal::CommandWatchHook>(this),
                      this);
  editor.OnTimer = [this](TCustomKzEdit &, TKzTimerReason reason) {
    if (reason == TKzTimerReason::CompletionTrigger)
      TimerTick();
  };
}

bool TKzCompletionProposal::DetachEditor(TCustomKzEdit &editor) {
  auto it = std::find(FAttached.begin(), FAttached.end(), &editor);
  if (it == FAttached.end())
    return false;
  FAttached.erase(it);
  if (Form().TargetEditor() == &editor) {
    if (Visible())
      CancelList();
    Form().SetTargetEditor(nullptr);
  }
  if (FTimerEditor == &editor)
    DisableTimer();
  editor.UnhookKeyDown(TKzKeyEvent::Of<&TKzCompletionProposal::ShortcutKeyHook>(this));
  editor.UnhookKeyPress(TKzKeyPressEvent::Of<&TKzCompletionProposal::TriggerCharHook>(this));
  editor.UnhookCommands(THookedCommandEvent::Of<&TKzCompletionProposal::CommandWatchHook>(this));
  editor.OnTimer = nullptr;
  if (FEditor == &editor)
    FEditor = nullptr;
  return true;
}

// ---- hooks ----

bool TKzCompletionProposal::IsTriggerChar(char c) const {
  return c != '\0' && TriggerChars.find(c) != std::string::npos;
}

void TKzCompletionProposal::ShortcutKeyHook(TKzPersistent *sender, std::uint16_t &key,
                                            TShiftState shift) {
  auto *editor = dynamic_cast<TCustomKzEdit *>(sender);
  if (!editor)
    return;
  // A character the shortcut's own key press types reaches the editor before the next key
  // goes down. Whatever is swallowed must be that character: a shortcut that typed none (or
  // opened no list) must not eat the user's next keystroke.
  SwallowNextChar = false;
  if (DefaultType() == ctCode && editor->ReadOnly())
    return;
  std::uint16_t shortCutKey = 0;
  TShiftState shortCutShift = 0;
  ShortCutToKey(ShortCut, shortCutKey, shortCutShift);
  if ((shift & ssModifierMask) == shortCutShift && key == shortCutKey) {
    Form().SetTargetEditor(editor);
    key = 0;
    OpenAt(*editor);
  }
}

void TKzCompletionProposal::TriggerCharHook(TKzPersistent *sender, char &c) {
  auto *editor = dynamic_cast<TCustomKzEdit *>(sender);
  if (!editor)
    return;
  if (SwallowNextChar) {
    SwallowNextChar = false;
    c = '\0';
    return;
  }
  if (!FTimerExists)
    return;
  if (IsTriggerChar(c)) {
    Form().SetTargetEditor(editor);
    EnableTimer();
  } else {
    DisableTimer();
  }
}

void TKzCompletionProposal::CommandWatchHook(TCustomKzEdit &editor, bool afterProcessing, bool &,
                                             TKzEditorCommand &command, char &c, void *, void *) {
  const KzCompletionType kind = DisplayKind();
  if (Visible() && kind == ctCode)
    return;
  if (!Visible()) {
    // Anything but the trigger character itself between the trigger and the timer's tick
    // means the user went on: the list does not open.
    if (FTimerExists && !(command == ecChar && IsTriggerChar(c)))
      DisableTimer();
    return;
  }
  if (!afterProcessing)
    return;
  if (kind == ctHint) {
    CloseList();
  } else if (kind == ctParams) {
    if (command == ecFocusEnter || command == ecFocusExit || (command == ecChar && c == 27))
      CloseList();
    else
      OpenAt(editor);
  }
}

void TKzCompletionProposal::TimerTick() {
  DisableTimer();
  if (Host().ApplicationActive()) {
    if (TCustomKzEdit *target = Form().TargetEditor())
      OpenAt(*target);
    SwallowNextChar = false;
  } else if (Visible()) {
    Form().Deactivate();
  }
}

// ---- opening ----

void TKzCompletionProposal::OpenAt(TCustomKzEdit &editor) {
  if (!IsAttached(editor) || (DefaultType() == ctCode && editor.ReadOnly()))
    return;
  kzp::TPoint p;
  if (DefaultType() == ctHint) {
    p = Host().MouseCursorPos();
  } else {
    // The caret cell's left edge, one line below the top of the caret row.
    p = editor.RowColumnToPixels(editor.DisplayXY());
    p.Y += editor.LineHeight();
    p = Host().EditorClientToScreen(editor, p);
  }
  TKzBaseCompletionProposalForm &form = Form();
  form.SetTargetEditor(&editor);
  form.EndOfTokenSet.reset();
  if (HasOption(scoConsiderWordBreakChars)) {
    if (TKzCustomHighlighter *h = editor.Highlighter())
      form.EndOfTokenSet = h->WordDelimiters();
    else
      for (char c : kDefaultWordBreakChars)
        form.EndOfTokenSet.set(static_cast<unsigned char>(c));
  }
  for (char c : EndOfTokenChr)
    form.EndOfTokenSet.set(static_cast<unsigned char>(c));
  std::string input = CurrentInputOf(editor);
  ShowAt(std::move(input), p.X, p.Y, DefaultType());
  DisableTimer();
  SwallowNextChar = DefaultType() == ctCode && CanExecute();
}

std::string TKzCompletionProposal::CurrentInputOf(TCustomKzEdit &editor) {
  const std::string line = editor.LineText();
  const int caretX = editor.CaretX();
  int c = caretX - 1;
  if (c > static_cast<int>(line.size())) {
    TokenStartColumn = caretX;
    return std::string();
  }
  const TKzCharSet &ends = Form().EndOfTokenSet;
  while (c > 0) {
    const unsigned char ch = static_cast<unsigned char>(line[static_cast<std::size_t>(c - 1)]);
    if (ch <= 32 || ends.test(ch))
      break;
    --c;
  }
  TokenStartColumn = c + 1;
  return line.substr(static_cast<std::size_t>(c), static_cast<std::size_t>(caretX - c - 1));
}

// ---- the open list ----

void TKzCompletionProposal::ForwardChar(TKzBaseCompletionProposalForm &form, char c) {
  TCustomKzEdit *target = form.TargetEditor();
  if (target)
    target->ProcessCommand(ecChar, c, nullptr);
  Host().ProcessMessages();
  if (IsTriggerChar(c) && !Visible() && form.TargetEditor())
    OpenAt(*form.TargetEditor());
}

std::string TKzCompletionProposal::ChooseValue(TCustomKzEdit &editor, char endChar) const {
  const TKzBaseCompletionProposalForm &form = Form();
  const bool endCharRule = HasOption(scoEndCharCompletion) || endChar == '\0';
  const int selected = form.SelectedIndex();
  const bool rowExists = selected >= 0 && selected < form.FilteredCount();
  const std::vector<std::string> &inserts = InsertList();
  auto insertEntry = [&](int i) -> const std::string * {
    return i >= 0 && i < static_cast<int>(inserts.size()) ? &inserts[static_cast<std::size_t>(i)]
                                                          : nullptr;
  };
  if (!HasOption(scoUseInsertList))
    return rowExists && endCharRule ? form.FilteredText(selected) : editor.SelectedText();
  if (HasOption(scoLimitToMatchedText)) {
    if (rowExists && endCharRule)
      if (const std::string *s = insertEntry(form.SourceIndexOf(selected)))
        return *s;
    return editor.SelectedText();
  }
  if (endCharRule)
    if (const std::string *s = insertEntry(selected))
      return *s;
  return editor.SelectedText();
}

void TKzCompletionProposal::AcceptEntry(TKzBaseCompletionProposalForm &form, TShiftState shift,
                                        char endChar) {
  TCustomKzEdit *editor = form.TargetEditor();
  if (!editor)
    return;
  // The typed token is a step of its own before the completion, and an end character typed
  // after it another one: each undo takes back exactly one of the three.
  BreakUndoGroup(*editor);
  {
    // One step of the editor: painted once, undone at once, closed on every way out.
    TKzEditTransaction edit(*editor);
    const int y = editor->CaretY();
    int endX = editor->CaretX();
    if (endChar == '\0')
      endX = std::max(endX, editor->WordEnd(editor->CaretXY()).Char);
    editor->SetSelectionAnchor({TokenStartColumn, y});
    editor->SetSelectionEnd({endX, y});

    std::string value = ChooseValue(*editor, endChar);
    const int index = form.SourceIndexOf(form.SelectedIndex());
    if (OnCodeCompletion)
      OnCodeCompletion(*this, value, shift, index, endChar);
    if (editor->SelectedText() != value)
      editor->SetSelectedText(value);

    CloseList();
    editor->SetFocus();
    editor->EnsureCursorPosVisible();
    editor->SetCaretPos(MaxPoint(editor->SelectionAnchor(), editor->SelectionEnd()));
    if (OnAfterCodeCompletion)
      OnAfterCodeCompletion(*this, value, shift, index, endChar);
  }
  BreakUndoGroup(*editor);
}

// ---- closing ----

void TKzCompletionProposal::CloseList() {
  DisableTimer();
  SwallowNextChar = false;
  if (Visible())
    Deactivate();
}

void TKzCompletionProposal::CancelList() {
  CloseList();
  if (OnCancelled)
    OnCancelled(*this);
}

void TKzCompletionProposal::AbortList(TKzBaseCompletionProposalForm &form) {
  SwallowNextChar = false;
  TCustomKzEdit *editor = form.TargetEditor();
  if (!editor)
    return;
  DisableTimer();
  Deactivate();
  editor->SetFocus();
  if (OnCancelled)
    OnCancelled(*this);
}
