// The multi-line text editor control. It is the facade over three parts with their own state:
// the document (lines, undo lists, highlighter ranges; KzEditDocument.h), the edit model
// (caret, selection, editing commands; KzEditModel.h) and the view (scrolling, painting,
// gutter; KzEditView.h). It keeps every operation the rest of the program calls, and itself
// only what joins the parts: keys and the command processor, focus, mouse and the events.
// Qt-free; the platform reaches it through TKzEditHost.
#pragma once

#include "editor/KzEditDocument.h"
#include "editor/KzEditGuards.h"
#include "editor/KzEditHost.h"
#include "editor/KzEditKbdHandler.h"
#include "editor/KzEditKeyCmds.h"
#include "editor/KzEditMiscClasses.h"
#include "editor/KzEditModel.h"
#include "editor/KzEditPaintTypes.h"
#include "editor/KzEditTextBuffer.h"
#include "editor/KzEditTypes.h"
#include "editor/KzEditView.h"
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

class TCustomKzEdit : public TKzComponent, public TKzPaintLockable {
public:
  explicit TCustomKzEdit(TKzEditHost &host, TKzComponent *owner = nullptr);
  ~TCustomKzEdit() override;
  TCustomKzEdit(const TCustomKzEdit &) = delete;
  TCustomKzEdit &operator=(const TCustomKzEdit &) = delete;

  const char *ClassName() const override { return "TCustomKzEdit"; }
  TKzEditHost &Host() const { return FHost; }

  // ---- owned parts ----
  TKzEditStringList &Lines() { return FDoc.Lines(); }
  const TKzEditStringList &Lines() const { return FDoc.Lines(); }
  TKzEditUndoList &UndoList() { return FDoc.UndoList(); }
  TKzEditUndoList &RedoList() { return FDoc.RedoList(); }
  TKzEditKeyStrokes &Keystrokes() { return *FKeystrokes; }
  TKzEditKbdHandler &KbdHandler() { return FKbdHandler; }
  std::vector<TKzEditMark> &Marks() { return FDoc.Marks(); }
  TKzBookMarkOpt &BookMarkOptions() { return FView.BookMarkOptions(); }

  // ---- whole text, lines, selection ----
  // The lines joined by CR LF, no break after the last one.
  std::string Text() const;
  // Replaces everything; nothing is recorded for undo and OnChange does not fire.
  void SetText(const std::string &text);
  std::string LineText() const;
  void SetLineText(const std::string &value);

  std::string SelectedText() const { return FModel.SelectedText(); }
  // Replaces the selection (or inserts at the caret) as one undo step.
  void SetSelectedText(const std::string &value) { FModel.SetSelectedText(value); }
  std::string SelText() const { return SelectedText(); }
  void SetSelText(const std::string &value) { SetSelectedText(value); }
  bool SelectionAvailable() const { return FModel.SelectionAvailable(); }
  void SelectAll() { FModel.SelectAll(); }
  void ClearSelection();
  void ClearAll();

  // ---- caret and selection points ----
  int CaretX() const { return FModel.CaretX(); }
  int CaretY() const { return FModel.CaretY(); }
  void SetCaretX(int value) { SetCaretXY({value, CaretY()}); }
  void SetCaretY(int value) { SetCaretXY({CaretX(), value}); }
  TBufferCoord CaretXY() const { return FModel.CaretXY(); }
  // Moves the caret and keeps the selection.
  void SetCaretXY(TBufferCoord value) { FModel.SetCaretXY(value, true); }
  // Moves the caret and collapses the selection onto it.
  void SetCaretPos(TBufferCoord value) { FModel.SetCaretPos(value); }
  // Moves the caret; `ensureVisible` false leaves the view where it is.
  void InternalSetCaretXY(TBufferCoord value, bool ensureVisible) {
    FModel.SetCaretXY(value, ensureVisible);
  }
  TDisplayCoord DisplayXY() const { return FModel.DisplayXY(); }
  TBufferCoord SelectionAnchor() const { return FModel.SelectionAnchor(); }
  TBufferCoord SelectionEnd() const { return FModel.SelectionEnd(); }
  void SetSelectionAnchor(TBufferCoord value) { FModel.SetSelectionAnchor(value); }
  void SetSelectionEnd(TBufferCoord value) { FModel.SetSelectionEnd(value); }
  TBufferCoord SelectionFirst() const { return FModel.SelectionFirst(); }
  TBufferCoord SelectionLast() const { return FModel.SelectionLast(); }
  TKzSelectionMode SelectionMode() const { return FModel.SelectionMode(); }
  void SetSelectionMode(TKzSelectionMode value) { FModel.SetSelectionMode(value); }
  // Caret, anchor and end in one step under one paint lock.
  void SetCaretAndSelection(TBufferCoord caret, TBufferCoord anchor, TBufferCoord end) {
    FModel.SetCaretAndSelection(caret, anchor, end);
  }

  // Buffer <-> display coordinates (tabs expanded; no word wrap, so rows are lines).
  TDisplayCoord BufferToDisplayPos(TBufferCoord p) const { return FModel.BufferToDisplayPos(p); }
  TBufferCoord DisplayToBufferPos(TDisplayCoord p) const { return FModel.DisplayToBufferPos(p); }

  // The word under or before a position, with word characters of the highlighter.
  std::string WordAtCursor() const { return FModel.WordAt(CaretXY()); }
  std::string WordAt(TBufferCoord p) const { return FModel.WordAt(p); }
  TBufferCoord WordStart(TBufferCoord p) const { return FModel.WordStart(p); }
  TBufferCoord WordEnd(TBufferCoord p) const { return FModel.WordEnd(p); }
  bool IsIdentChar(char c) const { return FDoc.IsIdentChar(c); }
  // Whether a point lies in the selection; `endsCount` makes its two ends count as inside.
  bool IsPointInSelection(TBufferCoord p, bool endsCount) const {
    return FModel.IsPointInSelection(p, endsCount);
  }
  // The token of the highlighter covering a position; false without one.
  bool GetHighlighterAttriAtRowCol(TBufferCoord p, std::string &token,
                                   TKzHighlighterAttributes *&attri) const {
    return FDoc.TokenAt(p, token, attri);
  }

  // ---- options and settings ----
  TKzEditorOptions Options() const { return FModel.Options(); }
  void SetOptions(TKzEditorOptions value);
  bool HasOption(TKzEditorOption o) const { return FModel.HasOption(o); }
  bool InsertMode() const { return FModel.InsertMode(); }
  void SetInsertMode(bool value);
  bool ReadOnly() const { return FModel.ReadOnly(); }
  void SetReadOnly(bool value);
  int TabWidth() const { return FModel.TabWidth(); }
  void SetTabWidth(int value);
  int MaxScrollWidth() const { return FModel.MaxScrollWidth(); }
  void SetMaxScrollWidth(int value);
  int MaxUndo() const { return FDoc.UndoList().MaxUndo(); }
  void SetMaxUndo(int value);
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value) { FWantReturns = value; }
  bool HideSelection() const { return FView.HideSelection(); }
  void SetHideSelection(bool value) { FView.SetHideSelection(value); }
  TKzEditCaretType InsertCaret() const { return FView.InsertCaret(); }
  void SetInsertCaret(TKzEditCaretType value) { FView.SetInsertCaret(value); }
  TKzEditCaretType OverwriteCaret() const { return FView.OverwriteCaret(); }
  void SetOverwriteCaret(TKzEditCaretType value) { FView.SetOverwriteCaret(value); }
  TKzScrollStyle ScrollBars() const { return FView.ScrollBars(); }
  void SetScrollBars(TKzScrollStyle value) { FView.SetScrollBars(value); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }
  bool WordWrap() const { return false; } // never switched on in this program

  TKzCustomHighlighter *Highlighter() const { return FDoc.Highlighter(); }
  void SetHighlighter(TKzCustomHighlighter *value);

  // ---- modification state, undo and redo ----
  bool TextModified() const { return FDoc.Modified(); }
  void SetTextModified(bool value) { FDoc.SetModified(value, HasOption(eoGroupUndo)); }
  bool UndoAvailable() const { return !ReadOnly() && FDoc.UndoList().HasItems(); }
  bool RedoAvailable() const { return !ReadOnly() && FDoc.RedoList().HasItems(); }
  bool CanUndo() const { return UndoAvailable(); }
  bool CanRedo() const { return RedoAvailable(); }
  void Undo() { FModel.Undo(); }
  void Redo() { FModel.Redo(); }
  void OpenUndoBlock() { FDoc.UndoList().BeginBlock(); }
  void CloseUndoBlock() { FDoc.UndoList().EndBlock(); }
  void SuspendUndo();
  void ResumeUndo();
  void ClearUndo() { FDoc.ClearUndo(); }
  // The caret and selection before and after the last command (or other outermost edit
  // transaction).
  const std::pair<TKzEditSnapshot, TKzEditSnapshot> &LastEdit() const { return FModel.LastEdit(); }

  // ---- clipboard ----
  void CopySelection() { FModel.CopySelection(); }
  void CutSelection() { FModel.CutSelection(); }
  void PasteClipboard() { FModel.PasteClipboard(); }
  bool PasteAvailable() { return FModel.PasteAvailable(); }
  void CopyToClipboard() { CopySelection(); }
  void CutToClipboard() { CutSelection(); }
  void PasteFromClipboard() { PasteClipboard(); }

  // ---- commands and keys ----
  void ProcessCommand(TKzEditorCommand command, char ch = '\0', void *data = nullptr);
  // Runs a command below 1001 (the command processor calls it after the hooks), inside one
  // edit transaction.
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
  bool AutoScrollActive() const { return FMouse.AutoScrollActive; }

  // ---- drag and drop of text between editors ----
  // Whether a drag from `source` may drop here; moves the caret under the mouse.
  bool DragOver(TCustomKzEdit *source, int x, int y);
  // Drops the selected text of `source` at the pixel position. `ctrl` and `shift` as held.
  void DragDrop(TCustomKzEdit *source, int x, int y, bool ctrl, bool shift);
  bool DragArmed() const { return FMouse.DragArmed; }

  // ---- bookmarks ----
  bool GetBookMark(int number, int &x, int &y) const;
  void SetBookMark(int number, int x, int y);
  void ClearBookMark(int number);
  bool IsBookmark(int number) const;
  void GotoBookMark(int number);

  // ---- paint lock and status ----
  void IncPaintLock() override;
  void DecPaintLock() override;
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

  // ---- the view ----
  int TopLine() const { return FView.TopLine(); }
  void SetTopLine(int value) { FView.SetTopLine(value); }
  int LeftChar() const { return FView.LeftChar(); }
  void SetLeftChar(int value) { FView.SetLeftChar(value); }
  int LinesInWindow() const { return FView.LinesInWindow(); }
  int CharsInWindow() const { return FView.CharsInWindow(); }
  int CharWidth() const { return FView.CharWidth(); }
  int LineHeight() const { return FView.LineHeight(); }
  int GutterWidth() const { return FView.GutterWidth(); }
  // Display rows of the text (no word wrap: the line count, at least 1).
  int DisplayLineCount() const { return FModel.DisplayLineCount(); }
  // x of display column 1: gutter width + 2 - (LeftChar - 1) * CharWidth.
  int TextOrigin() const { return FView.TextOrigin(); }
  // x of the left edge of a display column, held within int for columns far off screen.
  int ColumnToX(int column) const { return FView.ColumnToX(column); }

  // -- font, grid and colours --
  const kzp::TFont &Font() const { return FView.Font(); }
  void SetFont(const kzp::TFont &font) { FView.SetFont(font); }
  // The canvas the grid is measured on (not owned); the Qt widget gives one for the screen.
  void SetMeasureCanvas(kzp::TCanvas *canvas) { FView.SetMeasureCanvas(canvas); }
  kzp::TCanvas *MeasureCanvas() const { return FView.MeasureCanvas(); }
  int ExtraLineSpacing() const { return FView.ExtraLineSpacing(); }
  void SetExtraLineSpacing(int value) { FView.SetExtraLineSpacing(value); }
  kzp::TColor Color() const { return FView.Color(); }
  void SetColor(kzp::TColor value) { FView.SetColor(value); }
  kzp::TColor ActiveLineColor() const { return FView.ActiveLineColor(); }
  void SetActiveLineColor(kzp::TColor value) { FView.SetActiveLineColor(value); }
  kzp::TColor MarkColor() const { return FView.MarkColor(); }
  void SetMarkColor(kzp::TColor value) { FView.SetMarkColor(value); }
  int RightEdge() const { return FView.RightEdge(); }
  void SetRightEdge(int value) { FView.SetRightEdge(value); }
  kzp::TColor RightEdgeColor() const { return FView.RightEdgeColor(); }
  void SetRightEdgeColor(kzp::TColor value) { FView.SetRightEdgeColor(value); }
  TKzGutter &Gutter() { return FView.Gutter(); }
  const TKzGutter &Gutter() const { return FView.Gutter(); }
  TKzSelectedColor &SelectedColor() { return FView.SelectedColor(); }
  TheTextDrawer &TextDrawer() { return FView.TextDrawer(); }
  // The gutter changed (the gutter calls it): width, window sizes, repaint.
  void GutterChanged() { FView.GutterChanged(); }

  // -- invalidation, in buffer lines (1-based); last -1 means to the end of the window --
  void InvalidateLines(int firstLine, int lastLine) { FView.InvalidateLines(firstLine, lastLine); }
  void InvalidateLine(int line) { FView.InvalidateLines(line, line); }
  void InvalidateGutter() { FView.InvalidateGutter(); }
  void InvalidateGutterLines(int firstLine, int lastLine) {
    FView.InvalidateGutterLines(firstLine, lastLine);
  }
  void Invalidate() { FView.Invalidate(); }

  // -- caret --
  void EnsureCursorPosVisible() { FView.EnsureCursorPosVisible(); }
  // Places the host's caret at the caret's cell, shaped for the insert mode.
  void UpdateCaret() { FView.UpdateCaret(); }
  // Creates the host's caret in the shape of the current mode, then places it.
  void InitializeCaret() { FView.InitializeCaret(); }
  // Size and offset inside the cell of the caret shape for the current mode.
  void CaretShape(int &width, int &height, int &offsetX, int &offsetY) const {
    FView.CaretShape(width, height, offsetX, offsetY);
  }

  // -- scroll bars --
  void UpdateScrollBars() { FView.UpdateScrollBars(); }
  bool ScrollBarsPending() const { return FView.ScrollBarsPending(); }
  // The state last given to the platform for each bar (kept so tests can read it).
  const TKzScrollBarState &HorzScrollBar() const { return FView.HorzScrollBar(); }
  const TKzScrollBarState &VertScrollBar() const { return FView.VertScrollBar(); }
  // The client area or the font changed: recompute LinesInWindow and CharsInWindow (and
  // with fontChanged the grid first).
  void SizeOrFontChanged(bool fontChanged) { FView.SizeOrFontChanged(fontChanged); }
  TDisplayCoord PixelsToRowColumn(int x, int y) const { return FView.PixelsToRowColumn(x, y); }
  kzp::TPoint RowColumnToPixels(TDisplayCoord p) const { return FView.RowColumnToPixels(p); }

  // -- scroll messages, wheel and hint --
  // Scroll-bar codes: line up/left 0, line down/right 1, page up 2, page down 3, thumb
  // position 4, thumb track 5, top 6, bottom 7, end of scrolling 8.
  void ScrollBarMessage(bool vertical, int code, int position) {
    FView.ScrollBarMessage(vertical, code, position);
  }
  // A wheel movement in the platform's units (120 per notch; positive = towards the start).
  void MouseWheel(int delta, TShiftState shift) { FView.MouseWheel(delta, shift); }
  int WheelRemainder() const { return FView.WheelRemainder(); }
  kzp::TColor ScrollHintColor() const { return FView.ScrollHintColor(); }
  void SetScrollHintColor(kzp::TColor value) { FView.SetScrollHintColor(value); }
  TKzScrollHintFormat ScrollHintFormat() const { return FView.ScrollHintFormat(); }
  void SetScrollHintFormat(TKzScrollHintFormat value) { FView.SetScrollHintFormat(value); }
  // The text the hint shows for the current view.
  std::string ScrollHintText() const { return FView.ScrollHintText(); }
  bool ScrollHintShown() const { return FView.ScrollHintShown(); }

  // -- painting --
  void Paint(kzp::TCanvas &canvas, const kzp::TRect &clip) { FView.Paint(canvas, clip); }
  // Rows of text painted by the last Paint (for checks that a scroll repaints little).
  int PaintedRows() const { return FView.PaintedRows(); }

  TKzPaintEvent OnPaint;
  TKzPaintEvent OnPaintTransient;
  TKzGutterGetTextEvent OnGutterGetText;
  TKzGutterPaintEvent OnGutterPaint;
  TKzSpecialLineColorsEvent OnSpecialLineColors;
  TKzLineMarksEvent OnLineMarks;
  TKzScrollEvent OnScroll;

private:
  friend class TKzEditTransaction;
  class TModelLink;
  class TViewLink;

  // document notifications (KzEdit.cpp)
  void LinesChanged(const TKzDocumentChange &change);
  void LinesEndChange();
  void LinesCleared();
  void HighlighterChanged(TKzPersistent *sender);
  void NotifyHookedCommandHandlers(bool afterProcessing, TKzEditorCommand &command, char &ch,
                                   void *data);
  void ShowPlatformCaret(bool show);

  // commands that move the view and the caret together (KzEditCommands.cpp)
  void DoPageMove(TKzEditorCommand command, bool select);
  void DoScroll(TKzEditorCommand command);
  void DoSetMarker(int number);

  // mouse (KzEditMouse.cpp)
  void ComputeAutoScroll(int x, int y);

  TKzEditHost &FHost;
  TKzEditDocument FDoc;
  std::unique_ptr<TModelLink> FModelLink;
  std::unique_ptr<TViewLink> FViewLink;
  TKzEditModel FModel;
  TKzEditView FView;
  std::unique_ptr<TKzEditKeyStrokes> FKeystrokes;
  TKzEditKbdHandler FKbdHandler;
  std::vector<THookedCommandHandlerEntry> FHookedCommands;
  std::vector<TKzFocusTarget *> FFocusRedirects;

  bool FWantTabs = false;
  bool FWantReturns = true;
  bool FEnabled = true;
  bool FAlwaysShowCaret = false;
  bool FDestroying = false;

  int FPaintLock = 0;
  TKzStatusChanges FStatusChanges;
  bool FIgnoreNextChar = false;
  int FImeCount = 0;
  TKzPendingKey FPendingKey;

  // The mouse between a button press and its release, and the auto-scroll it drives.
  struct TKzMouseState {
    bool Captured = false;
    bool DragArmed = false;
    bool DragStarted = false;
    bool DoubleClicked = false;
    int DownX = 0, DownY = 0;
    bool AutoScrollActive = false;
    int AutoScrollDX = 0, AutoScrollDY = 0;
    TShiftState Shift = 0;
    int X = 0, Y = 0;
  } FMouse;
};

namespace kzp {
class TStoredValue;
}

// Applies the editor's object of a stored form ("editor" in resources/frmMain.json): "Font"
// and "Gutter": { "Font" } as { "Name", "Height", "Style" }, then the keystroke adjustments.
// Raises the stored form's errors for malformed values and EKzStoredKeystrokeError for an
// unknown command.
void LoadStoredEditorSettings(TCustomKzEdit &editor, const kzp::TStoredValue &component);
