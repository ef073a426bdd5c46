// Where a search goes from the caret: forwards, backwards, around the document's end, inside
// a selection only, over empty matches, and across lines.
#include "SearchSupport.h"

#include <gtest/gtest.h>

namespace {

TKzSearch Plain(const std::string &p) { return TKzSearch(p, {}, HtmlWordChars()); }
TKzSearch Regex(const std::string &p) {
  return TKzSearch(p, {false, false, true}, HtmlWordChars());
}

const TTestLines kDoc{"ab ab", "", "xab", "ab"};

std::string Next(const TKzSearch &s, const TKzSearchLines &doc, TBufferCoord from, bool back,
                 const TKzSearchScope &scope = TKzSearchScope::Whole(), bool wrap = true) {
  bool wrapped = false;
  std::string r = Show(s.FindNext(doc, from, back, scope, wrap, &wrapped));
  return wrapped ? r + " wrapped" : r;
}

} // namespace

TEST(SearchDirection, ForwardsFromTheCaretAndAroundTheEnd) {
  const TKzSearch s = Plain("ab");
  // A match that starts at the caret counts; one the caret is inside of does not.
  EXPECT_EQ(Next(s, kDoc, {1, 1}, false), "1:1-3");
  EXPECT_EQ(Next(s, kDoc, {2, 1}, false), "1:4-6");
  EXPECT_EQ(Next(s, kDoc, {6, 1}, false), "3:2-4");
  EXPECT_EQ(Next(s, kDoc, {1, 2}, false), "3:2-4");
  EXPECT_EQ(Next(s, kDoc, {3, 4}, false), "1:1-3 wrapped");
  EXPECT_EQ(Next(s, kDoc, {3, 4}, false, TKzSearchScope::Whole(), false), "none");
  // Past the last line (the caret may stand below it in an empty buffer) it wraps too.
  EXPECT_EQ(Next(s, kDoc, {1, 9}, false), "1:1-3 wrapped");
  // One match only: found again from behind itself, as a wrap.
  const TTestLines one{"--ab--"};
  EXPECT_EQ(Next(s, one, {5, 1}, false), "1:3-5 wrapped");
  EXPECT_EQ(Next(s, TTestLines{}, {1, 1}, false), "none");
  EXPECT_EQ(Next(s, TTestLines{"", ""}, {1, 1}, true), "none");
}

TEST(SearchDirection, BackwardsFromTheCaretAndAroundTheStart) {
  const TKzSearch s = Plain("ab");
  // The last match that starts before the caret; a selected match is passed by starting
  // from its first character.
  EXPECT_EQ(Next(s, kDoc, {1, 4}, true), "3:2-4");
  EXPECT_EQ(Next(s, kDoc, {2, 3}, true), "1:4-6");
  EXPECT_EQ(Next(s, kDoc, {4, 1}, true), "1:1-3");
  EXPECT_EQ(Next(s, kDoc, {5, 1}, true), "1:4-6");
  EXPECT_EQ(Next(s, kDoc, {1, 1}, true), "4:1-3 wrapped");
  EXPECT_EQ(Next(s, kDoc, {1, 1}, true, TKzSearchScope::Whole(), false), "none");
  // Joined lines go backwards as well.
  const TKzSearch joined = Regex("b\\n");
  const TTestLines doc{"ab", "ab", "c"};
  EXPECT_EQ(Next(joined, doc, {1, 3}, true), "2:2-3:1");
  EXPECT_EQ(Next(joined, doc, {1, 1}, true), "2:2-3:1 wrapped");
  EXPECT_EQ(Next(joined, doc, {2, 2}, true), "1:2-2:1");
}

TEST(SearchDirection, OnlyInsideTheSelection) {
  const TKzSearch s = Plain("ab");
  const TTestLines doc{"ab ab ab", "ab ab", "abab"};
  // From (4,1) to (3,2): the match at 1:4 starts at the edge, 2:1 lies inside, 2:4 runs out.
  const TKzSearchScope range = TKzSearchScope::Range({3, 2}, {4, 1});
  EXPECT_EQ(Matches(s, doc, range), "1:4-6 1:7-9 2:1-3");
  EXPECT_EQ(Next(s, doc, {1, 1}, false, range), "1:4-6");
  EXPECT_EQ(Next(s, doc, {3, 2}, false, range), "1:4-6 wrapped");
  EXPECT_EQ(Next(s, doc, {4, 1}, true, range), "2:1-3 wrapped");
  // A rectangle: columns 2 to 5 of lines 2 and 3.
  const TKzSearchScope rect = TKzSearchScope::Rectangle(2, {{2, 6}, {2, 6}});
  EXPECT_EQ(Matches(s, doc, rect), "2:4-6 3:3-5");
  // An expression across lines stays inside the range too.
  EXPECT_EQ(Matches(Regex("b\\na"), doc, range), "1:8-2:2");
  EXPECT_EQ(Matches(Regex("b\\na"), doc, TKzSearchScope::Range({1, 1}, {1, 2})), "");
}

TEST(SearchDirection, EmptyMatchesMoveOn) {
  const TTestLines doc{"ab", "", "xx"};
  // Every place of an empty match once, each line's end included, and no endless loop.
  EXPECT_EQ(Matches(Regex("x*"), doc), "1:1-1 1:2-2 1:3-3 2:1-1 3:1-3 3:3-3");
  EXPECT_EQ(Matches(Regex("^"), doc), "1:1-1 2:1-1 3:1-1");
  EXPECT_EQ(Matches(Regex("$"), doc), "1:3-3 2:1-1 3:3-3");
  // Repeated searching from each found empty match visits them in turn and wraps.
  const TKzSearch s = Regex("^");
  TBufferCoord at{1, 1};
  std::string seen;
  for (int i = 0; i < 4; ++i) {
    auto m = s.FindNext(doc, at, false, TKzSearchScope::Whole(), true);
    ASSERT_TRUE(m);
    seen += Show(m) + " ";
    at = m->End;
  }
  EXPECT_EQ(seen, "2:1-1 3:1-1 1:1-1 2:1-1 ");
  // With the lines joined, line breaks in a row are one match.
  EXPECT_EQ(Matches(Regex("\\n*"), TTestLines{"a", "", "b"}), "1:1-1 1:2-3:1 3:1-1 3:2-2");
}

TEST(SearchDirection, LineBreaksInTheExpressionJoinTheLines) {
  const TTestLines doc{"<p>", "  text", "</p>", "<p></p>"};
  const TKzSearch s = Regex("<p>\\n\\s*(\\w+)\\n</p>");
  EXPECT_TRUE(s.JoinsLines());
  EXPECT_EQ(Matches(s, doc), "1:1-3:5");
  // Without \n each line is searched alone, so \s never reaches into the next line.
  EXPECT_FALSE(Regex("<p>\\s*text").JoinsLines());
  EXPECT_EQ(Matches(Regex("<p>\\s*text"), doc), "");
  EXPECT_EQ(Matches(Regex("p>$"), doc), "1:2-4 3:3-5 4:6-8");
  // An escaped backslash before n is no line break.
  EXPECT_FALSE(Regex("a\\\\n").JoinsLines());
  // A plain search text holding a line break finds it across lines too.
  EXPECT_EQ(Matches(Plain("text\r\n</P"), doc), "2:3-3:4");
}
