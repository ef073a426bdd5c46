// Painting under large and hostile input: a 200,000-line document with every byte value, a
// one-megabyte line viewed at its far end, random clips and views, and random line edits;
// each painted row must show exactly the visible cells of its line.
#include "ViewFixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

namespace {

// The visible cells of a line as the painter draws them without special characters: tabs
// expanded to the tab stops and drawn blank, LeftChar first, at most `columns` cells.
std::string VisibleCells(const std::string &line, int tabWidth, int leftChar, int columns) {
  std::string expanded;
  for (char c : line) {
    if (c == '\t') {
      const int n = tabWidth - static_cast<int>(expanded.size()) % tabWidth;
      expanded.append(static_cast<std::size_t>(n), ' ');
    } else {
      expanded += c;
    }
  }
  if (static_cast<int>(expanded.size()) < leftChar)
    return {};
  return expanded.substr(static_cast<std::size_t>(leftChar - 1), static_cast<std::size_t>(columns));
}

std::string RowText(const TViewFixture &f, int row) {
  std::string text;
  for (const auto &t : f.TextsInRow(row))
    text += t.Text;
  return text;
}

// Every byte but the breaks and NUL, shuffled into lines of up to 120 bytes.
std::string HostileDocument(int lines, std::mt19937 &rng) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    const int len = static_cast<int>(rng() % 120);
    for (int k = 0; k < len; ++k) {
      char c = static_cast<char>(rng() % 256);
      if (c == '\r' || c == '\n' || c == '\0')
        c = '\t';
      text += c;
    }
    text += "\r\n";
  }
  return text;
}

} // namespace

TEST(PaintHostile, LargeDocumentOfEveryByteAtRandomViews) {
  std::mt19937 rng(4711);
  TViewFixture f;
  TTestHighlighter hl;
  f.Edit->SetHighlighter(&hl);
  f.Edit->SetText(HostileDocument(200000, rng));
  ASSERT_EQ(f.Edit->Lines().Count(), 200000);
  const int tabWidth = f.Edit->TabWidth();
  for (int round = 0; round < 200; ++round) {
    f.Edit->SetTopLine(1 + static_cast<int>(rng() % 200000));
    f.Edit->SetLeftChar(1 + static_cast<int>(rng() % 100));
    f.PaintAll();
    const int top = f.Edit->TopLine();
    for (int row = 0; row < f.Edit->LinesInWindow() && top + row <= 200000; ++row)
      ASSERT_EQ(RowText(f, row), VisibleCells(f.Edit->Lines().GetLine(top + row - 1), tabWidth,
                                              f.Edit->LeftChar(), 40))
          << "round " << round << ", line " << top + row;
    // A clip anywhere, even outside the window, paints without fault.
    const int x = static_cast<int>(rng() % 400) - 20, y = static_cast<int>(rng() % 200) - 20;
    f.PaintClip({x, y, x + static_cast<int>(rng() % 200), y + static_cast<int>(rng() % 100)});
  }
  // Random edits of the lines under the view, each followed by a paint of the window.
  f.Edit->SetTopLine(1000);
  f.Edit->SetLeftChar(1);
  f.Edit->SetOptions(f.Edit->Options() | TKzEditorOptions{eoShowSpecialChars});
  for (int step = 0; step < 300; ++step) {
    const int line = 999 + static_cast<int>(rng() % 12);
    switch (rng() % 3) {
    case 0: f.Edit->Lines().ReplaceLine(line, HostileDocument(1, rng).substr(0, 60)); break;
    case 1: f.Edit->Lines().DeleteLine(line); break;
    default: f.Edit->Lines().InsertLine(line, "/* open comment \t\t"); break;
    }
    f.PaintAll();
  }
  f.Edit->SetOptions(f.Edit->Options() - TKzEditorOptions{eoShowSpecialChars});
  f.PaintAll();
  for (int row = 0; row < f.Edit->LinesInWindow(); ++row)
    ASSERT_EQ(RowText(f, row),
              VisibleCells(f.Edit->Lines().GetLine(f.Edit->TopLine() + row - 1), tabWidth, 1, 40));
  f.Edit->SetHighlighter(nullptr);
}

TEST(PaintHostile, MegabyteLineSeenAtItsFarEnd) {
  TViewFixture f;
  TTestHighlighter hl;
  f.Edit->SetHighlighter(&hl);
  std::string huge;
  for (int i = 0; i < (1 << 20); ++i)
    huge += static_cast<char>(i % 7 == 0 ? ' ' : 'a' + i % 26);
  f.Edit->SetText(huge + "\r\nshort");
  f.Edit->SetMaxScrollWidth(2 << 20);
  f.Edit->SetLeftChar((1 << 20) - 20);
  ASSERT_EQ(f.Edit->LeftChar(), (1 << 20) - 20);
  f.PaintAll();
  EXPECT_EQ(RowText(f, 0), huge.substr((1 << 20) - 21));
  EXPECT_EQ(RowText(f, 1), "");
  // Selected from the middle of the line to beyond its end.
  f.Edit->SetSelectionAnchor({(1 << 20) - 10, 1});
  f.Edit->SetSelectionEnd({3, 2});
  f.PaintAll();
  EXPECT_EQ(RowText(f, 0), huge.substr((1 << 20) - 21));
  f.Edit->SetHighlighter(nullptr);
}

// A megabyte of tabs at the widest tab stop is 2^28 cells: more pixels than an int holds at
// eight pixels a cell. Scrolled to its end with the caret there, the view stops at the last
// column whose pixels fit, and painting and the caret stay well defined.
TEST(PaintHostile, TabLineWiderThanThePixelRange) {
  TViewFixture f;
  f.Edit->SetOptions(f.Edit->Options() - TKzEditorOptions{eoScrollPastEol});
  f.Edit->SetTabWidth(256);
  f.Edit->SetText(std::string(1 << 20, '\t') + "\r\nb");
  ASSERT_EQ(f.Edit->Lines().LongestLineLength(), (1 << 28) - 1); // the widest a line reports
  f.Edit->SetLeftChar(INT_MAX);
  const int highest = INT_MAX / 8 - 40;
  EXPECT_EQ(f.Edit->LeftChar(), highest);
  EXPECT_EQ(f.Edit->ColumnToX(highest), 32);
  EXPECT_EQ(f.Edit->ColumnToX(highest + 40), 32 + 40 * 8);
  f.Edit->SetCaretXY({(1 << 20) + 1, 1});
  EXPECT_EQ(f.Edit->LeftChar(), highest);
  EXPECT_GT(f.Host.CaretX, 32 + 39 * 8); // right of the window, not wrapped round to the left
  f.Edit->SetRightEdge(INT_MAX);
  f.PaintAll();
  EXPECT_EQ(RowText(f, 0), std::string(40, ' '));
  EXPECT_EQ(RowText(f, 1), "");
}
