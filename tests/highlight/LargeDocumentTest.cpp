// Large documents, megabyte lines and random edits: the editor's range upkeep after an edit
// touches only the lines whose start state changed, and always ends with the ranges a scan
// of the whole document gives (run under the sanitizers to catch reads past a line).
#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"

#include <gtest/gtest.h>

#include <random>

#include "TokenStream.h"

namespace {

using H = TKzHTMLHighlighter;
using C = TKzCssHighlighter;

// The lines of a document with the range stored at the end of each, kept up to date the way
// the editor control keeps its text buffer's line ranges.
struct TRangedLines {
  std::vector<std::string> Lines;
  std::vector<TKzRange> Ranges;

  void ScanAll(TKzCustomHighlighter &h) {
    Ranges.assign(Lines.size(), 0);
    h.ClearRange();
    for (std::size_t i = 0; i < Lines.size(); ++i) {
      h.BeginLine(Lines[i], static_cast<int>(i));
      h.RunToLineEnd();
      Ranges[i] = h.CurrentRange();
    }
  }

  // Rescans from line `from` until a line ends with the range it had before; returns the
  // number of lines scanned.
  std::size_t Rescan(TKzCustomHighlighter &h, std::size_t from) {
    if (from == 0)
      h.ClearRange();
    else
      h.RestoreRange(Ranges[from - 1]);
    std::size_t scanned = 0;
    for (std::size_t i = from; i < Lines.size(); ++i) {
      h.BeginLine(Lines[i], static_cast<int>(i));
      h.RunToLineEnd();
      ++scanned;
      const TKzRange r = h.CurrentRange();
      if (r == Ranges[i])
        break;
      Ranges[i] = r;
    }
    return scanned;
  }

  // Inserting a line makes the rescan start there with nothing stored for it yet.
  void Insert(std::size_t at, const std::string &line) {
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(at), line);
    Ranges.insert(Ranges.begin() + static_cast<std::ptrdiff_t>(at), 0xFFFFFFFFu);
  }
  void Erase(std::size_t at) {
    Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(at));
    Ranges.erase(Ranges.begin() + static_cast<std::ptrdiff_t>(at));
  }
};

template <class THighlighter>
std::vector<TKzRange> WholeScan(const std::vector<std::string> &lines) {
  THighlighter fresh;
  TRangedLines doc{lines, {}};
  doc.ScanAll(fresh);
  return doc.Ranges;
}

// Eight lines that end in every range a template commonly leaves open: text, a comment over
// two lines, a quoted value over two lines.
const char *const HtmlBlock[] = {
    "<table width=\"100%\" class='list'>",
    "  <tr><td>Posteingang &amp; mehr</td></tr>",
    "<!-- Abschnitt",
    "  im Kommentar <b> -->",
    "<input name=\"user\" value='any",
    "   value'>",
    "Text &copy; 2001 &#x41; &#65",
    "</table>",
};
constexpr TKzRange HtmlBlockRanges[] = {H::RangeText, H::RangeText,         H::RangeComment,
                                        H::RangeText, H::RangeSingleQuoted, H::RangeText,
                                        H::RangeText, H::RangeText};

TEST(LargeDocument, OneLineEditsIn200000HtmlLinesRescanOnlyWhatChanged) {
  constexpr std::size_t Blocks = 25000;
  TRangedLines doc;
  for (std::size_t b = 0; b < Blocks; ++b)
    doc.Lines.insert(doc.Lines.end(), std::begin(HtmlBlock), std::end(HtmlBlock));
  ASSERT_EQ(doc.Lines.size(), 200000u);
  H h;
  doc.ScanAll(h);
  for (std::size_t i = 0; i < doc.Lines.size(); i += 9973)
    ASSERT_EQ(doc.Ranges[i], HtmlBlockRanges[i % 8]) << "line " << i;

  const std::size_t mid = 100000; // the first line of a block
  // Text typed inside a cell changes no range: one line is rescanned.
  doc.Lines[mid + 1] = "  <tr><td>Ausgang &amp; mehr</td></tr>";
  EXPECT_EQ(doc.Rescan(h, mid + 1), 1u);
  // An apostrophe left open runs the value on to the apostrophe four lines down; the
  // tag it closes ends a line later, where the old range is met again.
  doc.Lines[mid] = "<table width=\"100%\" class='list";
  EXPECT_EQ(doc.Rescan(h, mid), 6u);
  EXPECT_EQ(doc.Ranges[mid + 3], H::RangeSingleQuoted);
  EXPECT_EQ(doc.Ranges[mid + 4], H::RangeTagBody);
  doc.Lines[mid] = HtmlBlock[0];
  EXPECT_EQ(doc.Rescan(h, mid), 6u);
  // A comment opened at the end of a cell meets the next line's comment: two lines.
  doc.Lines[mid + 1] = "  <tr><td>Posteingang <!--";
  EXPECT_EQ(doc.Rescan(h, mid + 1), 2u);
  // A line inserted has no stored range yet, so the line after it is scanned as well.
  doc.Insert(mid + 8, "<p>neu</p>");
  EXPECT_EQ(doc.Rescan(h, mid + 8), 2u);
  doc.Erase(mid + 8);
  EXPECT_EQ(doc.Rescan(h, mid + 8), 1u);

  EXPECT_EQ(doc.Ranges, WholeScan<H>(doc.Lines));
}

TEST(LargeDocument, OneLineEditsIn200000CssLinesRescanOnlyWhatChanged) {
  const char *const block[] = {
      "body, td { font-family: Tahoma, Verdana; font-size: 8pt }",
      "/* Kopf",
      "   der Seite */",
      "H1 {",
      "  color: #000099;",
      "}",
  };
  TRangedLines doc;
  while (doc.Lines.size() < 200000)
    doc.Lines.insert(doc.Lines.end(), std::begin(block), std::end(block));
  C h;
  doc.ScanAll(h);
  const std::size_t mid = 120000; // the first line of a block
  ASSERT_EQ(doc.Ranges[mid + 1], C::RangeComment);
  ASSERT_EQ(doc.Ranges[mid + 3], C::RangeInRule);
  ASSERT_EQ(doc.Ranges[mid + 4], C::RangeAfterSemicolon);

  doc.Lines[mid + 4] = "  color: red;";
  EXPECT_EQ(doc.Rescan(h, mid + 4), 1u);
  // Without its brace the rule's lines read as selector text up to the "}".
  doc.Lines[mid + 3] = "H1";
  EXPECT_EQ(doc.Rescan(h, mid + 3), 3u);
  EXPECT_EQ(doc.Ranges[mid + 4], C::RangeOutsideRule);
  doc.Lines[mid + 3] = "H1 {";
  EXPECT_EQ(doc.Rescan(h, mid + 3), 3u);
  EXPECT_EQ(doc.Ranges[mid + 4], C::RangeAfterSemicolon);
  EXPECT_EQ(doc.Ranges, WholeScan<C>(doc.Lines));
}

// Lines with the characters both tokenizers react to; no "*" for style sheets, because a
// comment's end returns to the range saved by the instance rather than by the range value.
std::string RandomLine(std::mt19937 &rng, const std::string &alphabet) {
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
  std::string line;
  const int n = length(rng);
  for (int i = 0; i < n; ++i)
    line += alphabet[static_cast<std::size_t>(pick(rng))];
  return line;
}

template <class THighlighter> void CheckRandomEdits(const std::string &alphabet, unsigned seed) {
  std::mt19937 rng(seed);
  TRangedLines doc;
  for (int i = 0; i < 3000; ++i)
    doc.Lines.push_back(RandomLine(rng, alphabet));
  THighlighter h;
  doc.ScanAll(h);
  for (int edit = 0; edit < 400; ++edit) {
    std::uniform_int_distribution<std::size_t> at(0, doc.Lines.size() - 1);
    const std::size_t line = at(rng);
    switch (edit % 4) {
    case 0: doc.Lines[line] = RandomLine(rng, alphabet); break;
    case 1: {
      std::string &l = doc.Lines[line];
      std::uniform_int_distribution<std::size_t> pos(0, l.size());
      l.insert(pos(rng), 1, alphabet[edit % alphabet.size()]);
      break;
    }
    case 2: doc.Insert(line, RandomLine(rng, alphabet)); break;
    default: doc.Erase(line); break;
    }
    doc.Rescan(h, std::min(line, doc.Lines.size() - 1));
    if (edit % 50 == 49) {
      ASSERT_EQ(doc.Ranges, WholeScan<THighlighter>(doc.Lines)) << "after edit " << edit;
    }
  }
  // Every line scanned alone from its stored start range gives the whole scan's tokens.
  THighlighter whole, alone;
  whole.ClearRange();
  for (std::size_t i = 0; i < doc.Lines.size(); ++i) {
    const TKzRange start = i == 0 ? whole.CurrentRange() : doc.Ranges[i - 1];
    const auto expected = ContinueLine(whole, doc.Lines[i]);
    ASSERT_EQ(ScanLine(alone, doc.Lines[i], start), expected) << "line " << i;
  }
}

TEST(LargeDocument, RandomHtmlEditsKeepTheWholeScanRanges) {
  CheckRandomEdits<H>("<>!-&#;=\"'ab1x ", 77);
}

TEST(LargeDocument, RandomCssEditsKeepTheWholeScanRanges) {
  CheckRandomEdits<C>("{}:;,./#\"a1 -", 78);
}

// One line of a megabyte: every token chain covers it exactly, in a bounded number of tokens.
std::vector<TTok> ScanBig(TKzCustomHighlighter &h, const std::string &line, TKzRange range) {
  const auto toks = ScanLine(h, line, range);
  std::size_t at = 0;
  for (const TTok &t : toks) {
    EXPECT_EQ(t.Start, static_cast<int>(at));
    at += t.Text.size();
  }
  EXPECT_EQ(at, line.size());
  EXPECT_EQ(h.TokenStart(), static_cast<int>(line.size()));
  return toks;
}

TEST(LargeDocument, MegabyteHtmlLines) {
  constexpr std::size_t MB = 1 << 20;
  H h;
  // A tag name far above the last bucket is an identifier, not an overflowing hash.
  auto toks = ScanBig(h, "<" + std::string(MB, 'z'), H::RangeText);
  ASSERT_EQ(toks.size(), 2u);
  EXPECT_EQ(toks[1].Kind, H::KindIdentifier);
  EXPECT_EQ(toks[1].Text.size(), MB);
  toks = ScanBig(h, "<h" + std::string(MB, '9'), H::RangeText);
  ASSERT_EQ(toks.size(), 2u);
  EXPECT_EQ(toks[1].Kind, H::KindIdentifier);
  // Ampersands that start no reference stay in one text token.
  toks = ScanBig(h, std::string(MB, '&'), H::RangeText);
  ASSERT_EQ(toks.size(), 1u);
  EXPECT_EQ(toks[0].Kind, H::KindText);
  // Numeric references without ";" end the text token each time.
  std::string refs;
  while (refs.size() < MB)
    refs += "&#1";
  toks = ScanBig(h, refs, H::RangeText);
  EXPECT_EQ(toks.size(), refs.size() / 3);
  // A comment of dashes closes at its first "-->" only.
  toks = ScanBig(h, "<!--" + std::string(MB, '-') + ">x", H::RangeText);
  ASSERT_EQ(toks.size(), 3u);
  EXPECT_EQ(toks[1].Text.size(), MB + 1);
  EXPECT_EQ(h.CurrentRange(), H::RangeText);
  // An unclosed value and a run of "=" inside a tag.
  toks = ScanBig(h, "<a b='" + std::string(MB, 'v'), H::RangeText);
  EXPECT_EQ(h.CurrentRange(), H::RangeSingleQuoted);
  toks = ScanBig(h, std::string(MB, '='), H::RangeTagBody);
  EXPECT_EQ(toks.size(), MB);
  // Every byte value, repeated to a megabyte, in every range the highlighter produces.
  std::string all;
  while (all.size() < MB) {
    for (int b = 255; b >= 0; --b)
      all += static_cast<char>(b);
  }
  for (TKzRange r : {0u, 1u, 2u, 3u, 4u, 6u, 7u, 8u})
    ScanBig(h, all, r);
}

TEST(LargeDocument, MegabyteCssLines) {
  constexpr std::size_t MB = 1 << 20;
  C h;
  auto toks = ScanBig(h, std::string(MB, 'z'), C::RangeInRule);
  ASSERT_EQ(toks.size(), 1u);
  EXPECT_EQ(toks[0].Kind, C::KindUnknownProperty);
  toks = ScanBig(h, "color" + std::string(MB, '9'), C::RangeInRule);
  ASSERT_EQ(toks.size(), 1u);
  EXPECT_EQ(toks[0].Kind, C::KindUnknownProperty);
  toks = ScanBig(h, std::string(MB, '-'), C::RangeInRule);
  ASSERT_EQ(toks.size(), 1u);
  toks = ScanBig(h, std::string(MB, '7'), C::RangeInRule);
  ASSERT_EQ(toks.size(), 1u);
  EXPECT_EQ(toks[0].Kind, C::KindNumber);
  toks = ScanBig(h, "/*" + std::string(MB, '*'), C::RangeInRule);
  ASSERT_EQ(toks.size(), 1u);
  EXPECT_EQ(h.CurrentRange() & 0xFF, C::RangeComment);
  toks = ScanBig(h, std::string(MB, '*') + "/a", C::RangeComment);
  ASSERT_EQ(toks.size(), 2u);
  EXPECT_EQ(toks[1].Text, "a");
  // Each "." followed by another is a number of its own; the last two dots form one.
  toks = ScanBig(h, std::string(MB, '.'), C::RangeInRule);
  EXPECT_EQ(toks.size(), MB - 1);
  std::string all;
  while (all.size() < MB) {
    for (int b = 255; b >= 0; --b)
      all += static_cast<char>(b);
  }
  for (TKzRange r : {0u, 2u, 3u, 4u, 5u})
    ScanBig(h, all, r);
}

} // namespace
