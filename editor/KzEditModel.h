// The editor's edit model: the caret, the selection in its three modes, the editing options,
// and every editing command as an operation on the document, each inside one edit
// transaction. It never draws; what the screen must follow goes through TKzEditModelHost.
#pragma once

#include "editor/KzEditDocument.h"
#include "editor/KzEditGuards.h"
#include "editor/KzEditKeyCmds.h"
#include "editor/KzEditTypes.h"
#include "platform/Clipboard.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// The control's own error kind (clipboard failures).
class EKzEditError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The registered clipboard format that carries the selection mode with the text.
inline constexpr const char *KzEditClipboardFormatName = "KzEdit Control Block Type";

// What the model needs from the control around it: the paint lock, status changes, the parts
// of the screen to repaint, the caret's place in view, the window's width in columns and the
// clipboard.
class TKzEditModelHost : public TKzPaintLockable {
public:
  virtual void StatusChanged(TKzStatusChanges changes) = 0;
  // Buffer lines (1-based) to repaint; last -1 means to the end of the window.
  virtual void InvalidateLines(int firstLine, int lastLine) = 0;
  virtual void Invalidate() = 0;
  // The caret moved: scroll it into view when asked; its place on the screen and the scroll
  // bars follow when the paint lock goes.
  virtual void CaretMoved(bool ensureVisible) = 0;
  virtual void EnsureCaretVisible() = 0;
  virtual void UpdateScrollBars() = 0;
  virtual int CharsInWindow() const = 0;
  virtual kzp::TClipboard &Clipboard() = 0;

protected:
  ~TKzEditModelHost() = default;
};

// Caret and selection at one moment.
struct TKzEditSnapshot {
  TBufferCoord Caret, Anchor, End;
  TKzSelectionMode Mode = smNormal;
  bool operator==(const TKzEditSnapshot &) const = default;
};

class TKzEditModel {
public:
  TKzEditModel(TKzEditDocument &doc, TKzEditModelHost &host);
  TKzEditModel(const TKzEditModel &) = delete;
  TKzEditModel &operator=(const TKzEditModel &) = delete;

  TKzEditDocument &Document() { return FDoc; }
  const TKzEditDocument &Document() const { return FDoc; }
  TKzEditModelHost &Host() { return FHost; }

  // ---- settings the commands follow ----
  TKzEditorOptions Options() const { return FOptions; }
  void SetOptions(TKzEditorOptions value) { FOptions = value; }
  bool HasOption(TKzEditorOption o) const { return FOptions.Contains(o); }
  bool InsertMode() const { return FInsertMode; }
  void SetInsertMode(bool value) { FInsertMode = value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value) { FReadOnly = value; }
  int TabWidth() const { return FTabWidth; }
  // Kept within 1..256; the lines expand their tabs for it too.
  void SetTabWidth(int value);
  int MaxScrollWidth() const { return FMaxScrollWidth; }
  void SetMaxScrollWidth(int value) { FMaxScrollWidth = value; }

  // ---- caret ----
  int CaretX() const { return FCaretX; }
  int CaretY() const { return FCaretY; }
  TBufferCoord CaretXY() const { return {FCaretX, FCaretY}; }
  // Moves the caret within what the options allow and keeps the selection; `ensureVisible`
  // false leaves the view where it is.
  void SetCaretXY(TBufferCoord value, bool ensureVisible = true);
  // Moves the caret and collapses the selection onto it.
  void SetCaretPos(TBufferCoord value);
  // The display column to return to on vertical moves.
  int LastCaretX() const { return FLastCaretX; }
  TDisplayCoord DisplayXY() const { return BufferToDisplayPos(CaretXY()); }
  // Everything back to (1, 1) after the lines were cleared.
  void ResetCaret();

  // ---- selection ----
  TBufferCoord SelectionAnchor() const { return FBlockBegin; }
  TBufferCoord SelectionEnd() const { return FBlockEnd; }
  TBufferCoord SelectionFirst() const { return MinPoint(FBlockBegin, FBlockEnd); }
  TBufferCoord SelectionLast() const { return MaxPoint(FBlockBegin, FBlockEnd); }
  void SetSelectionAnchor(TBufferCoord value);
  void SetSelectionEnd(TBufferCoord value);
  TKzSelectionMode SelectionMode() const { return FSelectionMode; }
  void SetSelectionMode(TKzSelectionMode value);
  bool SelectionAvailable() const;
  // Caret, anchor and end in one step under one paint lock.
  void SetCaretAndSelection(TBufferCoord caret, TBufferCoord anchor, TBufferCoord end);
  bool IsPointInSelection(TBufferCoord p, bool endsCount) const;
  void SelectAll();
  TKzEditSnapshot Snapshot() const { return {CaretXY(), FBlockBegin, FBlockEnd, FSelectionMode}; }

  // ---- coordinates and words ----
  TDisplayCoord BufferToDisplayPos(TBufferCoord p) const;
  TBufferCoord DisplayToBufferPos(TDisplayCoord p) const;
  // Display rows of the text (no word wrap: the line count, at least 1).
  int DisplayLineCount() const;
  bool IsIdentChar(char c) const { return FDoc.IsIdentChar(c); }
  TBufferCoord WordStart(TBufferCoord p) const;
  TBufferCoord WordEnd(TBufferCoord p) const;
  std::string WordAt(TBufferCoord p) const;
  TBufferCoord PrevWordPos(TBufferCoord p) const;
  TBufferCoord NextWordPos(TBufferCoord p) const;

  // ---- the selected text ----
  std::string SelectedText() const;
  // Replaces the selection (or inserts at the caret) as one undo step.
  void SetSelectedText(const std::string &value);
  // The characters the selection covers, without the padding a rectangle gets on short lines:
  // what deleting it removes, and so what undo must put back.
  std::string SelectedCharacters() const;
  std::string SelectedTextOf(TKzSelectionMode mode, TBufferCoord anchor, TBufferCoord end,
                             bool trim) const;

  // ---- commands ----
  // A caret move ends the undo group of what was typed before it.
  void GroupBreakBeforeMove();
  // The caret to `after` (from `before`), extending the selection or collapsing it.
  void MoveCaretAndSelection(TBufferCoord before, TBufferCoord after, bool select);
  void MoveCaretHorz(int dx, bool select);
  void MoveCaretVert(int dy, bool select);
  void LineStart(bool select);
  void LineEnd(bool select);
  void TypeChar(char ch);
  void LineBreak(bool moveCaret);
  void Backspace();
  void DeleteChar();
  // Deletes [from, to) of one stream, recorded with `reason`.
  void DeleteRange(TBufferCoord from, TBufferCoord to, TKzChangeReason reason);
  void DeleteLine();
  void Tab();
  void ShiftTab();
  void BlockIndent();
  void BlockUnindent();
  void CaseChange(TKzEditorCommand command);
  void BlockCaseChange(TKzEditorCommand command);
  // The bracket matching the one at the caret; (0, 0) when there is none.
  TBufferCoord FindMatchingBracket() const;

  // ---- clipboard ----
  void CopySelection();
  void CutSelection();
  void PasteClipboard();
  bool PasteAvailable();
  // Inserts text dragged from an editor at `drop`: a move within this one takes the
  // selection out first (`sameEditor` and `move`).
  void DropText(const std::string &text, TBufferCoord &drop, bool sameEditor, bool move);

  // ---- undo and redo ----
  void Undo() { MoveSteps(true); }
  void Redo() { MoveSteps(false); }

  // The caret and selection before and after the last outermost edit transaction.
  const std::pair<TKzEditSnapshot, TKzEditSnapshot> &LastEdit() const { return FLastEdit; }

private:
  friend class TKzEditTransaction;
  class TItemScope;

  TBufferCoord ClampSelectionPoint(TBufferCoord p) const;
  // text primitives (KzEditModelText.cpp)
  // Replaces the selection without recording; `start` receives where the insertion began.
  void SetSelTextPrimitive(TKzSelectionMode mode, const std::string &value,
                           TBufferCoord *start = nullptr);
  void DeleteSelectionPrimitive(TKzSelectionMode mode, TBufferCoord anchor, TBufferCoord end);
  void InsertNormal(const std::string &value);
  void InsertLines(const std::string &value);
  void InsertColumn(const std::string &value);
  // Records the text just inserted from `start` (in `mode`) up to the caret for undo.
  void RecordInsertion(TKzChangeReason reason, TKzSelectionMode mode, TBufferCoord start);
  // Records the selection as deleted (reason by its direction) and deletes it.
  void DeleteSelectionRecorded();
  // For a rectangle, the buffer column each of its lines starts at; empty in other modes.
  std::vector<int> RectangleStarts(TKzSelectionMode mode, TBufferCoord anchor,
                                   TBufferCoord end) const;
  // The left and right display columns of the rectangle between two points.
  std::pair<int, int> RectangleColumns(TBufferCoord anchor, TBufferCoord end) const;
  // Stores a line, trimmed under eoTrimTrailingSpaces (see TKzEditDocument::StoreLine).
  void StoreLine(int index, const std::string &s, int insFrom = -1, int insTo = -1);
  int LeadingWhite(std::string_view s) const;
  // The leading white space of the nearest non-empty line above line `index` (0-based).
  std::string IndentAbove(int index) const;
  std::string IndentString(int columns) const;

  // commands (KzEditModelCommands.cpp)
  // Caret and collapsed selection to p, without the group break of a movement command.
  void MoveCaretAndSelectionQuiet(TBufferCoord p);
  // The lines a block indent or unindent works on.
  struct TKzIndentBlock {
    int FirstLine = 0, LastLine = 0;
    bool Column = false;
    int DisplayLeft = 1; // the rectangle's left display column; 1 outside column mode
  };
  // False when there is nothing to indent: read-only, or no selection.
  bool IndentBlockOf(TKzIndentBlock &block) const;

  // undo and redo (KzEditModelUndo.cpp)
  void MoveSteps(bool undo);
  void UndoItem();
  void RedoItem();
  // Where text just inserted at `start` ends, as an undo item records it.
  TBufferCoord InsertedEnd(TKzSelectionMode mode, TBufferCoord start) const;
  TBufferCoord ExchangeItemText(const TKzEditUndoItem &item, TKzEditUndoList &to);
  void MirrorItem(const TKzEditUndoItem &item, TKzEditUndoList &to);
  std::vector<std::string> ApplyUnindentPieces(const TKzEditUndoItem &item, bool reinsert);

  // clipboard (KzEditModelClipboard.cpp)
  void CopyToClipboard(const std::string &text);

  TKzEditDocument &FDoc;
  TKzEditStringList &FLines; // the document's, used everywhere
  TKzEditModelHost &FHost;

  int FCaretX = 1;
  int FCaretY = 1;
  int FLastCaretX = 1;
  TBufferCoord FBlockBegin;
  TBufferCoord FBlockEnd;
  TKzSelectionMode FSelectionMode = smNormal;
  TKzEditorOptions FOptions = KzEditDefaultOptions;
  bool FInsertMode = true;
  bool FReadOnly = false;
  int FTabWidth = 8;
  int FMaxScrollWidth = 1024;

  int FTransactionDepth = 0;
  std::pair<TKzEditSnapshot, TKzEditSnapshot> FLastEdit;
};

// One edit: everything between its opening and its end is painted once, reported once and,
// with an undo block, undone as one step. On every way out, an exception included, it
// records what trimming took off line ends, closes its block and releases its paint lock.
// It keeps the caret and selection it started from, which commands restore or shift; the
// outermost one leaves the caret and selection before and after in TKzEditModel::LastEdit.
class TKzEditTransaction {
public:
  enum TKind { NoUndoBlock, UndoBlock };
  explicit TKzEditTransaction(TKzEditModel &model, TKind kind = UndoBlock);
  // For callers outside the editor, over the control's model.
  explicit TKzEditTransaction(TCustomKzEdit &editor, TKind kind = UndoBlock);
  ~TKzEditTransaction() noexcept(false);
  TKzEditTransaction(const TKzEditTransaction &) = delete;
  TKzEditTransaction &operator=(const TKzEditTransaction &) = delete;

  const TKzEditSnapshot &Before() const { return FBefore; }

private:
  void Close();
  TKzEditModel &FModel;
  TKind FKind;
  TKzEditSnapshot FBefore;
};
