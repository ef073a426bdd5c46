// Keyword chains ordered by length and the bucket list that grows to hold them.
#include "highlight/KzHighlighterHashEntries.h"

#include <gtest/gtest.h>

#include "highlight/KzEditHighlighter.h"
#include "highlight/KzHighlighterCSS.h"

namespace {

std::vector<std::string> Chain(const TKzHashEntry *e) {
  std::vector<std::string> out;
  for (; e; e = e->Next())
    out.push_back(e->Keyword());
  return out;
}

TEST(HashEntries, ChainIsOrderedByLengthThenInsertion) {
  std::unique_ptr<TKzHashEntry> head;
  for (const char *k : {"ccc", "a", "bbb", "dd", "e", "ffff", "gg"})
    TKzHashEntry::AddEntry(head, std::make_unique<TKzHashEntry>(k, 1));
  EXPECT_EQ(Chain(head.get()),
            (std::vector<std::string>{"a", "e", "dd", "gg", "ccc", "bbb", "ffff"}));
  EXPECT_EQ(head->KeywordLength(), 1);
  // The returned head is the chain's first entry, also when a shorter one goes in front.
  TKzHashEntry *first = TKzHashEntry::AddEntry(head, std::make_unique<TKzHashEntry>("", 7));
  EXPECT_EQ(first, head.get());
  EXPECT_EQ(first->Keyword(), "");
  EXPECT_EQ(first->Kind(), 7);
}

TEST(HashEntries, DuplicateWithoutRegardToCaseIsRefusedAndTheChainKept) {
  std::unique_ptr<TKzHashEntry> head;
  TKzHashEntry::AddEntry(head, std::make_unique<TKzHashEntry>("ab", 1));
  TKzHashEntry::AddEntry(head, std::make_unique<TKzHashEntry>("Color", 1));
  TKzHashEntry::AddEntry(head, std::make_unique<TKzHashEntry>("border", 1));
  try {
    TKzHashEntry::AddEntry(head, std::make_unique<TKzHashEntry>("COLOR", 2));
    FAIL() << "duplicate accepted";
  } catch (const EKzHighlighterError &e) {
    EXPECT_STREQ(e.what(), "Keyword \"Color\" already in list");
  }
  EXPECT_EQ(Chain(head.get()), (std::vector<std::string>{"ab", "Color", "border"}));
  // Same length, other letters: accepted.
  TKzHashEntry::AddEntry(head, std::make_unique<TKzHashEntry>("Colour", 1));
  EXPECT_EQ(Chain(head.get()), (std::vector<std::string>{"ab", "Color", "border", "Colour"}));
}

TEST(HashEntries, ListGrowsOnDemandAndReadsOutsideGiveNoChain) {
  TKzHashEntryList list;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Get(0), nullptr);
  list.Put(5, std::make_unique<TKzHashEntry>("abc", 1));
  EXPECT_EQ(list.Count(), 6);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(list.Get(i), nullptr);
  list.Put(5, std::make_unique<TKzHashEntry>("x", 2));
  EXPECT_EQ(Chain(list.Get(5)), (std::vector<std::string>{"x", "abc"}));
  list.Put(2, std::make_unique<TKzHashEntry>("y", 3));
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(list.Get(6), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_THROW(list.Put(5, std::make_unique<TKzHashEntry>("ABC", 1)), EKzHighlighterError);
  EXPECT_EQ(Chain(list.Get(5)), (std::vector<std::string>{"x", "abc"}));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Get(5), nullptr);
}

TEST(HashEntries, HighlighterFilesAddedKeywordsAndRefusesKnownOnes) {
  TKzCssHighlighter h;
  EXPECT_THROW(h.AddKeyword("Font-Size", TKzCssHighlighter::KindProperty), EKzHighlighterError);
  h.AddKeyword("gap", TKzCssHighlighter::KindValue);
  const int hash = TKzCssHighlighter::KeywordHash("gap", 3);
  bool found = false;
  for (const TKzHashEntry *e = h.KeywordBuckets().Get(hash); e; e = e->Next())
    found = found || (e->Keyword() == "gap" && e->Kind() == TKzCssHighlighter::KindValue);
  EXPECT_TRUE(found);
  // The new keyword classifies words in a rule from now on.
  h.RestoreRange(TKzCssHighlighter::RangeInRule);
  const std::string line = "GAP";
  h.BeginLine(line, 0);
  EXPECT_EQ(h.TokenKind(), TKzCssHighlighter::KindValue);
}

} // namespace
