// Laying a job out: tab expansion, wrap positions, rows and page starts, line-number width.
#include "PrintFixture.h"

namespace {

std::vector<int> Indexes(const std::vector<TWrapPos> &wraps) {
  std::vector<int> out;
  for (const TWrapPos &w : wraps)
    out.push_back(w.Index);
  return out;
}

std::string Chars(std::size_t n, char c = 'x') { return std::string(n, c); }

} // namespace

TEST_F(PrintTest, TabsExpandToTheTabWidthAndRemainingTabRunsBecomeBlanks) {
  Job.SetTabWidth(8);
  SetLines({"ab\tc", "\t", "x\ty\tz", "plain"});
  EXPECT_EQ(Job.Lines(),
            (std::vector<std::string>{"ab      c", "        ", "x       y       z", "plain"}));
  Job.SetTabWidth(1);
  SetLines({"a\t\tb"});
  EXPECT_EQ(Job.Lines().at(0), "a  b");
}

TEST_F(PrintTest, WrapPositionsFallAtTheLastBreakOfEachRowOrFail) {
  std::vector<TWrapPos> w;
  // A break at the row's very last place is used; later breaks in the row win over earlier.
  std::string s = Chars(200);
  s[9] = ',';
  s[79] = '-';
  s[120] = ' ';
  s[150] = ' ';
  EXPECT_TRUE(TKzEditPrint::WrapAtBreakChars(s, KzPrintBreakChars, 80, w));
  EXPECT_EQ(Indexes(w), (std::vector<int>{80, 151}));
  // A row without any break fails the whole call and takes back what it had added.
  s = Chars(250);
  s[50] = ' ';
  w = {{7}};
  EXPECT_FALSE(TKzEditPrint::WrapAtBreakChars(s, KzPrintBreakChars, 80, w));
  EXPECT_EQ(Indexes(w), (std::vector<int>{7}));
}

TEST_F(PrintTest, LongLinesWrapAtBreaksThenAtTheSecondSetThenEveryRowLength) {
  std::string blank = Chars(150);
  blank[69] = ' ';
  std::string stop = Chars(150);
  stop[59] = '.';
  stop[119] = '.';
  std::string both = stop;
  both[9] = ' '; // a blank that serves the first row only makes the first set fail
  const std::string none = Chars(200);
  SetLines({blank, stop, both, none, Chars(80)});
  Prepare();
  ASSERT_EQ(Job.MaxRowChars(), 80);
  EXPECT_EQ(Job.MaxRowWidth(), 2000);
  std::vector<TWrapPos> w;
  Job.RowsOf(blank, w);
  EXPECT_EQ(Indexes(w), (std::vector<int>{70}));
  Job.RowsOf(stop, w);
  EXPECT_EQ(Indexes(w), (std::vector<int>{60, 120}));
  Job.RowsOf(stop.substr(0, 95) + ";" + Chars(54), w);
  EXPECT_EQ(Indexes(w), (std::vector<int>{60, 96}));
  Job.RowsOf(both, w);
  EXPECT_EQ(Indexes(w), (std::vector<int>{60, 120}));
  Job.RowsOf(none, w);
  EXPECT_EQ(Indexes(w), (std::vector<int>{80, 160}));
  Job.SetWrap(false);
  Job.RowsOf(none, w);
  EXPECT_TRUE(w.empty());
}

TEST_F(PrintTest, RowsFillPagesAndAWrappedLineGoesOnOnTheNextPage) {
  // 58 short lines, then one of three rows: two rows fit on page 1, the third starts page 2.
  std::vector<std::string> lines(58, "a");
  lines.push_back(Chars(200));
  lines.push_back("b");
  SetLines(lines);
  Prepare();
  EXPECT_EQ(Job.PrintLineHeight(), kRow);
  EXPECT_EQ(Job.CellWidth(), kCell);
  EXPECT_EQ(Job.PageStarts(), (std::vector<TPageLine>{{0, 0}, {58, 2}}));

  Print();
  ASSERT_EQ(Printer.Sheets.size(), 2u);
  EXPECT_EQ(Printer.RowText(0, RowY(58)), Chars(80));
  EXPECT_EQ(Printer.RowText(0, RowY(59)), Chars(80));
  EXPECT_EQ(Printer.RowText(1, RowY(0)), Chars(40));
  EXPECT_EQ(Printer.RowText(1, RowY(1)), "b");

  // Exactly a page of rows makes one page; one more row makes two.
  SetLines(std::vector<std::string>(kRowsPerPage, "z"));
  Prepare();
  EXPECT_EQ(Job.PageCount(), 1);
  SetLines(std::vector<std::string>(kRowsPerPage + 1, "z"));
  Prepare();
  EXPECT_EQ(Job.PageStarts(), (std::vector<TPageLine>{{0, 0}, {kRowsPerPage, 0}}));
}

TEST_F(PrintTest, AMinifiedLineLongerThanAPageRunsOverAsManyPagesAsItsRowsNeed) {
  SetLines({"kopf", Chars(80 * 130 + 5), "fuss"});
  Prepare();
  // 131 rows after the first line: 59 on page 1, 60 on page 2, 12 on page 3, then "fuss".
  EXPECT_EQ(Job.PageStarts(), (std::vector<TPageLine>{{0, 0}, {1, 59}, {1, 119}}));
  Print();
  ASSERT_EQ(Printer.Sheets.size(), 3u);
  EXPECT_EQ(Printer.RowText(2, RowY(11)), Chars(5));
  EXPECT_EQ(Printer.RowText(2, RowY(12)), "fuss");
  std::size_t printed = 0;
  for (std::size_t sheet = 0; sheet < 3; ++sheet)
    for (const auto &t : Printer.TextsOf(sheet))
      printed += t.Text.size();
  EXPECT_EQ(printed, 4 + 80 * 130 + 5 + 4);
}

TEST_F(PrintTest, AnEmptyTextIsOnePageAndATooNarrowAreaStillHoldsOneCharacterARow) {
  SetLines({});
  Prepare();
  EXPECT_EQ(Job.PageStarts(), (std::vector<TPageLine>{{0, 0}}));
  Job.Margins().SetLeft(100);
  Job.Margins().SetRight(109);
  SetLines({"abc"});
  Prepare();
  EXPECT_EQ(Job.MaxRowChars(), 1);
  std::vector<TWrapPos> w;
  Job.RowsOf("abc", w);
  EXPECT_EQ(Indexes(w), (std::vector<int>{1, 2}));
}

TEST_F(PrintTest, LineNumbersNarrowTheTextByTheHighestNumberPrinted) {
  Job.SetLineNumbers(true);
  // Ten lines print "10: " at most, four characters, even though nine lines would be one less.
  SetLines(std::vector<std::string>(10, "x"));
  Prepare();
  EXPECT_EQ(Job.Margins().TextLeft, kLeft + 4 * kCell);
  Job.SetLineOffset(90);
  Prepare();
  EXPECT_EQ(Job.Margins().TextLeft, kLeft + 5 * kCell); // up to "100: "
  EXPECT_EQ(Job.MaxRowChars(), 75);
  Job.SetLineOffset(0);
  Job.SetLineNumbersInMargin(true);
  Prepare();
  EXPECT_EQ(Job.Margins().TextLeft, kLeft);

  Job.SetLineNumbersInMargin(false);
  Print();
  const auto texts = Printer.TextsOf(0);
  ASSERT_EQ(texts.size(), 20u);
  EXPECT_EQ(texts[0].Text, "1: ");
  EXPECT_EQ(texts[0].X, kLeft + 4 * kCell - 3 * kCell);
  EXPECT_EQ(texts[18].Text, "10: ");
  EXPECT_EQ(texts[18].X, kLeft);
  EXPECT_EQ(texts[18].Font.Style, 0);
  EXPECT_EQ(texts[18].Font.Color, kzp::clBlack);
  EXPECT_EQ(texts[19].X, kLeft + 4 * kCell);
  EXPECT_EQ(texts[19].Y, RowY(9));
}
