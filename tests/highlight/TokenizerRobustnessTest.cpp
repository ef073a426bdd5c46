// Every byte value and random lines in every range: tokens stay contiguous, cover the line
// exactly and end at its length (run under the sanitizers to catch reads past the line).
#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Scans one line and checks the token chain; returns a description of the first fault.
std::string CheckLine(TKzCustomHighlighter &h, const std::string &line, TKzRange range) {
  h.RestoreRange(range);
  h.BeginLine(line, 0);
  std::size_t expectedStart = 0;
  std::size_t tokens = 0;
  // Empty tokens occur, but never two in a row at one place more than a few times.
  const std::size_t limit = 2 * line.size() + 4;
  while (!h.AtLineEnd()) {
    const std::string text = h.TokenText();
    if (h.TokenStart() != static_cast<int>(expectedStart))
      return "token starts at " + std::to_string(h.TokenStart()) + ", expected " +
             std::to_string(expectedStart);
    if (line.compare(expectedStart, text.size(), text) != 0 ||
        expectedStart + text.size() > line.size())
      return "token text is not the line's text at " + std::to_string(expectedStart);
    if (h.TokenAttribute() == nullptr)
      return "token without attribute at " + std::to_string(expectedStart);
    expectedStart += text.size();
    if (++tokens > limit)
      return "no progress at " + std::to_string(expectedStart);
    h.Advance();
  }
  if (h.TokenStart() != static_cast<int>(line.size()))
    return "line end token at " + std::to_string(h.TokenStart());
  if (!h.TokenText().empty())
    return "line end token not empty";
  if (h.TokenAttribute() != nullptr)
    return "line end token with attribute";
  return {};
}

// Lines long enough to live on the heap, so a read past their end is a sanitizer error.
std::vector<std::string> LinesAroundByte(unsigned char b) {
  const std::string pad(16, 'a');
  const std::string c(1, static_cast<char>(b));
  std::vector<std::string> lines = {pad + c, c + pad, pad + " " + c, pad + "\t" + c + c};
  for (const char *suffix :
       {"<", "<!",  "<!-", "&", "&#", "&#x", "&am", "&#1", "/", "*",  "/*",   "\r",  "'",
        "=", "=\"", "1.",  "#", "\"", ":",   "{",   "}",   ";", "<a", "<a =", "&amp"}) {
    lines.push_back(pad + suffix + c);
    lines.push_back(pad + c + suffix);
  }
  return lines;
}

template <class THighlighter> void CheckEveryByteInEveryRange() {
  THighlighter h;
  for (int b = 0; b < 256; ++b) {
    for (const std::string &line : LinesAroundByte(static_cast<unsigned char>(b))) {
      for (TKzRange r = 0; r <= 10; ++r) {
        const std::string fault = CheckLine(h, line, r);
        ASSERT_EQ(fault, "") << "byte " << b << ", range " << r;
      }
      ASSERT_EQ(CheckLine(h, line, 255), "") << "byte " << b;
    }
  }
}

TEST(TokenizerRobustness, HtmlEveryByteInEveryRange) {
  CheckEveryByteInEveryRange<TKzHTMLHighlighter>();
}

TEST(TokenizerRobustness, CssEveryByteInEveryRange) {
  CheckEveryByteInEveryRange<TKzCssHighlighter>();
}

template <class THighlighter> void CheckRandomLines(unsigned seed) {
  // Mostly the characters the tokenizers react to, some plain letters and any byte.
  const std::string alphabet = "<>!-&#;=\"'/*{}:,.;xX09aF \t\r\n";
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> length(16, 200);
  std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) + 3);
  std::uniform_int_distribution<int> anyByte(0, 255);
  THighlighter h;
  for (int n = 0; n < 3000; ++n) {
    std::string line;
    const int len = length(rng);
    for (int i = 0; i < len; ++i) {
      const int p = pick(rng);
      line += p < static_cast<int>(alphabet.size()) ? alphabet[static_cast<std::size_t>(p)]
                                                    : static_cast<char>(anyByte(rng));
    }
    const TKzRange r = static_cast<TKzRange>(anyByte(rng)) % 12;
    ASSERT_EQ(CheckLine(h, line, r), "") << "line " << n;
    // Carrying the range on through a following line keeps the chain sound as well.
    ASSERT_EQ(CheckLine(h, line, h.CurrentRange()), "") << "line " << n;
  }
}

TEST(TokenizerRobustness, HtmlRandomLines) { CheckRandomLines<TKzHTMLHighlighter>(20261207); }

TEST(TokenizerRobustness, CssRandomLines) { CheckRandomLines<TKzCssHighlighter>(4242); }

TEST(TokenizerRobustness, AdvancePastTheLineEndStaysAtTheLineEnd) {
  TKzHTMLHighlighter html;
  TKzCssHighlighter css;
  for (TKzCustomHighlighter *h :
       {static_cast<TKzCustomHighlighter *>(&html), static_cast<TKzCustomHighlighter *>(&css)}) {
    const std::string line = "<a href='x'>y</a>{b:c}";
    h->ClearRange();
    h->BeginLine(line, 0);
    h->RunToLineEnd();
    const TKzRange range = h->CurrentRange();
    for (int i = 0; i < 3; ++i) {
      h->Advance();
      EXPECT_TRUE(h->AtLineEnd());
      EXPECT_EQ(h->TokenStart(), static_cast<int>(line.size()));
      EXPECT_EQ(h->CurrentRange(), range);
    }
  }
}

} // namespace
