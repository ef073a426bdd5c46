// The edit model's caret and selection, coordinates and words, and the edit transaction.
#include "editor/KzEditModel.h"

#include "editor/KzEditMiscProcs.h"

#include <algorithm>

TKzEditModel::TKzEditModel(TKzEditDocument &doc, TKzEditModelHost &host)
    : FDoc(doc), FLines(doc.Lines()), FHost(host) {
  FLines.SetTabWidth(FTabWidth);
}

void TKzEditModel::SetTabWidth(int value) {
  FTabWidth = std::min(std::max(value, 1), 256);
  FLines.SetTabWidth(FTabWidth);
}

// ---- caret ----

void TKzEditModel::SetCaretXY(TBufferCoord value, bool ensureVisible) {
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
  TKzPaintLock lock(FHost);
  if (c != FCaretX) {
    FCaretX = c;
    FHost.StatusChanged({scCaretX});
  }
  if (l != FCaretY) {
    // The active-line colour follows the caret line.
    FHost.InvalidateLines(FCaretY, FCaretY);
    FHost.InvalidateLines(l, l);
    FCaretY = l;
    FHost.StatusChanged({scCaretY});
  }
  FLastCaretX = DisplayXY().Column;
  FHost.CaretMoved(ensureVisible);
}

void TKzEditModel::SetCaretPos(TBufferCoord value) {
  TKzPaintLock lock(FHost);
  SetCaretXY(value, true);
  SetSelectionAnchor(CaretXY());
}

void TKzEditModel::ResetCaret() {
  FCaretX = FCaretY = 1;
  FLastCaretX = 1;
  FBlockBegin = FBlockEnd = {1, 1};
}

// ---- selection ----

bool TKzEditModel::SelectionAvailable() const {
  return FBlockBegin.Char != FBlockEnd.Char ||
         (FBlockBegin.Line != FBlockEnd.Line && FSelectionMode != smColumn);
}

bool TKzEditModel::IsPointInSelection(TBufferCoord p, bool endsCount) const {
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

void TKzEditModel::SelectAll() {
  TBufferCoord end{1, 1};
  if (FLines.Count() > 0)
    end = {FLines.LineLength(FLines.Count() - 1) + 1, FLines.Count()};
  SetCaretAndSelection(end, {1, 1}, end);
  FHost.StatusChanged({scSelection});
}

TBufferCoord TKzEditModel::ClampSelectionPoint(TBufferCoord p) const {
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

void TKzEditModel::SetSelectionAnchor(TBufferCoord value) {
  TBufferCoord p = ClampSelectionPoint(value);
  if (p == FBlockBegin && p == FBlockEnd)
    return;
  if (SelectionAvailable())
    FHost.InvalidateLines(SelectionFirst().Line, SelectionLast().Line);
  FBlockBegin = p;
  FBlockEnd = p;
  FHost.StatusChanged({scSelection});
}

void TKzEditModel::SetSelectionEnd(TBufferCoord value) {
  if (HasOption(eoNoSelection))
    return;
  TBufferCoord p = ClampSelectionPoint(value);
  if (p == FBlockEnd)
    return;
  FHost.InvalidateLines(std::min(FBlockEnd.Line, p.Line), std::max(FBlockEnd.Line, p.Line));
  FBlockEnd = p;
  FHost.StatusChanged({scSelection});
}

void TKzEditModel::SetSelectionMode(TKzSelectionMode value) {
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
    FHost.Invalidate();
}

void TKzEditModel::SetCaretAndSelection(TBufferCoord caret, TBufferCoord anchor, TBufferCoord end) {
  TKzPaintLock lock(FHost);
  SetCaretXY(caret, true);
  SetSelectionAnchor(anchor);
  SetSelectionEnd(end);
}

// ---- coordinates and words ----

TDisplayCoord TKzEditModel::BufferToDisplayPos(TBufferCoord p) const {
  TDisplayCoord d;
  d.Row = p.Line;
  d.Column = BufferToDisplayColumn(FLines.LineView(p.Line - 1), p.Char, FTabWidth);
  return d;
}

TBufferCoord TKzEditModel::DisplayToBufferPos(TDisplayCoord p) const {
  TBufferCoord b;
  b.Line = p.Row;
  b.Char = DisplayToBufferColumn(FLines.LineView(p.Row - 1), p.Column, FTabWidth);
  return b;
}

int TKzEditModel::DisplayLineCount() const { return std::max(FLines.Count(), 1); }

TBufferCoord TKzEditModel::WordStart(TBufferCoord p) const {
  std::string_view s = FLines.LineView(p.Line - 1);
  int x = std::min(std::max(p.Char, 1), int(s.size()) + 1);
  while (x > 1 && IsIdentChar(s[std::size_t(x - 2)]))
    --x;
  return {x, p.Line};
}

TBufferCoord TKzEditModel::WordEnd(TBufferCoord p) const {
  std::string_view s = FLines.LineView(p.Line - 1);
  int x = std::min(std::max(p.Char, 1), int(s.size()) + 1);
  while (x <= int(s.size()) && IsIdentChar(s[std::size_t(x - 1)]))
    ++x;
  return {x, p.Line};
}

std::string TKzEditModel::WordAt(TBufferCoord p) const {
  TBufferCoord a = WordStart(p), b = WordEnd(p);
  std::string_view s = FLines.LineView(p.Line - 1);
  if (b.Char <= a.Char)
    return std::string();
  return std::string(s.substr(std::size_t(a.Char - 1), std::size_t(b.Char - a.Char)));
}

TBufferCoord TKzEditModel::PrevWordPos(TBufferCoord p) const {
  std::string_view s = FLines.LineView(p.Line - 1);
  int pos = std::min(p.Char, int(s.size()) + 1) - 1; // characters before the caret
  while (pos > 0 && !IsIdentChar(s[std::size_t(pos - 1)]))
    --pos;
  if (pos > 0) {
    while (pos > 0 && IsIdentChar(s[std::size_t(pos - 1)]))
      --pos;
    return {pos + 1, p.Line};
  }
  if (p.Line > 1)
    return {FLines.LineLength(p.Line - 2) + 1, p.Line - 1};
  return {1, p.Line};
}

TBufferCoord TKzEditModel::NextWordPos(TBufferCoord p) const {
  std::string_view s = FLines.LineView(p.Line - 1);
  const int len = int(s.size());
  if (p.Char <= len) {
    int pos = std::max(p.Char, 1) - 1;
    while (pos < len && IsIdentChar(s[std::size_t(pos)]))
      ++pos;
    while (pos < len && !IsIdentChar(s[std::size_t(pos)]))
      ++pos;
    return {pos + 1, p.Line};
  }
  if (p.Line < FLines.Count()) {
    std::string_view t = FLines.LineView(p.Line);
    int pos = 0;
    while (pos < int(t.size()) && !IsIdentChar(t[std::size_t(pos)]))
      ++pos;
    return {pos < int(t.size()) ? pos + 1 : 1, p.Line + 1};
  }
  return p;
}

// ---- the edit transaction ----

TKzEditTransaction::TKzEditTransaction(TKzEditModel &model, TKind kind)
    : FModel(model), FKind(kind) {
  // Blanks an earlier edit trimmed belong to that edit, not to this one's step.
  FModel.FDoc.FlushTrimmedBlanks();
  FModel.FHost.IncPaintLock();
  if (FKind == UndoBlock)
    FModel.FDoc.UndoList().BeginBlock();
  ++FModel.FTransactionDepth;
  FBefore = FModel.Snapshot();
}

TKzEditTransaction::~TKzEditTransaction() noexcept(false) {
  KzReleaseGuard([this] { Close(); });
}

void TKzEditTransaction::Close() {
  // Each step runs even when the one before throws: a handler of the flush may throw, and
  // the block and the lock must still close.
  struct TUnlock {
    TKzEditTransaction &T;
    ~TUnlock() noexcept(false) {
      KzReleaseGuard([this] { T.FModel.FHost.DecPaintLock(); });
    }
  } unlock{*this};
  struct TEndBlock {
    TKzEditTransaction &T;
    ~TEndBlock() noexcept(false) {
      if (T.FKind == UndoBlock)
        KzReleaseGuard([this] { T.FModel.FDoc.UndoList().EndBlock(); });
    }
  } endBlock{*this};
  if (--FModel.FTransactionDepth == 0)
    FModel.FLastEdit = {FBefore, FModel.Snapshot()};
  // What trimming took in this edit is one step with it.
  FModel.FDoc.FlushTrimmedBlanks();
}
