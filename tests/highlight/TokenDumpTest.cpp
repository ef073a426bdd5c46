// The token dump: splitting into lines, escaping token text, and the dump's line format.
#include "highlight/KzHighlighterTokenDump.h"

#include <gtest/gtest.h>

#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"

namespace {

using Lines = std::vector<std::string>;

TEST(TokenDump, LinesEndAtCrLfLfOrCrAndAFinalBreakAddsNoLine) {
  EXPECT_EQ(KzSplitLines(""), Lines{});
  EXPECT_EQ(KzSplitLines("a"), Lines{"a"});
  EXPECT_EQ(KzSplitLines("a\n"), Lines{"a"});
  EXPECT_EQ(KzSplitLines("a\r"), Lines{"a"});
  EXPECT_EQ(KzSplitLines("a\r\n"), Lines{"a"});
  EXPECT_EQ(KzSplitLines("\n"), Lines{""});
  EXPECT_EQ(KzSplitLines("\r\n\r\n"), (Lines{"", ""}));
  EXPECT_EQ(KzSplitLines("a\n\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(KzSplitLines("a\r\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(KzSplitLines("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(KzSplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(KzSplitLines(std::string("a\0b\n", 4)), Lines{std::string("a\0b", 3)});
}

TEST(TokenDump, TokenTextEscapes) {
  EXPECT_EQ(KzEscapeTokenText("plain <b> ~"), "plain <b> ~");
  EXPECT_EQ(KzEscapeTokenText("a\\b\tc\rd\ne"), "a\\\\b\\tc\\rd\\ne");
  EXPECT_EQ(KzEscapeTokenText(std::string("\0\x01\x1f\x7f\x80\xe4\xff", 7)),
            "\\x00\\x01\\x1F\\x7F\\x80\\xE4\\xFF");
  EXPECT_EQ(KzEscapeTokenText(" ~"), " ~");
}

TEST(TokenDump, OneLinePerTokenThenTheLineEndWithItsRange) {
  TKzHTMLHighlighter h;
  EXPECT_EQ(KzDumpTokens(h, {"<i a='x", "y'>\t&lt;", ""}), "0\t0\t6\t<\n"
                                                           "0\t1\t3\ti\n"
                                                           "0\t2\t5\t \n"
                                                           "0\t3\t2\ta\n"
                                                           "0\t4\t6\t=\n"
                                                           "0\t5\t9\t'x\n"
                                                           "0\tend\t7\n"
                                                           "1\t0\t9\ty'\n"
                                                           "1\t2\t6\t>\n"
                                                           "1\t3\t5\t\\t\n"
                                                           "1\t4\t7\t\n"
                                                           "1\t4\t0\t&lt;\n"
                                                           "1\tend\t4\n"
                                                           "2\tend\t4\n");
  // The range is cleared before the first line, whatever the highlighter held.
  TKzCssHighlighter c;
  c.RestoreRange(TKzCssHighlighter::RangeComment);
  EXPECT_EQ(KzDumpTokens(c, {"p{"}), "0\t0\t2\tp\n0\t1\t6\t{\n0\tend\t2\n");
  EXPECT_EQ(KzDumpTokens(c, {}), "");
}

} // namespace
