// The editor's document: its lines, the undo and redo lists with the modified state, the
// marks on its lines, and the highlighter ranges kept for every line. It knows nothing of
// the caret, the selection or the screen; what changed reaches the control through the
// notifications below.
#pragma once

#include "editor/KzEditMiscClasses.h"
#include "editor/KzEditTextBuffer.h"
#include "highlight/KzEditHighlighter.h"

#include <functional>
#include <string>
#include <vector>

// A mark in the gutter; bookmarks carry their number 0..9, other marks -1.
struct TKzEditMark {
  int Line = 0;
  int Char = 0;
  int BookmarkNumber = -1;
  int ImageIndex = 0;
  bool Visible = true;
  bool IsBookmark() const { return BookmarkNumber >= 0; }
};

// What a closed change bracket changed, once the ranges are rescanned.
struct TKzDocumentChange {
  int FirstIndex = 0;  // 0-based first changed line
  int RepaintFrom = 1; // 1-based lines whose look may have changed
  int RepaintTo = -1;  // -1: to the end (lines were inserted or deleted)
};

class TKzEditDocument {
public:
  TKzEditDocument();
  ~TKzEditDocument();
  TKzEditDocument(const TKzEditDocument &) = delete;
  TKzEditDocument &operator=(const TKzEditDocument &) = delete;

  // ---- owned ----
  TKzEditStringList &Lines() { return FLines; }
  const TKzEditStringList &Lines() const { return FLines; }
  TKzEditUndoList &UndoList() { return FUndoList; }
  const TKzEditUndoList &UndoList() const { return FUndoList; }
  TKzEditUndoList &RedoList() { return FRedoList; }
  const TKzEditUndoList &RedoList() const { return FRedoList; }
  std::vector<TKzEditMark> &Marks() { return FMarks; }
  const std::vector<TKzEditMark> &Marks() const { return FMarks; }

  // ---- the highlighter (referenced, never owned) and the words it defines ----
  TKzCustomHighlighter *Highlighter() const { return FHighlighter; }
  // Stores the highlighter and takes its word characters; the ranges are the caller's to
  // rescan (RescanAllRanges), since attaching notifies first.
  void SetHighlighter(TKzCustomHighlighter *value);
  // Word characters: the highlighter's identifier characters minus its word delimiters.
  void UpdateWordChars();
  bool IsIdentChar(char c) const { return FWordChars.test(static_cast<unsigned char>(c)); }
  // Every line's range from the top.
  void RescanAllRanges();
  // The token covering the 1-based position; false without a highlighter or token.
  bool TokenAt(TBufferCoord p, std::string &token, TKzHighlighterAttributes *&attr) const;

  // ---- modification state ----
  bool Modified() const { return FModified; }
  // Setting false marks the save point (after a group break under `groupUndo`), setting true
  // forgets it.
  void SetModified(bool value, bool groupUndo);
  // Modified is true exactly when the undo list is not at its save point.
  void UpdateModifiedFromUndo();
  void ClearUndo();
  // While a redo runs, what it records on the undo list keeps the redo list.
  void SetRedoInProgress(bool value) { FRedoInProgress = value; }

  // ---- blanks that trimming takes off line ends ----
  // Undo must give them back, so each trim is recorded as an item of its own. It waits until
  // the item of the edit that exposed it is recorded, or the next change of the lines comes,
  // so that undo restores the blanks before it reverts the edit.
  //
  // Stores a line, trimmed when `trim`. [insFrom, insTo) is what the edit put into `s`
  // (padding included), -1 for nothing: blanks only it brought are not recorded.
  void StoreLine(int index, const std::string &s, bool trim, int insFrom = -1, int insTo = -1);
  // Notes that trimming took s[p, q) off the 0-based line `index`.
  void NoteTrimmed(int index, const std::string &s, std::size_t p, std::size_t q);
  // Records what waits; every edit transaction does it when it closes.
  void FlushTrimmedBlanks() {
    if (!FTrimmedBlanks.empty())
      RecordTrimmedBlanks();
  }
  bool TrimsPending() const { return !FTrimmedBlanks.empty(); }

  // Holds the trims of a multi-line insertion back until its own item is recorded (changes
  // of the lines would record them before it otherwise); what waited before goes first.
  class TTrimHold {
  public:
    explicit TTrimHold(TKzEditDocument &doc) : FDoc(doc) {
      FDoc.FlushTrimmedBlanks();
      ++FDoc.FHoldTrims;
    }
    ~TTrimHold() { --FDoc.FHoldTrims; }
    TTrimHold(const TTrimHold &) = delete;
    TTrimHold &operator=(const TTrimHold &) = delete;

  private:
    TKzEditDocument &FDoc;
  };

  // ---- notifications ----
  // After the outermost change bracket closed and the ranges were rescanned, for the lines
  // that changed in it.
  std::function<void(const TKzDocumentChange &)> OnLinesChanged;
  // After the outermost change bracket closed, whether or not lines changed.
  std::function<void()> OnEndChange;
  // All lines are gone (and with them both undo lists).
  std::function<void()> OnCleared;
  // Modified changed.
  std::function<void()> OnModifiedChanged;
  // An item reached a list outside a block, or a block that recorded something closed.
  std::function<void()> OnChange;

private:
  void LinesEndChange();
  void LinesCleared();
  void LinesDeleted(int index, int count);
  void LinesInserted(int index, int count);
  void LineReplaced(int index, int count);
  void UndoItemAdded(TKzEditUndoList &list);
  void RecordTrimmedBlanks();
  void MarkForScan(int first, int last);
  // Rescans highlighter ranges from the 0-based line `first`: every line up to `mustLast`,
  // then on until a line's stored range repeats. Returns the last line rescanned.
  int ScanRanges(int first, int mustLast);

  TKzEditStringList FLines;
  TKzEditUndoList FUndoList;
  TKzEditUndoList FRedoList;
  std::vector<TKzEditMark> FMarks;
  TKzCustomHighlighter *FHighlighter = nullptr;
  TKzCharSet FWordChars;

  bool FModified = false;
  bool FRedoInProgress = false;
  std::vector<TKzEditUndoItem> FTrimmedBlanks;
  bool FFlushingTrims = false;
  int FHoldTrims = 0;

  // The rescan is collected over one change bracket and run when it closes: from FScanFirst
  // on, at least up to FScanLast, then until the range repeats.
  int FScanFirst = -1;
  int FScanLast = -1;
  bool FScanToEnd = false; // lines were inserted or deleted: repaint to the end
  bool FScanning = false;  // inside the rescan: its own range stores notify nothing
  std::string FScanLine;   // reused line buffer for the highlighter
};
