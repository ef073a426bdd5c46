// Printing into a PDF with the real fonts: what the file says on which page, the metrics the
// print font gives, and that the file only ever appears complete.
#include "PdfTools.h"

#include "highlight/KzHighlighterHtml.h"
#include "platform/qt/QtPdfPrinter.h"
#include "platform/qt/QtPrinter.h"
#include "print/KzEditPrint.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The rows of a page's text that hold anything, without their trailing blanks.
std::vector<std::string> Rows(const std::string &pageText) {
  std::vector<std::string> rows;
  std::istringstream in(pageText);
  std::string line;
  while (std::getline(in, line)) {
    line.erase(line.find_last_not_of(" \f") + 1);
    if (line.find_first_not_of(" \f") != std::string::npos)
      rows.push_back(line);
  }
  return rows;
}

std::string Trimmed(std::string s) {
  s.erase(0, s.find_first_not_of(' '));
  return s;
}

class PdfPrintTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApp();
    if (!PdfToolsAvailable())
      GTEST_SKIP() << "pdftotext and pdfinfo are not installed (poppler-utils)";
    Job.SetFont({"Courier New", -13});
    Job.SetHighlighter(&Html);
  }
  TScratch Dir;
  TKzHTMLHighlighter Html;
  TKzEditPrint Job;
};

} // namespace

TEST_F(PdfPrintTest, RowsReadBackOnThePagesTheLayoutGaveThem) {
  std::vector<std::string> lines = {"<html>"};
  for (int i = 2; i <= 100; ++i)
    lines.push_back("<p>Zeile " + std::to_string(i) + "</p>");
  const std::string longLine = "<td>" + std::string(60, 'a') + " " + std::string(60, 'b') + " " +
                               std::string(30, 'c') + "</td>";
  lines.insert(lines.begin() + 60, longLine);
  Job.SetLines(lines);
  Job.SetTitle("index.htm");
  Job.Header().Add("$TITLE$ - Seite $PAGENUM$ von $PAGECOUNT$", nullptr, hfaRight, 1);
  const std::string pdf = Dir / "index.pdf";
  kzp::TQtPdfPrinter printer(pdf, false);
  Job.SetPrinter(&printer);
  Job.PrintAll();

  // The cells of Courier New at 10 points on 300 dpi paper (its metric twin Liberation Mono):
  // the layout every printout of the studio gets, whatever machine it runs on. Each character
  // is drawn 25 pixels after the one before it (a "W" is 25.2 wide, rounded down per glyph),
  // and the canvas measures with the same advances, so 80 cells fit the text area.
  EXPECT_EQ(Job.CellWidth(), 25);
  EXPECT_EQ(Job.PrintLineHeight(), 48);
  EXPECT_EQ(Job.MaxRowChars(), 80);
  ASSERT_EQ(Job.PageCount(), 2);
  ASSERT_EQ(PdfPageCount(pdf), 2);
  const std::vector<TPageLine> starts = {{0, 0}, {60, 0}};
  EXPECT_EQ(Job.PageStarts(), starts);

  const std::vector<std::string> page1 = Rows(PdfText(pdf, 1));
  ASSERT_GE(page1.size(), 3u);
  EXPECT_EQ(Trimmed(page1[0]), "index.htm - Seite 1 von 2");
  EXPECT_EQ(Trimmed(page1[1]), "<html>");
  EXPECT_EQ(Trimmed(page1.back()), "<p>Zeile 60</p>");
  const std::vector<std::string> page2 = Rows(PdfText(pdf, 2));
  ASSERT_GE(page2.size(), 4u);
  EXPECT_EQ(Trimmed(page2[0]), "index.htm - Seite 2 von 2");
  // The long line starts page 2 and wraps at its blank.
  EXPECT_EQ(Trimmed(page2[1]), "<td>" + std::string(60, 'a'));
  EXPECT_EQ(Trimmed(page2[2]), std::string(60, 'b'));
  EXPECT_EQ(Trimmed(page2[3]), std::string(30, 'c') + "</td>");
  EXPECT_EQ(Trimmed(page2.back()), "<p>Zeile 100</p>");
}

TEST_F(PdfPrintTest, TheFileAppearsOnlyCompleteAndAnExistingOneStaysUnlessReplacing) {
  Job.SetLines({"neu"});
  const std::string pdf = Dir / "x.pdf";
  { std::ofstream(pdf) << "alt"; }
  kzp::TQtPdfPrinter keep(pdf, false);
  Job.SetPrinter(&keep);
  try {
    Job.PrintAll();
    ADD_FAILURE() << "an existing file was replaced";
  } catch (const kzp::EPrinterError &e) {
    EXPECT_NE(std::string(e.what()).find("existiert bereits"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadWhole(pdf), "alt");
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path()), fs::directory_iterator()), 1);

  kzp::TQtPdfPrinter replace(pdf, true);
  Job.SetPrinter(&replace);
  Job.PrintAll();
  EXPECT_EQ(PdfPageCount(pdf), 1);
  EXPECT_EQ(Trimmed(Rows(PdfText(pdf, 1)).at(0)), "neu");
  EXPECT_EQ(fs::status(pdf).permissions() & fs::perms::owner_read, fs::perms::owner_read);

  // An aborted job leaves nothing, not even its temporary file.
  const std::string aborted = Dir / "abgebrochen.pdf";
  kzp::TQtPdfPrinter abort(aborted, false);
  Job.SetPrinter(&abort);
  Job.OnPrintStatus = [](TKzEditPrint &, TKzPrintStatus status, int, bool &stop) {
    stop = status == psNewPage;
  };
  Job.PrintAll();
  EXPECT_TRUE(Job.Aborted());
  EXPECT_FALSE(fs::exists(aborted));
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path()), fs::directory_iterator()), 1);

  // A folder that cannot take the file fails before anything is drawn.
  kzp::TQtPdfPrinter nowhere((Dir.Path() / "fehlt" / "x.pdf").string(), false);
  Job.SetPrinter(&nowhere);
  Job.OnPrintStatus = nullptr;
  EXPECT_THROW(Job.PrintAll(), kzp::EPrinterError);
}

TEST_F(PdfPrintTest, AnInstalledPrinterTakesTheJobWithoutADialog) {
  if (kzp::QtPrinterNames().empty())
    GTEST_SKIP() << "no printer queue is installed";
  kzp::TQtPrinter printer;
  const kzp::TPrinterGeometry g = printer.Geometry();
  EXPECT_GT(g.PrintableWidth, 0);
  EXPECT_GT(g.YResolution, 0);
  Job.SetLines({"<p>Testseite</p>"});
  Job.SetTitle("Testseite");
  Job.SetPrinter(&printer);
  Job.PrintAll();
  EXPECT_FALSE(printer.Printing());
  EXPECT_EQ(Job.PageCount(), 1);
}
