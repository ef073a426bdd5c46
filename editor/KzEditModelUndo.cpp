// Undo and redo: reverting and repeating the recorded change items, grouped into steps by
// step number, bracket pairs and same-kind runs.
#include "editor/KzEditModel.h"

#include "editor/KzEditMiscProcs.h"

#include <algorithm>
#include <limits>

namespace {

using R = TKzChangeReason;

bool IsAfterCaret(R r) { return r == R::DeleteAfterCaret || r == R::QuietDeleteAfterCaret; }

// The lengths of the CR LF (or CR) separated pieces of an unindent record.
std::vector<std::string> UnindentPieces(const std::string &text) {
  std::vector<std::string> pieces(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
      pieces.emplace_back();
    } else {
      pieces.back() += text[i];
    }
  }
  return pieces;
}

} // namespace

// One item reverted or repeated: the selection mode is the item's and eoScrollPastEol is on
// (the caret may stand beyond a line's end), painting waits, and everything is put back on
// every way out. Trimming is off meanwhile, both ways: blanks that undo gives back are text
// the line had, and what trimming took the first time is an item of its own, which redo
// repeats in its turn. The scroll width does not limit the caret meanwhile: an item may stand
// beyond it on a long line, and a caret held back there would put the text back in the wrong
// place.
class TKzEditModel::TItemScope {
public:
  TItemScope(TKzEditModel &model, TKzSelectionMode itemMode)
      : FModel(model), FLock(model.FHost), FMode(model.FSelectionMode), FOptions(model.FOptions),
        FMaxScrollWidth(model.FMaxScrollWidth) {
    FModel.FSelectionMode = itemMode;
    FModel.FOptions.Include(eoScrollPastEol);
    FModel.FOptions.Exclude(eoTrimTrailingSpaces);
    FModel.FMaxScrollWidth = std::numeric_limits<int>::max() / 2;
  }
  ~TItemScope() {
    FModel.FSelectionMode = FMode;
    FModel.FOptions = FOptions;
    FModel.FMaxScrollWidth = FMaxScrollWidth;
  }
  // Whether trimming was on before the item: the line break of a redo trims as it did.
  bool Trimmed() const { return FOptions.Contains(eoTrimTrailingSpaces); }
  TItemScope(const TItemScope &) = delete;
  TItemScope &operator=(const TItemScope &) = delete;

private:
  TKzEditModel &FModel;
  TKzPaintLock FLock;
  TKzSelectionMode FMode;
  TKzEditorOptions FOptions;
  int FMaxScrollWidth;
};

// One undo (from the undo list to the redo list) or one redo (the other way round): the top
// item's step, a bracketed run, or a run of items of one kind under eoGroupUndo.
void TKzEditModel::MoveSteps(bool undo) {
  if (FReadOnly)
    return;
  TKzEditTransaction tx(*this, TKzEditTransaction::NoUndoBlock);
  TKzEditUndoList &from = undo ? FDoc.UndoList() : FDoc.RedoList();
  TKzEditUndoList &to = undo ? FDoc.RedoList() : FDoc.UndoList();
  // A group break on top of the list goes over to the other list with its number.
  auto moveGroupBreak = [&] {
    if (from.LastReason() != R::GroupBreak)
      return;
    std::optional<TKzEditUndoItem> gb = from.PopItem();
    if (to.LastReason() != R::GroupBreak)
      to.PushItem(*gb);
  };
  if (undo)
    moveGroupBreak();
  const TKzEditUndoItem *top = from.PeekItem();
  if (!top) {
    FDoc.UpdateModifiedFromUndo();
    return;
  }
  const R r = top->Reason;
  const std::int32_t step = top->StepNumber;
  // A bracket end (undo) or begin (redo) moves everything up to its partner.
  const bool bracket = undo ? IsBracketEnd(r) : IsBracketBegin(r);
  const R partner = !bracket ? r : undo ? MatchingBracketBegin(r) : MatchingBracketEnd(r);
  // Everything moved by this one call becomes one step on the other list; the list's own
  // numbering and the redo state come back however the call ends.
  struct TRestore {
    TKzEditUndoList &To;
    std::int32_t SavedBlock;
    TKzEditDocument &Doc;
    ~TRestore() {
      To.SetBlockStepNumber(SavedBlock);
      Doc.SetRedoInProgress(false);
    }
  } restore{to, to.BlockStepNumber(), FDoc};
  if (!undo)
    FDoc.SetRedoInProgress(true);
  while (true) {
    const R moved = top->Reason;
    const std::int32_t movedStep = top->StepNumber;
    to.SetBlockStepNumber(step);
    undo ? UndoItem() : RedoItem();
    top = from.PeekItem();
    if (!top)
      break;
    bool more;
    if (bracket)
      more = top->Reason != partner;
    else
      // A same-kind run may reach into a block of several items: the whole block goes then,
      // never half of it (a typed run after a replaced selection takes the replacement back).
      more = top->StepNumber == step || top->StepNumber == movedStep ||
             (HasOption(eoGroupUndo) && top->Reason == moved && moved != R::IndentBlock &&
              moved != R::UnindentBlock);
    if (!more)
      break;
  }
  if (bracket && top && top->Reason == partner) {
    to.SetBlockStepNumber(step);
    undo ? UndoItem() : RedoItem();
    FDoc.UpdateModifiedFromUndo();
  }
  to.SetBlockStepNumber(restore.SavedBlock);
  if (!undo) {
    moveGroupBreak();
    FDoc.UpdateModifiedFromUndo();
  }
}

TBufferCoord TKzEditModel::InsertedEnd(TKzSelectionMode mode, TBufferCoord start) const {
  // Whole lines inserted before the caret line end on the line above the caret.
  if (mode == smLine && FCaretX == 1 && FCaretY > start.Line)
    return {std::max(FHost.CharsInWindow(), 2), FCaretY - 1};
  return CaretXY();
}

// Swaps the text between the item's points for the item's text; the mirror item on `to`
// carries the text taken out and ends where the item's text now ends, so that moving it back
// takes out exactly what went in (an overwritten character too).
TBufferCoord TKzEditModel::ExchangeItemText(const TKzEditUndoItem &item, TKzEditUndoList &to) {
  SetCaretAndSelection(item.StartPos, item.StartPos, item.EndPos);
  const std::string taken = SelectedText();
  {
    TKzUndoLock locked(FDoc.UndoList());
    SetSelTextPrimitive(item.SelMode, item.ChangeText);
  }
  const TBufferCoord newEnd = InsertedEnd(item.SelMode, item.StartPos);
  to.PushChange(item.Reason, item.StartPos, newEnd, taken, item.SelMode);
  return newEnd;
}

// The items that undo and redo treat alike: each records on `to` what the caret or the
// selection is now and puts back what the item holds.
void TKzEditModel::MirrorItem(const TKzEditUndoItem &item, TKzEditUndoList &to) {
  const TBufferCoord start = item.StartPos, end = item.EndPos;
  switch (item.Reason) {
  case R::IndentBlock:
    to.PushChange(item.Reason, start, end, item.ChangeText, item.SelMode);
    SetCaretAndSelection(end, start, end);
    break;
  case R::CaretMove:
    to.PushChange(item.Reason, CaretXY(), CaretXY(), std::string(), item.SelMode);
    SetCaretXY(start, true);
    break;
  case R::SelectionChange:
    to.PushChange(item.Reason, FBlockBegin, FBlockEnd, std::string(), item.SelMode);
    SetSelectionAnchor(start);
    SetSelectionEnd(end);
    break;
  default: break;
  }
}

// Puts the removed leading characters of an unindent back (`reinsert`) or takes them out
// again, line by line from the item's start line at the block's column.
std::vector<std::string> TKzEditModel::ApplyUnindentPieces(const TKzEditUndoItem &item,
                                                           bool reinsert) {
  // A rectangle took its pieces at one display column, which is a different buffer column
  // on each line once tabs come before it: the item knows each line's. Without that, the
  // left edge's display column stands for it.
  const bool rect = item.SelMode == smColumn;
  const int lines = FLines.Count();
  const bool ends = item.StartPos.Line >= 1 && item.StartPos.Line <= lines &&
                    item.EndPos.Line >= 1 && item.EndPos.Line <= lines;
  const int displayLeft = rect && ends ? RectangleColumns(item.StartPos, item.EndPos).first : 0;
  const int fallback = rect ? std::min(item.StartPos.Char, item.EndPos.Char) : 1;
  std::vector<std::string> pieces = UnindentPieces(item.ChangeText);
  TKzPaintLock lock(FHost);
  {
    TKzEditUpdateGuard guard(FLines);
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      const int y = std::min(item.StartPos.Line, item.EndPos.Line) + int(k);
      if (y > FLines.Count() || pieces[k].empty())
        continue;
      std::string s = FLines.GetLine(y - 1);
      const int column = k < item.Columns.size() ? item.Columns[k]
                         : displayLeft > 0       ? DisplayToBufferColumn(s, displayLeft, FTabWidth)
                                                 : fallback;
      if (reinsert) {
        if (int(s.size()) < column - 1)
          s.append(std::size_t(column - 1) - s.size(), ' ');
        s.insert(std::size_t(column - 1), pieces[k]);
      } else if (int(s.size()) >= column - 1) {
        s.erase(std::size_t(column - 1), pieces[k].size());
      } else {
        continue;
      }
      FLines.ReplaceLine(y - 1, s);
    }
  }
  return pieces;
}

void TKzEditModel::UndoItem() {
  std::optional<TKzEditUndoItem> popped = FDoc.UndoList().PopItem();
  if (!popped)
    return;
  const TKzEditUndoItem item = std::move(*popped);
  TItemScope scope(*this, item.SelMode);
  const TBufferCoord start = item.StartPos, end = item.EndPos;
  const TKzSelectionMode mode = item.SelMode;
  switch (item.Reason) {
  case R::InsertText:
  case R::PasteText:
  case R::DropText:
    ExchangeItemText(item, FDoc.RedoList());
    SetCaretPos(start);
    break;
  case R::DeleteAfterCaret:
  case R::DeleteBeforeCaret:
  case R::QuietDeleteBeforeCaret:
  case R::QuietDeleteAfterCaret:
  case R::DeleteAll: {
    TBufferCoord at = MinPoint(start, end);
    if (mode == smColumn) {
      // The rectangle goes back at its left edge's display column: the buffer columns of its
      // corners belong to lines of their own, with tabs of their own before them.
      const int top = std::min(start.Line, end.Line), bottom = std::max(start.Line, end.Line);
      at = {std::min(start.Char, end.Char), top};
      if (top >= 1 && bottom <= FLines.Count()) {
        const int left = RectangleColumns(start, end).first;
        at.Char = DisplayToBufferColumn(FLines.LineView(top - 1), left, FTabWidth);
        const int shown = BufferToDisplayColumn(FLines.LineView(top - 1), at.Char, FTabWidth);
        if (shown < left) // beyond the line's end
          at.Char += left - shown;
      }
    }
    {
      TKzUndoLock locked(FDoc.UndoList());
      if (IsAfterCaret(item.Reason) && at.Line > FLines.Count()) {
        SetCaretPos({1, FLines.Count()});
        FLines.AddLine(std::string_view());
      }
      if (mode == smColumn && !item.Columns.empty()) {
        // Each line's piece goes back where it was taken from: an edge that cut through a
        // tab took the whole tab, which no display column can tell afterwards.
        ApplyUnindentPieces(item, true);
      } else {
        SetCaretPos(at);
        SetSelTextPrimitive(mode, item.ChangeText);
      }
    }
    TBufferCoord caret = IsAfterCaret(item.Reason) ? start : end;
    if (item.Reason == R::DeleteAfterCaret || item.Reason == R::DeleteBeforeCaret ||
        item.Reason == R::DeleteAll)
      SetCaretAndSelection(caret, start, end);
    else
      SetCaretPos(caret);
    FDoc.RedoList().PushChange(item.Reason, start, end, std::string(), mode);
    if (item.Reason == R::DeleteAll) {
      SetCaretXY({1, 1}, true);
      SetSelectionEnd({1, 1});
    }
    FHost.EnsureCaretVisible();
    break;
  }
  case R::BreakLine: {
    SetCaretPos(start);
    FDoc.RedoList().PushChange(item.Reason, start, end, std::string(), mode);
    if (start.Line >= 1 && start.Line <= FLines.Count()) {
      std::string line = FLines.GetLine(start.Line - 1);
      // Text that moved off a line lost its trailing blanks on the line that stayed; a break
      // beyond the line's end moved nothing and must not leave blanks behind.
      if (!item.ChangeText.empty() && int(line.size()) < start.Char - 1)
        line.append(std::size_t(start.Char - 1) - line.size(), ' ');
      line += item.ChangeText;
      TKzPaintLock lock(FHost);
      TKzEditUpdateGuard guard(FLines);
      FLines.ReplaceLine(start.Line - 1, line);
      if (start.Line < FLines.Count())
        FLines.DeleteLine(start.Line);
      SetCaretXY(start, true);
    }
    break;
  }
  case R::IndentBlock:
  case R::CaretMove:
  case R::SelectionChange: MirrorItem(item, FDoc.RedoList()); break;
  case R::UnindentBlock: {
    FDoc.RedoList().PushChange(item.Reason, start, end, item.ChangeText, mode, item.Columns);
    ApplyUnindentPieces(item, true);
    SetCaretAndSelection(start, start, end);
    break;
  }
  case R::TrimSpaces: {
    FDoc.RedoList().PushChange(item.Reason, start, end, item.ChangeText, mode);
    if (start.Line >= 1 && start.Line <= FLines.Count()) {
      std::string line = FLines.GetLine(start.Line - 1);
      const std::size_t at = std::size_t(start.Char - 1);
      if (line.size() < at)
        line.append(at - line.size(), ' ');
      line.insert(at, item.ChangeText);
      FLines.ReplaceLine(start.Line - 1, line);
    }
    break;
  }
  case R::PadSpaces: {
    SetCaretAndSelection(start, start, end);
    FDoc.RedoList().PushChange(item.Reason, start, end, SelectedText(), mode);
    {
      TKzUndoLock locked(FDoc.UndoList());
      SetSelTextPrimitive(mode, item.ChangeText);
    }
    SetCaretPos(start);
    break;
  }
  default: // bracket begins and ends, group breaks: nothing to revert
    break;
  }
}

void TKzEditModel::RedoItem() {
  std::optional<TKzEditUndoItem> popped = FDoc.RedoList().PopItem();
  if (!popped)
    return;
  const TKzEditUndoItem item = std::move(*popped);
  TItemScope scope(*this, item.SelMode);
  const TBufferCoord start = item.StartPos, end = item.EndPos;
  const TKzSelectionMode mode = item.SelMode;
  switch (item.Reason) {
  case R::InsertText:
  case R::PasteText:
  case R::DropText: {
    const TBufferCoord newEnd = ExchangeItemText(item, FDoc.UndoList());
    if (item.Reason == R::DropText)
      SetCaretAndSelection(start, start, newEnd);
    else
      SetCaretPos(CaretXY());
    break;
  }
  case R::DeleteAfterCaret:
  case R::DeleteBeforeCaret:
  case R::QuietDeleteBeforeCaret:
  case R::QuietDeleteAfterCaret:
  case R::DeleteAll: {
    SetCaretAndSelection(start, start, end);
    FDoc.UndoList().PushChange(item.Reason, start, end, SelectedCharacters(), mode,
                               RectangleStarts(mode, start, end));
    {
      TKzUndoLock locked(FDoc.UndoList());
      SetSelTextPrimitive(mode, std::string());
    }
    SetCaretPos(MinPoint(start, end));
    break;
  }
  case R::BreakLine: {
    if (end != start) {
      // A line a column insertion appended: empty, whatever the indent of the line above.
      FDoc.UndoList().PushChange(R::BreakLine, start, end, std::string(), mode);
      FLines.InsertLine(std::min(start.Line, FLines.Count()), std::string_view());
      SetCaretPos(end);
      break;
    }
    // The line-break command does the work; its own record would open a block with a step
    // number of its own, so the item is recorded here under the step being repeated.
    SetCaretPos(start);
    std::string line = FLines.GetLine(start.Line - 1);
    std::string moved;
    if (!line.empty() && start.Char == 1)
      moved = line;
    else if (start.Char <= int(line.size()))
      moved = line.substr(std::size_t(start.Char - 1));
    const std::int32_t step = FDoc.UndoList().BlockStepNumber();
    // The break trims the line it leaves as it did the first time; undoing it pads again.
    {
      TKzEditorOptions options = FOptions;
      if (scope.Trimmed())
        options.Include(eoTrimTrailingSpaces);
      TKzScopedValue<TKzEditorOptions> trimming(FOptions, options);
      TKzUndoLock locked(FDoc.UndoList());
      LineBreak(true);
    }
    FDoc.UndoList().SetBlockStepNumber(step);
    FDoc.UndoList().PushChange(R::BreakLine, start, start, moved, mode);
    break;
  }
  case R::IndentBlock:
  case R::CaretMove:
  case R::SelectionChange: MirrorItem(item, FDoc.UndoList()); break;
  case R::UnindentBlock: {
    FDoc.UndoList().PushChange(item.Reason, start, end, item.ChangeText, mode, item.Columns);
    const std::vector<std::string> pieces = ApplyUnindentPieces(item, false);
    if (mode == smColumn) {
      SetCaretAndSelection(start, start, end);
    } else {
      TBufferCoord s{std::max(1, start.Char - int(pieces.front().size())), start.Line};
      TBufferCoord e{std::max(1, end.Char - int(pieces.back().size())), end.Line};
      SetCaretAndSelection(s, s, e);
    }
    break;
  }
  case R::TrimSpaces: {
    FDoc.UndoList().PushChange(item.Reason, start, end, item.ChangeText, mode);
    // Repeating the edit may have trimmed them already.
    if (start.Line >= 1 && start.Line <= FLines.Count()) {
      std::string line = FLines.GetLine(start.Line - 1);
      const std::size_t at = std::size_t(start.Char - 1);
      if (line.size() > at && line.find_first_not_of(' ', at) == std::string::npos) {
        line.resize(at);
        FLines.ReplaceLine(start.Line - 1, line);
      }
    }
    break;
  }
  case R::PadSpaces: {
    FDoc.UndoList().PushChange(item.Reason, start, end, std::string(), mode);
    // The spaces go back where they were taken from, at the start of the padded run, and
    // stay although nothing follows them yet: the item after this one needs them.
    SetCaretPos(start);
    {
      TKzScopedValue<TKzEditorOptions> trimming(FOptions,
                                                FOptions - TKzEditorOptions{eoTrimTrailingSpaces});
      TKzUndoLock locked(FDoc.UndoList());
      SetSelTextPrimitive(mode, item.ChangeText);
    }
    SetCaretPos(start);
    break;
  }
  default: break;
  }
}
