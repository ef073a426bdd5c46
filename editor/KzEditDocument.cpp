// The document: line notifications turned into range rescans, undo bookkeeping and the
// recording of trimmed blanks.
#include "editor/KzEditDocument.h"

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

TKzEditDocument::TKzEditDocument() : FWordChars(DefaultWordChars()) {
  FLines.OnEndChange = [this] { LinesEndChange(); };
  FLines.OnLinesCleared = [this] { LinesCleared(); };
  FLines.OnLinesDeleted = [this](int i, int n) { LinesDeleted(i, n); };
  FLines.OnLinesInserted = [this](int i, int n) { LinesInserted(i, n); };
  FLines.OnLineReplaced = [this](int i, int n) { LineReplaced(i, n); };
  FUndoList.OnItemAdded = [this](TKzEditUndoList &l) { UndoItemAdded(l); };
  FRedoList.OnItemAdded = [this](TKzEditUndoList &l) { UndoItemAdded(l); };
}

TKzEditDocument::~TKzEditDocument() {
  FLines.OnEndChange = nullptr;
  FLines.OnLinesCleared = nullptr;
  FLines.OnLinesDeleted = nullptr;
  FLines.OnLinesInserted = nullptr;
  FLines.OnLineReplaced = nullptr;
  FUndoList.OnItemAdded = nullptr;
  FRedoList.OnItemAdded = nullptr;
}

// ---- highlighter ----

void TKzEditDocument::SetHighlighter(TKzCustomHighlighter *value) {
  FHighlighter = value;
  UpdateWordChars();
}

void TKzEditDocument::UpdateWordChars() {
  if (FHighlighter)
    FWordChars = FHighlighter->IdentifierChars() & ~FHighlighter->WordDelimiters();
  else
    FWordChars = DefaultWordChars();
}

bool TKzEditDocument::TokenAt(TBufferCoord p, std::string &token,
                              TKzHighlighterAttributes *&attr) const {
  token.clear();
  attr = nullptr;
  if (!FHighlighter || p.Line < 1 || p.Line > FLines.Count())
    return false;
  const std::string line = FLines.GetLine(p.Line - 1);
  TKzTokenWalk walk(*FHighlighter, FLines, line, p.Line - 1);
  for (TKzToken t; walk.Next(t);)
    if (p.Char >= t.Start + 1 && p.Char < t.End + 1) {
      token = line.substr(std::size_t(t.Start), std::size_t(t.Length()));
      attr = t.Attr;
      return true;
    }
  return false;
}

int TKzEditDocument::ScanRanges(int first, int mustLast) {
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

void TKzEditDocument::RescanAllRanges() {
  if (!FHighlighter || FLines.Count() == 0)
    return;
  TKzScopedValue<bool> scanning(FScanning, true);
  TKzEditUpdateGuard guard(FLines);
  ScanRanges(0, FLines.Count() - 1);
}

// ---- line notifications ----

void TKzEditDocument::LinesEndChange() {
  if (FScanning)
    return;
  if (FScanFirst >= 0) {
    // The rescan's own range stores notify nothing. The flag goes on every way out, or every
    // later change would go unnoticed.
    TKzScopedValue<bool> scanning(FScanning, true);
    const int first = FScanFirst, last = FScanLast;
    const bool toEnd = FScanToEnd;
    FScanFirst = FScanLast = -1;
    FScanToEnd = false;
    int scanned = last;
    if (FHighlighter && FLines.Count() > 0) {
      TKzEditUpdateGuard guard(FLines);
      scanned = ScanRanges(first, last);
    }
    if (OnLinesChanged)
      OnLinesChanged({first, first + 1, toEnd ? -1 : std::max(scanned, last) + 1});
  }
  if (OnEndChange)
    OnEndChange();
}

void TKzEditDocument::LinesCleared() {
  FTrimmedBlanks.clear();
  ClearUndo();
  FScanFirst = FScanLast = -1;
  FScanToEnd = false;
  if (OnCleared)
    OnCleared();
}

void TKzEditDocument::MarkForScan(int first, int last) {
  if (FScanFirst < 0) {
    FScanFirst = first;
    FScanLast = last;
  } else {
    FScanFirst = std::min(FScanFirst, first);
    FScanLast = std::max(FScanLast, last);
  }
}

void TKzEditDocument::LinesDeleted(int index, int count) {
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

void TKzEditDocument::LinesInserted(int index, int count) {
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

void TKzEditDocument::LineReplaced(int index, int count) {
  if (FScanning)
    return;
  if (FHoldTrims == 0)
    FlushTrimmedBlanks();
  MarkForScan(index, index + count - 1);
}

// ---- undo bookkeeping ----

void TKzEditDocument::SetModified(bool value, bool groupUndo) {
  if (value == FModified)
    return;
  FModified = value;
  if (!value) {
    if (groupUndo && FUndoList.HasItems())
      FUndoList.AddGroupBreak();
    FUndoList.SetSavePoint();
  } else {
    FUndoList.ClearSavePoint();
  }
  if (OnModifiedChanged)
    OnModifiedChanged();
}

void TKzEditDocument::UpdateModifiedFromUndo() {
  const bool modified = !FUndoList.AtSavePoint();
  if (modified == FModified)
    return;
  FModified = modified;
  if (OnModifiedChanged)
    OnModifiedChanged();
}

void TKzEditDocument::ClearUndo() {
  FTrimmedBlanks.clear();
  FUndoList.Clear();
  FRedoList.Clear();
}

void TKzEditDocument::UndoItemAdded(TKzEditUndoList &list) {
  if (&list == &FUndoList)
    FlushTrimmedBlanks();
  UpdateModifiedFromUndo();
  // A new edit discards the redo history; a group break is no edit.
  if (&list == &FUndoList && !FRedoInProgress &&
      FUndoList.LastReason() != TKzChangeReason::GroupBreak)
    FRedoList.Clear();
  if (list.BlockDepth() == 0 && OnChange)
    OnChange();
}

// ---- trimmed blanks ----

void TKzEditDocument::StoreLine(int index, const std::string &s, bool trim, int insFrom,
                                int insTo) {
  if (!trim) {
    FLines.ReplaceLine(index, s);
    return;
  }
  std::size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ')
    --n;
  FLines.ReplaceLine(index, std::string_view(s).substr(0, n));
  if (n == s.size() || FUndoList.IsLocked())
    return;
  // Blanks the line had before the edit are text: undo must give them back. Blanks that only
  // the edit brought to the line's end were never there, so they are not recorded.
  std::size_t q = s.size();
  if (insFrom >= 0 && std::size_t(insTo) >= s.size())
    q = std::size_t(insFrom);
  NoteTrimmed(index, s, n, q);
}

void TKzEditDocument::NoteTrimmed(int index, const std::string &s, std::size_t p, std::size_t q) {
  if (q <= p || FUndoList.IsLocked())
    return;
  TKzEditUndoItem item;
  item.Reason = TKzChangeReason::TrimSpaces;
  item.StartPos = {int(p) + 1, index + 1};
  item.EndPos = {int(q) + 1, index + 1};
  item.ChangeText = s.substr(p, q - p);
  FTrimmedBlanks.push_back(std::move(item));
}

void TKzEditDocument::RecordTrimmedBlanks() {
  if (FFlushingTrims)
    return;
  TKzScopedValue<bool> flushing(FFlushingTrims, true);
  std::vector<TKzEditUndoItem> items;
  items.swap(FTrimmedBlanks);
  for (TKzEditUndoItem &item : items) {
    // One step with the edit that trimmed.
    const TKzEditUndoItem *top = FUndoList.PeekItem();
    item.StepNumber = FUndoList.BlockStepNumber() != 0 ? FUndoList.BlockStepNumber()
                      : top                            ? top->StepNumber
                                                       : FUndoList.NextStepNumber();
    FUndoList.PushItem(std::move(item));
  }
}
