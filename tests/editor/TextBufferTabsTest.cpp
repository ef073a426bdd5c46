// Tab expansion, its per-line cache, the longest line and column conversion.
#include "editor/KzEditMiscProcs.h"
#include "editor/KzEditTextBuffer.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextBufferTabs, ExpansionForEachKindOfWidth) {
  TKzEditStringList l;
  l.AddLine("a\tb");
  l.SetTabWidth(4); // power of two
  EXPECT_EQ(l.ExpandedLine(0), "a\t\t\tb");
  EXPECT_EQ(l.ExpandedLength(0), 5);
  l.SetTabWidth(3); // remainder
  EXPECT_EQ(l.ExpandedLine(0), "a\t\tb");
  EXPECT_EQ(l.ExpandedLength(0), 4);
  l.SetTabWidth(1);
  EXPECT_EQ(l.ExpandedLine(0), "a b");
  EXPECT_EQ(l.ExpandedLength(0), 3);
  l.SetTabWidth(0);
  EXPECT_EQ(l.ExpandedLine(0), "a b");
  // A tab exactly on a stop still takes a whole stop, and consecutive tabs each go to the next.
  l.SetTabWidth(4);
  l.AddLine("abcd\t\tx");
  EXPECT_EQ(l.ExpandedLength(1), 13);
  l.SetTabWidth(6);
  EXPECT_EQ(l.ExpandedLength(1), 13);
  EXPECT_EQ(l.ExpandedLine(1), "abcd\t\t\t\t\t\t\t\tx");
  EXPECT_EQ(l.ExpandedLine(5), "");
  EXPECT_EQ(l.ExpandedLength(-1), 0);
}

TEST(TextBufferTabs, FlagsRecordWhatExpansionFound) {
  TKzEditStringList l;
  l.AddLine("plain");
  l.AddLine("\t");
  l.AddLine("");
  EXPECT_EQ(l.ExpandedLength(0), 5);
  EXPECT_EQ(l.LineFlags(0), sfNoTabs);
  EXPECT_EQ(l.ExpandedLength(1), 8);
  EXPECT_EQ(l.LineFlags(1), sfTabsFound);
  EXPECT_EQ(l.ExpandedLength(2), 0);
  EXPECT_EQ(l.LineFlags(2), sfNoTabs);
  // A new width makes every length unknown and drops NoTabs; TabsFound stays.
  l.SetTabWidth(2);
  EXPECT_EQ(l.LineFlags(0), sfLengthUnknown);
  EXPECT_EQ(l.LineFlags(1), sfTabsFound | sfLengthUnknown);
  EXPECT_EQ(l.ExpandedLength(1), 2);
  EXPECT_EQ(l.LineFlags(1), sfTabsFound);
  // ExpandedLine also fills the cache.
  l.SetTabWidth(4);
  EXPECT_EQ(l.ExpandedLine(1), "\t\t\t\t");
  EXPECT_EQ(l.LineFlags(1), sfTabsFound);
}

TEST(TextBufferTabs, LongestLineIsCachedAndFollowsChanges) {
  TKzEditStringList l;
  EXPECT_EQ(l.LongestLineLength(), 0);
  l.AddLine("");
  l.AddLine("");
  EXPECT_EQ(l.LongestLineLength(), 0);
  l.ReplaceLine(0, "abc");
  l.ReplaceLine(1, "\tx"); // 9 cells at width 8
  l.AddLine("abcdefghi");  // also 9: the first one stays the longest
  EXPECT_EQ(l.LongestLineLength(), 9);
  l.SetTabWidth(2); // line 1 shrinks to 3; line 2 is the longest now
  EXPECT_EQ(l.LongestLineLength(), 9);
  l.DeleteLine(2);
  EXPECT_EQ(l.LongestLineLength(), 3);
  l.InsertLine(0, "0123456789");
  EXPECT_EQ(l.LongestLineLength(), 10);
  // Exchanging the longest line with another keeps the answer without a rescan.
  l.ExchangeLines(0, 2);
  EXPECT_EQ(l.GetLine(2), "0123456789");
  l.ExchangeLines(1, 2);
  EXPECT_EQ(l.LongestLineLength(), 10);
  l.DeleteLine(1);
  EXPECT_EQ(l.LongestLineLength(), 3);
  l.Clear();
  EXPECT_EQ(l.LongestLineLength(), 0);
}

TEST(TextBufferTabs, BufferAndDisplayColumnsConvertBothWays) {
  // "a\tbc" at width 4: a = cell 1, tab = cells 2..4, b = 5, c = 6.
  const std::string line = "a\tbc";
  EXPECT_EQ(BufferToDisplayColumn(line, 1, 4), 1);
  EXPECT_EQ(BufferToDisplayColumn(line, 2, 4), 2);
  EXPECT_EQ(BufferToDisplayColumn(line, 3, 4), 5);
  EXPECT_EQ(BufferToDisplayColumn(line, 5, 4), 7);
  EXPECT_EQ(BufferToDisplayColumn(line, 8, 4), 10); // beyond the end, one cell each
  EXPECT_EQ(BufferToDisplayColumn(line, 0, 4), 1);
  EXPECT_EQ(DisplayToBufferColumn(line, 1, 4), 1);
  EXPECT_EQ(DisplayToBufferColumn(line, 2, 4), 2);
  EXPECT_EQ(DisplayToBufferColumn(line, 4, 4), 2); // inside the tab: the tab itself
  EXPECT_EQ(DisplayToBufferColumn(line, 5, 4), 3);
  EXPECT_EQ(DisplayToBufferColumn(line, 7, 4), 5);
  EXPECT_EQ(DisplayToBufferColumn(line, 10, 4), 8);
  EXPECT_EQ(DisplayToBufferColumn("", 3, 4), 3);
  // Width 1 or less counts a tab as one cell, as the expansion does.
  EXPECT_EQ(BufferToDisplayColumn(line, 5, 1), 5);
  EXPECT_EQ(GetExpandedLength(line, 4), 6);
  EXPECT_EQ(GetExpandedLength(line, 1), 4);
  for (int c = 1; c <= 8; ++c)
    EXPECT_EQ(DisplayToBufferColumn(line, BufferToDisplayColumn(line, c, 3), 3), c) << c;
}

TEST(TextBufferTabs, RoutineChoiceByWidth) {
  EXPECT_EQ(GetBestConvertTabsProc(1), &ConvertTabs1);
  EXPECT_EQ(GetBestConvertTabsProc(-3), &ConvertTabs1);
  EXPECT_EQ(GetBestConvertTabsProc(8), &ConvertTabs2n);
  EXPECT_EQ(GetBestConvertTabsProc(2), &ConvertTabs2n);
  EXPECT_EQ(GetBestConvertTabsProc(6), &ConvertTabs);
  // Mask and remainder agree wherever both apply.
  bool t1 = false, t2 = false;
  EXPECT_EQ(ConvertTabs2n("ab\tc\t\td", 8, t1), ConvertTabs("ab\tc\t\td", 8, t2));
  EXPECT_TRUE(t1);
  EXPECT_EQ(ConvertTabs("no tabs", 5, t2), "no tabs");
  EXPECT_FALSE(t2);
}
