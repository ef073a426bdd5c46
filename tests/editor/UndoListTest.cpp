// The undo list: step numbers, blocks, locking, trimming, group breaks and the save point.
#include "editor/KzEditMiscClasses.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using R = TKzChangeReason;

void Push(TKzEditUndoList &l, R reason = R::InsertText, const char *text = "") {
  l.PushChange(reason, {1, 1}, {2, 1}, text, smNormal);
}

std::vector<int> Steps(const TKzEditUndoList &l) {
  std::vector<int> out;
  for (int i = 0; i < l.ItemCount(); ++i)
    out.push_back(l.Item(i).StepNumber);
  return out;
}

} // namespace

TEST(UndoList, ItemsKeepWhatWasPushed) {
  TKzEditUndoList l;
  EXPECT_EQ(l.LastReason(), R::NoChange);
  EXPECT_EQ(l.PeekItem(), nullptr);
  EXPECT_FALSE(l.PopItem().has_value());
  l.PushChange(R::DeleteBeforeCaret, {3, 2}, {5, 4}, "removed", smColumn);
  ASSERT_TRUE(l.HasItems());
  const TKzEditUndoItem *top = l.PeekItem();
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->Reason, R::DeleteBeforeCaret);
  EXPECT_EQ(top->SelMode, smColumn);
  EXPECT_EQ(top->StartPos, (TBufferCoord{3, 2}));
  EXPECT_EQ(top->EndPos, (TBufferCoord{5, 4}));
  EXPECT_EQ(top->ChangeText, "removed");
  EXPECT_EQ(top->StepNumber, 1);
  EXPECT_EQ(l.LastReason(), R::DeleteBeforeCaret);
  std::optional<TKzEditUndoItem> popped = l.PopItem();
  ASSERT_TRUE(popped.has_value());
  EXPECT_EQ(popped->ChangeText, "removed");
  EXPECT_EQ(l.ItemCount(), 0);
}

TEST(UndoList, StepNumbersAdvancePerItemAndStayWithinABlock) {
  TKzEditUndoList l;
  Push(l);
  Push(l);
  l.BeginBlock();
  Push(l);
  l.BeginBlock(); // nested: same number
  Push(l);
  l.EndBlock();
  Push(l);
  l.EndBlock();
  Push(l);
  EXPECT_EQ(Steps(l), (std::vector<int>{1, 2, 3, 3, 3, 4}));
  EXPECT_EQ(l.BlockDepth(), 0);
  EXPECT_EQ(l.BlockStepNumber(), 0);
  l.EndBlock(); // an unmatched end does nothing
  EXPECT_EQ(l.NextStepNumber(), 5);
  // An empty block still uses up a number.
  l.BeginBlock();
  l.EndBlock();
  Push(l);
  EXPECT_EQ(l.PeekItem()->StepNumber, 6);
}

TEST(UndoList, StepNumbersWrapAroundZero) {
  TKzEditUndoList l;
  l.SetNextStepNumber(-1);
  Push(l);
  Push(l);
  EXPECT_EQ(Steps(l), (std::vector<int>{-1, 1}));
  l.SetNextStepNumber(2147483647);
  Push(l);
  Push(l);
  EXPECT_EQ(l.Item(2).StepNumber, 2147483647);
  EXPECT_EQ(l.Item(3).StepNumber, -2147483647 - 1);
  // A block opened at -1 closes onto 1, never 0.
  l.SetNextStepNumber(-1);
  l.BeginBlock();
  Push(l);
  l.EndBlock();
  EXPECT_EQ(l.NextStepNumber(), 1);
}

TEST(UndoList, ItemAddedFiresPerItemButNotForGroupBreaksAndOnceForABlock) {
  TKzEditUndoList l;
  std::vector<int> calls; // the block depth at each call
  l.OnItemAdded = [&](TKzEditUndoList &list) { calls.push_back(list.BlockDepth()); };
  Push(l);
  l.AddGroupBreak();
  l.AddGroupBreak(); // the top already is one: nothing pushed
  EXPECT_EQ(l.ItemCount(), 2);
  l.BeginBlock();
  Push(l);
  Push(l);
  l.EndBlock();
  EXPECT_EQ(calls, (std::vector<int>{0, 1, 1, 0}));
  // A block that recorded nothing does not announce itself.
  calls.clear();
  l.BeginBlock();
  l.EndBlock();
  EXPECT_TRUE(calls.empty());
  // Nor does a block whose items were all taken off again before it closed.
  l.BeginBlock();
  Push(l);
  l.PopItem();
  calls.clear();
  l.EndBlock();
  EXPECT_TRUE(calls.empty());
}

TEST(UndoList, LockingSuppressesRecording) {
  TKzEditUndoList l;
  int added = 0;
  l.OnItemAdded = [&](TKzEditUndoList &) { ++added; };
  l.Lock();
  l.Lock();
  Push(l);
  l.Unlock();
  EXPECT_TRUE(l.IsLocked());
  l.AddGroupBreak();
  l.PushItem(TKzEditUndoItem{});
  l.Unlock();
  l.Unlock(); // never below zero
  EXPECT_FALSE(l.IsLocked());
  EXPECT_EQ(l.ItemCount(), 0);
  EXPECT_EQ(added, 0);
  EXPECT_EQ(l.NextStepNumber(), 1); // nothing numbered while locked
  Push(l);
  EXPECT_EQ(l.ItemCount(), 1);
}

TEST(UndoList, MaxUndoTrimsTheOldestItems) {
  TKzEditUndoList l;
  EXPECT_EQ(l.MaxUndo(), 1024);
  for (int i = 0; i < 5; ++i)
    Push(l);
  l.SetMaxUndo(3);
  EXPECT_EQ(Steps(l), (std::vector<int>{3, 4, 5}));
  Push(l);
  EXPECT_EQ(Steps(l), (std::vector<int>{4, 5, 6}));
  int added = 0;
  l.OnItemAdded = [&](TKzEditUndoList &) { ++added; };
  l.SetMaxUndo(-5);
  EXPECT_EQ(l.MaxUndo(), 0);
  EXPECT_EQ(l.ItemCount(), 0);
  Push(l);
  EXPECT_EQ(l.ItemCount(), 0); // nothing can be kept
  EXPECT_EQ(added, 1);         // but the change is still announced
}

TEST(UndoList, PushItemKeepsItsStepNumber) {
  TKzEditUndoList l;
  TKzEditUndoItem item;
  item.Reason = R::GroupBreak;
  item.StepNumber = 42;
  int added = 0;
  l.OnItemAdded = [&](TKzEditUndoList &) { ++added; };
  l.PushItem(item);
  EXPECT_EQ(l.PeekItem()->StepNumber, 42);
  EXPECT_EQ(l.NextStepNumber(), 1);
  EXPECT_EQ(added, 0);
  item.Reason = R::CaretMove;
  l.PushItem(item);
  EXPECT_EQ(added, 1);
  // The driver's way of moving items between lists: a fixed block number meanwhile.
  l.SetBlockStepNumber(7);
  Push(l);
  Push(l);
  l.SetBlockStepNumber(0);
  EXPECT_EQ(Steps(l), (std::vector<int>{42, 42, 7, 7}));
}

TEST(UndoList, SavePointFollowsTheTopItem) {
  TKzEditUndoList l;
  EXPECT_TRUE(l.AtSavePoint()); // empty list, save point 0
  Push(l);                      // step 1
  EXPECT_FALSE(l.AtSavePoint());
  l.SetSavePoint();
  EXPECT_EQ(l.SavePoint(), 1);
  EXPECT_TRUE(l.AtSavePoint());
  Push(l); // step 2
  EXPECT_FALSE(l.AtSavePoint());
  l.PopItem(); // back at step 1
  EXPECT_TRUE(l.AtSavePoint());
  l.ClearSavePoint();
  EXPECT_EQ(l.SavePoint(), -1);
  EXPECT_FALSE(l.AtSavePoint());
  l.SetSavePoint();
  Push(l);
  l.ClearSavePoint(); // not at the save point: it stays
  EXPECT_EQ(l.SavePoint(), 1);
  l.Clear();
  EXPECT_FALSE(l.AtSavePoint()); // the empty list is at save point 0 only
  l.SetSavePoint();
  EXPECT_EQ(l.SavePoint(), 0);
  EXPECT_TRUE(l.AtSavePoint());
}

TEST(UndoList, GroupBreakMarksTheSavedStateBetweenSteps) {
  // What the editor does when the text is marked unmodified: a break, then the save point.
  TKzEditUndoList l;
  Push(l, R::InsertText, "a"); // step 1
  l.AddGroupBreak();           // step 2
  l.SetSavePoint();
  EXPECT_EQ(l.SavePoint(), 2);
  Push(l, R::InsertText, "b"); // step 3
  EXPECT_FALSE(l.AtSavePoint());
  l.PopItem();
  EXPECT_TRUE(l.AtSavePoint());
  EXPECT_EQ(l.PeekItem()->Reason, R::GroupBreak);
  EXPECT_EQ(l.PeekItem()->SelMode, smNormal);
  EXPECT_EQ(l.PeekItem()->ChangeText, "");
}

TEST(UndoList, BracketPairs) {
  EXPECT_TRUE(IsBracketEnd(R::PasteEnd));
  EXPECT_TRUE(IsBracketEnd(R::BracketCEnd));
  EXPECT_FALSE(IsBracketEnd(R::PasteBegin));
  EXPECT_FALSE(IsBracketEnd(R::GroupBreak));
  EXPECT_TRUE(IsBracketBegin(R::BracketABegin));
  EXPECT_FALSE(IsBracketBegin(R::InsertText));
  EXPECT_EQ(MatchingBracketBegin(R::PasteEnd), R::PasteBegin);
  EXPECT_EQ(MatchingBracketBegin(R::BracketAEnd), R::BracketABegin);
  EXPECT_EQ(MatchingBracketBegin(R::BracketBEnd), R::BracketBBegin);
  EXPECT_EQ(MatchingBracketEnd(R::BracketCBegin), R::BracketCEnd);
  EXPECT_EQ(MatchingBracketEnd(R::PasteBegin), R::PasteEnd);
  EXPECT_EQ(int(R::PadSpaces), 25);
  EXPECT_EQ(int(R::DeleteAll), 22);
}
