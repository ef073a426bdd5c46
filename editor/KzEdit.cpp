// The editor control's facade: the parts composed and wired, the settings that touch more
// than one of them, the paint lock and status changes, keys and the command processor,
// focus and bookmarks.
#include "editor/KzEdit.h"

#include "editor/KzEditKeyCmds.h"

#include <algorithm>

// What the edit model asks of the control: all of it goes to the view, the paint lock, the
// status and the window's clipboard.
class TCustomKzEdit::TModelLink final : public TKzEditModelHost {
public:
  explicit TModelLink(TCustomKzEdit &edit) : E(edit) {}
  void IncPaintLock() override { E.IncPaintLock(); }
  void DecPaintLock() override { E.DecPaintLock(); }
  void StatusChanged(TKzStatusChanges changes) override { E.StatusChanged(changes); }
  void InvalidateLines(int firstLine, int lastLine) override {
    E.FView.InvalidateLines(firstLine, lastLine);
  }
  void Invalidate() override { E.FView.Invalidate(); }
  void CaretMoved(bool ensureVisible) override {
    if (ensureVisible)
      E.FView.EnsureCursorPosVisible();
    E.FView.MarkCaretPending(true);
  }
  void EnsureCaretVisible() override { E.FView.EnsureCursorPosVisible(); }
  void UpdateScrollBars() override { E.FView.UpdateScrollBars(); }
  int CharsInWindow() const override { return E.FView.CharsInWindow(); }
  kzp::TClipboard &Clipboard() override { return E.FHost.Clipboard(); }

private:
  TCustomKzEdit &E;
};

// What the view asks of the control: the paint lock, the status, the scroll width the model
// keeps, and the control's events with the control as their sender.
class TCustomKzEdit::TViewLink final : public TKzEditViewHost {
public:
  explicit TViewLink(TCustomKzEdit &edit) : E(edit) {}
  void IncPaintLock() override { E.IncPaintLock(); }
  void DecPaintLock() override { E.DecPaintLock(); }
  bool PaintLocked() const override { return E.FPaintLock != 0; }
  void StatusChanged(TKzStatusChanges changes) override { E.StatusChanged(changes); }
  void GrowMaxScrollWidth(int value) override { E.SetMaxScrollWidth(value); }
  void Scrolled(TKzScrollBarKind bar) override {
    if (E.OnScroll)
      E.OnScroll(E, bar);
  }
  void PaintHooks(kzp::TCanvas &canvas) override {
    // The painting event, then the transient hook, each on a canvas in the editor's font and
    // background that it may change at will.
    for (const TKzPaintEvent *event : {&E.OnPaint, &E.OnPaintTransient}) {
      if (!*event)
        continue;
      canvas.SaveState();
      canvas.SetFont(E.FView.Font());
      canvas.SetBrushColor(E.FView.Color());
      (*event)(E, canvas);
      canvas.RestoreState();
    }
  }
  void GutterGetText(int line, std::string &text) override {
    if (E.OnGutterGetText)
      E.OnGutterGetText(E, line, text);
  }
  void GutterPaint(int line, int x, int y) override {
    if (E.OnGutterPaint)
      E.OnGutterPaint(E, line, x, y);
  }
  void SpecialLineColors(int line, bool &special, kzp::TColor &foreground,
                         kzp::TColor &background) override {
    if (E.OnSpecialLineColors)
      E.OnSpecialLineColors(E, line, special, foreground, background);
  }
  bool HasLineMarks() const override { return bool(E.OnLineMarks); }
  void LineMarks(int line, int firstChar, int lastChar, std::vector<TKzLineMark> &marks) override {
    if (E.OnLineMarks)
      E.OnLineMarks(E, line, firstChar, lastChar, marks);
  }

private:
  TCustomKzEdit &E;
};

TCustomKzEdit::TCustomKzEdit(TKzEditHost &host, TKzComponent *owner)
    : TKzComponent(owner), FHost(host), FModelLink(std::make_unique<TModelLink>(*this)),
      FViewLink(std::make_unique<TViewLink>(*this)), FModel(FDoc, *FModelLink),
      FView(FDoc, FModel, host, *FViewLink) {
  FKeystrokes = std::make_unique<TKzEditKeyStrokes>(this);
  FKeystrokes->ResetDefaults();
  FDoc.OnLinesChanged = [this](const TKzDocumentChange &c) { LinesChanged(c); };
  FDoc.OnEndChange = [this] { LinesEndChange(); };
  FDoc.OnCleared = [this] { LinesCleared(); };
  FDoc.OnModifiedChanged = [this] { StatusChanged({scModified}); };
  FDoc.OnChange = [this] {
    if (OnChange)
      OnChange(*this);
  };
  FView.SizeOrFontChanged(true);
}

TCustomKzEdit::~TCustomKzEdit() {
  FDestroying = true;
  SetHighlighter(nullptr);
  FHookedCommands.clear();
  // The lines die with the document; nothing they report reaches the control any more.
  FDoc.OnLinesChanged = nullptr;
  FDoc.OnEndChange = nullptr;
  FDoc.OnCleared = nullptr;
  FDoc.OnModifiedChanged = nullptr;
  FDoc.OnChange = nullptr;
}

// ---- whole text ----

std::string TCustomKzEdit::Text() const {
  std::string s = Lines().GetText();
  if (s.size() >= 2)
    s.resize(s.size() - 2);
  return s;
}

void TCustomKzEdit::SetText(const std::string &text) { Lines().SetText(text); }

std::string TCustomKzEdit::LineText() const {
  const int y = CaretY();
  if (y < 1 || y > Lines().Count())
    return std::string();
  return Lines().GetLine(y - 1);
}

void TCustomKzEdit::SetLineText(const std::string &value) {
  const int y = CaretY();
  if (y >= 1 && y <= Lines().Count())
    Lines().ReplaceLine(y - 1, value);
  else if (Lines().Count() == 0)
    Lines().AddLine(value);
}

void TCustomKzEdit::ClearSelection() {
  if (SelectionAvailable())
    SetSelectedText(std::string());
}

void TCustomKzEdit::ClearAll() {
  Lines().Clear();
  Marks().clear();
  ClearUndo();
  SetTextModified(false);
}

// ---- settings that touch several parts ----

void TCustomKzEdit::SetOptions(TKzEditorOptions value) {
  if (value == Options())
    return;
  const bool pastEolDropped = HasOption(eoScrollPastEol) && !value.Contains(eoScrollPastEol);
  FModel.SetOptions(value);
  if (pastEolDropped)
    FModel.SetCaretXY(CaretXY(), true);
  FView.UpdateScrollBars();
  FView.Invalidate();
}

void TCustomKzEdit::SetInsertMode(bool value) {
  if (value == InsertMode())
    return;
  FModel.SetInsertMode(value);
  if (FHost.HasFocus() || FAlwaysShowCaret) {
    ShowPlatformCaret(false);
    ShowPlatformCaret(true);
  }
  StatusChanged({scInsertMode});
}

void TCustomKzEdit::SetReadOnly(bool value) {
  if (value == ReadOnly())
    return;
  FModel.SetReadOnly(value);
  StatusChanged({scReadOnly});
}

void TCustomKzEdit::SetTabWidth(int value) {
  value = std::min(std::max(value, 1), 256);
  if (value == TabWidth())
    return;
  FModel.SetTabWidth(value);
  FView.Invalidate();
}

void TCustomKzEdit::SetMaxScrollWidth(int value) {
  value = std::max(value, 1);
  if (value == MaxScrollWidth())
    return;
  FModel.SetMaxScrollWidth(value);
  FView.UpdateScrollBars();
}

void TCustomKzEdit::SetMaxUndo(int value) {
  if (value < 0)
    return;
  FDoc.UndoList().SetMaxUndo(value);
  FDoc.RedoList().SetMaxUndo(value);
}

void TCustomKzEdit::SetHighlighter(TKzCustomHighlighter *value) {
  TKzCustomHighlighter *old = FDoc.Highlighter();
  if (value == old)
    return;
  const TKzNotifyEvent handler = TKzNotifyEvent::Of<&TCustomKzEdit::HighlighterChanged>(this);
  if (old)
    old->RemoveChangeHandler(handler);
  FDoc.SetHighlighter(value);
  if (FDestroying)
    return;
  if (value) {
    value->AddChangeHandler(handler);
    HighlighterChanged(value);
  } else {
    FView.SizeOrFontChanged(true);
    FView.Invalidate();
  }
}

void TCustomKzEdit::HighlighterChanged(TKzPersistent *sender) {
  FDoc.UpdateWordChars();
  // A highlighter tells that it tokenizes differently; an attribute only looks different.
  if (sender && dynamic_cast<TKzCustomHighlighter *>(sender))
    FDoc.RescanAllRanges();
  FView.HighlighterChanged();
}

void TCustomKzEdit::SuspendUndo() {
  FDoc.UndoList().Lock();
  FDoc.RedoList().Lock();
}

void TCustomKzEdit::ResumeUndo() {
  FDoc.UndoList().Unlock();
  FDoc.RedoList().Unlock();
}

// ---- paint lock and status ----

void TCustomKzEdit::IncPaintLock() { ++FPaintLock; }

void TCustomKzEdit::DecPaintLock() {
  if (FPaintLock > 0)
    --FPaintLock;
  if (FPaintLock != 0)
    return;
  FView.FlushPending();
  if (!FStatusChanges.Empty())
    StatusChanged({});
}

void TCustomKzEdit::StatusChanged(TKzStatusChanges changes) {
  FStatusChanges |= changes;
  if (FPaintLock != 0 || FStatusChanges.Empty())
    return;
  TKzStatusChanges pending = FStatusChanges;
  FStatusChanges = {};
  if (OnStatusChange)
    OnStatusChange(*this, pending);
}

// ---- what the document reports ----

void TCustomKzEdit::LinesChanged(const TKzDocumentChange &change) {
  FView.InvalidateLines(change.RepaintFrom, change.RepaintTo);
  if (HasOption(eoAutoSizeMaxScrollWidth) && change.FirstIndex < Lines().Count()) {
    const int len = Lines().ExpandedLength(change.FirstIndex);
    if (len > MaxScrollWidth())
      SetMaxScrollWidth(len);
  }
}

void TCustomKzEdit::LinesEndChange() {
  if (!FHost.HandleAllocated())
    return;
  // Every text operation ends with an empty selection at the caret.
  TKzPaintLock lock(*this);
  FView.UpdateScrollBars();
  FModel.SetSelectionAnchor(CaretXY());
  FView.InvalidateGutter();
  if (!HasOption(eoScrollPastEof))
    FView.SetTopLine(FView.TopLine());
}

void TCustomKzEdit::LinesCleared() {
  TKzPaintLock lock(*this);
  FModel.ResetCaret();
  FView.SetTopLine(1);
  FView.SetLeftChar(1);
  FView.MarkCaretPending(false);
  FView.Invalidate();
  StatusChanged({scAll});
}

// ---- keys and commands ----

TKzEditorCommand TCustomKzEdit::TranslateKeyCode(std::uint16_t key, TShiftState shift) {
  return FKeystrokes->TranslateKey(key, shift, FPendingKey);
}

bool TCustomKzEdit::KeyDown(std::uint16_t &key, TShiftState shift) {
  if (!FEnabled)
    return false;
  if (key == 0) {
    // A key the platform has no code for (a character reached through AltGr, say) is no
    // command; its character must not be taken for the echo of an earlier command key. Nor
    // does it complete a two-key sequence begun before it.
    FIgnoreNextChar = false;
    FPendingKey = {};
    return false;
  }
  if (OnKeyDown)
    OnKeyDown(*this, key, shift);
  FKbdHandler.ExecuteKeyDown(this, key, shift);
  if (key == 0) {
    // A handler took the key: whatever followed the first key of a sequence was not its
    // second key.
    FIgnoreNextChar = false;
    FPendingKey = {};
    return true;
  }
  TKzEditorCommand cmd = TranslateKeyCode(key, shift);
  if (cmd != ecNone) {
    key = 0;
    FIgnoreNextChar = true;
    ProcessCommand(cmd, '\0', nullptr);
    return true;
  }
  FIgnoreNextChar = false;
  return false;
}

void TCustomKzEdit::KeyPress(char &key) {
  if (!FEnabled)
    return;
  if (FImeCount > 0) {
    --FImeCount;
    return;
  }
  if (FIgnoreNextChar) {
    FIgnoreNextChar = false;
    return;
  }
  if (OnKeyPress)
    OnKeyPress(*this, key);
  FKbdHandler.ExecuteKeyPress(this, key);
  ProcessCommand(ecChar, key, nullptr);
}

void TCustomKzEdit::KeyUp(std::uint16_t &key, TShiftState shift) {
  if (!FEnabled)
    return;
  if (OnKeyUp)
    OnKeyUp(*this, key, shift);
  FKbdHandler.ExecuteKeyUp(this, key, shift);
}

void TCustomKzEdit::ImeResult(const std::string &text, bool platformSendsChars) {
  if (!FEnabled || text.empty())
    return;
  std::string s = text;
  ProcessCommand(ecImeStr, '\0', &s);
  if (platformSendsChars)
    FImeCount = int(text.size());
}

void TCustomKzEdit::HookCommands(const THookedCommandEvent &handler, void *handlerData) {
  if (!handler)
    return;
  for (const THookedCommandHandlerEntry &e : FHookedCommands)
    if (e.Event == handler)
      return;
  FHookedCommands.push_back({handler, handlerData});
}

void TCustomKzEdit::UnhookCommands(const THookedCommandEvent &handler) {
  for (auto it = FHookedCommands.begin(); it != FHookedCommands.end(); ++it)
    if (it->Event == handler) {
      FHookedCommands.erase(it);
      return;
    }
}

void TCustomKzEdit::NotifyHookedCommandHandlers(bool afterProcessing, TKzEditorCommand &command,
                                                char &ch, void *data) {
  bool handled = false;
  // A handler may unhook itself while it runs.
  std::vector<THookedCommandHandlerEntry> entries = FHookedCommands;
  for (const THookedCommandHandlerEntry &e : entries)
    e.Event(*this, afterProcessing, handled, command, ch, data, e.Data);
  if (handled)
    command = ecNone;
}

void TCustomKzEdit::ProcessCommand(TKzEditorCommand command, char ch, void *data) {
  if (command >= ecUserFirst) {
    if (OnProcessUserCommand)
      OnProcessUserCommand(*this, command, ch, data);
  } else if (OnProcessCommand) {
    OnProcessCommand(*this, command, ch, data);
  }
  if (command != ecNone)
    NotifyHookedCommandHandlers(false, command, ch, data);
  if (command != ecNone && command < ecUserFirst)
    ExecuteCommand(command, ch, data);
  if (command != ecNone)
    NotifyHookedCommandHandlers(true, command, ch, data);
  if (OnCommandProcessed)
    OnCommandProcessed(*this, command, ch, data);
}

// ---- focus and caret ----

void TCustomKzEdit::AddFocusRedirect(TKzFocusTarget *target) {
  if (target &&
      std::find(FFocusRedirects.begin(), FFocusRedirects.end(), target) == FFocusRedirects.end())
    FFocusRedirects.push_back(target);
}

void TCustomKzEdit::RemoveFocusRedirect(TKzFocusTarget *target) {
  auto it = std::find(FFocusRedirects.begin(), FFocusRedirects.end(), target);
  if (it != FFocusRedirects.end())
    FFocusRedirects.erase(it);
}

void TCustomKzEdit::SetFocus() {
  if (!FFocusRedirects.empty())
    FFocusRedirects.back()->SetFocus();
  else
    FHost.TakeFocus();
}

void TCustomKzEdit::ShowPlatformCaret(bool show) {
  if (show) {
    if (HasOption(eoNoCaret))
      return;
    FView.InitializeCaret();
    FHost.ShowCaret();
  } else {
    FHost.HideCaret();
    FHost.DestroyCaret();
  }
}

void TCustomKzEdit::FocusEnter() {
  ProcessCommand(ecFocusEnter, '\0', nullptr);
  ShowPlatformCaret(true);
  if (HideSelection() && SelectionAvailable())
    FView.InvalidateLines(SelectionFirst().Line, SelectionLast().Line);
}

void TCustomKzEdit::FocusExit() {
  ProcessCommand(ecFocusExit, '\0', nullptr);
  if (!FAlwaysShowCaret && !FHost.HasFocus()) {
    ShowPlatformCaret(false);
    if (HideSelection() && SelectionAvailable())
      FView.InvalidateLines(SelectionFirst().Line, SelectionLast().Line);
  }
}

void TCustomKzEdit::SetAlwaysShowCaret(bool value) {
  if (value == FAlwaysShowCaret)
    return;
  FAlwaysShowCaret = value;
  if (FDestroying || FHost.HasFocus())
    return;
  ShowPlatformCaret(value);
}

// ---- bookmarks ----

bool TCustomKzEdit::GetBookMark(int number, int &x, int &y) const {
  for (const TKzEditMark &m : FDoc.Marks())
    if (m.BookmarkNumber == number) {
      x = m.Char;
      y = m.Line;
      return true;
    }
  return false;
}

bool TCustomKzEdit::IsBookmark(int number) const {
  int x, y;
  return GetBookMark(number, x, y);
}

void TCustomKzEdit::ClearBookMark(int number) {
  for (auto it = Marks().begin(); it != Marks().end(); ++it)
    if (it->BookmarkNumber == number) {
      TKzEditMark mark = *it;
      Marks().erase(it);
      if (OnClearBookmark)
        OnClearBookmark(*this, mark);
      InvalidateGutterLines(mark.Line, mark.Line);
      return;
    }
}

void TCustomKzEdit::SetBookMark(int number, int x, int y) {
  if (number < 0 || number > 9 || y < 1 || y > std::max(Lines().Count(), 1))
    return;
  ClearBookMark(number);
  TKzEditMark mark;
  mark.BookmarkNumber = number;
  mark.ImageIndex = number;
  mark.Char = x;
  mark.Line = y;
  if (OnPlaceBookmark)
    OnPlaceBookmark(*this, mark);
  Marks().push_back(mark);
  InvalidateGutterLines(y, y);
}

void TCustomKzEdit::GotoBookMark(int number) {
  int x, y;
  if (GetBookMark(number, x, y))
    SetCaretPos({x, y});
}

// ---- edit transactions from outside the editor ----

TKzEditTransaction::TKzEditTransaction(TCustomKzEdit &editor, TKind kind)
    : TKzEditTransaction(editor.FModel, kind) {}
