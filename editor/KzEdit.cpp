// The editor control's core: construction, properties, caret and selection, status changes,
// buffer notifications, highlighter ranges, keys, the command processor and focus.
#include "editor/KzEdit.h"

#include "editor/KzEditKeyCmds.h"
#include "editor/KzEditMiscProcs.h"
#include "editor/KzEditTokenWalk.h"

#include <algorithm>

namespace {

// Word characters when no highlighter is attached: what the highlighter base would give,
// every character from '!' on minus the default word delimiters.
TKzCharSet DefaultWordChars() {
  TKzCharSet s;
  for (int c = 33; c < 256; ++c)
    s.set(std::size_t(c));
  for (unsigned char c : std::string("!\"'()*+,-./:;=?[]\\^{}|"))
    s.reset(c);
  return s;
}

} // namespace

TCustomKzEdit::TCustomKzEdit(TKzEditHost &host, TKzComponent *owner)
    : TKzComponent(owner), FHost(host) {
  CreatePaintData();
  FKeystrokes = std::make_unique<TKzEditKeyStrokes>(this);
  FKeystrokes->ResetDefaults();
  FWordChars = DefaultWordChars();

  FLines.OnBeginChange = [this] { LinesBeginChange(); };
  FLines.OnEndChange = [this] { LinesEndChange(); };
  FLines.OnLinesCleared = [this] { LinesCleared(); };
  FLines.OnLinesDeleted = [this](int i, int n) { LinesDeleted(i, n); };
  FLines.OnLinesInserted = [this](int i, int n) { LinesInserted(i, n); };
  FLines.OnLineReplaced = [this](int i, int n) { LineReplaced(i, n); };
  FUndoList.OnItemAdded = [this](TKzEditUndoList &l) { UndoItemAdded(l); };
  FRedoList.OnItemAdded = [this](TKzEditUndoList &l) { UndoItemAdded(l); };
  FLines.SetTabWidth(FTabWidth);
  SizeOrFontChanged(true);
}

TCustomKzEdit::~TCustomKzEdit() {
  FDestroying = true;
  SetHighlighter(nullptr);
  FHookedCommands.clear();
  FLines.OnLinesCleared = nullptr;
  FLines.OnLinesDeleted = nullptr;
  FLines.OnLinesInserted = nullptr;
  FLines.OnLineReplaced = nullptr;
  FUndoList.OnItemAdded = nullptr;
  FRedoList.OnItemAdded = nullptr;
  DestroyPaintData();
}

// ---- whole text ----

std::string TCustomKzEdit::Text() const {
  std::string s = FLines.GetText();
  if (s.size() >= 2)
    s.resize(s.size() - 2);
  return s;
}

void TCustomKzEdit::SetText(const std::string &text) { FLines.SetText(text); }

std::string TCustomKzEdit::LineText() const {
  if (FCaretY < 1 || FCaretY > FLines.Count())
    return std::string();
  return FLines.GetLine(FCaretY - 1);
}

void TCustomKzEdit::SetLineText(const std::string &value) {
  if (FCaretY >= 1 && FCaretY <= FLines.Count())
    FLines.ReplaceLine(FCaretY - 1, value);
  else if (FLines.Count() == 0)
    FLines.AddLine(value);
}

bool TCustomKzEdit::SelectionAvailable() const {
  return FBlockBegin.Char != FBlockEnd.Char ||
         (FBlockBegin.Line != FBlockEnd.Line && FSelectionMode != smColumn);
}

TBufferCoord TCustomKzEdit::SelectionFirst() const { return MinPoint(FBlockBegin, FBlockEnd); }
TBufferCoord TCustomKzEdit::SelectionLast() const { return MaxPoint(FBlockBegin, FBlockEnd); }

bool TCustomKzEdit::IsPointInSelection(TBufferCoord p, bool endsCount) const {
  if (!SelectionAvailable())
    return false;
  TBufferCoord f = SelectionFirst(), l = SelectionLast();
  if (FSelectionMode == smLine)
    return p.Line >= f.Line && p.Line <= l.Line;
  if (FSelectionMode == smColumn) {
    int c1 = std::min(f.Char, l.Char), c2 = std::max(f.Char, l.Char);
    return p.Line >= f.Line && p.Line <= l.Line &&
           (endsCount ? p.Char >= c1 && p.Char <= c2 : p.Char > c1 && p.Char < c2);
  }
  if (endsCount)
    return !(p < f) && !(l < p);
  return f < p && p < l;
}

void TCustomKzEdit::SelectAll() {
  TBufferCoord end{1, 1};
  if (FLines.Count() > 0)
    end = {FLines.LineLength(FLines.Count() - 1) + 1, FLines.Count()};
  SetCaretAndSelection(end, {1, 1}, end);
  StatusChanged({scSelection});
}

void TCustomKzEdit::ClearSelection() {
  if (SelectionAvailable())
    SetSelectedText(std::string());
}

void TCustomKzEdit::ClearAll() {
  FLines.Clear();
  FMarks.clear();
  ClearUndo();
  SetTextModified(false);
}

// ---- caret and selection ----

void TCustomKzEdit::SetCaretX(int value) { SetCaretXY({value, FCaretY}); }
void TCustomKzEdit::SetCaretY(int value) { SetCaretXY({FCaretX, value}); }
void TCustomKzEdit::SetCaretXY(TBufferCoord value) { InternalSetCaretXY(value, true); }

void TCustomKzEdit::SetCaretPos(TBufferCoord value) {
  IncPaintLock();
  InternalSetCaretXY(value, true);
  SetSelectionAnchor(CaretXY());
  DecPaintLock();
}

void TCustomKzEdit::InternalSetCaretXY(TBufferCoord value, bool ensureVisible) {
  const bool pastEol = HasOption(eoScrollPastEol);
  int maxX = FMaxScrollWidth + 1;
  int l = value.Line, c = value.Char;
  if (l > FLines.Count())
    l = FLines.Count();
  if (l < 1) {
    l = 1;
    if (!pastEol)
      maxX = 1;
  } else if (!pastEol) {
    maxX = FLines.LineLength(l - 1) + 1;
  }
  if (c > maxX && !(pastEol && HasOption(eoAutoSizeMaxScrollWidth)))
    c = maxX;
  if (c < 1)
    c = 1;
  if (c == FCaretX && l == FCaretY) {
    FLastCaretX = DisplayXY().Column;
    return;
  }
  IncPaintLock();
  if (c != FCaretX) {
    FCaretX = c;
    StatusChanged({scCaretX});
  }
  if (l != FCaretY) {
    InvalidateLine(FCaretY); // the active-line colour follows the caret line
    InvalidateLine(l);
    FCaretY = l;
    StatusChanged({scCaretY});
  }
  FLastCaretX = DisplayXY().Column;
  if (ensureVisible)
    EnsureCursorPosVisible();
  FCaretPending = true;
  FScrollBarsPending = true;
  DecPaintLock();
}

TDisplayCoord TCustomKzEdit::DisplayXY() const { return BufferToDisplayPos(CaretXY()); }

TBufferCoord TCustomKzEdit::ClampSelectionPoint(TBufferCoord p) const {
  p.Char = std::max(p.Char, 1);
  if (HasOption(eoScrollPastEol))
    p.Char = std::min(p.Char, FMaxScrollWidth + 1);
  p.Line = std::min(p.Line, FLines.Count());
  p.Line = std::max(p.Line, 1);
  if (FSelectionMode == smNormal) {
    int limit = p.Line <= FLines.Count() ? FLines.LineLength(p.Line - 1) + 1 : 1;
    p.Char = std::min(p.Char, limit);
  }
  return p;
}

void TCustomKzEdit::SetSelectionAnchor(TBufferCoord value) {
  TBufferCoord p = ClampSelectionPoint(value);
  if (p == FBlockBegin && p == FBlockEnd)
    return;
  if (SelectionAvailable())
    InvalidateLines(SelectionFirst().Line, SelectionLast().Line);
  FBlockBegin = p;
  FBlockEnd = p;
  StatusChanged({scSelection});
}

void TCustomKzEdit::SetSelectionEnd(TBufferCoord value) {
  if (HasOption(eoNoSelection))
    return;
  TBufferCoord p = ClampSelectionPoint(value);
  if (p == FBlockEnd)
    return;
  InvalidateLines(std::min(FBlockEnd.Line, p.Line), std::max(FBlockEnd.Line, p.Line));
  FBlockEnd = p;
  StatusChanged({scSelection});
}

void TCustomKzEdit::SetSelectionMode(TKzSelectionMode value) {
  if (value == FSelectionMode)
    return;
  FSelectionMode = value;
  if (value == smNormal) {
    // A rectangle or line selection may reach past the ends of its lines; a character stream
    // does not, or deleting it would pad its first line.
    FBlockBegin = ClampSelectionPoint(FBlockBegin);
    FBlockEnd = ClampSelectionPoint(FBlockEnd);
  }
  if (SelectionAvailable())
    Invalidate();
}

void TCustomKzEdit::SetCaretAndSelection(TBufferCoord caret, TBufferCoord anchor,
                                         TBufferCoord end) {
  IncPaintLock();
  InternalSetCaretXY(caret, true);
  SetSelectionAnchor(anchor);
  SetSelectionEnd(end);
  DecPaintLock();
}

TDisplayCoord TCustomKzEdit::BufferToDisplayPos(TBufferCoord p) const {
  TDisplayCoord d;
  d.Row = p.Line;
  d.Column = BufferToDisplayColumn(FLines.LineView(p.Line - 1), p.Char, FTabWidth);
  return d;
}

TBufferCoord TCustomKzEdit::DisplayToBufferPos(TDisplayCoord p) const {
  TBufferCoord b;
  b.Line = p.Row;
  b.Char = DisplayToBufferColumn(FLines.LineView(p.Row - 1), p.Column, FTabWidth);
  return b;
}

// ---- words ----

bool TCustomKzEdit::IsIdentChar(char c) const { return FWordChars.test(static_cast<unsigned char>(c)); }

void TCustomKzEdit::UpdateWordChars() {
  if (FHighlighter)
    FWordChars = FHighlighter->IdentifierChars() & ~FHighlighter->WordDelimiters();
  else
    FWordChars = DefaultWordChars();
}

TBufferCoord TCustomKzEdit::WordStart(TBufferCoord p) const {
  std::string_view s = FLines.LineView(p.Line - 1);
  int x = std::min(std::max(p.Char, 1), int(s.size()) + 1);
  while (x > 1 && IsIdentChar(s[std::size_t(x - 2)]))
    --x;
  return {x, p.Line};
}

TBufferCoord TCustomKzEdit::WordEnd(TBufferCoord p) const {
  std::string_view s = FLines.LineView(p.Line - 1);
  int x = std::min(std::max(p.Char, 1), int(s.size()) + 1);
  while (x <= int(s.size()) && IsIdentChar(s[std::size_t(x - 1)]))
    ++x;
  return {x, p.Line};
}

std::string TCustomKzEdit::WordAt(TBufferCoord p) const {
  TBufferCoord a = WordStart(p), b = WordEnd(p);
  std::string_view s = FLines.LineView(p.Line - 1);
  if (b.Char <= a.Char)
    return std::string();
  return std::string(s.substr(std::size_t(a.Char - 1), std::size_t(b.Char - a.Char)));
}

std::string TCustomKzEdit::WordAtCursor() const { return WordAt(CaretXY()); }

bool TCustomKzEdit::GetHighlighterAttriAtRowCol(TBufferCoord p, std::string &token,
                                                TKzHighlighterAttributes *&attri) const {
  token.clear();
  attri = nullptr;
  if (!FHighlighter || p.Line < 1 || p.Line > FLines.Count())
    return false;
  const std::string line = FLines.GetLine(p.Line - 1);
  TKzTokenWalk walk(*FHighlighter, FLines, line, p.Line - 1);
  for (TKzToken t; walk.Next(t);)
    if (p.Char >= t.Start + 1 && p.Char < t.End + 1) {
      token = line.substr(std::size_t(t.Start), std::size_t(t.Length()));
      attri = t.Attr;
      return true;
    }
  return false;
}

// ---- options ----

void TCustomKzEdit::SetOptions(TKzEditorOptions value) {
  if (value == FOptions)
    return;
  bool pastEolDropped = FOptions.Contains(eoScrollPastEol) && !value.Contains(eoScrollPastEol);
  FOptions = value;
  if (pastEolDropped)
    InternalSetCaretXY(CaretXY(), true);
  UpdateScrollBars();
  Invalidate();
}

void TCustomKzEdit::SetInsertMode(bool value) {
  if (value == FInsertMode)
    return;
  FInsertMode = value;
  if (FHost.HasFocus() || FAlwaysShowCaret) {
    ShowPlatformCaret(false);
    ShowPlatformCaret(true);
  }
  StatusChanged({scInsertMode});
}

void TCustomKzEdit::SetReadOnly(bool value) {
  if (value == FReadOnly)
    return;
  FReadOnly = value;
  StatusChanged({scReadOnly});
}

void TCustomKzEdit::SetTabWidth(int value) {
  value = std::min(std::max(value, 1), 256);
  if (value == FTabWidth)
    return;
  FTabWidth = value;
  FLines.SetTabWidth(value);
  Invalidate();
}

void TCustomKzEdit::SetMaxScrollWidth(int value) {
  value = std::max(value, 1);
  if (value == FMaxScrollWidth)
    return;
  FMaxScrollWidth = value;
  UpdateScrollBars();
}

void TCustomKzEdit::SetMaxUndo(int value) {
  if (value < 0)
    return;
  FUndoList.SetMaxUndo(value);
  FRedoList.SetMaxUndo(value);
}

void TCustomKzEdit::SetHideSelection(bool value) {
  if (value == FHideSelection)
    return;
  FHideSelection = value;
  Invalidate();
}

void TCustomKzEdit::SetScrollBars(TKzScrollStyle value) {
  if (value == FScrollBars)
    return;
  FScrollBars = value;
  UpdateScrollBars();
}

void TCustomKzEdit::SetHighlighter(TKzCustomHighlighter *value) {
  if (value == FHighlighter)
    return;
  const TKzNotifyEvent handler = TKzNotifyEvent::Of<&TCustomKzEdit::HighlighterChanged>(this);
  if (FHighlighter)
    FHighlighter->RemoveChangeHandler(handler);
  FHighlighter = value;
  UpdateWordChars();
  if (FDestroying)
    return;
  if (FHighlighter) {
    FHighlighter->AddChangeHandler(handler);
    HighlighterChanged(FHighlighter);
  } else {
    SizeOrFontChanged(true);
    Invalidate();
  }
}

void TCustomKzEdit::HighlighterChanged(TKzPersistent *sender) {
  UpdateWordChars();
  if (sender && dynamic_cast<TKzCustomHighlighter *>(sender))
    ScanAllRanges();
  SizeOrFontChanged(true);
  Invalidate();
}

// ---- modification state ----

void TCustomKzEdit::SetTextModified(bool value) {
  if (value == FModified)
    return;
  FModified = value;
  if (!value) {
    if (HasOption(eoGroupUndo) && FUndoList.HasItems())
      FUndoList.AddGroupBreak();
    FUndoList.SetSavePoint();
  } else {
    FUndoList.ClearSavePoint();
  }
  StatusChanged({scModified});
}

void TCustomKzEdit::UpdateModifiedFromUndo() {
  bool modified = !FUndoList.AtSavePoint();
  if (modified == FModified)
    return;
  FModified = modified;
  StatusChanged({scModified});
}

bool TCustomKzEdit::UndoAvailable() const { return !FReadOnly && FUndoList.HasItems(); }
bool TCustomKzEdit::RedoAvailable() const { return !FReadOnly && FRedoList.HasItems(); }

void TCustomKzEdit::SuspendUndo() {
  FUndoList.Lock();
  FRedoList.Lock();
}

void TCustomKzEdit::ResumeUndo() {
  FUndoList.Unlock();
  FRedoList.Unlock();
}

void TCustomKzEdit::ClearUndo() {
  FTrimmedBlanks.clear();
  FUndoList.Clear();
  FRedoList.Clear();
}

void TCustomKzEdit::UndoItemAdded(TKzEditUndoList &list) {
  if (&list == &FUndoList)
    FlushTrimmedBlanks();
  UpdateModifiedFromUndo();
  if (&list == &FUndoList && !FRedoInProgress &&
      FUndoList.LastReason() != TKzChangeReason::GroupBreak)
    FRedoList.Clear();
  if (list.BlockDepth() == 0 && OnChange)
    OnChange(*this);
}

// ---- paint lock and status ----

void TCustomKzEdit::IncPaintLock() { ++FPaintLock; }

void TCustomKzEdit::DecPaintLock() {
  if (FPaintLock > 0)
    --FPaintLock;
  if (FPaintLock != 0)
    return;
  if (FScrollBarsPending)
    UpdateScrollBars();
  if (FCaretPending) {
    FCaretPending = false;
    UpdateCaret();
  }
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

// ---- buffer notifications ----

void TCustomKzEdit::LinesBeginChange() {}

void TCustomKzEdit::LinesEndChange() {
  if (FScanning)
    return;
  FScanning = true;
  if (FScanFirst >= 0) {
    int first = FScanFirst, last = FScanLast;
    bool toEnd = FScanToEnd;
    FScanFirst = FScanLast = -1;
    FScanToEnd = false;
    int scanned = last;
    if (FHighlighter && FLines.Count() > 0) {
      TKzEditUpdateGuard guard(FLines);
      scanned = ScanRanges(first, last);
    }
    InvalidateLines(first + 1, toEnd ? -1 : std::max(scanned, last) + 1);
    if (HasOption(eoAutoSizeMaxScrollWidth) && first < FLines.Count()) {
      int len = FLines.ExpandedLength(first);
      if (len > FMaxScrollWidth)
        SetMaxScrollWidth(len);
    }
  }
  FScanning = false;
  if (!FHost.HandleAllocated())
    return;
  IncPaintLock();
  UpdateScrollBars();
  SetSelectionAnchor(CaretXY());
  InvalidateGutter();
  if (!HasOption(eoScrollPastEof))
    SetTopLine(FTopLine);
  DecPaintLock();
}

void TCustomKzEdit::LinesCleared() {
  FTrimmedBlanks.clear();
  ClearUndo();
  FScanFirst = FScanLast = -1;
  FScanToEnd = false;
  IncPaintLock();
  FCaretX = FCaretY = 1;
  FLastCaretX = 1;
  FBlockBegin = FBlockEnd = {1, 1};
  SetTopLine(1);
  SetLeftChar(1);
  FCaretPending = true;
  Invalidate();
  StatusChanged({scAll});
  DecPaintLock();
}

void TCustomKzEdit::MarkForScan(int first, int last) {
  if (FScanFirst < 0) {
    FScanFirst = first;
    FScanLast = last;
  } else {
    FScanFirst = std::min(FScanFirst, first);
    FScanLast = std::max(FScanLast, last);
  }
}

void TCustomKzEdit::LinesDeleted(int index, int count) {
  if (FScanning)
    return;
  if (FHoldTrims == 0)
    FlushTrimmedBlanks();
  if (FScanFirst >= 0) {
    // Lines after the deleted run moved up by count.
    if (FScanFirst >= index + count)
      FScanFirst -= count;
    else if (FScanFirst > index)
      FScanFirst = index;
    if (FScanLast >= index + count)
      FScanLast -= count;
    else if (FScanLast >= index)
      FScanLast = index;
  }
  MarkForScan(index, index);
  FScanToEnd = true;
}

void TCustomKzEdit::LinesInserted(int index, int count) {
  if (FScanning)
    return;
  if (FHoldTrims == 0)
    FlushTrimmedBlanks();
  if (FScanFirst >= 0) {
    if (FScanFirst >= index)
      FScanFirst += count;
    if (FScanLast >= index)
      FScanLast += count;
  }
  MarkForScan(index, index + count - 1);
  FScanToEnd = true;
}

void TCustomKzEdit::LineReplaced(int index, int count) {
  if (FScanning)
    return;
  if (FHoldTrims == 0)
    FlushTrimmedBlanks();
  MarkForScan(index, index + count - 1);
}

int TCustomKzEdit::ScanRanges(int first, int mustLast) {
  const int n = FLines.Count();
  if (first >= n)
    return n - 1;
  first = std::max(first, 0);
  if (first == 0)
    FHighlighter->ClearRange();
  else
    FHighlighter->RestoreRange(FLines.LineRange(first - 1));
  int i = first;
  for (; i < n; ++i) {
    std::string_view v = FLines.LineView(i);
    FScanLine.assign(v.data(), v.size());
    FHighlighter->BeginLine(FScanLine, i);
    FHighlighter->RunToLineEnd();
    TKzRange r = FHighlighter->CurrentRange();
    if (i > mustLast && FLines.LineRange(i) == r)
      break;
    FLines.SetLineRange(i, r);
  }
  return std::min(i, n - 1);
}

void TCustomKzEdit::ScanAllRanges() {
  if (!FHighlighter || FLines.Count() == 0)
    return;
  FScanning = true;
  {
    TKzEditUpdateGuard guard(FLines);
    ScanRanges(0, FLines.Count() - 1);
  }
  FScanning = false;
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
  FlushTrimmedBlanks();
  if (command != ecNone)
    NotifyHookedCommandHandlers(true, command, ch, data);
  if (OnCommandProcessed)
    OnCommandProcessed(*this, command, ch, data);
}

// ---- focus and caret ----

void TCustomKzEdit::AddFocusRedirect(TKzFocusTarget *target) {
  if (target && std::find(FFocusRedirects.begin(), FFocusRedirects.end(), target) ==
                    FFocusRedirects.end())
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
    InitializeCaret();
    FHost.ShowCaret();
  } else {
    FHost.HideCaret();
    FHost.DestroyCaret();
  }
}

void TCustomKzEdit::FocusEnter() {
  ProcessCommand(ecFocusEnter, '\0', nullptr);
  ShowPlatformCaret(true);
  if (FHideSelection && SelectionAvailable())
    InvalidateLines(SelectionFirst().Line, SelectionLast().Line);
}

void TCustomKzEdit::FocusExit() {
  ProcessCommand(ecFocusExit, '\0', nullptr);
  if (!FAlwaysShowCaret && !FHost.HasFocus()) {
    ShowPlatformCaret(false);
    if (FHideSelection && SelectionAvailable())
      InvalidateLines(SelectionFirst().Line, SelectionLast().Line);
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
  for (const TKzEditMark &m : FMarks)
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
  for (auto it = FMarks.begin(); it != FMarks.end(); ++it)
    if (it->BookmarkNumber == number) {
      TKzEditMark mark = *it;
      FMarks.erase(it);
      if (OnClearBookmark)
        OnClearBookmark(*this, mark);
      InvalidateGutterLines(mark.Line, mark.Line);
      return;
    }
}

void TCustomKzEdit::SetBookMark(int number, int x, int y) {
  if (number < 0 || number > 9 || y < 1 || y > std::max(FLines.Count(), 1))
    return;
  ClearBookMark(number);
  TKzEditMark mark;
  mark.BookmarkNumber = number;
  mark.ImageIndex = number;
  mark.Char = x;
  mark.Line = y;
  if (OnPlaceBookmark)
    OnPlaceBookmark(*this, mark);
  FMarks.push_back(mark);
  InvalidateGutterLines(y, y);
}

void TCustomKzEdit::GotoBookMark(int number) {
  int x, y;
  if (GetBookMark(number, x, y))
    SetCaretPos({x, y});
}
