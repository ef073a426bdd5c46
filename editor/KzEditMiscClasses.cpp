// The undo and redo lists: numbering, blocks, trimming, group breaks and the save point.
#include "editor/KzEditMiscClasses.h"

#include <utility>

bool IsBracketEnd(TKzChangeReason r) {
  using R = TKzChangeReason;
  return r == R::BracketAEnd || r == R::PasteEnd || r == R::BracketBEnd || r == R::BracketCEnd;
}

bool IsBracketBegin(TKzChangeReason r) {
  using R = TKzChangeReason;
  return r == R::BracketABegin || r == R::PasteBegin || r == R::BracketBBegin ||
         r == R::BracketCBegin;
}

// Each begin is its end's number minus one.
TKzChangeReason MatchingBracketBegin(TKzChangeReason end) {
  return IsBracketEnd(end) ? TKzChangeReason(std::uint8_t(end) - 1) : end;
}

TKzChangeReason MatchingBracketEnd(TKzChangeReason begin) {
  return IsBracketBegin(begin) ? TKzChangeReason(std::uint8_t(begin) + 1) : begin;
}

void TKzEditUndoList::AdvanceStepNumber() {
  // Wraps like a 32-bit counter and never lands on 0, which means "no block".
  FNextStepNumber = std::int32_t(std::uint32_t(FNextStepNumber) + 1u);
  if (FNextStepNumber == 0)
    FNextStepNumber = 1;
}

void TKzEditUndoList::Trim() {
  while (int(FItems.size()) > FMaxUndo)
    FItems.pop_front();
}

void TKzEditUndoList::Append(TKzEditUndoItem &&item) {
  const bool isBreak = item.Reason == TKzChangeReason::GroupBreak;
  FItems.push_back(std::move(item));
  Trim();
  if (!isBreak && OnItemAdded)
    OnItemAdded(*this);
}

void TKzEditUndoList::PushChange(TKzChangeReason reason, TBufferCoord start, TBufferCoord end,
                                 const std::string &text, TKzSelectionMode mode,
                                 std::vector<int> columns) {
  if (FLockCount > 0)
    return;
  TKzEditUndoItem item;
  item.Reason = reason;
  item.SelMode = mode;
  item.StartPos = start;
  item.EndPos = end;
  item.ChangeText = text;
  item.Columns = std::move(columns);
  if (FBlockStepNumber != 0) {
    item.StepNumber = FBlockStepNumber;
  } else {
    item.StepNumber = FNextStepNumber;
    AdvanceStepNumber();
  }
  Append(std::move(item));
}

void TKzEditUndoList::PushItem(TKzEditUndoItem item) {
  if (FLockCount > 0)
    return;
  if (item.StepNumber == 0)
    item.StepNumber = 1;
  Append(std::move(item));
}

void TKzEditUndoList::BeginBlock() {
  ++FBlockDepth;
  FBlockStepNumber = FNextStepNumber;
}

void TKzEditUndoList::EndBlock() {
  if (FBlockDepth == 0)
    return;
  if (--FBlockDepth > 0)
    return;
  const std::int32_t block = FBlockStepNumber;
  FBlockStepNumber = 0;
  AdvanceStepNumber();
  if (!FItems.empty() && FItems.back().StepNumber == block && OnItemAdded)
    OnItemAdded(*this);
}

std::optional<TKzEditUndoItem> TKzEditUndoList::PopItem() {
  if (FItems.empty())
    return std::nullopt;
  std::optional<TKzEditUndoItem> top(std::move(FItems.back()));
  FItems.pop_back();
  return top;
}

const TKzEditUndoItem *TKzEditUndoList::PeekItem() const {
  return FItems.empty() ? nullptr : &FItems.back();
}

TKzChangeReason TKzEditUndoList::LastReason() const {
  return FItems.empty() ? TKzChangeReason::NoChange : FItems.back().Reason;
}

void TKzEditUndoList::AddGroupBreak() {
  if (LastReason() != TKzChangeReason::GroupBreak)
    PushChange(TKzChangeReason::GroupBreak, {}, {}, std::string(), smNormal);
}

void TKzEditUndoList::Unlock() {
  if (FLockCount > 0)
    --FLockCount;
}

void TKzEditUndoList::Clear() { FItems.clear(); }

void TKzEditUndoList::SetMaxUndo(int n) {
  if (n < 0)
    n = 0;
  if (n == FMaxUndo)
    return;
  FMaxUndo = n;
  Trim();
}

void TKzEditUndoList::SetSavePoint() { FSavePoint = FItems.empty() ? 0 : FItems.back().StepNumber; }

void TKzEditUndoList::ClearSavePoint() {
  if (AtSavePoint())
    FSavePoint = -1;
}

bool TKzEditUndoList::AtSavePoint() const {
  if (FItems.empty())
    return FSavePoint == 0;
  return FItems.back().StepNumber == FSavePoint;
}
