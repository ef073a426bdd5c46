// Counting in slices gives the same matches as one search over everything, in every mode.
#include "SearchSupport.h"

#include "editor/KzEditSearchCounter.h"

#include <gtest/gtest.h>

TEST(SearchCounter, SlicesCountWhatOneSearchFinds) {
  std::vector<std::string> lines;
  for (int i = 0; i < 300; ++i)
    lines.push_back(i % 3 == 0 ? "ab ab" : i % 3 == 1 ? "" : "xab");
  const TTestLines doc(lines);
  const struct {
    const char *Pattern;
    bool Regex;
    TKzSearchScope Scope;
  } cases[] = {
      {"ab", false, TKzSearchScope::Whole()},
      {"b\\n", true, TKzSearchScope::Whole()},
      {"^", true, TKzSearchScope::Whole()},
      {"ab", false, TKzSearchScope::Range({4, 10}, {3, 250})},
      {"b\\n\\n", true, TKzSearchScope::Range({4, 10}, {3, 250})},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Pattern);
    const TKzSearch s(c.Pattern, {false, false, c.Regex}, HtmlWordChars());
    std::vector<TKzSearchMatch> all;
    s.FindAll(doc, c.Scope, all);
    ASSERT_GT(all.size(), 10u);
    TKzSearchCounter counter;
    counter.Start(s, doc, c.Scope);
    EXPECT_TRUE(counter.Running());
    int steps = 0;
    while (!counter.Step(16))
      ++steps;
    EXPECT_GT(steps, 20); // really in slices
    EXPECT_FALSE(counter.Running());
    EXPECT_EQ(counter.Total(), all.size());
    for (std::size_t i = 0; i < all.size(); ++i)
      ASSERT_EQ(counter.IndexOf(all[i].Start), i + 1);
    EXPECT_EQ(counter.IndexOf({2, 1}), 0u); // no match starts there
  }
}

TEST(SearchCounter, UnknownUntilCountedAndResetByStart) {
  const TTestLines doc{"a", "a", "a", "a"};
  const TKzSearch s("a", {}, HtmlWordChars());
  TKzSearchCounter counter;
  counter.Start(s, doc, TKzSearchScope::Whole());
  counter.Step(3); // two lines
  EXPECT_FALSE(counter.Done());
  EXPECT_EQ(counter.Total(), 2u);
  EXPECT_EQ(counter.IndexOf({1, 2}), 2u);
  EXPECT_EQ(counter.IndexOf({1, 4}), 0u);
  EXPECT_TRUE(counter.Step(100));
  EXPECT_EQ(counter.IndexOf({1, 4}), 4u);
  // An empty search is done at once with nothing.
  const TKzSearch none;
  counter.Start(none, doc, TKzSearchScope::Whole());
  EXPECT_TRUE(counter.Done());
  EXPECT_EQ(counter.Total(), 0u);
}
