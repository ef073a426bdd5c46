// The undo and redo lists: change items tied into steps by step numbers, blocks and group
// breaks, with a save point that tells whether the text differs from its last saved state.
// The drivers that revert and repeat items belong to the editor control.
#pragma once

#include "editor/KzEditTypes.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Why an item was recorded; the numbers are stable (23 and 24 are unused).
enum class TKzChangeReason : std::uint8_t {
  InsertText = 0,
  PasteText = 1,
  DropText = 2,
  DeleteAfterCaret = 3,
  DeleteBeforeCaret = 4,
  BreakLine = 5,
  IndentBlock = 6,
  UnindentBlock = 7,
  QuietDeleteBeforeCaret = 8,
  QuietDeleteAfterCaret = 9,
  BracketABegin = 10,
  BracketAEnd = 11,
  PasteBegin = 12,
  PasteEnd = 13,
  BracketBBegin = 14,
  BracketBEnd = 15,
  BracketCBegin = 16,
  BracketCEnd = 17,
  CaretMove = 18,
  SelectionChange = 19,
  NoChange = 20,
  GroupBreak = 21,
  DeleteAll = 22,
  PadSpaces = 25,
  // Blanks that trimming took off a line's end; undo puts them back at the item's start.
  TrimSpaces = 26,
};

// True for the four bracket ends; MatchingBracketBegin gives the begin that closes the run
// (PasteEnd -> PasteBegin ...), MatchingBracketEnd the other way round.
bool IsBracketEnd(TKzChangeReason r);
bool IsBracketBegin(TKzChangeReason r);
TKzChangeReason MatchingBracketBegin(TKzChangeReason end);
TKzChangeReason MatchingBracketEnd(TKzChangeReason begin);

struct TKzEditUndoItem {
  TKzChangeReason Reason = TKzChangeReason::InsertText;
  TKzSelectionMode SelMode = smNormal;
  TBufferCoord StartPos;
  TBufferCoord EndPos;
  std::string ChangeText;
  std::int32_t StepNumber = 1; // never 0; equal numbers form one undo step
  // A rectangle's unindent: the buffer column of each line's piece. Its left edge may cut
  // through a tab, and then the column cannot be told from the text afterwards.
  std::vector<int> Columns;
};

class TKzEditUndoList {
public:
  using TItemAdded = std::function<void(TKzEditUndoList &)>;
  static constexpr int DefaultMaxUndo = 1024;

  TKzEditUndoList() = default;
  TKzEditUndoList(const TKzEditUndoList &) = delete;
  TKzEditUndoList &operator=(const TKzEditUndoList &) = delete;

  // Records a change: ignored while locked; numbered by the open block or by the next step
  // number (which then advances, skipping 0); the oldest items go beyond MaxUndo; OnItemAdded
  // follows for every reason but GroupBreak.
  void PushChange(TKzChangeReason reason, TBufferCoord start, TBufferCoord end,
                  const std::string &text, TKzSelectionMode mode, std::vector<int> columns = {});
  // Appends an item with the step number it carries (moving a group break between the lists
  // keeps its number). Same lock, trimming and OnItemAdded rules as PushChange.
  void PushItem(TKzEditUndoItem item);

  void BeginBlock();
  // Closing the outermost block advances the step number and raises OnItemAdded once when the
  // block recorded anything.
  void EndBlock();
  int BlockDepth() const { return FBlockDepth; }
  // The number every item gets while a block is open; 0 when none is. The undo driver sets it
  // on the other list for the duration of one undo or redo, so moved items share one step.
  std::int32_t BlockStepNumber() const { return FBlockStepNumber; }
  void SetBlockStepNumber(std::int32_t n) { FBlockStepNumber = n; }

  std::optional<TKzEditUndoItem> PopItem();
  const TKzEditUndoItem *PeekItem() const; // null when empty
  TKzChangeReason LastReason() const;      // NoChange when empty
  // Pushes a GroupBreak unless the top item already is one.
  void AddGroupBreak();

  bool HasItems() const { return !FItems.empty(); }
  int ItemCount() const { return int(FItems.size()); }
  const TKzEditUndoItem &Item(int i) const { return FItems[std::size_t(i)]; } // 0 = oldest

  void Lock() { ++FLockCount; }
  void Unlock();
  bool IsLocked() const { return FLockCount > 0; }

  void Clear();

  int MaxUndo() const { return FMaxUndo; }
  void SetMaxUndo(int n); // negative counts as 0; trims at once

  // The save point is the step number of the top item when the text was last marked saved:
  // 0 for the empty list, -1 for none.
  void SetSavePoint();
  void ClearSavePoint();
  bool AtSavePoint() const;
  std::int32_t SavePoint() const { return FSavePoint; }

  // The number the next item outside a block gets. Settable so a list can resume a sequence.
  std::int32_t NextStepNumber() const { return FNextStepNumber; }
  void SetNextStepNumber(std::int32_t n) { FNextStepNumber = n == 0 ? 1 : n; }

  TItemAdded OnItemAdded;

private:
  void Append(TKzEditUndoItem &&item);
  void Trim();
  void AdvanceStepNumber();

  std::deque<TKzEditUndoItem> FItems;
  std::int32_t FBlockStepNumber = 0;
  int FBlockDepth = 0;
  int FLockCount = 0;
  int FMaxUndo = DefaultMaxUndo;
  std::int32_t FNextStepNumber = 1;
  std::int32_t FSavePoint = 0;
};
