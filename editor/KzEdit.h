// The multi-line text editor control: caret, selection, text operations, key and command
// processing, clipboard, undo and redo. Qt-free; the platform reaches it through TKzEditHost.
#pragma once

#include "editor/KzEditHost.h"
#include "editor/KzEditKbdHandler.h"
#include "editor/KzEditKeyCmds.h"
#include "editor/KzEditMiscClasses.h"
#include "editor/KzEditPaintTypes.h"
#include "editor/KzEditTextBuffer.h"
#include "editor/KzEditTypes.h"
#include "highlight/KzEditHighlighter.h"
#include "platform/Canvas.h"

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TCustomKzEdit;
class TKzGutter;

// The control's own error kind (clipboard failures).
class EKzEditError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The registered clipboard format that carries the selection mode with the text.
inline constexpr const char *KzEditClipboardFormatName = "KzEdit Control Block Type";

// A mark in the gutter; bookmarks carry their number 0..9, other marks -1.
struct TKzEditMark {
  int Line = 0;
  int Char = 0;
  int BookmarkNumber = -1;
  int ImageIndex = 0;
  bool Visible = true;
  bool IsBookmark() const { return BookmarkNumber >= 0; }
};

// Bookmark keys and glyphs.
struct TKzBookMarkOpt {
  bool DrawBookmarksFirst = true;
  bool EnableKeys = true;
  bool GlyphsVisible = true;
  int LeftMargin = 2;
  int Xoffset = 12;
};

// Caret shapes for insert and overwrite mode.
enum TKzEditCaretType : std::uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };

// Which scroll bars the control shows.
enum TKzScrollStyle : std::uint8_t { ssNoBars, ssHorizontal, ssVertical, ssBoth };

// Events. The sender is the editor.
using TKzNotify = std::function<void(TCustomKzEdit &)>;
using TKzStatusChangeEvent = std::function<void(TCustomKzEdit &, TKzStatusChanges)>;
using TKzProcessCommandEvent =
    std::function<void(TCustomKzEdit &, TKzEditorCommand &, char &, void *)>;
using TKzContextHelpEvent = std::function<void(TCustomKzEdit &, const std::string &word)>;
using TKzKeyDownEvent = std::function<void(TCustomKzEdit &, std::uint16_t &key, TShiftState)>;
using TKzKeyPressEventFn = std::function<void(TCustomKzEdit &, char &key)>;
using TKzMouseEventFn = std::function<void(TCustomKzEdit &, int button, TShiftState, int x, int y)>;
using TKzBookmarkEvent = std::function<void(TCustomKzEdit &, TKzEditMark &)>;
using TKzGutterClickEvent =
    std::function<void(TCustomKzEdit &, int button, int x, int y, int line, TKzEditMark *mark)>;

// A hooked command handler: (editor, after execution, handled flag shared by all handlers of one
// command and phase, command, character, data, the handler's own data).
using THookedCommandEvent =
    TKzMethod<TCustomKzEdit &, bool, bool &, TKzEditorCommand &, char &, void *, void *>;

struct THookedCommandHandlerEntry {
  THookedCommandEvent Event;
  void *Data = nullptr;
};

// Mouse buttons as the mouse entry points take them.
enum : int { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

class TCustomKzEdit : public TKzComponent {
public:
  explicit TCustomKzEdit(TKzEditHost &host, TKzComponent *owner = nullptr);
  ~TCustomKzEdit() override;
  TCustomKzEdit(const TCustomKzEdit &) = delete;
  TCustomKzEdit &operator=(const TCustomKzEdit &) = delete;

  const char *ClassName() const override { return "TCustomKzEdit"; }
  TKzEditHost &Host() const { return FHost; }

  // ---- owned parts ----
  TKzEditStringList &Lines() { return FLines; }
  const TKzEditStringList &Lines() const { return FLines; }
  TKzEditUndoList &UndoList() { return FUndoList; }
  TKzEditUndoList &RedoList() { return FRedoList; }
  TKzEditKeyStrokes &Keystrokes() { return *FKeystrokes; }
  TKzEditKbdHandler &KbdHandler() { return FKbdHandler; }
  std::vector<TKzEditMark> &Marks() { return FMarks; }
  TKzBookMarkOpt &BookMarkOptions() { return FBookMarkOptions; }

  // ---- whole text, lines, selection ----
  // The lines joined by CR LF, no break after the last one.
  std::string Text() const;
  // Replaces everything; nothing is recorded for undo and OnChange does not fire.
  void SetText(const std::string &text);
  std::string LineText() const;
  void SetLineText(const std::string &value);

  std::string SelectedText() const;
  // Replaces the selection (or inserts at the caret) as one undo step.
  void SetSelectedText(const std::string &value);
  std::string SelText() const { return SelectedText(); }
  void SetSelText(const std::string &value) { SetSelectedText(value); }
  bool SelectionAvailable() const;
  void SelectAll();
  void ClearSelection();
  void ClearAll();

  // ---- caret and selection points ----
  int CaretX() const { return FCaretX; }
  int CaretY() const { return FCaretY; }
  void SetCaretX(int value);
  void SetCaretY(int value);
  TBufferCoord CaretXY() const { return {FCaretX, FCaretY}; }
  // Moves the caret and keeps the selection.
  void SetCaretXY(TBufferCoord value);
  // Moves the caret and collapses the selection onto it.
  void SetCaretPos(TBufferCoord value);
  // Moves the caret; `ensureVisible` false leaves the view where it is.
  void InternalSetCaretXY(TBufferCoord value, bool ensureVisible);
  TDisplayCoord DisplayXY() const;
  TBufferCoord SelectionAnchor() const { return FBlockBegin; }
  TBufferCoord SelectionEnd() const { return FBlockEnd; }
  void SetSelectionAnchor(TBufferCoord value);
  void SetSelectionEnd(TBufferCoord value);
  TBufferCoord SelectionFirst() const;
  TBufferCoord SelectionLast() const;
  TKzSelectionMode SelectionMode() const { return FSelectionMode; }
  void SetSelectionMode(TKzSelectionMode value);
  // Caret, anchor and end in one step under one paint lock.
  void SetCaretAndSelection(TBufferCoord caret, TBufferCoord anchor, TBufferCoord end);

  // Buffer <-> display coordinates (tabs expanded; no word wrap, so rows are lines).
  TDisplayCoord BufferToDisplayPos(TBufferCoord p) const;
  TBufferCoord DisplayToBufferPos(TDisplayCoord p) const;

  // The word under or before a position, with word characters of the highlighter.
  std::string WordAtCursor() const;
  std::string WordAt(TBufferCoord p) const;
  TBufferCoord WordStart(TBufferCoord p) const;
  TBufferCoord WordEnd(TBufferCoord p) const;
  bool IsIdentChar(char c) const;
  // Whether a point lies in the selection; `endsCount` makes its two ends count as inside.
  bool IsPointInSelection(TBufferCoord p, bool endsCount) const;
  // The token of the highlighter covering a position; false without one.
  bool GetHighlighterAttriAtRowCol(TBufferCoord p, std::string &token,
                                   TKzHighlighterAttributes *&attri) const;

  // ---- options and settings ----
  TKzEditorOptions Options() const { return FOptions; }
  void SetOptions(TKzEditorOptions value);
  bool HasOption(TKzEditorOption o) const { return FOptions.Contains(o); }
  bool InsertMode() const { return FInsertMode; }
  void SetInsertMode(bool value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int value);
  int MaxScrollWidth() const { return FMaxScrollWidth; }
  void SetMaxScrollWidth(int value);
  int MaxUndo() const { return FUndoList.MaxUndo(); }
  void SetMaxUndo(int value);
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value) { FWantReturns = value; }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  TKzEditCaretType InsertCaret() const { return FInsertCaret; }
  void SetInsertCaret(TKzEditCaretType value) { FInsertCaret = value; }
  TKzEditCaretType OverwriteCaret() const { return FOverwriteCaret; }
  void SetOverwriteCaret(TKzEditCaretType value) { FOverwriteCaret = value; }
  TKzScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TKzScrollStyle value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }
  bool WordWrap() const { return false; } // never switched on in this program

  TKzCustomHighlighter *Highlighter() const { return FHighlighter; }
  void SetHighlighter(TKzCustomHighlighter *value);

  // ---- modification state, undo and redo ----
  bool TextModified() const { return FModified; }
  void SetTextModified(bool value);
  bool UndoAvailable() const;
  bool RedoAvailable() const;
  bool CanUndo() const { return UndoAvailable(); }
  bool CanRedo() const { return RedoAvailable(); }
  void Undo();
  void Redo();
  void OpenUndoBlock() { FUndoList.BeginBlock(); }
  void CloseUndoBlock() { FUndoList.EndBlock(); }
  void SuspendUndo();
  void ResumeUndo();
  void ClearUndo();

  // ---- clipboard ----
  void CopySelection();
  void CutSelection();
  void PasteClipboard();
  bool PasteAvailable() const;
  void CopyToClipboard() { CopySelection(); }
  void CutToClipboard() { CutSelection(); }
  void PasteFromClipboard() { PasteClipboard(); }

  // ---- commands and keys ----
  void ProcessCommand(TKzEditorCommand command, char ch = '\0', void *data = nullptr);
  // Runs a command below 1001 (the command processor calls it after the hooks).
  virtual void ExecuteCommand(TKzEditorCommand command, char ch, void *data);
  // Platform key events. KeyDown returns true when the key was consumed.
  bool KeyDown(std::uint16_t &key, TShiftState shift);
  void KeyPress(char &key);
  void KeyUp(std::uint16_t &key, TShiftState shift);
  // An input-method result string, inserted as typed text; the characters the platform sends
  // for it afterwards are ignored.
  void ImeResult(const std::string &text, bool platformSendsChars = false);
  // The command the keystroke table gives a key, remembering the first key of a sequence.
  TKzEditorCommand TranslateKeyCode(std::uint16_t key, TShiftState shift);

  void HookKeyDown(const TKzKeyEvent &h) { FKbdHandler.AddKeyDownHandler(h); }
  void UnhookKeyDown(const TKzKeyEvent &h) { FKbdHandler.RemoveKeyDownHandler(h); }
  void HookKeyUp(const TKzKeyEvent &h) { FKbdHandler.AddKeyUpHandler(h); }
  void UnhookKeyUp(const TKzKeyEvent &h) { FKbdHandler.RemoveKeyUpHandler(h); }
  void HookKeyPress(const TKzKeyPressEvent &h) { FKbdHandler.AddKeyPressHandler(h); }
  void UnhookKeyPress(const TKzKeyPressEvent &h) { FKbdHandler.RemoveKeyPressHandler(h); }
  void HookMouseDown(const TKzMouseEvent &h) { FKbdHandler.AddMouseDownHandler(h); }
  void UnhookMouseDown(const TKzMouseEvent &h) { FKbdHandler.RemoveMouseDownHandler(h); }
  void HookCommands(const THookedCommandEvent &handler, void *handlerData);
  void UnhookCommands(const THookedCommandEvent &handler);
  int HookedCommandCount() const { return static_cast<int>(FHookedCommands.size()); }

  // ---- focus ----
  void AddFocusRedirect(TKzFocusTarget *target);
  void RemoveFocusRedirect(TKzFocusTarget *target);
  void SetFocus();
  bool Focused() const { return FHost.HasFocus(); }
  void FocusEnter();
  void FocusExit();
  bool AlwaysShowCaret() const { return FAlwaysShowCaret; }
  void SetAlwaysShowCaret(bool value);

  // ---- mouse, in client pixels ----
  void MouseDown(int button, TShiftState shift, int x, int y, bool doubleClick = false);
  void MouseMove(TShiftState shift, int x, int y);
  void MouseUp(int button, TShiftState shift, int x, int y);
  void DoubleClick(int x, int y);
  // A host timer of the given reason fired.
  void TimerFired(TKzTimerReason reason);
  bool AutoScrollActive() const { return FAutoScrollActive; }

  // ---- drag and drop of text between editors ----
  // Whether a drag from `source` may drop here; moves the caret under the mouse.
  bool DragOver(TCustomKzEdit *source, int x, int y);
  // Drops the selected text of `source` at the pixel position. `ctrl` and `shift` as held.
  void DragDrop(TCustomKzEdit *source, int x, int y, bool ctrl, bool shift);
  bool DragArmed() const { return FDragArmed; }

  // ---- bookmarks ----
  bool GetBookMark(int number, int &x, int &y) const;
  void SetBookMark(int number, int x, int y);
  void ClearBookMark(int number);
  bool IsBookmark(int number) const;
  void GotoBookMark(int number);

  // ---- paint lock and status ----
  void IncPaintLock();
  void DecPaintLock();
  int PaintLockCount() const { return FPaintLock; }
  // Adds to the pending status changes; delivered at once unless a paint lock is held.
  void StatusChanged(TKzStatusChanges changes);
  bool Destroying() const { return FDestroying; }

  // ---- events ----
  TKzNotify OnChange;
  TKzStatusChangeEvent OnStatusChange;
  TKzProcessCommandEvent OnProcessCommand;
  TKzProcessCommandEvent OnProcessUserCommand;
  TKzProcessCommandEvent OnCommandProcessed;
  TKzContextHelpEvent OnContextHelp;
  TKzKeyDownEvent OnKeyDown;
  TKzKeyPressEventFn OnKeyPress;
  TKzKeyDownEvent OnKeyUp;
  TKzMouseEventFn OnMouseDown;
  TKzMouseEventFn OnMouseUp;
  TKzBookmarkEvent OnPlaceBookmark;
  TKzBookmarkEvent OnClearBookmark;
  TKzGutterClickEvent OnGutterClick;
  // A host timer that the editor does not run itself fired (see TKzTimerReason).
  std::function<void(TCustomKzEdit &, TKzTimerReason)> OnTimer;
  // Asked whether a right-button release belongs to a pop-up menu; true leaves it there.
  std::function<bool(TCustomKzEdit &, int x, int y)> OnContextPopup;

  // ---- painting and scrolling ----
public:
  // -- view --
  int TopLine() const { return FTopLine; }
  void SetTopLine(int value);
  int LeftChar() const { return FLeftChar; }
  void SetLeftChar(int value);
  int LinesInWindow() const { return FLinesInWindow; }
  int CharsInWindow() const { return FCharsInWindow; }
  int CharWidth() const { return FCharWidth; }
  int LineHeight() const { return FLineHeight; }
  int GutterWidth() const;
  // Display rows of the text (no word wrap: the line count, at least 1).
  int DisplayLineCount() const;
  // x of display column 1: gutter width + 2 - (LeftChar - 1) * CharWidth.
  int TextOrigin() const;
  // x of the left edge of a display column, held within int for columns far off screen.
  int ColumnToX(int column) const;

  // -- font, grid and colours --
  const kzp::TFont &Font() const { return FFont; }
  void SetFont(const kzp::TFont &font);
  // The canvas the grid is measured on (not owned); the Qt widget gives one for the screen.
  void SetMeasureCanvas(kzp::TCanvas *canvas);
  kzp::TCanvas *MeasureCanvas() const { return FMeasureCanvas; }
  int ExtraLineSpacing() const { return FExtraLineSpacing; }
  void SetExtraLineSpacing(int value);
  kzp::TColor Color() const { return FColor; }
  void SetColor(kzp::TColor value);
  kzp::TColor ActiveLineColor() const { return FActiveLineColor; }
  void SetActiveLineColor(kzp::TColor value);
  int RightEdge() const { return FRightEdge; }
  void SetRightEdge(int value);
  kzp::TColor RightEdgeColor() const { return FRightEdgeColor; }
  void SetRightEdgeColor(kzp::TColor value);
  TKzGutter &Gutter();
  const TKzGutter &Gutter() const;
  TKzSelectedColor &SelectedColor();
  TheTextDrawer &TextDrawer();
  // The gutter changed (the gutter calls it): width, window sizes, repaint.
  void GutterChanged();

  // -- invalidation, in buffer lines (1-based); last -1 means to the end of the window --
  void InvalidateLines(int firstLine, int lastLine);
  void InvalidateLine(int line);
  void InvalidateGutter();
  void InvalidateGutterLines(int firstLine, int lastLine);
  void Invalidate();

  // -- caret --
  void EnsureCursorPosVisible();
  // Places the host's caret at the caret's cell, shaped for the insert mode.
  void UpdateCaret();
  // Creates the host's caret in the shape of the current mode, then places it.
  void InitializeCaret();
  // Size and offset inside the cell of the caret shape for the current mode.
  void CaretShape(int &width, int &height, int &offsetX, int &offsetY) const;

  // -- scroll bars --
  void UpdateScrollBars();
  bool ScrollBarsPending() const { return FScrollBarsPending; }
  // The state last given to the platform for each bar (kept so tests can read it).
  const TKzScrollBarState &HorzScrollBar() const { return FHorzBar; }
  const TKzScrollBarState &VertScrollBar() const { return FVertBar; }
  // The client area or the font changed: recompute LinesInWindow and CharsInWindow (and
  // with fontChanged the grid first).
  void SizeOrFontChanged(bool fontChanged);
  TDisplayCoord PixelsToRowColumn(int x, int y) const;
  kzp::TPoint RowColumnToPixels(TDisplayCoord p) const;

  // -- scroll messages, wheel and hint --
  // Scroll-bar codes: line up/left 0, line down/right 1, page up 2, page down 3, thumb
  // position 4, thumb track 5, top 6, bottom 7, end of scrolling 8.
  void ScrollBarMessage(bool vertical, int code, int position);
  // A wheel movement in the platform's units (120 per notch; positive = towards the start).
  void MouseWheel(int delta, TShiftState shift);
  int WheelRemainder() const { return FWheelAccumulator; }
  kzp::TColor ScrollHintColor() const { return FScrollHintColor; }
  void SetScrollHintColor(kzp::TColor value) { FScrollHintColor = value; }
  TKzScrollHintFormat ScrollHintFormat() const { return FScrollHintFormat; }
  void SetScrollHintFormat(TKzScrollHintFormat value) { FScrollHintFormat = value; }
  // The text the hint shows for the current view.
  std::string ScrollHintText() const;
  bool ScrollHintShown() const { return FScrollHintShown; }

  // -- painting --
  void Paint(kzp::TCanvas &canvas, const kzp::TRect &clip);
  // Rows of text painted by the last Paint (for checks that a scroll repaints little).
  int PaintedRows() const { return FPaintedRows; }

  TKzPaintEvent OnPaint;
  TKzPaintEvent OnPaintTransient;
  TKzGutterGetTextEvent OnGutterGetText;
  TKzGutterPaintEvent OnGutterPaint;
  TKzSpecialLineColorsEvent OnSpecialLineColors;
  TKzScrollEvent OnScroll;

private:
  struct TKzPaintData;
  void CreatePaintData();
  void DestroyPaintData();
  void RecalcCharExtent();
  void InvalidateRows(int firstLine, int lastLine, int right);
  void PaintGutter(kzp::TCanvas &canvas, const kzp::TRect &clip, int firstRow, int lastRow);
  void PaintTextLines(kzp::TCanvas &canvas, const kzp::TRect &clip, int firstRow, int lastRow,
                      int firstCol, int lastCol);
  void PaintBookmarks(kzp::TCanvas &canvas, int firstRow, int lastRow, std::vector<int> &offsets);
  void ShowScrollHint();
  TKzPaintData *FPaintData = nullptr;
  kzp::TCanvas *FMeasureCanvas = nullptr;
  kzp::TFont FFont;
  int FTopLine = 1;
  int FLeftChar = 1;
  int FLinesInWindow = 0;
  int FCharsInWindow = 0;
  int FCharWidth = 8;
  int FLineHeight = 16;
  int FExtraLineSpacing = 0;
  kzp::TColor FColor = kzp::clWindow;
  kzp::TColor FActiveLineColor = kzp::clNone;
  int FRightEdge = 80;
  kzp::TColor FRightEdgeColor = kzp::clSilver;
  kzp::TColor FScrollHintColor = kzp::clInfoBk;
  TKzScrollHintFormat FScrollHintFormat = shfTopLineOnly;
  bool FScrollHintShown = false;
  bool FScrollBarsPending = false;
  TKzScrollBarState FHorzBar;
  TKzScrollBarState FVertBar;
  int FWheelAccumulator = 0;
  int FPaintedRows = 0;
  // ---- end of painting and scrolling ----

private:
  friend class TKzEditUndoDriver;

  // buffer notifications
  void LinesBeginChange();
  void LinesEndChange();
  void LinesCleared();
  void LinesDeleted(int index, int count);
  void LinesInserted(int index, int count);
  void LineReplaced(int index, int count);
  void UndoItemAdded(TKzEditUndoList &list);
  void HighlighterChanged(TKzPersistent *sender);
  void MarkForScan(int first, int last);
  void UpdateWordChars();
  TBufferCoord ClampSelectionPoint(TBufferCoord p) const;
  void NotifyHookedCommandHandlers(bool afterProcessing, TKzEditorCommand &command, char &ch,
                                   void *data);
  void ShowPlatformCaret(bool show);
  // Rescans highlighter ranges from the 0-based line `first`: every line up to `mustLast`,
  // then on until a line's stored range repeats. Returns the last line rescanned.
  int ScanRanges(int first, int mustLast);
  void ScanAllRanges();

  // text primitives (KzEditText.cpp)
  // Replaces the selection without recording; `start` receives where the insertion began.
  void SetSelTextPrimitive(TKzSelectionMode mode, const std::string &value,
                           TBufferCoord *start = nullptr);
  void DeleteSelectionPrimitive(TKzSelectionMode mode, TBufferCoord anchor, TBufferCoord end);
  void InsertNormal(const std::string &value);
  void InsertNormalLines(const std::string &value);
  void InsertLines(const std::string &value);
  void InsertColumn(const std::string &value);
  // Records the text just inserted from `start` (in `mode`) up to the caret for undo.
  void RecordInsertion(TKzChangeReason reason, TKzSelectionMode mode, TBufferCoord start);
  // The characters the selection covers, without the padding a rectangle gets on short lines:
  // what deleting it removes, and so what undo must put back.
  std::string SelectedCharacters() const;
  std::string SelectedTextOf(TKzSelectionMode mode, TBufferCoord anchor, TBufferCoord end,
                             bool trim) const;
  // For a rectangle, the buffer column each of its lines starts at; empty in other modes.
  std::vector<int> RectangleStarts(TKzSelectionMode mode, TBufferCoord anchor,
                                   TBufferCoord end) const;
  std::string TrimTrailing(const std::string &s) const;
  // Stores a line, trimmed under eoTrimTrailingSpaces. [insFrom, insTo) is what the edit put
  // into `s` (padding included), -1 for nothing: blanks only it brought are not recorded.
  void StoreLine(int index, const std::string &s, int insFrom = -1, int insTo = -1);
  // Trimmed blanks wait here until the item of the edit that exposed them is recorded (or
  // the next change of the buffer comes), so that undo restores them before reverting it.
  void FlushTrimmedBlanks();
  // Notes that trimming took s[p, q) off the 0-based line `index`.
  void NoteTrimmed(int index, const std::string &s, std::size_t p, std::size_t q);
  int LeadingWhite(std::string_view s) const;
  std::string IndentString(int columns) const;

  // commands (KzEditCommands.cpp)
  // A caret move ends the undo group of what was typed before it.
  void GroupBreakBeforeMove();
  void MoveCaretAndSelection(TBufferCoord before, TBufferCoord after, bool select);
  // Caret and collapsed selection to p, without the group break of a movement command.
  void MoveCaretAndSelectionQuiet(TBufferCoord p);
  // Records the selection as deleted (reason by its direction) and deletes it.
  void DeleteSelectionRecorded();
  void MoveCaretHorz(int dx, bool select);
  void MoveCaretVert(int dy, bool select);
  void DoLineStart(bool select);
  void DoTypeChar(char ch);
  void DoLineBreak(bool moveCaret);
  void DoBackspace();
  void DoDeleteChar();
  void DoTab();
  void DoShiftTab();
  void DoBlockIndent();
  void DoBlockUnindent();
  void DoDeleteRange(TBufferCoord from, TBufferCoord to, TKzChangeReason reason);
  void DoDeleteLine();
  void DoCaseChange(TKzEditorCommand command);
  void DoBlockCaseChange(TKzEditorCommand command);
  void DoSetMarker(int number);
  void DoScroll(TKzEditorCommand command);
  void DoPageMove(TKzEditorCommand command, bool select);
  TBufferCoord NextWordPos(TBufferCoord p) const;
  TBufferCoord PrevWordPos(TBufferCoord p) const;
  TBufferCoord FindMatchingBracket() const;
  // The lines a block indent or unindent works on, and the selection it starts from.
  struct TKzIndentBlock {
    int FirstLine = 0, LastLine = 0;
    bool Column = false;
    int DisplayLeft = 1; // the rectangle's left display column; 1 outside column mode
    TBufferCoord First, Last, Anchor, End, Caret;
  };
  // False when there is nothing to indent: read-only, or no selection.
  bool IndentBlockOf(TKzIndentBlock &block) const;
  // The left and right display columns of the rectangle between two points.
  std::pair<int, int> RectangleColumns(TBufferCoord anchor, TBufferCoord end) const;

  // undo and redo (KzEditUndoRedo.cpp)
  void MoveSteps(bool undo);
  void UndoItem();
  // Where text just inserted at `start` ends, as an undo item records it.
  TBufferCoord InsertedEnd(TKzSelectionMode mode, TBufferCoord start) const;
  void RedoItem();
  TBufferCoord ExchangeItemText(const TKzEditUndoItem &item, TKzEditUndoList &to);
  void MirrorItem(const TKzEditUndoItem &item, TKzEditUndoList &to);
  std::vector<std::string> ApplyUnindentPieces(const TKzEditUndoItem &item, bool reinsert);
  void UpdateModifiedFromUndo();

  // clipboard (KzEditClipboard.cpp)
  void DoCopyToClipboard(const std::string &text);

  // mouse (KzEditMouse.cpp)
  TBufferCoord PixelsToBuffer(int x, int y) const;
  void ComputeAutoScroll(int x, int y);

  TKzEditHost &FHost;
  TKzEditStringList FLines;
  TKzEditUndoList FUndoList;
  TKzEditUndoList FRedoList;
  std::unique_ptr<TKzEditKeyStrokes> FKeystrokes;
  TKzEditKbdHandler FKbdHandler;
  std::vector<THookedCommandHandlerEntry> FHookedCommands;
  std::vector<TKzFocusTarget *> FFocusRedirects;
  std::vector<TKzEditMark> FMarks;
  TKzBookMarkOpt FBookMarkOptions;
  TKzCustomHighlighter *FHighlighter = nullptr;
  TKzCharSet FWordChars;

  int FCaretX = 1;
  int FCaretY = 1;
  int FLastCaretX = 1; // the remembered display column for vertical moves
  TBufferCoord FBlockBegin;
  TBufferCoord FBlockEnd;
  TKzSelectionMode FSelectionMode = smNormal;
  TKzEditorOptions FOptions = KzEditDefaultOptions;
  bool FInsertMode = true;
  bool FReadOnly = false;
  int FTabWidth = 8;
  int FMaxScrollWidth = 1024;
  bool FWantTabs = false;
  bool FWantReturns = true;
  bool FHideSelection = false;
  TKzEditCaretType FInsertCaret = ctVerticalLine;
  TKzEditCaretType FOverwriteCaret = ctBlock;
  TKzScrollStyle FScrollBars = ssBoth;
  bool FEnabled = true;
  bool FModified = false;
  bool FAlwaysShowCaret = false;
  bool FDestroying = false;

  int FPaintLock = 0;
  bool FCaretPending = false;
  TKzStatusChanges FStatusChanges;
  bool FIgnoreNextChar = false;
  int FImeCount = 0;
  TKzPendingKey FPendingKey;
  bool FRedoInProgress = false; // keeps the item-added handler from clearing the redo list
  std::vector<TKzEditUndoItem> FTrimmedBlanks; // see FlushTrimmedBlanks
  bool FFlushingTrims = false;
  int FHoldTrims = 0; // an insertion records its item after all its lines are stored

  // The highlighter rescan is collected over one buffer change bracket and run when it
  // closes: from FScanFirst on, at least up to FScanLast, then until the range repeats.
  int FScanFirst = -1;
  int FScanLast = -1;
  bool FScanToEnd = false; // lines were inserted or deleted: repaint to the end
  bool FScanning = false;  // inside the rescan: its own range stores notify nothing
  std::string FScanLine;   // reused line buffer for the highlighter

  // mouse state
  bool FMouseCaptured = false;
  bool FDragArmed = false;
  bool FDragStarted = false;
  bool FDoubleClicked = false;
  int FMouseDownX = 0;
  int FMouseDownY = 0;
  bool FAutoScrollActive = false;
  int FAutoScrollDX = 0;
  int FAutoScrollDY = 0;
  TShiftState FMouseShift = 0;
  int FMouseX = 0;
  int FMouseY = 0;
};

namespace kzp {
class TStoredValue;
}

// Applies the editor's object of a stored form ("editor" in resources/frmMain.json): "Font"
// and "Gutter": { "Font" } as { "Name", "Height", "Style" }, then the keystroke adjustments.
// Raises the stored form's errors for malformed values and EKzStoredKeystrokeError for an
// unknown command.
void LoadStoredEditorSettings(TCustomKzEdit &editor, const kzp::TStoredValue &component);
