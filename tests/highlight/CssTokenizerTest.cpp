// Token streams of the style sheet highlighter: the sample text, rules, values and comments.
#include "highlight/KzHighlighterCSS.h"

#include <gtest/gtest.h>

#include "TokenStream.h"

namespace {

using C = TKzCssHighlighter;
using Toks = std::vector<TTok>;

TEST(CssTokenizer, SampleTextGivesTheExpectedStream) {
  C h;
  EXPECT_EQ(
      h.SampleText(),
      "/* Syntax Highlighting */\r\n"
      "body { font-family: Tahoma, Verdana, Arial, Helvetica, sans-serif; font-size: 8pt }\r\n"
      "H1 { font-size: 18pt; color: #000099; made-up-property: 1 }");
  h.ClearRange();
  EXPECT_EQ(ContinueLine(h, "/* Syntax Highlighting */"),
            (Toks{{0, C::KindComment, "/* Syntax Highlighting */"}}));
  EXPECT_EQ(h.CurrentRange(), C::RangeOutsideRule);

  EXPECT_EQ(
      ContinueLine(
          h, "body { font-family: Tahoma, Verdana, Arial, Helvetica, sans-serif; font-size: 8pt }"),
      (Toks{{0, C::KindKey, "body "},         {5, C::KindSymbol, "{"},
            {6, C::KindSpace, " "},           {7, C::KindProperty, "font-family"},
            {18, C::KindSymbol, ":"},         {19, C::KindSpace, " "},
            {20, C::KindValue, "Tahoma"},     {26, C::KindSymbol, ","},
            {27, C::KindSpace, " "},          {28, C::KindValue, "Verdana"},
            {35, C::KindSymbol, ","},         {36, C::KindSpace, " "},
            {37, C::KindValue, "Arial"},      {42, C::KindSymbol, ","},
            {43, C::KindSpace, " "},          {44, C::KindValue, "Helvetica"},
            {53, C::KindSymbol, ","},         {54, C::KindSpace, " "},
            {55, C::KindValue, "sans-serif"}, {65, C::KindSymbol, ";"},
            {66, C::KindSpace, " "},          {67, C::KindProperty, "font-size"},
            {76, C::KindSymbol, ":"},         {77, C::KindSpace, " "},
            {78, C::KindNumber, "8"},         {79, C::KindValue, "pt "},
            {82, C::KindSymbol, "}"}}));
  EXPECT_EQ(h.TokenStart(), 83);
  EXPECT_EQ(h.CurrentRange(), C::RangeOutsideRule);

  EXPECT_EQ(ContinueLine(h, "H1 { font-size: 18pt; color: #000099; made-up-property: 1 }"),
            (Toks{{0, C::KindKey, "H1 "},
                  {3, C::KindSymbol, "{"},
                  {4, C::KindSpace, " "},
                  {5, C::KindProperty, "font-size"},
                  {14, C::KindSymbol, ":"},
                  {15, C::KindSpace, " "},
                  {16, C::KindNumber, "18"},
                  {18, C::KindValue, "pt"},
                  {20, C::KindSymbol, ";"},
                  {21, C::KindSpace, " "},
                  {22, C::KindProperty, "color"},
                  {27, C::KindSymbol, ":"},
                  {28, C::KindSpace, " "},
                  {29, C::KindColour, "#000099"},
                  {36, C::KindSymbol, ";"},
                  {37, C::KindSpace, " "},
                  {38, C::KindUnknownProperty, "made-up-property"},
                  {54, C::KindSymbol, ":"},
                  {55, C::KindSpace, " "},
                  {56, C::KindNumber, "1"},
                  {57, C::KindSpace, " "},
                  {58, C::KindSymbol, "}"}}));
  EXPECT_EQ(h.CurrentRange(), C::RangeOutsideRule);
}

TEST(CssTokenizer, PropertyNamesAreClassifiedByTheirLeadingWord) {
  C h;
  EXPECT_EQ(ScanLine(h, "COLOR", C::RangeInRule), (Toks{{0, C::KindProperty, "COLOR"}}));
  EXPECT_EQ(ScanLine(h, "color.x", C::RangeInRule), (Toks{{0, C::KindProperty, "color.x"}}));
  EXPECT_EQ(ScanLine(h, "font-size2", C::RangeInRule),
            (Toks{{0, C::KindUnknownProperty, "font-size2"}}));
  EXPECT_EQ(ScanLine(h, "z-index", C::RangeAfterSemicolon),
            (Toks{{0, C::KindProperty, "z-index"}}));
  EXPECT_EQ(
      ScanLine(h, "Z-Index:1", C::RangeInRule),
      (Toks{{0, C::KindProperty, "Z-Index"}, {7, C::KindSymbol, ":"}, {8, C::KindNumber, "1"}}));
  // A longer and a shorter word of the same letters are both unknown.
  EXPECT_EQ(ScanLine(h, "colo", C::RangeInRule), (Toks{{0, C::KindUnknownProperty, "colo"}}));
  EXPECT_EQ(ScanLine(h, "colorr", C::RangeInRule), (Toks{{0, C::KindUnknownProperty, "colorr"}}));
  // Same letters in another order share the hash but not the name.
  EXPECT_EQ(ScanLine(h, "lorco", C::RangeInRule), (Toks{{0, C::KindUnknownProperty, "lorco"}}));
  // The classified word may be empty; the token still takes the characters.
  EXPECT_EQ(ScanLine(h, "!important", C::RangeInRule),
            (Toks{{0, C::KindUnknownProperty, "!important"}}));
  // A word ends at a blank, a quote, ":", ";" or "}", not at "{" or ",".
  EXPECT_EQ(ScanLine(h, "a{b,c\"d", C::RangeInRule),
            (Toks{{0, C::KindUnknownProperty, "a{b,c"}, {5, C::KindString, "\"d"}}));
}

TEST(CssTokenizer, ValuesNumbersColoursAndStrings) {
  C h;
  EXPECT_EQ(ScanLine(h, "Times New Roman;", C::RangeAfterColon),
            (Toks{{0, C::KindValue, "Times New Roman"}, {15, C::KindSymbol, ";"}}));
  EXPECT_EQ(h.CurrentRange(), C::RangeAfterSemicolon);
  // Bytes of 128 and above belong to the value; "{" and "/" do too.
  EXPECT_EQ(ScanLine(h, "\xe4\xf6 {a/b}", C::RangeAfterColon),
            (Toks{{0, C::KindValue, "\xe4\xf6 {a/b"}, {7, C::KindSymbol, "}"}}));
  EXPECT_EQ(ScanLine(h, "1.5em", C::RangeAfterColon),
            (Toks{{0, C::KindNumber, "1.5"}, {3, C::KindValue, "em"}}));
  EXPECT_EQ(h.CurrentRange(), C::RangeInRule);
  // A "." directly followed by another "." ends the number; the second "." starts one.
  EXPECT_EQ(ScanLine(h, "1..2", C::RangeAfterColon),
            (Toks{{0, C::KindNumber, "1"}, {1, C::KindNumber, "..2"}}));
  EXPECT_EQ(ScanLine(h, ".5", C::RangeInRule), (Toks{{0, C::KindNumber, ".5"}}));
  EXPECT_EQ(ScanLine(h, "#fFz", C::RangeInRule),
            (Toks{{0, C::KindColour, "#fF"}, {3, C::KindUnknownProperty, "z"}}));
  EXPECT_EQ(ScanLine(h, "#", C::RangeAfterColon), (Toks{{0, C::KindColour, "#"}}));
  // Strings end at the closing quote or the line end; the apostrophe is no delimiter.
  EXPECT_EQ(
      ScanLine(h, "\"a;b\" 'c'", C::RangeAfterColon),
      (Toks{{0, C::KindString, "\"a;b\""}, {5, C::KindSpace, " "}, {6, C::KindValue, "'c'"}}));
  EXPECT_EQ(ScanLine(h, "\"open", C::RangeInRule), (Toks{{0, C::KindString, "\"open"}}));
  EXPECT_EQ(h.CurrentRange(), C::RangeInRule);
  EXPECT_EQ(
      ScanLine(h, "\"a\rb", C::RangeInRule),
      (Toks{{0, C::KindString, "\"a"}, {2, C::KindSpace, "\r"}, {3, C::KindUnknownProperty, "b"}}));
  // A lone slash is a symbol.
  EXPECT_EQ(ScanLine(h, "a/b", C::RangeInRule), (Toks{{0, C::KindUnknownProperty, "a/b"}}));
  EXPECT_EQ(ScanLine(h, "/b", C::RangeInRule),
            (Toks{{0, C::KindSymbol, "/"}, {1, C::KindUnknownProperty, "b"}}));
}

TEST(CssTokenizer, SelectorsOutsideRules) {
  C h;
  // Blanks, commas, colons and "}" belong to the selector text outside a rule.
  EXPECT_EQ(ScanLine(h, "a:hover, p > b }{", C::RangeOutsideRule),
            (Toks{{0, C::KindKey, "a:hover, p > b }"}, {16, C::KindSymbol, "{"}}));
  EXPECT_EQ(h.CurrentRange(), C::RangeInRule);
  EXPECT_EQ(ScanLine(h, "h1\tp", C::RangeOutsideRule),
            (Toks{{0, C::KindKey, "h1"}, {2, C::KindSpace, "\t"}, {3, C::KindKey, "p"}}));
  EXPECT_EQ(ScanLine(h, "a/b", C::RangeOutsideRule),
            (Toks{{0, C::KindKey, "a"}, {1, C::KindSymbol, "/"}, {2, C::KindKey, "b"}}));
}

TEST(CssTokenizer, CommentsAndSavedRange) {
  C h;
  // "/*" at the line end is a two-character token; the next line starts inside.
  EXPECT_EQ(ScanLine(h, "p /*", C::RangeOutsideRule),
            (Toks{{0, C::KindKey, "p "}, {2, C::KindComment, "/*"}}));
  EXPECT_EQ(h.CurrentRange(), C::RangeComment);
  EXPECT_EQ(h.SavedRange(), C::RangeOutsideRule);
  // An empty line inside a comment is only the line end.
  EXPECT_EQ(ContinueLine(h, ""), Toks{});
  EXPECT_EQ(h.CurrentRange(), C::RangeComment);
  EXPECT_EQ(ContinueLine(h, "x */ {"),
            (Toks{{0, C::KindComment, "x */"}, {4, C::KindKey, " "}, {5, C::KindSymbol, "{"}}));
  EXPECT_EQ(h.CurrentRange(), C::RangeInRule);

  // A comment closed in the line returns to the range it interrupted.
  EXPECT_EQ(ScanLine(h, "/* x */ color", C::RangeInRule), (Toks{{0, C::KindComment, "/* x */"},
                                                                {7, C::KindSpace, " "},
                                                                {8, C::KindProperty, "color"}}));
  EXPECT_EQ(ScanLine(h, ":/**/red", C::RangeInRule),
            (Toks{{0, C::KindSymbol, ":"}, {1, C::KindComment, "/**/"}, {5, C::KindValue, "red"}}));
  // "/*/" does not close: the "*" of the opener is not reused. Inside a comment the range
  // value carries the interrupted range in its second byte.
  const TKzRange commentInRule = C::RangeComment | (C::RangeInRule << 8);
  EXPECT_EQ(ScanLine(h, "/*/ a", C::RangeInRule), (Toks{{0, C::KindComment, "/*/ a"}}));
  EXPECT_EQ(h.CurrentRange(), commentInRule);
  // Line break characters inside the line belong to a comment.
  EXPECT_EQ(ScanLine(h, "a\rb\n*/x", commentInRule),
            (Toks{{0, C::KindComment, "a\rb\n*/"}, {6, C::KindUnknownProperty, "x"}}));
  // Right after the opener, a line break character ends the comment token.
  EXPECT_EQ(ScanLine(h, "/*\r*/", C::RangeInRule),
            (Toks{{0, C::KindComment, "/*"}, {2, C::KindComment, "\r*/"}}));
  EXPECT_EQ(h.CurrentRange(), C::RangeInRule);
}

TEST(CssTokenizer, TheInterruptedRangeTravelsWithTheRangeValue) {
  // Each "/*" leaves its range in the value of the lines it spans; a "*/" returns to the
  // range of the value it was scanned with, whatever this instance scanned in between.
  C k;
  EXPECT_EQ(ScanLine(k, "a { /* one", C::RangeOutsideRule).back(),
            (TTok{4, C::KindComment, "/* one"}));
  const TKzRange one = k.CurrentRange();
  EXPECT_EQ(one, C::RangeComment | (C::RangeInRule << 8));
  EXPECT_EQ(ScanLine(k, "b: /* two", C::RangeAfterSemicolon).back(),
            (TTok{3, C::KindComment, "/* two"}));
  const TKzRange two = k.CurrentRange();
  EXPECT_EQ(two, C::RangeComment | (C::RangeAfterColon << 8));
  EXPECT_EQ(
      ScanLine(k, "*/ x", one),
      (Toks{{0, C::KindComment, "*/"}, {2, C::KindSpace, " "}, {3, C::KindUnknownProperty, "x"}}));
  EXPECT_EQ(ScanLine(k, "*/ x", two),
            (Toks{{0, C::KindComment, "*/"}, {2, C::KindSpace, " "}, {3, C::KindValue, "x"}}));
  EXPECT_EQ(k.CurrentRange(), C::RangeInRule);
  // A line inside the comment keeps its value, so the line after it still knows.
  EXPECT_EQ(ScanLine(k, "still", two), (Toks{{0, C::KindComment, "still"}}));
  EXPECT_EQ(k.CurrentRange(), two);

  // Among the selectors a comment has the value 0, as before; a "*/" met with the value 0
  // (also one never computed) leaves the comment for the start range.
  EXPECT_EQ(ScanLine(k, "p /* top", C::RangeOutsideRule).back(),
            (TTok{2, C::KindComment, "/* top"}));
  EXPECT_EQ(k.CurrentRange(), 0u);
  C fresh;
  EXPECT_EQ(ScanLine(fresh, "*/ p {", C::RangeComment),
            (Toks{{0, C::KindComment, "*/"}, {2, C::KindKey, " p "}, {5, C::KindSymbol, "{"}}));
  EXPECT_EQ(ScanLine(fresh, "*/ p {", C::RangeComment | (C::RangeOutsideRule << 8)),
            (Toks{{0, C::KindComment, "*/"}, {2, C::KindKey, " p "}, {5, C::KindSymbol, "{"}}));
  // Outside comments the value is the range alone, and ClearRange forgets what a comment
  // interrupted.
  ScanLine(k, "x /* y */ z", C::RangeInRule);
  EXPECT_EQ(k.CurrentRange(), C::RangeInRule);
  ScanLine(k, "/* open", C::RangeAfterColon);
  k.ClearRange();
  EXPECT_EQ(k.CurrentRange(), C::RangeOutsideRule);
  EXPECT_EQ(k.SavedRange(), C::RangeOutsideRule);
}

TEST(CssTokenizer, BlanksAndLineBreakCharacters) {
  C h;
  EXPECT_EQ(ScanLine(h, "  \t \r\n\n", C::RangeInRule), (Toks{{0, C::KindSpace, "  "},
                                                              {2, C::KindSpace, "\t "},
                                                              {4, C::KindSpace, "\r\n"},
                                                              {6, C::KindSpace, "\n"}}));
  EXPECT_EQ(ScanLine(h, std::string("a\0b", 3), C::RangeAfterColon),
            (Toks{{0, C::KindValue, "a"},
                  {1, C::KindSpace, std::string("\0", 1)},
                  {2, C::KindUnknownProperty, "b"}}));
  EXPECT_EQ(ScanLine(h, std::string("/*\0*/x", 6), C::RangeInRule),
            (Toks{{0, C::KindComment, "/*"},
                  {2, C::KindComment, std::string("\0*/", 3)},
                  {5, C::KindUnknownProperty, "x"}}));
}

TEST(CssTokenizer, EmptyLinesAndNeverProducedRanges) {
  C h;
  for (TKzRange r : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 99u, 255u}) {
    h.RestoreRange(r);
    const std::string empty;
    h.BeginLine(empty, 0);
    EXPECT_TRUE(h.AtLineEnd());
    EXPECT_EQ(h.TokenStart(), 0);
    EXPECT_EQ(h.CurrentRange(), r);
  }
  const std::string line = "color: red; x: #fff } a";
  C reference;
  const Toks expected = ScanLine(reference, line, C::RangeInRule);
  for (TKzRange r : {1u, 6u, 7u, 200u, 255u, 0x301u}) {
    C k;
    EXPECT_EQ(ScanLine(k, line, r), expected) << "range " << r;
  }
  h.ClearRange();
  EXPECT_EQ(h.CurrentRange(), C::RangeOutsideRule);
  h.RestoreRange(0x1234);
  EXPECT_EQ(h.CurrentRange(), 0x34u);
}

} // namespace
