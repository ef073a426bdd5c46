// Style sheets edited at random in an editor with the CSS highlighter: after every edit the
// stored ranges and every line's tokens, scanned the way painting scans them (on the editor's
// own highlighter, from the stored range of the line above, in any order), equal those of a
// fresh scan of the whole text.
#include "EditFixture.h"

#include "highlight/KzHighlighterCSS.h"

#include <algorithm>
#include <random>

namespace {

struct TTokenInfo {
  int Start;
  int Kind;
  std::string Text;
  bool operator==(const TTokenInfo &) const = default;
};

std::ostream &operator<<(std::ostream &os, const TTokenInfo &t) {
  return os << "{" << t.Start << ", " << t.Kind << ", \"" << t.Text << "\"}";
}

using TLineTokens = std::vector<TTokenInfo>;

TLineTokens ScanOne(TKzCustomHighlighter &h, const std::string &line) {
  TLineTokens out;
  h.BeginLine(line, 0);
  while (!h.AtLineEnd()) {
    out.push_back({h.TokenStart(), h.TokenKind(), h.TokenText()});
    h.Advance();
  }
  return out;
}

// Every line's tokens and end range, the whole text scanned from the top by a new instance.
struct TWholeScan {
  std::vector<TLineTokens> Tokens;
  std::vector<TKzRange> Ranges;
};

TWholeScan ScanWhole(const TKzEditStringList &lines) {
  TKzCssHighlighter h;
  TWholeScan out;
  h.ClearRange();
  for (int i = 0; i < lines.Count(); ++i) {
    out.Tokens.push_back(ScanOne(h, lines.GetLine(i)));
    out.Ranges.push_back(h.CurrentRange());
  }
  return out;
}

// One line as painting sees it: the editor's highlighter, started from the stored range of
// the line above.
TLineTokens PaintScan(TCustomKzEdit &ed, int index) {
  TKzCustomHighlighter &h = *ed.Highlighter();
  if (index == 0)
    h.ClearRange();
  else
    h.RestoreRange(ed.Lines().LineRange(index - 1));
  return ScanOne(h, ed.Lines().GetLine(index));
}

class EditCssRangesFixture : public EditFixture {
protected:
  void TearDown() override { Ed->SetHighlighter(nullptr); }

  // Compares the stored ranges, then the tokens of every line in a shuffled order, so that
  // each line is scanned right after some unrelated one.
  void ExpectAsWholeScan(std::mt19937 &rng, const std::string &context) {
    const TWholeScan fresh = ScanWhole(Ed->Lines());
    const int n = Ed->Lines().Count();
    for (int i = 0; i < n; ++i)
      ASSERT_EQ(Ed->Lines().LineRange(i), fresh.Ranges[std::size_t(i)])
          << context << ", line " << i + 1 << "\n"
          << Ed->Text();
    std::vector<int> order(std::size_t(n), 0);
    for (int i = 0; i < n; ++i)
      order[std::size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), rng);
    for (int i : order)
      ASSERT_EQ(PaintScan(*Ed, i), fresh.Tokens[std::size_t(i)])
          << context << ", line " << i + 1 << "\n"
          << Ed->Text();
  }

  TKzCssHighlighter Css;
};

} // namespace

TEST_F(EditCssRangesFixture, CommentsOpenedInDifferentRangesCloseIntoTheirOwn) {
  // The first comment interrupts a rule, the second stands among the selectors; the text
  // after each "*/" must go on in the range its own "/*" interrupted.
  Ed->SetText("a {\r\n/* one\r\n*/ color: red;\r\n}\r\n/* two\r\n*/ b { }");
  Ed->SetHighlighter(&Css);
  std::mt19937 rng(1);
  ExpectAsWholeScan(rng, "after attaching");
  EXPECT_EQ(PaintScan(*Ed, 2)[2], (TTokenInfo{3, TKzCssHighlighter::KindProperty, "color"}));
  EXPECT_EQ(PaintScan(*Ed, 5)[1], (TTokenInfo{2, TKzCssHighlighter::KindKey, " b "}));

  // Moving the second comment's opener into the rule changes what its "*/" returns to, two
  // lines below a line whose low range byte stays "comment".
  Caret(1, 4);
  Ed->SetSelectedText("/* two\r\n");
  ExpectAsWholeScan(rng, "after the insertion");
}

TEST_F(EditCssRangesFixture, RandomEditsKeepEveryLineAsAWholeScanWouldGiveIt) {
  // Pieces that open and close comments, rules and values, so edits move lines in and out
  // of comments that interrupted different ranges.
  const std::vector<std::string> pieces = {"/*",    "*/",   "{",    "}",     ":",   ";",
                                           ",",     " ",    "a",    "color", "#f0", "1.5",
                                           "\"s\"", "\r\n", "\r\n", "/",     "*"};
  for (unsigned seed = 1; seed <= 60; ++seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto someText = [&] {
      std::string s;
      for (int k = pick(1, 4); k > 0; --k)
        s += pieces[std::size_t(pick(0, int(pieces.size()) - 1))];
      return s;
    };
    std::string start;
    for (int k = 0; k < 12; ++k)
      start += someText();
    Ed->SetText(start);
    Ed->SetHighlighter(&Css);
    ExpectAsWholeScan(rng, "seed " + std::to_string(seed) + " start");
    for (int step = 0; step < 40; ++step) {
      const int lines = Ed->Lines().Count();
      auto point = [&] {
        const int y = pick(1, std::max(lines, 1));
        const int len = int(Ed->Lines().GetLine(y - 1).size());
        return P(pick(1, len + 1), y);
      };
      const int what = pick(0, 9);
      if (what == 0 && Ed->UndoAvailable()) {
        Ed->Undo();
      } else if (what == 1 && Ed->RedoAvailable()) {
        Ed->Redo();
      } else {
        const TBufferCoord a = point(), b = what < 5 ? a : point();
        Select(a, b);
        Ed->SetSelectedText(what == 9 ? std::string() : someText());
      }
      ExpectAsWholeScan(rng, "seed " + std::to_string(seed) + " step " + std::to_string(step));
      if (HasFatalFailure())
        return;
    }
    Ed->SetHighlighter(nullptr);
  }
}
