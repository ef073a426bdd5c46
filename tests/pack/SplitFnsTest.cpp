// The token splitter: collapsing runs, the one trailing empty token, positions.
#include "pack/SplitFns.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Split(const std::string &text, char sep) {
  std::vector<std::string> list;
  SplitString(text, sep, list);
  return list;
}

using List = std::vector<std::string>;

TEST(SplitString, RunsOfSeparatorsCollapseAndOnlyATrailingRunLeavesOneEmptyToken) {
  EXPECT_EQ(Split("a\n\nb", '\n'), (List{"a", "b"}));
  EXPECT_EQ(Split("\n\n\na\nb", '\n'), (List{"a", "b"}));
  EXPECT_EQ(Split("a\n", '\n'), (List{"a"}));
  EXPECT_EQ(Split("a\n\n", '\n'), (List{"a", ""}));
  EXPECT_EQ(Split("a\n\n\n\n", '\n'), (List{"a", ""}));
  EXPECT_EQ(Split("\n", '\n'), (List{""}));
  EXPECT_EQ(Split("\n\n\n", '\n'), (List{""}));
  EXPECT_EQ(Split("", '\n'), List{});
  EXPECT_EQ(Split("abc", '\n'), (List{"abc"}));
}

TEST(SplitString, AppendsToWhatTheListAlreadyHolds) {
  List list{"x"};
  SplitString("a\tb", '\t', list);
  EXPECT_EQ(list, (List{"x", "a", "b"}));
}

TEST(SplitString, AnEmptyTitelMovesTheMetadataFieldsForward) {
  EXPECT_EQ(Split("\t.\tAutor\t.\tMail\t.\tWeb\t.\tOrdner", '\t'),
            (List{".", "Autor", ".", "Mail", ".", "Web", ".", "Ordner"}));
  EXPECT_EQ(Split("T\t.\tA", '\t'), (List{"T", ".", "A"}));
}

TEST(NextToken, AdvancesPastTheSeparatorThatEndedTheToken) {
  const std::string text = "\t\tab\tc";
  std::size_t pos = 1;
  EXPECT_EQ(NextToken(text, '\t', pos), "ab");
  EXPECT_EQ(pos, 6u);
  EXPECT_EQ(NextToken(text, '\t', pos), "c");
  EXPECT_EQ(pos, 7u); // one past the end
  EXPECT_EQ(NextToken(text, '\t', pos), "");
  EXPECT_EQ(pos, 7u);
}

TEST(NextToken, AtTrailingSeparatorsReturnsEmptyAndStopsAfterThem) {
  const std::string text = "a\t\t";
  std::size_t pos = 3;
  EXPECT_EQ(NextToken(text, '\t', pos), "");
  EXPECT_EQ(pos, 4u);
  pos = 2;
  EXPECT_EQ(NextToken("a\tbc", '\t', pos), "bc");
  EXPECT_EQ(pos, 5u);
}

} // namespace
