// Token streams of the HTML highlighter: the sample text and the awkward corners of HTML.
#include "highlight/KzHighlighterHtml.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TokenStream.h"

namespace {

using H = TKzHTMLHighlighter;
using Toks = std::vector<TTok>;

TEST(HtmlTokenizer, SampleTextGivesTheExpectedStreamLineByLine) {
  H h;
  const std::string sample = h.SampleText();
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at; (at = sample.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(sample.substr(from, at - from));
  lines.push_back(sample.substr(from));
  ASSERT_EQ(lines.size(), 11u);

  const std::vector<Toks> expected = {
      {{0, H::KindComment, "<!--"}, {4, H::KindComment, " Syntax highlighting -->"}},
      {},
      {{0, H::KindSymbol, "<"}, {1, H::KindKey, "html"}, {5, H::KindSymbol, ">"}},
      {{0, H::KindSymbol, "<"},
       {1, H::KindKey, "body"},
       {5, H::KindSpace, " "},
       {6, H::KindIdentifier, "bgcolor"},
       {13, H::KindSymbol, "="},
       {14, H::KindValue, "\"red\""},
       {19, H::KindSymbol, ">"}},
      {{0, H::KindText, "  "},
       {2, H::KindSymbol, "<"},
       {3, H::KindKey, "form"},
       {7, H::KindSpace, " "},
       {8, H::KindIdentifier, "name"},
       {12, H::KindSymbol, "="},
       {13, H::KindValue, "\"frmLogin\""},
       {23, H::KindSpace, " "},
       {24, H::KindIdentifier, "action"},
       {30, H::KindSymbol, "="},
       {31, H::KindValue, "\"doSomething.asp\""},
       {48, H::KindSymbol, ">"}},
      {{0, H::KindText, "    "},
       {4, H::KindSymbol, "<"},
       {5, H::KindKey, "input"},
       {10, H::KindSpace, " "},
       {11, H::KindIdentifier, "name"},
       {15, H::KindSymbol, "="},
       {16, H::KindValue, "\"user\""},
       {22, H::KindSpace, " "},
       {23, H::KindIdentifier, "value"},
       {28, H::KindSymbol, "="},
       {29, H::KindValue, "'any"}},
      {{0, H::KindValue, "      value'"}, {12, H::KindSymbol, ">"}},
      {{0, H::KindText, "  "},
       {2, H::KindSymbol, "<"},
       {3, H::KindKey, "/form"},
       {8, H::KindSymbol, ">"}},
      {{0, H::KindText, "  "},
       {2, H::KindSymbol, "<"},
       {3, H::KindUnknownKey, "invalid"},
       {10, H::KindSymbol, ">"},
       {11, H::KindText, "Sample HTML code "},
       {28, H::KindEntity, "&copy;"},
       {34, H::KindText, " 2001"},
       {39, H::KindSymbol, "<"},
       {40, H::KindUnknownKey, "/invalid"},
       {48, H::KindSymbol, ">"}},
      {{0, H::KindSymbol, "<"}, {1, H::KindKey, "/body"}, {6, H::KindSymbol, ">"}},
      {{0, H::KindSymbol, "<"}, {1, H::KindKey, "/html"}, {6, H::KindSymbol, ">"}},
  };
  const std::vector<TKzRange> endRanges = {4, 4, 4, 4, 4, H::RangeSingleQuoted, 4, 4, 4, 4, 4};

  h.ClearRange();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(ContinueLine(h, lines[i]), expected[i]) << "line " << i + 1;
    EXPECT_EQ(h.TokenStart(), static_cast<int>(lines[i].size())) << "line " << i + 1;
    EXPECT_EQ(h.TokenText(), "");
    EXPECT_EQ(h.TokenAttribute(), nullptr);
    EXPECT_EQ(h.CurrentRange(), endRanges[i]) << "line " << i + 1;
  }
}

TEST(HtmlTokenizer, EmptyLineIsTheLineEndAtOnceAndKeepsTheRange) {
  H h;
  for (TKzRange r : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 200u}) {
    h.RestoreRange(r);
    const std::string empty;
    h.BeginLine(empty, 3);
    EXPECT_TRUE(h.AtLineEnd());
    EXPECT_EQ(h.TokenStart(), 0);
    EXPECT_EQ(h.TokenKind(), H::KindLineEnd);
    EXPECT_EQ(h.CurrentRange(), r);
  }
}

TEST(HtmlTokenizer, CommentsOpenCloseAndSpanLines) {
  H h;
  // "<!-->" closes at once: the ">" follows the two dashes of the opener.
  EXPECT_EQ(ScanLine(h, "<!-->", H::RangeText),
            (Toks{{0, H::KindComment, "<!--"}, {4, H::KindComment, ">"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeText);

  h.ClearRange();
  EXPECT_EQ(
      ContinueLine(h, "a <!-- open"),
      (Toks{{0, H::KindText, "a "}, {2, H::KindComment, "<!--"}, {6, H::KindComment, " open"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeComment);
  EXPECT_EQ(ContinueLine(h, "still <b> inside"), (Toks{{0, H::KindComment, "still <b> inside"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeComment);
  // The two dashes must stand in the same line before the ">".
  EXPECT_EQ(ContinueLine(h, "->x"), (Toks{{0, H::KindComment, "->x"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeComment);
  EXPECT_EQ(ContinueLine(h, ">"), (Toks{{0, H::KindComment, ">"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeComment);
  EXPECT_EQ(ContinueLine(h, "-->after"),
            (Toks{{0, H::KindComment, "-->"}, {3, H::KindText, "after"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeText);

  // A "--" run followed later by ">" without the dashes right before it does not close.
  EXPECT_EQ(ScanLine(h, "-- >", H::RangeComment), (Toks{{0, H::KindComment, "-- >"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeComment);
  // A TAB inside a comment is comment text, a line break character is a space token.
  EXPECT_EQ(ScanLine(h, "a\tb\rc", H::RangeComment),
            (Toks{{0, H::KindComment, "a\tb"}, {3, H::KindSpace, "\r"}, {4, H::KindComment, "c"}}));
}

TEST(HtmlTokenizer, EntityReferences) {
  H h;
  EXPECT_EQ(ScanLine(h, "<b>&amp;</b>", H::RangeText), (Toks{{0, H::KindSymbol, "<"},
                                                             {1, H::KindKey, "b"},
                                                             {2, H::KindSymbol, ">"},
                                                             {3, H::KindText, ""},
                                                             {3, H::KindEntity, "&amp;"},
                                                             {8, H::KindSymbol, "<"},
                                                             {9, H::KindKey, "/b"},
                                                             {11, H::KindSymbol, ">"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeText);
  EXPECT_EQ(h.EntityIndex(), -1);

  EXPECT_EQ(ScanLine(h, "&#65;", H::RangeText),
            (Toks{{0, H::KindText, ""}, {0, H::KindEntity, "&#65;"}}));
  EXPECT_EQ(ScanLine(h, "&#x41;", H::RangeText),
            (Toks{{0, H::KindText, ""}, {0, H::KindEntity, "&#x41;"}}));
  EXPECT_EQ(ScanLine(h, "&#XaF;", H::RangeText),
            (Toks{{0, H::KindText, ""}, {0, H::KindEntity, "&#XaF;"}}));
  EXPECT_EQ(ScanLine(h, "&#;", H::RangeText),
            (Toks{{0, H::KindText, ""}, {0, H::KindEntity, "&#;"}}));
  // Without ";" the reference stays in the text token, which ends right after the digits.
  EXPECT_EQ(ScanLine(h, "x&#65 y", H::RangeText),
            (Toks{{0, H::KindText, "x&#65"}, {5, H::KindText, " y"}}));
  EXPECT_EQ(ScanLine(h, "&#x4g;", H::RangeText),
            (Toks{{0, H::KindText, "&#x4"}, {4, H::KindText, "g;"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeText);
  // Letter case counts; an unknown name or a missing ";" is plain text.
  EXPECT_EQ(ScanLine(h, "&Amp; &amp &bogus; &", H::RangeText),
            (Toks{{0, H::KindText, "&Amp; &amp &bogus; &"}}));
  // Names that are prefixes of longer ones: "&sigmaf;" and "&sigma;" are both known.
  EXPECT_EQ(ScanLine(h, "a&sigmaf;&sigma;b", H::RangeText), (Toks{{0, H::KindText, "a"},
                                                                  {1, H::KindEntity, "&sigmaf;"},
                                                                  {9, H::KindText, ""},
                                                                  {9, H::KindEntity, "&sigma;"},
                                                                  {16, H::KindText, "b"}}));
  // A reference cut by the line end is text.
  EXPECT_EQ(ScanLine(h, "&cop", H::RangeText), (Toks{{0, H::KindText, "&cop"}}));
  // The reference the text step found is the one the next token consumes.
  h.RestoreRange(H::RangeText);
  const std::string line = "x&euro;";
  h.BeginLine(line, 0);
  EXPECT_EQ(h.TokenText(), "x");
  EXPECT_EQ(h.CurrentRange(), H::RangeEntity);
  EXPECT_EQ(std::string(H::EntityTable[h.EntityIndex()]), "&euro;");
  h.Advance();
  EXPECT_EQ(h.TokenText(), "&euro;");
  EXPECT_EQ(h.EntityIndex(), -1);
}

TEST(HtmlTokenizer, EveryTableEntryIsFoundWithItsOwnIndex) {
  H h;
  for (int i = 0; i < H::EntityCount; ++i) {
    const std::string entity = H::EntityTable[i];
    const std::string line = "x" + entity + "y";
    h.RestoreRange(H::RangeText);
    h.BeginLine(line, 0);
    ASSERT_EQ(h.TokenText(), "x") << entity;
    ASSERT_EQ(h.EntityIndex(), i) << entity;
    h.Advance();
    ASSERT_EQ(h.TokenKind(), H::KindEntity) << entity;
    ASSERT_EQ(h.TokenText(), entity);
    // One byte less before the ";", or the case of the first letter turned, is text.
    for (std::string miss :
         {entity.substr(0, entity.size() - 2) + ";",
          "&" + std::string(1, static_cast<char>(entity[1] ^ 0x20)) + entity.substr(2)}) {
      const bool alsoKnown = std::find(std::begin(H::EntityTable), std::end(H::EntityTable),
                                       miss) != std::end(H::EntityTable);
      if (!alsoKnown) {
        EXPECT_EQ(ScanLine(h, miss, H::RangeText), (Toks{{0, H::KindText, miss}})) << miss;
      }
    }
  }
}

TEST(HtmlTokenizer, TagNamesKnownUnknownAndOverLong) {
  H h;
  EXPECT_EQ(ScanLine(h, "<H1>", H::RangeText)[1], (TTok{1, H::KindKey, "H1"}));
  EXPECT_EQ(ScanLine(h, "<h1>", H::RangeText)[1], (TTok{1, H::KindKey, "h1"}));
  EXPECT_EQ(ScanLine(h, "<H7>", H::RangeText)[1], (TTok{1, H::KindUnknownKey, "H7"}));
  EXPECT_EQ(ScanLine(h, "<foo>", H::RangeText)[1], (TTok{1, H::KindUnknownKey, "foo"}));
  EXPECT_EQ(ScanLine(h, "<zzzzzzzzzz>", H::RangeText)[1],
            (TTok{1, H::KindIdentifier, "zzzzzzzzzz"}));
  EXPECT_EQ(ScanLine(h, "<!DOCTYPE html>", H::RangeText)[1], (TTok{1, H::KindKey, "!DOCTYPE"}));
  EXPECT_EQ(ScanLine(h, "</OPTGROUP>", H::RangeText)[1], (TTok{1, H::KindKey, "/OPTGROUP"}));
  // No closing form for names without one in the table.
  EXPECT_EQ(ScanLine(h, "</br>", H::RangeText)[1], (TTok{1, H::KindUnknownKey, "/br"}));
  EXPECT_EQ(ScanLine(h, "<bR>", H::RangeText)[1], (TTok{1, H::KindKey, "bR"}));

  EXPECT_EQ(ScanLine(h, "<my-tag>", H::RangeText), (Toks{{0, H::KindSymbol, "<"},
                                                         {1, H::KindUnknownKey, "my"},
                                                         {3, H::KindIdentifier, "-tag"},
                                                         {7, H::KindSymbol, ">"}}));
  EXPECT_EQ(
      ScanLine(h, "<?xml", H::RangeText),
      (Toks{{0, H::KindSymbol, "<"}, {1, H::KindUnknownKey, ""}, {1, H::KindIdentifier, "?xml"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeTagBody);
  EXPECT_EQ(ScanLine(h, "<&", H::RangeText),
            (Toks{{0, H::KindSymbol, "<"}, {1, H::KindText, "&"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeText);
  // Digits after the letters belong to the name; letters after digits do not.
  EXPECT_EQ(ScanLine(h, "<h1x>", H::RangeText), (Toks{{0, H::KindSymbol, "<"},
                                                      {1, H::KindKey, "h1"},
                                                      {3, H::KindIdentifier, "x"},
                                                      {4, H::KindSymbol, ">"}}));
  // A name at the line end leaves the tag open for the next line.
  EXPECT_EQ(ScanLine(h, "<div", H::RangeText),
            (Toks{{0, H::KindSymbol, "<"}, {1, H::KindKey, "div"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeTagBody);
  // "<" at the line end: the name comes on the next line.
  EXPECT_EQ(ScanLine(h, "a<", H::RangeText),
            (Toks{{0, H::KindText, "a"}, {1, H::KindSymbol, "<"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeTagName);
  EXPECT_EQ(ScanLine(h, "table>", H::RangeTagName),
            (Toks{{0, H::KindKey, "table"}, {5, H::KindSymbol, ">"}}));
}

TEST(HtmlTokenizer, AttributesAndValues) {
  H h;
  EXPECT_EQ(ScanLine(h, " width=100>x", H::RangeTagBody), (Toks{{0, H::KindSpace, " "},
                                                                {1, H::KindIdentifier, "width"},
                                                                {6, H::KindSymbol, "="},
                                                                {7, H::KindValue, "100"},
                                                                {10, H::KindSymbol, ">"},
                                                                {11, H::KindText, "x"}}));
  // An unquoted value runs to a blank or ">", quotes and "=" included.
  EXPECT_EQ(ScanLine(h, "=a\"b=c d", H::RangeTagBody), (Toks{{0, H::KindSymbol, "="},
                                                             {1, H::KindValue, "a\"b=c"},
                                                             {6, H::KindSpace, " "},
                                                             {7, H::KindIdentifier, "d"}}));
  // A quote that does not follow "=" starts an identifier.
  EXPECT_EQ(
      ScanLine(h, "'x' \"y", H::RangeTagBody),
      (Toks{{0, H::KindIdentifier, "'x'"}, {3, H::KindSpace, " "}, {4, H::KindIdentifier, "\"y"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeTagBody);
  // A blank between "=" and the value keeps the value expected.
  EXPECT_EQ(ScanLine(h, "= \"v\"", H::RangeTagBody),
            (Toks{{0, H::KindSymbol, "="}, {1, H::KindSpace, " "}, {2, H::KindValue, "\"v\""}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeTagBody);

  // Quoted values across lines; ">" and the other quote are part of the value.
  h.RestoreRange(H::RangeTagBody);
  EXPECT_EQ(
      ContinueLine(h, "a='x>\"y"),
      (Toks{{0, H::KindIdentifier, "a"}, {1, H::KindSymbol, "="}, {2, H::KindValue, "'x>\"y"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeSingleQuoted);
  EXPECT_EQ(ContinueLine(h, ""), Toks{});
  EXPECT_EQ(h.CurrentRange(), H::RangeSingleQuoted);
  EXPECT_EQ(ContinueLine(h, "z'>t"),
            (Toks{{0, H::KindValue, "z'"}, {2, H::KindSymbol, ">"}, {3, H::KindText, "t"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeText);
  EXPECT_EQ(ScanLine(h, "b\"c", H::RangeDoubleQuoted),
            (Toks{{0, H::KindValue, "b\""}, {2, H::KindIdentifier, "c"}}));
  // A line break character inside a quoted value is a space token; the value goes on.
  EXPECT_EQ(ScanLine(h, "a\nb'", H::RangeSingleQuoted),
            (Toks{{0, H::KindValue, "a"}, {1, H::KindSpace, "\n"}, {2, H::KindValue, "b'"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeTagBody);
}

TEST(HtmlTokenizer, BlanksTabsAndLineBreakCharacters) {
  H h;
  // In text a blank is text, a TAB ends the text and is a space token of its own kind.
  EXPECT_EQ(
      ScanLine(h, "one two\tthree", H::RangeText),
      (Toks{{0, H::KindText, "one two"}, {7, H::KindSpace, "\t"}, {8, H::KindText, "three"}}));
  // In a tag: two blanks, then a TAB with the blank after it.
  EXPECT_EQ(ScanLine(h, "a  \t b", H::RangeTagBody), (Toks{{0, H::KindIdentifier, "a"},
                                                           {1, H::KindSpace, "  "},
                                                           {3, H::KindSpace, "\t "},
                                                           {5, H::KindIdentifier, "b"}}));
  // CR LF is one space token, LF CR two; control characters join a blank run.
  EXPECT_EQ(ScanLine(h, "\r\n\n\r\x01\x1f ", H::RangeTagBody),
            (Toks{{0, H::KindSpace, "\r\n"},
                  {2, H::KindSpace, "\n"},
                  {3, H::KindSpace, "\r"},
                  {4, H::KindSpace, "\x01\x1f "}}));
}

TEST(HtmlTokenizer, NeverProducedRangesScanLikeTheTagBody) {
  H reference;
  const std::string line = "a=\"b\" c>d&amp;<e";
  const Toks expected = ScanLine(reference, line, H::RangeTagBody);
  for (TKzRange r : {5u, 9u, 10u, 128u, 255u, 0x105u}) {
    H h;
    EXPECT_EQ(ScanLine(h, line, r), expected) << "range " << r;
  }
  // Only the low byte of a restored range counts.
  H h;
  h.RestoreRange(0xABCD0100u | H::RangeComment);
  EXPECT_EQ(h.CurrentRange(), H::RangeComment);
  h.RestoreRange(0xFFFFFFFFu);
  EXPECT_EQ(h.CurrentRange(), 255u);
  h.ClearRange();
  EXPECT_EQ(h.CurrentRange(), H::RangeText);
}

TEST(HtmlTokenizer, RestoredEntityRangeAtALineStart) {
  H h;
  // Range 0 can reach a line start only from a stored value no scan produced; the "&" then
  // starts a numeric reference scan and nothing reads past the line.
  EXPECT_EQ(ScanLine(h, "&#12;x", H::RangeEntity),
            (Toks{{0, H::KindEntity, "&#12;"}, {5, H::KindText, "x"}}));
  EXPECT_EQ(ScanLine(h, "&", H::RangeEntity), (Toks{{0, H::KindText, "&"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeText);
  EXPECT_EQ(ScanLine(h, "&amp;", H::RangeEntity),
            (Toks{{0, H::KindText, "&"}, {1, H::KindText, "amp;"}}));
}

TEST(HtmlTokenizer, AbandonedLineLeavesNoPendingReferenceForTheNext) {
  H h;
  h.ClearRange();
  const std::string first = "x&thetasym;";
  h.BeginLine(first, 0);
  ASSERT_EQ(h.CurrentRange(), H::RangeEntity);
  ASSERT_GE(h.EntityIndex(), 0);
  // A painter stops at the last visible token; a client that goes on with the next line
  // without restoring must not have the short line consume ten characters.
  const std::string second = "&ab";
  h.BeginLine(second, 1);
  EXPECT_EQ(h.TokenText(), "&");
  EXPECT_EQ(h.TokenKind(), H::KindText);
}

TEST(HtmlTokenizer, NulByteInsideALineIsASpaceNotTheLineEnd) {
  H h;
  const std::string line("a\0b<i>", 6);
  EXPECT_EQ(ScanLine(h, line, H::RangeText), (Toks{{0, H::KindText, "a"},
                                                   {1, H::KindSpace, std::string("\0", 1)},
                                                   {2, H::KindText, "b"},
                                                   {3, H::KindSymbol, "<"},
                                                   {4, H::KindKey, "i"},
                                                   {5, H::KindSymbol, ">"}}));
  EXPECT_EQ(h.TokenStart(), 6);
  const std::string comment("x\0-->", 5);
  EXPECT_EQ(ScanLine(h, comment, H::RangeComment), (Toks{{0, H::KindComment, "x"},
                                                         {1, H::KindSpace, std::string("\0", 1)},
                                                         {2, H::KindComment, "-->"}}));
  EXPECT_EQ(h.CurrentRange(), H::RangeText);
}

} // namespace
