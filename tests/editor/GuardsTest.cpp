// The scoped locks: each one closes on every way out of its scope, a throw included, and
// nested ones close in order.
#include "editor/KzEditGuards.h"
#include "editor/KzEditMiscClasses.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct TCountingLock : TKzPaintLockable {
  int Depth = 0, Deliveries = 0;
  void IncPaintLock() override { ++Depth; }
  void DecPaintLock() override {
    if (--Depth == 0)
      ++Deliveries;
  }
};

} // namespace

TEST(Guards, PaintLockNestsAndDeliversOnceEvenWhenTheScopeThrows) {
  TCountingLock target;
  try {
    TKzPaintLock outer(target);
    TKzPaintLock inner(target);
    EXPECT_EQ(target.Depth, 2);
    throw std::runtime_error("command failed");
  } catch (const std::runtime_error &) {
  }
  EXPECT_EQ(target.Depth, 0);
  EXPECT_EQ(target.Deliveries, 1);
}

TEST(Guards, UndoBlockMakesOneStepAndClosesOnAThrow) {
  TKzEditUndoList list;
  int added = 0;
  list.OnItemAdded = [&](TKzEditUndoList &) { ++added; };
  try {
    TKzUndoBlock block(list);
    list.PushChange(TKzChangeReason::InsertText, {1, 1}, {2, 1}, "", smNormal);
    list.PushChange(TKzChangeReason::InsertText, {2, 1}, {3, 1}, "", smNormal);
    throw std::runtime_error("command failed");
  } catch (const std::runtime_error &) {
  }
  EXPECT_EQ(list.BlockDepth(), 0);
  EXPECT_EQ(list.BlockStepNumber(), 0);
  ASSERT_EQ(list.ItemCount(), 2);
  EXPECT_EQ(list.Item(0).StepNumber, list.Item(1).StepNumber);
  // Two items, then the close of the block that recorded them.
  EXPECT_EQ(added, 3);
  // The next item is a step of its own.
  list.PushChange(TKzChangeReason::InsertText, {3, 1}, {4, 1}, "", smNormal);
  EXPECT_NE(list.Item(2).StepNumber, list.Item(1).StepNumber);
}

TEST(Guards, UndoLockRecordsNothingAndUnlocksOnAThrow) {
  TKzEditUndoList list;
  try {
    TKzUndoLock outer(list);
    TKzUndoLock inner(list);
    list.PushChange(TKzChangeReason::InsertText, {1, 1}, {2, 1}, "", smNormal);
    throw std::runtime_error("command failed");
  } catch (const std::runtime_error &) {
  }
  EXPECT_FALSE(list.IsLocked());
  EXPECT_EQ(list.ItemCount(), 0);
  list.PushChange(TKzChangeReason::InsertText, {1, 1}, {2, 1}, "", smNormal);
  EXPECT_EQ(list.ItemCount(), 1);
}
