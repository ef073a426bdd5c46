// The print commands: "Drucken" into a PDF when the machine has no printer, the export with
// its file dialog, the preview, and the progress window's "Abbrechen".
#include "WorkbenchFixture.h"

#include "../print_qt/PdfTools.h"

#include "platform/qt/QtPrinter.h"
#include "print/KzEditPrint.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"
#include "workbench/untPrintPreview.h"
#include "workbench/untPrintProgress.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Entries(const fs::path &folder) {
  std::vector<std::string> names;
  for (const auto &e : fs::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string LongTemplate(int lines) {
  std::string text;
  for (int i = 1; i <= lines; ++i)
    text += "<p>Zeile " + std::to_string(i) + "</p>\r\n";
  return text;
}

} // namespace

class PrintCommandsTest : public WorkbenchTest {
protected:
  void SetUp() override {
    WorkbenchTest::SetUp();
    if (!PdfToolsAvailable())
      GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
    const char *home = std::getenv("HOME");
    savedHome = home ? home : "";
    SetHome(dir / "home");
    fs::create_directories(dir / "home");
  }
  void TearDown() override {
    ::setenv("HOME", savedHome.c_str(), 1);
    WorkbenchTest::TearDown();
  }
  static void SetHome(const fs::path &home) { ::setenv("HOME", home.c_str(), 1); }
  // A pack in a folder of its own, with the template `name` open.
  void OpenIn(const fs::path &folder, const std::string &name, const std::string &text) {
    fs::create_directories(folder);
    WriteTestPack((folder / "p.kzp").string(), {"Druck", "Anna", "a@x.de", "www.x.de", "druck"},
                  {{name, text}, {"index.htm", "<p>Hallo</p>"}});
    StartWithPack((folder / "p.kzp").string());
    OpenTemplate(name);
  }
  const TShownMessage &OnlyMessage() {
    EXPECT_EQ(dialogs.Shown.size(), 1u);
    static const TShownMessage none{};
    return dialogs.Shown.empty() ? none : dialogs.Shown.front();
  }
  // "Drucken" writes a PDF only where the machine has no printer.
  static bool HasPrinter() { return !kzp::QtPrinterNames().empty(); }
  std::string savedHome;
};

#define SKIP_WITH_PRINTER()                                                                        \
  if (HasPrinter())                                                                                \
  GTEST_SKIP() << "a printer is installed; this case is about a machine without one"

TEST_F(PrintCommandsTest, DruckenWritesAPdfBesideThePackNamedAfterTheTemplateAndNeverOverAnother) {
  SKIP_WITH_PRINTER();
  OpenIn(dir / "packs", "img/liste.htm", "<b>Hallo</b>\r\n\tWelt");
  dialogs.Answers = {TModalResult::mrOk, TModalResult::mrOk};
  frm->actItem31->trigger();
  frm->actItem31->trigger();
  ASSERT_EQ(dialogs.Shown.size(), 2u);
  EXPECT_EQ(dialogs.Shown[0].Caption, "Drucken");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtInformation);
  EXPECT_EQ(dialogs.Shown[0].Text,
            "Es ist kein Drucker eingerichtet. Das Template wurde als PDF-Datei gespeichert:\n" +
                (dir / "packs" / "liste.pdf").string());
  EXPECT_EQ(dialogs.Shown[1].Text.substr(dialogs.Shown[1].Text.find('\n') + 1),
            (dir / "packs" / "liste (2).pdf").string());
  EXPECT_EQ(Entries(dir / "packs"),
            (std::vector<std::string>{"liste (2).pdf", "liste.pdf", "p.kzp"}));
  const std::string text = PdfText((dir / "packs" / "liste.pdf").string());
  EXPECT_NE(text.find("<b>Hallo</b>\n"), std::string::npos) << text;
  EXPECT_NE(text.find("        Welt"), std::string::npos) << text;
  EXPECT_NE(PdfInfo((dir / "packs" / "liste.pdf").string()).find("img/liste.htm"),
            std::string::npos);
}

TEST_F(PrintCommandsTest, WithoutATemplateTheEditorsTextPrintsAsOhneTitelWithTheTitleNa) {
  SKIP_WITH_PRINTER();
  StartWithPack(demoPack);
  frm->editor->SetText("frei getippt");
  dialogs.Answers = {TModalResult::mrOk};
  frm->actItem31->trigger();
  const fs::path pdf = dir / "Ohne Titel.pdf";
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_NE(PdfText(pdf.string()).find("frei getippt"), std::string::npos);
  EXPECT_NE(PdfInfo(pdf.string()).find("Title:           na\n"), std::string::npos)
      << PdfInfo(pdf.string());
}

TEST_F(PrintCommandsTest,
       APackFolderThatTakesNoFilesSendsThePdfHomeAndWithNeitherNothingIsWritten) {
  SKIP_WITH_PRINTER();
  OpenIn(dir / "weg", "index2.htm", "<p>x</p>");
  fs::remove_all(dir / "weg"); // the pack is still open in the studio
  dialogs.Answers = {TModalResult::mrOk};
  frm->actItem31->trigger();
  EXPECT_EQ(OnlyMessage().Text.substr(OnlyMessage().Text.find('\n') + 1),
            (dir / "home" / "index2.pdf").string());
  EXPECT_TRUE(fs::exists(dir / "home" / "index2.pdf"));

  dialogs.Shown.clear();
  SetHome(dir / "kein-home");
  dialogs.Answers = {TModalResult::mrOk};
  frm->actItem31->trigger();
  EXPECT_EQ(OnlyMessage().Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(OnlyMessage().Text,
            "Es ist kein Drucker eingerichtet, und die PDF-Datei kann weder im Ordner des Packs (" +
                (dir / "weg").string() + ") noch im Home-Ordner (" + (dir / "kein-home").string() +
                ") angelegt werden. Es wurde nichts gedruckt.");
  EXPECT_FALSE(fs::exists(dir / "kein-home"));
  EXPECT_FALSE(fs::exists(dir / "weg"));
}

TEST_F(PrintCommandsTest, ExportAsksForTheFileAndOnlyReplacesWhatTheUserAgreedTo) {
  OpenIn(dir / "packs", "seite.htm", LongTemplate(70));
  dialogs.SaveAnswers = {(dir / "export").string(), (dir / "export").string(),
                         (dir / "export").string()};
  frm->actExportPdf->trigger();
  ASSERT_EQ(dialogs.SaveTitles.size(), 1u);
  EXPECT_EQ(dialogs.SaveTitles[0], "Als PDF exportieren");
  EXPECT_EQ(dialogs.SaveFilters[0], "PDF-Dokument (*.pdf)|*.pdf");
  EXPECT_TRUE(dialogs.Shown.empty());
  const fs::path pdf = dir / "export.pdf";
  EXPECT_EQ(PdfPageCount(pdf.string()), 2);

  // The ".pdf" was added here, so the dialog never asked about that name.
  WriteFile(pdf, "alt");
  dialogs.Answers = {TModalResult::mrCancel};
  frm->actExportPdf->trigger();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text,
            "Die Datei \"" + pdf.string() + "\" existiert bereits.\nMöchten Sie sie ersetzen?");
  EXPECT_EQ(ReadFile(pdf), "alt");
  dialogs.Answers = {TModalResult::mrYes};
  frm->actExportPdf->trigger();
  EXPECT_NE(PdfText(pdf.string()).find("<p>Zeile 70</p>"), std::string::npos);
}

TEST_F(PrintCommandsTest, ThePreviewShowsTheSamePagesAndPrintsFromThere) {
  OpenIn(dir / "packs", "lang.htm", LongTemplate(130));
  int pages = 0;
  std::string label;
  bool inked = false;
  WhenModalOpens([&](QWidget &modal) {
    auto *preview = qobject_cast<TfrmPrintPreview *>(&modal);
    ASSERT_NE(preview, nullptr);
    pages = preview->PageCount();
    preview->btnLast->click();
    label = preview->lblPage->text().toStdString();
    const QImage sheet = preview->RenderPage(3);
    // Rows 11 of page 3 hold the text; the image is not all paper.
    for (int y = 0; y < sheet.height() && !inked; ++y)
      for (int x = 0; x < sheet.width() && !inked; ++x)
        inked = sheet.pixel(x, y) != qRgb(255, 255, 255);
    TKzEditPrinterInfo &info = frm->printJob->PrinterInfo();
    EXPECT_EQ(sheet.width(), qRound(info.PhysicalWidth() * 96.0 / info.XResolution()));
    EXPECT_FALSE(preview->btnNext->isEnabled());
    preview->btnPrint->click();
  });
  if (!HasPrinter())
    dialogs.Answers = {TModalResult::mrOk};
  frm->actPrintPreview->trigger();
  EXPECT_EQ(pages, 3);
  EXPECT_EQ(label, "Seite 3 von 3");
  EXPECT_TRUE(inked);
  EXPECT_EQ(frm->printJob->PageCount(), 3);
  if (HasPrinter())
    return;
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(PdfPageCount((dir / "packs" / "lang.pdf").string()), 3);
}

TEST_F(PrintCommandsTest, AbbrechenInTheProgressWindowStopsTheJobAndLeavesNoFile) {
  OpenIn(dir / "packs", "lang.htm", LongTemplate(60 * 150));
  frm->PrintProgressDelayMs = 0;
  std::string shown;
  WhenModalOpens([&](QWidget &modal) {
    auto *progress = qobject_cast<TfrmPrintProgress *>(&modal);
    ASSERT_NE(progress, nullptr);
    shown = progress->lblPage->text().toStdString();
    progress->btnCancel->click();
  });
  frm->actItem31->trigger();
  EXPECT_NE(shown.find(" von " + std::to_string(frm->printJob->PageCount()) + " wird gedruckt"),
            std::string::npos)
      << shown;
  EXPECT_GT(frm->printJob->PageCount(), 100);
  EXPECT_TRUE(frm->printJob->Aborted());
  EXPECT_TRUE(dialogs.Shown.empty());
  EXPECT_EQ(Entries(dir / "packs"), (std::vector<std::string>{"p.kzp"}));
}

TEST_F(WorkbenchTest, DruckenOnAnInstalledPrinterPrintsWithoutAnyQuestion) {
  if (kzp::QtPrinterNames().empty())
    GTEST_SKIP() << "no printer queue is installed";
  StartWithPack(demoPack);
  OpenTemplate("index.htm");
  frm->actItem31->trigger();
  EXPECT_TRUE(dialogs.Shown.empty());
  EXPECT_FALSE(fs::exists(dir / "index.pdf"));
  EXPECT_EQ(frm->printJob->PageCount(), 1);
  EXPECT_FALSE(frm->printJob->Aborted());
}
