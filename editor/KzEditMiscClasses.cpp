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
  fNextStepNumber = std::int32_t(std::uint32_t(fNextStepNumber) + 1u);
  if (fNextStepNumber == 0)
    fNextStepNumber = 1;
}

void TKzEditUndoList::Trim() {
  while (int(fItems.size()) > fMaxUndo)
    fItems.pop_front();
}

void TKzEditUndoList::Append(TKzEditUndoItem &&item) {
  const bool isBreak = item.Reason == TKzChangeReason::GroupBreak;
  fItems.push_back(std::move(item));
  Trim();
  if (!isBreak && OnItemAdded)
    OnItemAdded(*this);
}

void TKzEditUndoList::PushChange(TKzChangeReason reason, TBufferCoord start, TBufferCoord end,
                                 const std::string &text, TKzSelectionMode mode,
                                 std::vector<int> columns) {
  if (fLockCount > 0)
    return;
  TKzEditUndoItem item;
  item.Reason = reason;
  item.SelMode = mode;
  item.StartPos = start;
  item.EndPos = end;
  item.ChangeText = text;
  item.Columns = std::move(columns);
  if (fBlockStepNumber != 0) {
    item.StepNumber = fBlockStepNumber;
  } else {
    item.StepNumber = fNextStepNumber;
    AdvanceStepNumber();
  }
  Append(std::move(item));
}

void TKzEditUndoList::PushItem(TKzEditUndoItem item) {
  if (fLockCount > 0)
    return;
  if (item.StepNumber == 0)
    item.StepNumber = 1;
  Append(std::move(item));
}

void TKzEditUndoList::BeginBlock() {
  ++fBlockDepth;
  fBlockStepNumber = fNextStepNumber;
}

void TKzEditUndoList::EndBlock() {
  if (fBlockDepth == 0)
    return;
  if (--fBlockDepth > 0)
    return;
  const std::int32_t block = fBlockStepNumber;
  fBlockStepNumber = 0;
  AdvanceStepNumber();
  if (!fItems.empty() && fItems.back().StepNumber == block && OnItemAdded)
    OnItemAdded(*this);
}

std::optional<TKzEditUndoItem> TKzEditUndoList::PopItem() {
  if (fItems.empty())
    return std::nullopt;
  std::optional<TKzEditUndoItem> top(std::move(fItems.back()));
  fItems.pop_back();
  return top;
}

const TKzEditUndoItem *TKzEditUndoList::PeekItem() const {
  return fItems.empty() ? nullptr : &fItems.back();
}

TKzChangeReason TKzEditUndoList::LastReason() const {
  return fItems.empty() ? TKzChangeReason::NoChange : fItems.back().Reason;
}

void TKzEditUndoList::AddGroupBreak() {
  if (LastReason() != TKzChangeReason::GroupBreak)
    PushChange(TKzChangeReason::GroupBreak, {}, {}, std::string(), smNormal);
}

void TKzEditUndoList::Unlock() {
  if (fLockCount > 0)
    --fLockCount;
}

void TKzEditUndoList::Clear() { fItems.clear(); }

void TKzEditUndoList::SetMaxUndo(int n) {
  if (n < 0)
    n = 0;
  if (n == fMaxUndo)
    return;
  fMaxUndo = n;
  Trim();
}

void TKzEditUndoList::SetSavePoint() {
  fSavePoint = fItems.empty() ? 0 : fItems.back().StepNumber;
}

void TKzEditUndoList::ClearSavePoint() {
  if (AtSavePoint())
    fSavePoint = -1;
}

bool TKzEditUndoList::AtSavePoint() const {
  if (fItems.empty())
    return fSavePoint == 0;
  return fItems.back().StepNumber == fSavePoint;
}
