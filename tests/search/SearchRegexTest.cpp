// Regular expressions: faulty ones are named with their position, runaway ones end at the
// match limit, replacements take groups, and the code page's tables have PCRE2's layout.
#include "SearchSupport.h"

#include "editor/KzEditSearchPcre.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

TKzSearch Regex(const std::string &p) {
  return TKzSearch(p, {false, false, true}, HtmlWordChars());
}

// The message of a faulty expression, or "" when it compiles.
std::string ErrorOf(const std::string &pattern, int *position = nullptr) {
  try {
    Regex(pattern);
  } catch (const EKzSearchError &e) {
    EXPECT_EQ(e.Kind, EKzSearchError::skPattern);
    if (position)
      *position = e.Position;
    return e.what();
  }
  return "";
}

std::string Replaced(const std::string &pattern, const std::string &line, const std::string &with) {
  const TKzSearch s = Regex(pattern);
  const TTestLines doc{line};
  std::string out;
  for (const TKzReplacement &r : s.Replacements(doc, TKzSearchScope::Whole(), with))
    out += "[" + r.Text + "]";
  return out;
}

} // namespace

TEST(SearchRegex, FaultyExpressionsAreNamedInGerman) {
  int pos = 0;
  EXPECT_EQ(ErrorOf("ab(cd", &pos),
            "Fehler im regulären Ausdruck am Ende des Ausdrucks: schließende Klammer ) fehlt");
  EXPECT_EQ(pos, 6);
  EXPECT_EQ(ErrorOf("ab)cd", &pos),
            "Fehler im regulären Ausdruck an Position 3: schließende Klammer ) ohne öffnende");
  EXPECT_EQ(pos, 3);
  EXPECT_EQ(
      ErrorOf("x[a-"),
      "Fehler im regulären Ausdruck am Ende des Ausdrucks: schließende eckige Klammer ] fehlt");
  EXPECT_EQ(ErrorOf("*a"), "Fehler im regulären Ausdruck an Position 1: Wiederholung ohne etwas, "
                           "das wiederholt werden kann");
  EXPECT_EQ(ErrorOf("[z-a]"), "Fehler im regulären Ausdruck an Position 4: Bereich in der "
                              "Zeichenklasse in falscher Reihenfolge");
  // The text is 8-bit: asking for UTF is refused, not obeyed.
  EXPECT_EQ(ErrorOf("(*UTF)a"),
            "Fehler im regulären Ausdruck an Position 7: Unicode-Modus wird nicht unterstützt");
  EXPECT_EQ(ErrorOf("a(?<n>b)(?<n>c)"),
            "Fehler im regulären Ausdruck an Position 14: Gruppenname doppelt vergeben");
  EXPECT_EQ(ErrorOf("%%[A-Za-z_]+%%"), "");
  EXPECT_EQ(ErrorOf("a{2,1}"), "Fehler im regulären Ausdruck an Position 6: die Zahlen in {} "
                               "stehen in falscher Reihenfolge");
}

TEST(SearchRegex, ARunawayExpressionEndsAtTheMatchLimit) {
  // Nested repetition over a line that almost matches takes exponential time.
  const TKzSearch s = Regex("^(a|aa|aaa)+(a|aa)+$");
  const TTestLines doc{"short", std::string(40, 'a') + "b", "aaa"};
  try {
    std::vector<TKzSearchMatch> all;
    s.FindAll(doc, TKzSearchScope::Whole(), all);
    FAIL() << "no limit was hit";
  } catch (const EKzSearchError &e) {
    EXPECT_EQ(e.Kind, EKzSearchError::skTooComplex);
    EXPECT_EQ(std::string(e.what()), "Der reguläre Ausdruck ist zu aufwendig; die Suche wurde "
                                     "abgebrochen. Bitte vereinfachen Sie ihn.");
  }
  // The same expression is harmless on lines it matches or fails fast.
  EXPECT_EQ(Matches(s, TTestLines{"aaa", "b"}), "1:1-4");
}

TEST(SearchRegex, ReplacementsTakeGroups) {
  EXPECT_EQ(Replaced("(\\w+)=(\\w+)", "a=b c=d", "$2=$1"), "[b=a][d=c]");
  EXPECT_EQ(Replaced("(\\w+)=(\\w+)", "a=b", "$0|$&|$$1|\\$1|\\\\|\\n|\\t|\\x"),
            "[a=b|a=b|$1|\\a|\\|\n|\t|\\x]");
  // A group that took no part is empty; a number beyond the groups stays as written.
  EXPECT_EQ(Replaced("(a)|(b)", "ab", "<$1$2$3>"), "[<a$3>][<b$3>]");
  // Two digits name group 10 and more when the expression has them, else one digit.
  EXPECT_EQ(Replaced("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", "abcdefghijk", "$11$10${1}0"), "[kja0]");
  EXPECT_EQ(Replaced("(a)", "a", "$10${1}${2}"), "[a0a${2}]");
  // Groups of a match after an empty one at the same place are its own.
  EXPECT_EQ(Replaced("(x*)", "xa", "<$1>"), "[<x>][<>][<>]");
  // Groups across joined lines.
  const TKzSearch joined = Regex("(\\w+)\\n(\\w+)");
  const TTestLines doc{"one", "two"};
  const auto r = joined.Replacements(doc, TKzSearchScope::Whole(), "$2 $1");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].Text, "two one");
  // A plain search inserts the text as it stands.
  const TKzSearch plain("a", {}, HtmlWordChars());
  EXPECT_EQ(plain.ReplacementFor(TTestLines{"a"}, {{1, 1}, {2, 1}}, "$1\\n"), "$1\\n");
}

TEST(SearchRegex, CodePageTablesHavePcreLayout) {
  // Built for plain ASCII, our tables must equal the ones PCRE2 makes in the "C" locale;
  // that proves the layout the Windows-1252 tables use.
  const std::uint8_t *made = pcre2_maketables(nullptr);
  ASSERT_NE(made, nullptr);
  const unsigned char *ours = KzPcreCharTables(true);
  for (std::size_t i = 0; i < 1088; ++i)
    ASSERT_EQ(int(ours[i]), int(made[i])) << "byte " << i;
  pcre2_maketables_free(nullptr, made);
  // And the full tables differ from them only above 127.
  const unsigned char *full = KzPcreCharTables(false);
  EXPECT_EQ(full[0xC4], 0xE4);       // Ä in small letters
  EXPECT_EQ(full[256 + 0xE4], 0xC4); // ä flips to Ä
  EXPECT_EQ(full[256 + 0xDF], 0xDF); // ß stays
  EXPECT_EQ(std::memcmp(full, ours, 128), 0);
}

TEST(SearchRegex, ASearchPastItsTimeLimitGivesUp) {
  std::vector<std::string> lines(1000, "abc");
  const TTestLines doc(lines);
  TKzSearch s = Regex("x");
  s.LimitTime(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(3));
  std::vector<TKzSearchMatch> all;
  try {
    s.FindAll(doc, TKzSearchScope::Whole(), all);
    FAIL() << "the time limit was not kept";
  } catch (const EKzSearchError &e) {
    EXPECT_EQ(e.Kind, EKzSearchError::skTooComplex);
    EXPECT_EQ(std::string(e.what()),
              "Die Suche dauert zu lange und wurde abgebrochen. Bitte vereinfachen Sie den "
              "regulären Ausdruck.");
  }
  EXPECT_THROW(s.FindNext(doc, {1, 1}, true, TKzSearchScope::Whole(), true), EKzSearchError);
  s.LimitTime(0);
  EXPECT_FALSE(s.FindNext(doc, {1, 1}, true, TKzSearchScope::Whole(), true));
}
