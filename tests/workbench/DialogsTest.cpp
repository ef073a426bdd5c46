// The small windows and platform services: New-pack and Add-file dialogs, About box, splash
// picture, file filters, and the help viewer over the compiled help file.
#include "WorkbenchFixture.h"

#include "platform/qt/QtDialogs.h"
#include "workbench/AppWindows.h"
#include "workbench/ChmFile.h"
#include "workbench/HtmlHelp.h"
#include "workbench/JpegImage.h"
#include "workbench/untAbout.h"
#include "workbench/untAddFile.h"
#include "workbench/untMain.h"
#include "workbench/untNew.h"
#include "workbench/untProgress.h"
#include "workbench/untSplash.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace fs = std::filesystem;

class DialogsTest : public WorkbenchTest {};

TEST_F(DialogsTest, NewPackDialogFillsEmptyFieldsWithDefaultsAndKeepsTypedOnes) {
  EnsureApplication();
  TfrmNew dlg;
  EXPECT_EQ(dlg.windowTitle().toStdString(), "Neues Template-Pack");
  EXPECT_EQ(dlg.size(), QSize(363, 301));
  EXPECT_TRUE(dlg.Edit1->isReadOnly());
  EXPECT_EQ(dlg.act->text().toStdString(), "no");
  dlg.Edit1->setText("/tmp/x.kzp");
  dlg.metaAuthor->setText("Eva");
  dlg.Button1Click();
  EXPECT_EQ(dlg.act->text().toStdString(), "do");
  const kzpMetaData m = dlg.MetaData();
  EXPECT_EQ(m.Titel, "Neues Template");
  EXPECT_EQ(m.Author, "Eva");
  EXPECT_EQ(m.AuthorMail, "nicht definiert");
  EXPECT_EQ(m.AuthorWeb, "nicht definiert");
  EXPECT_EQ(m.Ordner, "undefined");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(DialogsTest, NewPackDialogWithoutTargetWarnsAndStaysOpen) {
  TfrmNew dlg;
  dlg.show();
  dlg.metaTitel->setText("T");
  dialogs.Answers = {TModalResult::mrOk};
  QTest::mouseClick(dlg.Button1, Qt::LeftButton);
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text, "Bitte geben Sie eine Zieldatei an!");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Erstellen");
  EXPECT_EQ(dialogs.Shown[0].Owner, &dlg);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.act->text().toStdString(), "no");
  EXPECT_EQ(dlg.metaTitel->text().toStdString(), "T");
  EXPECT_TRUE(dlg.metaAuthor->text().isEmpty()) << "no defaults before a confirmed target";
}

TEST_F(DialogsTest, NewPackDialogRefusesCharactersThePackCannotHold) {
  TfrmNew dlg;
  dlg.show();
  dlg.Edit1->setText("/tmp/x.kzp");
  dlg.metaOrdner->setText(QStringLiteral("\u65e5\u672c"));
  dialogs.Answers = {TModalResult::mrOk};
  dlg.Button1Click();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text,
            "Das Feld \"Ordner\" enthält Zeichen, die ein Template-Pack nicht speichern kann.");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Erstellen");
  EXPECT_EQ(dialogs.Shown[0].Owner, &dlg);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.act->text().toStdString(), "no");
  EXPECT_TRUE(dlg.metaTitel->text().isEmpty()) << "no defaults for a refused confirmation";
}

TEST_F(DialogsTest, NewPackTargetIsTakenAsChosenWithoutAnAddedExtension) {
  TfrmNew dlg;
  dialogs.SaveAnswers = {"/tmp/ohne_endung", ""};
  dlg.Button2Click();
  EXPECT_EQ(dlg.Edit1->text().toStdString(), "/tmp/ohne_endung");
  dlg.Button2Click(); // cancelled: the path stays
  EXPECT_EQ(dlg.Edit1->text().toStdString(), "/tmp/ohne_endung");
}

TEST_F(DialogsTest, AddFileDialogProposesTheBareNameAndWarnsOnAnEmptyTarget) {
  TfrmAddFile dlg;
  EXPECT_EQ(dlg.windowTitle().toStdString(), "Datei hinzufügen");
  EXPECT_EQ(dlg.size(), QSize(322, 89));
  dlg.show();
  dialogs.OpenAnswers = {"/some/folder/bild.gif"};
  dlg.Button1Click();
  EXPECT_EQ(dlg.edFile->text().toStdString(), "/some/folder/bild.gif");
  EXPECT_EQ(dlg.edZiel->text().toStdString(), "bild.gif");
  dlg.edZiel->clear();
  dialogs.Answers = {TModalResult::mrOk};
  dlg.Button2Click();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text, "Bitte wählen Sie eine Datei und eine Zieldatei aus!");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Fehler");
  EXPECT_TRUE(dlg.isVisible());
  dlg.edZiel->setText("bilder/bild.gif");
  dlg.Button2Click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.TargetName(), "bilder/bild.gif");
  EXPECT_EQ(dlg.SourcePath(), "/some/folder/bild.gif");
}

TEST_F(DialogsTest, AddFileCancelEmptiesBothFields) {
  TfrmAddFile dlg;
  dlg.edFile->setText("/a/b");
  dlg.edZiel->setText("b");
  dlg.Button3Click();
  EXPECT_EQ(dlg.SourcePath(), "");
  EXPECT_EQ(dlg.TargetName(), "");
}

TEST_F(DialogsTest, AboutBoxShowsTheSplashPictureAndOpensTheMakersAddress) {
  TfrmSplash holder;
  TfrmAbout about(holder);
  EXPECT_EQ(about.windowTitle().toStdString(), "Info");
  EXPECT_EQ(about.size(), QSize(538, 395));
  EXPECT_EQ(about.Label1->text().toStdString(), "Tarvex Template Studio 1.0");
  EXPECT_EQ(about.Button1->text().toStdString(), "Schließen");
  EXPECT_EQ(about.Button2->text().toStdString(), kMakerAddress);
  ASSERT_FALSE(about.Image1->pixmap().isNull());
  EXPECT_EQ(about.Image1->pixmap().size(), QSize(518, 258));
  QTest::mouseClick(about.Button2, Qt::LeftButton);
  EXPECT_EQ(shell.Opened, (std::vector<std::string>{kMakerAddress}));
}

TEST_F(DialogsTest, AboutCommandShowsTheBoxModally) {
  Start();
  bool shown = false;
  WhenModalOpens([&](QWidget &modal) {
    shown = &modal == AppWindows().About;
    QTest::mouseClick(AppWindows().About->Button1, Qt::LeftButton);
  });
  frm->actItem37->trigger();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(AppWindows().About->isVisible());
}

TEST_F(DialogsTest, SplashIsBorderlessAndSizedToItsPicture) {
  TfrmSplash splash;
  ASSERT_FALSE(splash.Picture().isNull());
  EXPECT_EQ(splash.Picture().size(), QSize(518, 258));
  EXPECT_EQ(splash.size(), QSize(518, 258));
  EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST_F(DialogsTest, ProgressWindowStaysOnTopAndStartsHidden) {
  TfrmProgress progress;
  EXPECT_EQ(progress.windowTitle().toStdString(), "Fortschritt");
  EXPECT_TRUE(progress.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(progress.isVisible());
  EXPECT_EQ(progress.ProgressBar1->size(), QSize(377, 25));
}

TEST_F(DialogsTest, ProgressWindowShowsInTheMiddleOfTheMainWindow) {
  Start();
  frm->setGeometry(100, 80, 900, 600);
  frm->show();
  TfrmProgress progress(frm.get());
  progress.show();
  EXPECT_EQ(progress.frameGeometry().center(), frm->frameGeometry().center());
  progress.hide();
}

TEST(JpegDecoding, DecodesTheSplashAndRefusesBrokenDataWithoutEndingTheProgram) {
  EnsureApplication();
  QFile file(QStringLiteral(":/splash.jpg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray jpeg = file.readAll();
  const QImage image = DecodeJpeg(jpeg);
  EXPECT_EQ(image.size(), QSize(518, 258));
  EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
  EXPECT_TRUE(DecodeJpeg(QByteArray("not a picture at all")).isNull());
  // Cut off after the header: libjpeg warns about the missing rest and fills it, or fails;
  // either way the call returns.
  const QImage cut = DecodeJpeg(jpeg.left(jpeg.size() / 3));
  EXPECT_TRUE(cut.isNull() || cut.size() == QSize(518, 258));
  QByteArray header = jpeg.left(2);
  header.append(QByteArray(64, '\xFF'));
  EXPECT_TRUE(DecodeJpeg(header).isNull());
}

TEST(FileFilters, PairsBecomeQtFiltersAndTheCatchAllMatchesNamesWithoutDot) {
  const auto parsed = ParseFileFilter("ZelkoTemplateFile (*.kzp)|*.kzp|Bilder|*.gif;*.jpg");
  ASSERT_EQ(parsed.size(), 2u);
  EXPECT_EQ(parsed[0].Description, "ZelkoTemplateFile (*.kzp)");
  EXPECT_EQ(parsed[0].Patterns, "*.kzp");
  EXPECT_EQ(parsed[1].Description, "Bilder");
  EXPECT_EQ(parsed[1].Patterns, "*.gif *.jpg");
  EXPECT_EQ(ParseFileFilter("Alle Dateien (*.*)|*.*")[0].Patterns, "*");
  EXPECT_EQ(QtFilterString("ZelkoTemplateFile (*.kzp)|*.kzp").toStdString(),
            "ZelkoTemplateFile (*.kzp)");
  EXPECT_EQ(QtFilterString("Alle Dateien (*.*)|*.*").toStdString(), "Alle Dateien (*)");
  EXPECT_EQ(QtFilterString("Bilder|*.gif;*.jpg").toStdString(), "Bilder (*.gif *.jpg)");
  EXPECT_TRUE(ParseFileFilter("").empty());
}

TEST(HelpSitemap, ReadsNamesAndPagesOfIndexEntries) {
  const auto entries = ParseSitemap(
      "<UL><LI><OBJECT type=\"text/sitemap\">\n<param name=\"Name\" value=\"Metadaten\">\n"
      "<param name=\"Local\" value=\"metadaten.htm\"></OBJECT>\n"
      "<LI><object type=\"text/sitemap\"><PARAM NAME=Name VALUE='Drucken'><param name=\"Local\" "
      "value=\"drucken.htm#oben\"></object>"
      "<LI><OBJECT type=\"text/sitemap\"><param name=\"Local\" "
      "value=\"ohne-name.htm\"></OBJECT></UL>");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Name, "Metadaten");
  EXPECT_EQ(entries[0].Local, "metadaten.htm");
  EXPECT_EQ(entries[1].Name, "Drucken");
  EXPECT_EQ(entries[1].Local, "drucken.htm#oben");
}

TEST(HelpSitemap, DecodesCharacterReferencesAndEightBitNames) {
  const auto entries = ParseSitemap(
      "<object><param name=\"Name\" value=\"L&ouml;schen &amp; Einf&#252;gen &#xC4;rger\">"
      "<param name=\"Local\" value=\"a&amp;b.htm\"></object>"
      "<object><param name=\"Name\" value=\"&unbekannt; &#; &#xZZ; &\"></object>"
      "<object><param name=\"Name\" value=\"Gr\xF6\xDF"
      "e\"></object>");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Name, "L\u00f6schen & Einf\u00fcgen \u00c4rger");
  EXPECT_EQ(entries[0].Local, "a&b.htm");
  EXPECT_EQ(entries[1].Name, "&unbekannt; &#; &#xZZ; &") << "unknown references stay as written";
  EXPECT_EQ(entries[2].Name, "Gr\u00f6\u00dfe") << "a Windows-1252 index reads as such";
}

TEST(HelpFile, TheCompiledHelpFileHasAnIndexAndAStartPage) {
  TChmLibrary lib;
  ASSERT_TRUE(lib.Available()) << "chmlib is a dependency of the studio";
  const std::string path = std::string(KZ_BIN_DIR) + "/kzpStudio.chm";
  ASSERT_TRUE(fs::exists(path)) << path;
  TChmFile chm(lib, path);
  ASSERT_TRUE(chm.Valid());
  const std::string start = chm.DefaultTopic();
  ASSERT_FALSE(start.empty());
  const auto page = chm.Read("/" + start);
  ASSERT_TRUE(page.has_value()) << start;
  EXPECT_NE(page->find("<"), std::string::npos);
  const std::string index = chm.IndexFile();
  ASSERT_FALSE(index.empty());
  const auto text = chm.Read("/" + index);
  ASSERT_TRUE(text.has_value());
  const auto entries = ParseSitemap(*text);
  ASSERT_FALSE(entries.empty());
  for (const TSitemapEntry &e : entries) {
    const std::string local = e.Local.substr(0, e.Local.find('#'));
    EXPECT_TRUE(chm.Read("/" + local).has_value()) << e.Name << " -> " << e.Local;
  }
  EXPECT_FALSE(chm.Read("/gibt-es-nicht.htm").has_value());
  TChmFile missing(lib, "/nowhere/none.chm");
  EXPECT_FALSE(missing.Valid());
}

TEST(HtmlHelpBinding, WithoutTheLibraryHelpIsUnavailableAndDoesNothing) {
  EnsureApplication();
  LoadHtmlHelp("libdoes-not-exist.so.7");
  EXPECT_FALSE(HtmlHelpAvailable());
  EXPECT_EQ(HtmlHelp(nullptr, std::string(KZ_BIN_DIR) + "/kzpStudio.chm", HH_DISPLAY_INDEX, 0), 0);
  EXPECT_EQ(HtmlHelpWindow(), nullptr);
  UnloadHtmlHelp();
}

TEST_F(DialogsTest, HelpCommandOpensTheHelpWindowOnTheIndex) {
  fs::copy_file(std::string(KZ_BIN_DIR) + "/kzpStudio.chm", programDir + "kzpStudio.chm");
  LoadHtmlHelp();
  ASSERT_TRUE(HtmlHelpAvailable());
  Start();
  frm->actItem41->trigger();
  QWidget *window = HtmlHelpWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->parentWidget(), frm.get());
  EXPECT_EQ(HtmlHelp(frm.get(), programDir + "kzpStudio.chm", 99, 0), 0) << "unknown command";
  EXPECT_EQ(HtmlHelp(frm.get(), programDir + "fehlt.chm", HH_DISPLAY_INDEX, 0), 0);
  UnloadHtmlHelp();
  EXPECT_TRUE(dialogs.Shown.empty());
}
