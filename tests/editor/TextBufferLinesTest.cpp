// Line operations of the text buffer: contents, index errors, growth and notifications.
#include "editor/KzEditTextBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the buffer's notifications as short strings in the order they arrive.
struct TRecorder {
  std::vector<std::string> Events;
  explicit TRecorder(TKzEditStringList &l) {
    l.OnBeginChange = [this] { Events.push_back("begin"); };
    l.OnEndChange = [this] { Events.push_back("end"); };
    l.OnLinesCleared = [this] { Events.push_back("cleared"); };
    l.OnLinesInserted = [this](int i, int n) { Add("ins", i, n); };
    l.OnLinesDeleted = [this](int i, int n) { Add("del", i, n); };
    l.OnLineReplaced = [this](int i, int n) { Add("rep", i, n); };
  }
  void Add(const char *what, int i, int n) {
    Events.push_back(std::string(what) + "(" + std::to_string(i) + "," + std::to_string(n) + ")");
  }
};

std::vector<std::string> Lines(const TKzEditStringList &l) {
  std::vector<std::string> out;
  for (int i = 0; i < l.Count(); ++i)
    out.push_back(l.GetLine(i));
  return out;
}

using V = std::vector<std::string>;

void Fill(TKzEditStringList &l, std::initializer_list<const char *> lines) {
  for (const char *s : lines)
    l.AddLine(s);
}

// The message and the index of an index error, or "none".
template <class F> std::string IndexError(F f) {
  try {
    f();
  } catch (const EKzEditStringList &e) {
    return std::string(e.what()) + "|" + std::to_string(e.Index);
  }
  return "none";
}

} // namespace

TEST(TextBufferLines, InsertAddAndReadBack) {
  TKzEditStringList l;
  EXPECT_EQ(l.AddLine("b"), 0);
  l.InsertLine(0, "a");
  l.InsertLine(2, "d"); // Count() appends
  l.InsertLine(2, "c");
  EXPECT_EQ(Lines(l), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(l.GetLine(-1), "");
  EXPECT_EQ(l.GetLine(4), "");
  EXPECT_EQ(l.LineView(2), "c");
  // A new line has no highlighter state and an unknown expanded length.
  EXPECT_EQ(l.LineRange(1), 0xFFFFFFFFu);
  EXPECT_EQ(l.LineFlags(1), sfLengthUnknown);
  EXPECT_EQ(l.LineObject(1), nullptr);
  EXPECT_EQ(l.LineRange(9), 0u);
  EXPECT_EQ(l.LineObject(-3), nullptr);
}

TEST(TextBufferLines, IndexErrorsNameTheIndexAndChangeNothing) {
  TKzEditStringList l;
  Fill(l, {"a", "b"});
  EXPECT_EQ(IndexError([&] { l.DeleteLine(-1); }), "Invalid stringlist index -1|-1");
  EXPECT_EQ(IndexError([&] { l.DeleteLine(2); }), "Invalid stringlist index 2|2");
  EXPECT_EQ(IndexError([&] { l.InsertLine(3, "x"); }), "Invalid stringlist index 3|3");
  EXPECT_EQ(IndexError([&] { l.InsertEmptyLines(-1, 2); }), "Invalid stringlist index -1|-1");
  EXPECT_EQ(IndexError([&] { l.ReplaceLine(3, "x"); }), "Invalid stringlist index 3|3");
  EXPECT_EQ(IndexError([&] { l.ExchangeLines(0, 5); }), "Invalid stringlist index 5|5");
  EXPECT_EQ(IndexError([&] { l.ExchangeLines(-2, 7); }), "Invalid stringlist index -2|-2");
  EXPECT_EQ(IndexError([&] { l.SetLineObject(2, &l); }), "Invalid stringlist index 2|2");
  EXPECT_EQ(IndexError([&] { l.SetLineRange(-1, 3); }), "Invalid stringlist index -1|-1");
  EXPECT_EQ(IndexError([&] { l.DeleteLines(3, 1); }), "Invalid stringlist index 3|3");
  EXPECT_EQ(Lines(l), (V{"a", "b"}));
  // Runs of zero or fewer lines are no-ops even with a bad index.
  EXPECT_EQ(IndexError([&] { l.DeleteLines(99, 0); }), "none");
  EXPECT_EQ(IndexError([&] { l.InsertEmptyLines(2, 0); }), "none");
  EXPECT_EQ(Lines(l), (V{"a", "b"}));
}

TEST(TextBufferLines, DeleteRunsAreClampedToTheEnd) {
  TKzEditStringList l;
  Fill(l, {"0", "1", "2", "3", "4"});
  TRecorder r(l);
  l.DeleteLines(3, 10);
  EXPECT_EQ(Lines(l), (V{"0", "1", "2"}));
  l.DeleteLines(0, 2);
  EXPECT_EQ(Lines(l), (V{"2"}));
  l.DeleteLines(1, 4); // at Count(): nothing to delete
  EXPECT_EQ(Lines(l), (V{"2"}));
  l.DeleteLine(0);
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(r.Events, (V{"begin", "del(3,2)", "end", "begin", "del(0,2)", "end", "begin",
                         "del(0,1)", "end"}));
}

TEST(TextBufferLines, ReplaceKeepsRangeAndObjectAndAppendsAtCount) {
  TKzEditStringList l;
  l.ReplaceLine(0, "first"); // i == Count() on an empty list appends
  int tag = 0;
  l.SetLineObject(0, &tag);
  l.SetLineRange(0, 77);
  (void)l.ExpandedLength(0);
  ASSERT_EQ(l.LineFlags(0), sfNoTabs);
  TRecorder r(l);
  l.ReplaceLine(0, "x\ty");
  EXPECT_EQ(l.GetLine(0), "x\ty");
  EXPECT_EQ(l.LineRange(0), 77u);
  EXPECT_EQ(l.LineObject(0), &tag);
  EXPECT_EQ(l.LineFlags(0), sfLengthUnknown);
  EXPECT_EQ(l.ExpandedLength(0), 9);
  l.ReplaceLine(1, "second");
  EXPECT_EQ(Lines(l), (V{"x\ty", "second"}));
  EXPECT_EQ(r.Events, (V{"begin", "rep(0,1)", "end", "begin", "ins(1,1)", "end"}));
}

TEST(TextBufferLines, InsertEmptyLinesZeroFillsAndSetsCapacityExactly) {
  TKzEditStringList l;
  Fill(l, {"a", "b"});
  l.SetLineRange(1, 5);
  TRecorder r(l);
  l.InsertEmptyLines(1, 3);
  EXPECT_EQ(Lines(l), (V{"a", "", "", "", "b"}));
  EXPECT_EQ(l.Capacity(), 5);
  EXPECT_EQ(l.LineRange(2), 0u);
  EXPECT_EQ(l.LineFlags(2), 0);
  EXPECT_EQ(l.ExpandedLength(2), 0);
  EXPECT_EQ(l.LineRange(4), 5u); // moved with its line
  EXPECT_EQ(r.Events, (V{"begin", "ins(1,3)", "end"}));
}

TEST(TextBufferLines, CapacityGrowthRules) {
  TKzEditStringList l;
  std::vector<int> seen;
  for (int i = 0; i < 100; ++i) {
    l.AddLine("x");
    if (seen.empty() || seen.back() != l.Capacity())
      seen.push_back(l.Capacity());
  }
  // +16 while at most 64, then a quarter: 80 -> 100.
  EXPECT_EQ(seen, (std::vector<int>{16, 32, 48, 64, 80, 100}));
  l.AddLine("x"); // 100 full -> 125
  EXPECT_EQ(l.Capacity(), 125);

  TKzEditStringList batch;
  Fill(batch, {"a", "b", "c"});
  TKzEditStringList target;
  target.AddLines(batch); // (0 + 3 + 15) rounded down to 16
  EXPECT_EQ(target.Capacity(), 16);
  for (int i = 0; i < 5; ++i)
    target.AddLines(batch);
  EXPECT_EQ(target.Count(), 18);
  EXPECT_EQ(target.Capacity(), 32); // (15 + 3 + 15) / 16 * 16
}

TEST(TextBufferLines, SetCapacityBelowCountFails) {
  TKzEditStringList l;
  Fill(l, {"a", "b", "c"});
  try {
    l.SetCapacity(2);
    FAIL() << "no error";
  } catch (const EKzEditStringList &e) {
    EXPECT_STREQ(e.what(), "Stringlist capacity cannot be smaller than count");
  }
  EXPECT_EQ(l.Capacity(), 16);
  l.SetCapacity(3);
  EXPECT_EQ(l.Capacity(), 3);
  EXPECT_EQ(Lines(l), (V{"a", "b", "c"}));
  l.AddLine("d"); // full at 3: +16
  EXPECT_EQ(l.Capacity(), 19);
}

TEST(TextBufferLines, AddLinesCopiesTextAndObjectButResetsState) {
  TKzEditStringList src;
  Fill(src, {"one", "two"});
  int tag = 0;
  src.SetLineObject(1, &tag);
  src.SetLineRange(1, 9);
  TKzEditStringList l;
  l.AddLine("zero");
  TRecorder r(l);
  l.AddLines(src);
  TKzEditStringList empty;
  l.AddLines(empty);
  EXPECT_EQ(Lines(l), (V{"zero", "one", "two"}));
  EXPECT_EQ(l.LineObject(2), &tag);
  EXPECT_EQ(l.LineRange(2), 0xFFFFFFFFu);
  EXPECT_EQ(r.Events, (V{"begin", "ins(1,2)", "end"}));
  l.AddLines(l); // onto itself: the lines as they were before
  EXPECT_EQ(Lines(l), (V{"zero", "one", "two", "zero", "one", "two"}));
}

TEST(TextBufferLines, ClearNotifiesOnlyWhenThereWereLines) {
  TKzEditStringList l;
  TRecorder r(l);
  l.Clear();
  EXPECT_TRUE(r.Events.empty());
  l.AddLine("a");
  r.Events.clear();
  l.Clear();
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(l.Capacity(), 0);
  EXPECT_EQ(r.Events, (V{"begin", "cleared", "end"}));
}

TEST(TextBufferLines, BracketsNestAndOnlyTheOutermostNotifies) {
  TKzEditStringList l;
  TRecorder r(l);
  l.BeginUpdate();
  l.AddLine("a");
  {
    TKzEditUpdateGuard inner(l);
    l.InsertLine(0, "b");
    l.SetLineRange(0, 1);
    l.ExchangeLines(0, 1);
  }
  l.DeleteLine(0);
  EXPECT_EQ(l.UpdateCount(), 1);
  l.EndUpdate();
  l.EndUpdate(); // unbalanced end is ignored
  EXPECT_EQ(l.UpdateCount(), 0);
  EXPECT_EQ(r.Events, (V{"begin", "ins(0,1)", "ins(0,1)", "del(0,1)", "end"}));
  EXPECT_EQ(Lines(l), (V{"b"}));
}

TEST(TextBufferLines, DeleteLinesHasNoStaleLinesWhenTheBracketCloses) {
  TKzEditStringList l;
  Fill(l, {"a", "b", "c", "d"});
  std::vector<std::string> atEnd;
  l.OnEndChange = [&] { atEnd = Lines(l); };
  l.DeleteLines(1, 2);
  EXPECT_EQ(atEnd, (V{"a", "d"}));
}

TEST(TextBufferLines, DestructionRaisesNoNotification) {
  int events = 0;
  {
    TKzEditStringList l;
    l.AddLine("a");
    l.OnBeginChange = [&] { ++events; };
    l.OnEndChange = [&] { ++events; };
    l.OnLinesCleared = [&] { ++events; };
  }
  EXPECT_EQ(events, 0);
}

TEST(TextBufferLines, MiddleInsertInALargeListKeepsEveryLine) {
  TKzEditStringList l;
  for (int i = 0; i < 3000; ++i)
    l.AddLine(i % 2 ? "a long line that does not fit any small buffer " + std::to_string(i)
                    : std::to_string(i));
  l.InsertLine(1500, "middle");
  l.DeleteLine(10);
  ASSERT_EQ(l.Count(), 3000);
  EXPECT_EQ(l.GetLine(9), "a long line that does not fit any small buffer 9");
  EXPECT_EQ(l.GetLine(10), "a long line that does not fit any small buffer 11");
  EXPECT_EQ(l.GetLine(11), "12");
  EXPECT_EQ(l.GetLine(1499), "middle");
  EXPECT_EQ(l.GetLine(1500), "1500");
  EXPECT_EQ(l.GetLine(2999), "a long line that does not fit any small buffer 2999");
}
