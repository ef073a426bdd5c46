// Messages that say what happened: an empty file, a missing standard pack, a command-line
// argument that is no pack, a missing help file, missing completion lists.
#include "WorkbenchFixture.h"

#include "workbench/AppWindows.h"
#include "workbench/HtmlView.h"
#include "workbench/untMain.h"
#include "workbench/untNew.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace fs = std::filesystem;

namespace {
// A warning box of the main window with exactly this text and caption.
void ExpectWarning(const TScriptedDialogs &dialogs, std::size_t index, const std::string &text,
                   const std::string &caption, const void *owner) {
  ASSERT_GT(dialogs.Shown.size(), index);
  const TShownMessage &m = dialogs.Shown[index];
  EXPECT_EQ(m.Text, text);
  EXPECT_EQ(m.Caption, caption);
  EXPECT_EQ(m.Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(m.Buttons, TMsgDlgButtons::mbOK);
  EXPECT_EQ(m.Owner, owner);
}
} // namespace

TEST_F(WorkbenchTest, AFileWithoutRecordsIsNamedAsNoPack) {
  const std::string empty = (dir / "leer.kzp").string();
  const std::string blank = (dir / "zeilen.kzp").string();
  WriteFile(empty, "");
  WriteFile(blank, "\r\n\r\n");
  TfrmMain &w = StartWithPack(demoPack);
  dialogs.OpenAnswers = {empty, blank};
  dialogs.Answers = {TModalResult::mrOk, TModalResult::mrOk};
  w.actBarItem4->trigger();
  w.actBarItem4->trigger();
  ASSERT_EQ(dialogs.Shown.size(), 2u);
  EXPECT_EQ(dialogs.Shown[0].Text,
            "„" + empty + "“ ist keine Template-Pack-Datei (die Datei ist leer).");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtError);
  EXPECT_EQ(dialogs.Shown[1].Text,
            "„" + blank + "“ ist keine Template-Pack-Datei (sie enthält keinen einzigen Eintrag).");
  // The pack that was open stays open.
  EXPECT_EQ(ThePackStore().PackPath, demoPack);
  EXPECT_EQ(w.metaTitel->text().toStdString(), "Demo");
}

TEST_F(WorkbenchTest, ACommandLineArgumentThatIsNoFileIsReported) {
  const std::string missing = (dir / "fehlt.kzp").string();
  dialogs.Answers = {TModalResult::mrOk};
  TfrmMain &w = Start({QString::fromStdString(missing)});
  ExpectWarning(dialogs, 0, "Die Datei „" + missing + "“ wurde nicht gefunden.", "Öffnen", &w);
  EXPECT_EQ(ThePackStore().PackPath, "na");
  EXPECT_EQ(w.twProjekt->topLevelItemCount(), 0);
  // The pages were still opened.
  EXPECT_EQ(w.htmLang->CurrentPath().toStdString(), programDir + "varLib/lang.htm");

  DestroyAppWindows();
  frm.reset();
  dialogs.Shown.clear();
  const std::string folder = (dir / "packs.kzp").string();
  fs::create_directories(folder);
  dialogs.Answers = {TModalResult::mrOk};
  TfrmMain &w2 = Start({QString::fromStdString(folder)});
  ExpectWarning(dialogs, 0, "„" + folder + "“ ist ein Ordner, keine Template-Pack-Datei.", "Öffnen",
                &w2);
  EXPECT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(ThePackStore().PackPath, "na");
}

TEST_F(WorkbenchTest, MissingListFilesAreReportedOnceAndThePackStillOpens) {
  fs::remove(dir / "prog/varLib01.db");
  fs::remove(dir / "prog/varLib02.db");
  dialogs.Answers = {TModalResult::mrOk};
  TfrmMain &w = Start({QString::fromStdString(demoPack)});
  ExpectWarning(dialogs, 0,
                "Die Variablenlisten der Vervollständigung konnten nicht gelesen werden:\n\n"
                "Datei nicht gefunden: " +
                    programDir +
                    "varLib02.db\n"
                    "Datei nicht gefunden: " +
                    programDir +
                    "varLib01.db\n\n"
                    "Die Vervollständigung bietet deshalb nicht alle Variablen an.",
                "Variablenlisten", &w);
  EXPECT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_TRUE(w.CPSItemList.empty());
  EXPECT_TRUE(w.CPSInsertList.empty());
  EXPECT_EQ(ThePackStore().PackPath, demoPack);
  EXPECT_EQ(w.htmVar->CurrentPath().toStdString(), programDir + "varLib/var_main.htm");

  // With one of them missing, the other is read all the same.
  DestroyAppWindows();
  frm.reset();
  dialogs.Shown.clear();
  WriteFile(dir / "prog/varLib02.db", "%%A%%\r\n%%B%%\r\n");
  dialogs.Answers = {TModalResult::mrOk};
  TfrmMain &w2 = Start({QString::fromStdString(demoPack)});
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text.find(programDir + "varLib02.db"), std::string::npos);
  EXPECT_NE(dialogs.Shown[0].Text.find("Datei nicht gefunden: " + programDir + "varLib01.db"),
            std::string::npos);
  EXPECT_EQ(w2.CPSInsertList, (std::vector<std::string>{"%%A%%", "%%B%%"}));
  EXPECT_EQ(ThePackStore().PackPath, demoPack);
}

TEST_F(WorkbenchTest, HelpWithoutTheHelpFileSaysItIsMissing) {
  TfrmMain &w = Start();
  ASSERT_FALSE(fs::exists(programDir + "kzpStudio.chm"));
  dialogs.Answers = {TModalResult::mrOk};
  w.actItem41->trigger();
  ExpectWarning(dialogs, 0, "Die Hilfedatei „" + programDir + "kzpStudio.chm“ fehlt.", "Hilfe", &w);
}

TEST_F(WorkbenchTest, NewWithoutTheStandardPackNamesItAndKeepsTheFields) {
  fs::remove(programDir + "stdtpl.db");
  TfrmMain &w = Start();
  const std::string target = (dir / "neu.kzp").string();
  WhenModalOpens([target](QWidget &modal) {
    auto &dlg = dynamic_cast<TfrmNew &>(modal);
    dlg.Edit1->setText(QString::fromStdString(target));
    dlg.metaTitel->setText(QStringLiteral("T"));
    QTest::mouseClick(dlg.Button1, Qt::LeftButton);
  });
  dialogs.Answers = {TModalResult::mrOk};
  w.actItem1->trigger();
  ExpectWarning(
      dialogs, 0,
      "Das Standard-Pack „" + programDir +
          "stdtpl.db“ fehlt. Neue Template-Packs werden als Kopie davon angelegt; ohne es kann "
          "kein neues Pack erstellt werden.",
      "Erstellen", &w);
  EXPECT_EQ(ThePackStore().PackPath, "na");
  EXPECT_FALSE(fs::exists(target));
  // The fields stay, so the user can try again once the file is back.
  EXPECT_EQ(AppWindows().New->Edit1->text().toStdString(), target);
  EXPECT_EQ(AppWindows().New->metaTitel->text().toStdString(), "T");
}
