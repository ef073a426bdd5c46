// Printing pages: highlighted tokens on the cell grid, rows drawn as laid out, copies, page
// ranges, status reports with abort, mirrored pages and the line events.
#include "PrintFixture.h"

#include "highlight/KzHighlighterHtml.h"

#include <utility>

namespace {

using kzp::TCanvasCall;

struct TStatus {
  TKzPrintStatus Status;
  int Page;
  friend bool operator==(const TStatus &, const TStatus &) = default;
};

std::string Chars(std::size_t n, char c = 'x') { return std::string(n, c); }

// The first row's text of every sheet.
std::vector<std::string> FirstRows(const TRecordingPrinter &printer) {
  std::vector<std::string> out;
  for (std::size_t s = 0; s < printer.Sheets.size(); ++s)
    out.push_back(printer.RowText(s, 245));
  return out;
}

} // namespace

class PrintJobTest : public PrintTest {
protected:
  // Three pages whose first rows read "p1", "p2", "p3".
  void ThreePages() {
    std::vector<std::string> lines;
    for (int p = 1; p <= 3; ++p) {
      lines.push_back("p" + std::to_string(p));
      for (int i = 1; i < kRowsPerPage; ++i)
        lines.push_back("-");
    }
    SetLines(lines);
  }
  void RecordStatus(std::function<bool(const TStatus &)> abortAt = {}) {
    Job.OnPrintStatus = [this, abortAt](TKzEditPrint &sender, TKzPrintStatus status, int page,
                                        bool &abort) {
      EXPECT_EQ(&sender, &Job);
      Reports.push_back({status, page});
      if (abortAt && abortAt(Reports.back()))
        abort = true;
    };
  }
  std::vector<TStatus> Reports;
  TKzHTMLHighlighter Html;
};

TEST_F(PrintJobTest, TokensAreDrawnInTheirStylesOneCellPerCharacter) {
  Job.SetHighlighter(&Html);
  SetLines({"<b>Hallo</b>"});
  Print();
  const auto texts = Printer.TextsOf(0);
  const std::vector<std::pair<std::string, int>> expected = {
      {"<", 0}, {"b", 1}, {">", 2}, {"Hallo", 3}, {"<", 8}, {"/b", 9}, {">", 11}};
  ASSERT_EQ(texts.size(), expected.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(texts[i].Text, expected[i].first);
    EXPECT_EQ(texts[i].X, kLeft + expected[i].second * kCell);
    EXPECT_EQ(texts[i].Y, kTop);
    EXPECT_EQ(texts[i].Advances, std::vector<int>(texts[i].Text.size(), kCell));
    // Without colour printing every token is in the font's colour on the paper.
    EXPECT_EQ(texts[i].Font.Color, kzp::clBlack);
    EXPECT_EQ(texts[i].Options, 0u);
  }
  EXPECT_EQ(texts[1].Font.Style, kzp::fsBold);
  EXPECT_EQ(texts[3].Font.Style, 0);
  // Fonts keep their point size on paper: the job's 8 points become 33 pixels at 300 dpi.
  EXPECT_EQ(texts[0].Font.Name, "MS Sans Serif");
  EXPECT_EQ(texts[0].Font.Height, -33);

  // With colours the attribute's colours are used, and a background of its own is filled.
  Html.AttributeAt(3)->SetBackground(kzp::clYellow); // "Reserved Word"
  Job.SetColors(true);
  Print();
  const auto coloured = Printer.TextsOf(0);
  EXPECT_EQ(coloured[1].Font.Color, 0xFF0080u);
  EXPECT_EQ(coloured[1].Options, kzp::etoOpaque);
  EXPECT_EQ(coloured[1].Brush.Color, kzp::clYellow);
  EXPECT_EQ(coloured[1].Rect, (kzp::TRect{kLeft + kCell, kTop, kLeft + 2 * kCell, kTop + kRow}));
  EXPECT_EQ(coloured[3].Font.Color, kzp::clBlack) << "clNone falls back to the font's colour";
}

TEST_F(PrintJobTest, WrappedTokensSplitAtTheRowEndsAndBothPathsPrintTheSameRows) {
  std::string text = Chars(140);
  text[69] = ' ';
  const std::vector<std::string> lines = {"<b>" + Chars(197), text,
                                          "<i>" + Chars(50) + " " + Chars(40) + "</i>"};
  SetLines(lines);
  Print();
  const auto plain = Printer.Sheets.at(0);
  std::vector<std::string> plainRows;
  for (int r = 0; r < 8; ++r)
    plainRows.push_back(Printer.RowText(0, RowY(r)));

  Job.SetHighlighter(&Html);
  Print();
  std::vector<std::string> rows;
  for (int r = 0; r < 8; ++r)
    rows.push_back(Printer.RowText(0, RowY(r)));
  EXPECT_EQ(rows, plainRows);
  EXPECT_EQ(rows, (std::vector<std::string>{"<b>" + Chars(77), Chars(80), Chars(40),
                                            text.substr(0, 70), text.substr(70),
                                            "<i>" + Chars(50) + " ", Chars(40) + "</i>", ""}));
  // The token cut at the first wrap goes on at the left edge of the next row.
  const auto texts = Printer.TextsOf(0);
  ASSERT_GE(texts.size(), 5u);
  EXPECT_EQ(texts[3].Text, Chars(77));
  EXPECT_EQ(texts[3].X, kLeft + 3 * kCell);
  EXPECT_EQ(texts[4].X, kLeft);
  EXPECT_EQ(texts[4].Y, RowY(1));
}

TEST_F(PrintJobTest, APieceLongerThanTheAdvanceTableStillAdvancesEveryCharacterOneCell) {
  Job.SetHighlighter(&Html);
  Job.SetWrap(false);
  SetLines({Chars(3000)});
  Print();
  const auto texts = Printer.TextsOf(0);
  ASSERT_EQ(texts.size(), 3u);
  int x = kLeft;
  std::size_t total = 0;
  for (const TCanvasCall &t : texts) {
    EXPECT_EQ(t.X, x);
    EXPECT_EQ(t.Advances, std::vector<int>(t.Text.size(), kCell));
    x += static_cast<int>(t.Text.size()) * kCell;
    total += t.Text.size();
  }
  EXPECT_EQ(total, 3000u);
  // Without the highlighter an unwrapped line prints what fits its row.
  Job.SetHighlighter(nullptr);
  Print();
  EXPECT_EQ(Printer.RowText(0, kTop), Chars(80));
}

TEST_F(PrintJobTest, CopiesComeOutAsWholeRunsOfThePageRangeAndTheRangeIsClamped) {
  ThreePages();
  Job.SetCopies(2);
  Job.SetTitle("index.htm");
  Print();
  EXPECT_EQ(FirstRows(Printer), (std::vector<std::string>{"p1", "p2", "p3", "p1", "p2", "p3"}));
  EXPECT_EQ(Printer.Events, (std::vector<std::string>{"BeginDoc index.htm", "NewPage", "NewPage",
                                                      "NewPage", "NewPage", "NewPage", "EndDoc"}));
  Job.SetCopies(1);
  Job.SetDocTitle("Spooler");
  RecordStatus();
  Job.PrintPages(2, 99);
  EXPECT_EQ(Printer.Events.front(), "BeginDoc Spooler");
  EXPECT_EQ(FirstRows(Printer), (std::vector<std::string>{"p2", "p3"}));
  EXPECT_EQ(Reports,
            (std::vector<TStatus>{{psBegin, 2}, {psNewPage, 2}, {psNewPage, 3}, {psEnd, 3}}));
}

TEST_F(PrintJobTest, AnAbortFromTheStatusEventEndsTheJobWithoutItsEnd) {
  ThreePages();
  RecordStatus([](const TStatus &s) { return s.Status == psNewPage && s.Page == 2; });
  Print();
  EXPECT_EQ(Reports, (std::vector<TStatus>{{psBegin, 1}, {psNewPage, 1}, {psNewPage, 2}}));
  EXPECT_EQ(Printer.Events, (std::vector<std::string>{"BeginDoc ", "NewPage", "Abort"}));
  EXPECT_TRUE(Job.Aborted());
  EXPECT_FALSE(Job.Printing());
  // The aborted sheet stays blank.
  EXPECT_TRUE(Printer.Sheets.at(1).empty());

  // Aborted at the start, not even the layout is done; the next job prints again.
  Reports.clear();
  RecordStatus([](const TStatus &s) { return s.Status == psBegin; });
  Print();
  EXPECT_EQ(Reports, (std::vector<TStatus>{{psBegin, 1}}));
  EXPECT_EQ(Printer.Events, (std::vector<std::string>{"BeginDoc ", "Abort"}));
  Job.OnPrintStatus = nullptr;
  Print();
  EXPECT_FALSE(Job.Aborted());
  EXPECT_EQ(Printer.Events.back(), "EndDoc");

  // A failing sheet throws the document away too.
  struct TFailingPrinter : TRecordingPrinter {
    void NewPage() override { throw kzp::EPrinterError("Papierstau"); }
  } failing;
  failing.Paper.SetAllMetrics(Printer.Paper.PerStyle[0]);
  Job.SetPrinter(&failing);
  EXPECT_THROW(Print(), kzp::EPrinterError);
  EXPECT_EQ(failing.Events, (std::vector<std::string>{"BeginDoc ", "Abort"}));
  EXPECT_FALSE(Job.Printing());
}

TEST_F(PrintJobTest, MirroredEvenPagesAreFilledAndPrintedAtTheirOwnPlace) {
  Job.Margins().SetMirrorMargins(true);
  Job.Margins().SetGutter(10);
  ThreePages();
  Print();
  ASSERT_EQ(Printer.Sheets.size(), 3u);
  const int rights[] = {2239, 2003, 2239};
  const int lefts[] = {348, 112, 348};
  for (std::size_t s = 0; s < 3; ++s) {
    SCOPED_TRACE(s);
    const TCanvasCall &fill = Printer.Sheets[s].front();
    ASSERT_EQ(fill.Op, kzp::TCanvasOp::FillRect);
    EXPECT_EQ(fill.Rect, (kzp::TRect{lefts[s], kTop, rights[s], 3162}));
    EXPECT_EQ(fill.Brush.Color, kzp::clWhite);
    EXPECT_EQ(Printer.TextsOf(s).front().X, lefts[s]);
  }
}

TEST_F(PrintJobTest, EachLineIsReportedOnceOnThePageItEndsOn) {
  std::vector<std::string> lines(58, "a");
  lines.push_back(Chars(200));
  lines.push_back("b");
  SetLines(lines);
  std::vector<std::pair<int, int>> reported;
  Job.OnPrintLine = [&](TKzEditPrint &, int line, int page) { reported.emplace_back(line, page); };
  Print();
  ASSERT_EQ(reported.size(), 60u);
  EXPECT_EQ(reported[57], std::make_pair(58, 1));
  EXPECT_EQ(reported[58], std::make_pair(59, 2));
  EXPECT_EQ(reported[59], std::make_pair(60, 2));
}

TEST_F(PrintJobTest, TheJobTakesTheEditorsFontTabWidthHighlighterAndLines) {
  auto editor = Editor("a\tb\r\n<i>x</i>");
  editor->SetTabWidth(4);
  editor->SetFont({"Courier New", -13});
  editor->SetHighlighter(&Html);
  Job.TakeFromEditor(*editor);
  editor->SetHighlighter(nullptr);
  EXPECT_EQ(Job.Highlighter(), &Html);
  EXPECT_EQ(Job.Lines(), (std::vector<std::string>{"a   b", "<i>x</i>"}));
  Print();
  EXPECT_EQ(Printer.TextsOf(0).front().Font, (kzp::TFont{"Courier New", -42, 0, kzp::clBlack}))
      << "10 points at 300 dpi";
}
