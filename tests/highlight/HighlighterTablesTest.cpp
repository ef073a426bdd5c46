// The fixed tables and per-language values of the HTML and CSS highlighters.
#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

std::vector<std::string> AttributeNames(const TKzCustomHighlighter &h) {
  std::vector<std::string> names;
  for (int i = 0; i < h.AttributeCount(); ++i)
    names.push_back(h.AttributeAt(i)->Name());
  return names;
}

TEST(HtmlTables, LetterValuesAndKeywordHash) {
  const auto &lv = TKzHTMLHighlighter::LetterValues;
  EXPECT_EQ(lv['!'], 123);
  EXPECT_EQ(lv['/'], 122);
  EXPECT_EQ(lv['A'], 1);
  EXPECT_EQ(lv['z'], 26);
  EXPECT_EQ(lv['-'], 0);
  EXPECT_EQ(lv['0'], 0);
  EXPECT_EQ(lv[0xC4], 0);
  EXPECT_EQ(TKzHTMLHighlighter::KeywordHash("H7", 2), 15);
  EXPECT_EQ(TKzHTMLHighlighter::KeywordHash("foo", 3), 36);
  EXPECT_EQ(TKzHTMLHighlighter::KeywordHash("my-tag", 6), 38);
  EXPECT_EQ(TKzHTMLHighlighter::KeywordHash("zzzzzzzzzz", 10), 260);
  EXPECT_EQ(TKzHTMLHighlighter::KeywordHash("?xml", 4), 0);
  // Digits count by their value, and only right after the letters.
  EXPECT_EQ(TKzHTMLHighlighter::KeywordHash("h19x", 4), 8 + 1 + 9);
}

TEST(HtmlTables, KeywordBucketsHoldEveryNameUnderItsOwnHash) {
  TKzHTMLHighlighter h;
  int used = 0;
  std::size_t largest = 0;
  std::size_t total = 0;
  int highest = -1;
  for (int b = 0; b < TKzHTMLHighlighter::BucketCount; ++b) {
    const auto names = h.BucketNames(b);
    for (const auto &n : names)
      EXPECT_EQ(TKzHTMLHighlighter::KeywordHash(n.data(), n.size()), b) << n;
    if (!names.empty()) {
      ++used;
      highest = b;
    }
    largest = std::max(largest, names.size());
    total += names.size();
  }
  EXPECT_EQ(total, 202u);
  EXPECT_EQ(used, 137);
  EXPECT_EQ(largest, 4u);
  EXPECT_EQ(highest, 250);
  EXPECT_EQ(h.BucketNames(250), std::vector<std::string>{"/OPTGROUP"});
  EXPECT_EQ(h.BucketNames(21), (std::vector<std::string>{"DEL", "LI", "U", "BDO"}));
  EXPECT_EQ(h.BucketNames(143), (std::vector<std::string>{"/DEL", "/LI", "/U", "/BDO"}));
  EXPECT_EQ(h.BucketNames(38), (std::vector<std::string>{"THEAD", "TR"}));
  EXPECT_TRUE(h.BucketNames(15).empty());
  EXPECT_TRUE(h.BucketNames(-1).empty());
  EXPECT_TRUE(h.BucketNames(251).empty());
}

TEST(HtmlTables, EntityTable) {
  std::set<std::string> seen;
  for (const char *e : TKzHTMLHighlighter::EntityTable) {
    const std::size_t n = std::strlen(e);
    ASSERT_GE(n, 3u);
    EXPECT_EQ(e[0], '&');
    EXPECT_EQ(e[n - 1], ';');
    EXPECT_EQ(std::strchr(e, ';'), e + n - 1) << e;
    seen.insert(e);
  }
  EXPECT_EQ(seen.size(), 249u);
  EXPECT_STREQ(TKzHTMLHighlighter::EntityTable[0], "&Alpha;");
  EXPECT_STREQ(TKzHTMLHighlighter::EntityTable[135], "&amp;");
  EXPECT_STREQ(TKzHTMLHighlighter::EntityTable[248], "&circ;");
}

TEST(HtmlTables, AttributesRolesAndLanguageValues) {
  TKzHTMLHighlighter h;
  EXPECT_EQ(AttributeNames(h),
            (std::vector<std::string>{"Comment", "Escape Ampersand", "Identifier", "Reserved Word",
                                      "Space", "Symbol", "Text", "Unknown Word", "Value"}));
  EXPECT_EQ(h.AttributeAt(-1), nullptr);
  EXPECT_EQ(h.AttributeAt(9), nullptr);
  EXPECT_EQ(h.KeyAttri->Foreground(), 0xFF0080u);
  EXPECT_EQ(h.KeyAttri->Style(), fsBold);
  EXPECT_EQ(h.ValueAttri->Foreground(), 0xFF8000u);
  EXPECT_EQ(h.ValueAttri->Style(), 0);
  EXPECT_EQ(h.UndefKeyAttri->Foreground(), clRed);
  EXPECT_EQ(h.AndAttri->Foreground(), clLime);
  EXPECT_EQ(h.AndAttri->Style(), fsBold);
  EXPECT_EQ(h.CommentAttri->Foreground(), clNone);
  EXPECT_EQ(h.CommentAttri->Style(), 0);
  for (int i = 0; i < h.AttributeCount(); ++i) {
    EXPECT_EQ(h.AttributeAt(i)->Background(), clNone);
    // The constructed values are the initial ones, so nothing would be stored.
    EXPECT_FALSE(h.AttributeAt(i)->ForegroundStored());
    EXPECT_FALSE(h.AttributeAt(i)->StyleStored());
  }
  EXPECT_EQ(h.RoleAttribute(RoleComment), h.CommentAttri);
  EXPECT_EQ(h.RoleAttribute(RoleIdentifier), h.IdentifierAttri);
  EXPECT_EQ(h.RoleAttribute(RoleKeyword), h.KeyAttri);
  EXPECT_EQ(h.RoleAttribute(RoleString), nullptr);
  EXPECT_EQ(h.RoleAttribute(RoleWhitespace), h.SpaceAttri);
  EXPECT_EQ(h.RoleAttribute(RoleSymbol), h.SymbolAttri);
  EXPECT_EQ(h.RoleAttribute(6), nullptr);
  EXPECT_EQ(h.RoleAttribute(-1), nullptr);

  EXPECT_EQ(h.DefaultFilter(), "HTML Documents (*.htm;*.html)|*.htm;*.html");
  EXPECT_TRUE(h.DefaultFilterStored());
  EXPECT_EQ(h.LanguageTitle(), "HTML");
  EXPECT_EQ(h.CurrentRange(), TKzHTMLHighlighter::RangeText);
  EXPECT_EQ(h.EntityIndex(), -1);

  const TKzCharSet id = h.IdentifierChars();
  EXPECT_EQ(id.count(), 10u + 26u + 1u + 26u + 62u);
  EXPECT_TRUE(id.test('_'));
  EXPECT_TRUE(id.test(192));
  EXPECT_FALSE(id.test(215));
  EXPECT_FALSE(id.test(247));
  EXPECT_TRUE(id.test(255));
  EXPECT_FALSE(id.test('-'));
  // Setting the sample text has no effect.
  h.SetSampleText("x");
  EXPECT_EQ(h.SampleText().substr(0, 30), "<!-- Syntax highlighting -->\r\n");
}

TEST(CssTables, AttributesRolesAndLanguageValues) {
  TKzCssHighlighter h;
  EXPECT_EQ(AttributeNames(h),
            (std::vector<std::string>{"Color Value", "Comment", "Number", "Property",
                                      "Reserved Word", "Space", "String", "Symbol", "Text",
                                      "Undefined Property", "Value"}));
  EXPECT_EQ(h.KeyAttri->Foreground(), 0xFF0080u);
  EXPECT_EQ(h.UndefPropertyAttri->Foreground(), 0xFF0080u);
  EXPECT_EQ(h.UndefPropertyAttri->Style(), fsBold);
  EXPECT_EQ(h.PropertyAttri->Style(), fsBold);
  EXPECT_EQ(h.PropertyAttri->Foreground(), clNone);
  EXPECT_EQ(h.SymbolAttri->Style(), 0);
  EXPECT_EQ(h.ValueAttri->Foreground(), 0xFF8000u);
  EXPECT_EQ(h.RoleAttribute(RoleComment), h.CommentAttri);
  EXPECT_EQ(h.RoleAttribute(RoleIdentifier), nullptr);
  EXPECT_EQ(h.RoleAttribute(RoleKeyword), h.KeyAttri);
  EXPECT_EQ(h.RoleAttribute(RoleString), h.StringAttri);
  EXPECT_EQ(h.RoleAttribute(RoleWhitespace), h.SpaceAttri);
  EXPECT_EQ(h.RoleAttribute(RoleSymbol), nullptr);

  EXPECT_EQ(h.LanguageTitle(), "Cascading Style Sheet");
  EXPECT_EQ(h.CurrentRange(), TKzCssHighlighter::RangeOutsideRule);
  EXPECT_EQ(h.DefaultFilter(), "Cascading Stylesheets (*.css)|*.css");
  EXPECT_FALSE(h.DefaultFilterStored());
  h.SetDefaultFilter("Stylesheets|*.css");
  EXPECT_TRUE(h.DefaultFilterStored());

  const TKzCharSet id = h.IdentifierChars();
  EXPECT_EQ(id.count(), 1u + 10u + 26u + 1u + 26u);
  EXPECT_TRUE(id.test('-'));
  EXPECT_FALSE(id.test(192));
}

TEST(CssTables, PropertyNamesFillTheBuckets) {
  TKzCssHighlighter h;
  const TKzHashEntryList &buckets = h.KeywordBuckets();
  int chains = 0;
  int entries = 0;
  int longest = 0;
  int lowest = -1;
  for (int b = 0; b < buckets.Count(); ++b) {
    int n = 0;
    int lastLength = 0;
    for (const TKzHashEntry *e = buckets.Get(b); e; e = e->Next()) {
      EXPECT_EQ(TKzCssHighlighter::KeywordHash(e->Keyword().data(), e->Keyword().size()), b);
      EXPECT_GE(e->KeywordLength(), lastLength) << "chain " << b << " not ordered by length";
      EXPECT_EQ(e->Kind(), TKzCssHighlighter::KindProperty);
      lastLength = e->KeywordLength();
      ++n;
    }
    if (n > 0) {
      ++chains;
      if (lowest < 0)
        lowest = b;
    }
    entries += n;
    longest = std::max(longest, n);
  }
  EXPECT_EQ(entries, 122);
  EXPECT_EQ(chains, 87);
  EXPECT_EQ(longest, 5);
  EXPECT_EQ(lowest, 29);
  EXPECT_EQ(buckets.Count(), 259);
  ASSERT_NE(buckets.Get(258), nullptr);
  EXPECT_EQ(buckets.Get(259), nullptr);
  EXPECT_EQ(buckets.Get(-1), nullptr);
}

} // namespace
