// What counts as a match: letter case by Windows-1252, whole words by the highlighter's word
// characters, and the character classes of regular expressions.
#include "SearchSupport.h"

#include <gtest/gtest.h>

namespace {

TKzSearch Plain(const std::string &p, bool matchCase = false, bool whole = false) {
  return TKzSearch(p, {matchCase, whole, false}, HtmlWordChars());
}
TKzSearch Regex(const std::string &p, bool matchCase = false, bool whole = false) {
  return TKzSearch(p, {matchCase, whole, true}, HtmlWordChars());
}

} // namespace

TEST(SearchMatching, LetterCaseFollowsTheCodePage) {
  // "Größe GRÖSSE größe GRÖßE" and the 0x80-row pairs Š/š, Œ/œ, Ž/ž, Ÿ/ÿ.
  const TTestLines doc{"Gr\xF6\xDF"
                       "e GR\xD6SSE gr\xF6\xDF"
                       "e GR\xD6\xDF"
                       "E",
                       "\x8A\x9A \x8C\x9C \x8E\x9E \x9F\xFF \xC4\xE4 \xD7\xF7"};
  // Ö and ö are one letter; ß has no capital, so it never matches SS.
  EXPECT_EQ(Matches(Plain("gr\xD6\xDF"
                          "e"),
                    doc),
            "1:1-6 1:14-19 1:20-25");
  EXPECT_EQ(Matches(Plain("gr\xF6\xDF"
                          "e",
                          true),
                    doc),
            "1:14-19");
  EXPECT_EQ(Matches(Plain("\x9A\x8A"), doc), "2:1-3");
  EXPECT_EQ(Matches(Plain("\x9C\x9C"), doc), "2:4-6");
  EXPECT_EQ(Matches(Plain("\x9E\x8E"), doc), "2:7-9");
  EXPECT_EQ(Matches(Plain("\xFF\xFF"), doc), "2:10-12");
  EXPECT_EQ(Matches(Plain("\xE4\xC4"), doc), "2:13-15");
  // × and ÷ are no letters and no case pair of each other.
  EXPECT_EQ(Matches(Plain("\xF7\xF7"), doc), "");
  // The same rules hold for a regular expression, in classes too.
  EXPECT_EQ(Matches(Regex("GR\xF6\xDF"
                          "E"),
                    doc),
            "1:1-6 1:14-19 1:20-25");
  EXPECT_EQ(Matches(Regex("[\xE4][\xC4]"), doc), "2:13-15");
  EXPECT_EQ(Matches(Regex("\xFF\\x{9F}"), doc), "2:10-12");
  EXPECT_EQ(Matches(Regex("gr\xF6\xDF"
                          "e",
                          true),
                    doc),
            "1:14-19");
}

TEST(SearchMatching, RegexClassesKnowUmlautsAsLetters) {
  const TTestLines doc{"\xC4pfel_2 \xFC"
                       "ber 3\xB2 \xD7 \xB5m \xAA",
                       "a\xA0"
                       "b"};
  EXPECT_EQ(Matches(Regex("\\w+"), doc), "1:1-8 1:9-13 1:14-15 1:19-21 1:22-23 2:1-2 2:3-4");
  EXPECT_EQ(Matches(Regex("[[:upper:]]", true), doc), "1:1-2");
  EXPECT_EQ(Matches(Regex("[[:lower:]]+", true), doc), "1:2-6 1:9-13 1:19-21 2:1-2 2:3-4");
  EXPECT_EQ(Matches(Regex("\\d"), doc), "1:7-8 1:14-15");
  // The no-break space is a blank; \b sees umlauts as word characters.
  EXPECT_EQ(Matches(Regex("a\\sb"), doc), "2:1-4");
  EXPECT_EQ(Matches(Regex("\\bber"), doc), "");
}

TEST(SearchMatching, WholeWordsAtLineStartsAndEnds) {
  const TTestLines doc{"var x = var_2 + myvar;", "var", " var", "var.", "\xE4var var\xE4 var"};
  EXPECT_EQ(Matches(Plain("var", false, true), doc), "1:1-4 2:1-4 3:2-5 4:1-4 5:11-14");
  EXPECT_EQ(Matches(Plain("var"), doc),
            "1:1-4 1:9-12 1:19-22 2:1-4 3:2-5 4:1-4 5:2-5 5:6-9 5:11-14");
  // A regular expression's word test uses the same characters; a match that is part of a
  // word is passed over, and a later one in the same word still counts when it is whole.
  EXPECT_EQ(Matches(Regex("v\\w*", false, true), doc),
            "1:1-4 1:9-14 2:1-4 3:2-5 4:1-4 5:6-10 5:11-14");
  EXPECT_EQ(Matches(Regex("x|var_2", false, true), doc), "1:5-6 1:9-14");
  // Empty matches are never whole words.
  EXPECT_EQ(Matches(Regex("\\b", false, true), doc), "");
}

TEST(SearchMatching, PlainTextIsTakenLiterally) {
  const TTestLines doc{"a.b a+b (a) $1 \\n", "A.B"};
  EXPECT_EQ(Matches(Plain("a.b"), doc), "1:1-4 2:1-4");
  EXPECT_EQ(Matches(Plain("(a)"), doc), "1:9-12");
  EXPECT_EQ(Matches(Plain("\\n"), doc), "1:16-18");
  EXPECT_EQ(Matches(Plain(""), doc), "");
  EXPECT_TRUE(Plain("").Empty());
  // The first letter's two forms are both found, also when one of them comes much later.
  const TTestLines mixed{"xxxxxxxxxxAbcxxxxxxxxxxxxxaBC abc"};
  EXPECT_EQ(Matches(Plain("abc"), mixed), "1:11-14 1:27-30 1:31-34");
}
