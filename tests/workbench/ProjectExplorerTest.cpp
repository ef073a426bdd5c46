// The project explorer: the tree of a pack, opening templates, the pop-up menus, adding,
// importing and deleting files.
#include "WorkbenchFixture.h"

#include "pack/FolderScan.h"
#include "workbench/AppWindows.h"
#include "workbench/HtmlView.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untAddFile.h"
#include "workbench/untMain.h"
#include "workbench/untProgress.h"

#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace fs = std::filesystem;

namespace {
QPoint CentreOf(QTreeWidget &tree, QTreeWidgetItem *item) {
  return tree.visualItemRect(item).center();
}
} // namespace

class ProjectExplorerTest : public WorkbenchTest {};

TEST_F(ProjectExplorerTest, OpeningAPackListsTemplatesAndFilesUnderTwoRoots) {
  TfrmMain &w = StartWithPack(demoPack);
  ASSERT_EQ(w.twProjekt->topLevelItemCount(), 2);
  EXPECT_EQ(w.twProjekt->topLevelItem(0), w.TemplateRoot());
  EXPECT_EQ(w.twProjekt->topLevelItem(1), w.FileRoot());
  EXPECT_EQ(w.TemplateRoot()->text(0).toStdString(), "Templates");
  EXPECT_EQ(Children(w.TemplateRoot()), (std::vector<std::string>{"main.css", "index.htm", "na"}));
  EXPECT_EQ(Children(w.FileRoot()), (std::vector<std::string>{"logo.gif"}));
  EXPECT_TRUE(w.TemplateRoot()->isExpanded());
  EXPECT_EQ(w.twProjekt->indentation(), 19);
  EXPECT_EQ(w.twProjekt->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(ProjectExplorerTest, DoubleClickOpensATemplateAndItsVariablePage) {
  TfrmMain &w = StartWithPack(demoPack);
  const QPoint at = CentreOf(*w.twProjekt, w.TemplateRoot()->child(0));
  QTest::mouseClick(w.twProjekt->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(w.twProjekt->viewport(), Qt::LeftButton, {}, at);
  // The double click is handled once the tree is done delivering it.
  QCoreApplication::processEvents();
  EXPECT_EQ(ThePackStore().CurrentTemplate, "main.css");
  EXPECT_EQ(w.editor->Text(), "body {\r\n\tcolor: red;\r\n}");
  EXPECT_EQ(w.windowTitle().toStdString(), "Tarvex Template Studio - [main.css]");
  EXPECT_TRUE(w.editor->Enabled());
  EXPECT_FALSE(ThePackStore().Modified);
  EXPECT_EQ(w.htmVar->CurrentPath().toStdString(), programDir + "varLib/main.htm");

  // A name without ".css" names its page unchanged.
  OpenTemplate("index.htm");
  EXPECT_EQ(w.htmVar->CurrentPath().toStdString(), programDir + "varLib/index.htm");
  // A template without a page of its own sends the view back to its start page.
  OpenTemplate("na");
  EXPECT_EQ(w.htmVar->CurrentPath().toStdString(), programDir + "varLib/var_main.htm");
}

TEST_F(ProjectExplorerTest, ATemplateHoldingANulByteIsNotOpenedSoNoSaveCanCutIt) {
  WriteTestPack(demoPack, {"Demo", "Anna", "anna@example.com", "www.example.com", "demo"},
                {{"index.htm", "<p>Hallo</p>"}, {"null.htm", std::string("vor\0nach", 8)}});
  const std::string before = ReadFile(demoPack);
  TfrmMain &w = StartWithPack(demoPack);
  OpenTemplate("index.htm");
  Type(QStringLiteral("x"));
  // Refused before the save question, so nothing is asked and nothing is written.
  dialogs.Answers = {TModalResult::mrOk};
  OpenTemplate("null.htm");
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text,
            "Das Template \"null.htm\" enthält ein Nullzeichen (Byte 0). Der Editor kann es "
            "nicht ohne Textverlust bearbeiten; es wurde nicht geöffnet.");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Template öffnen");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(ThePackStore().CurrentTemplate, "index.htm");
  EXPECT_EQ(w.editor->Text(), "x<p>Hallo</p>");
  EXPECT_TRUE(ThePackStore().Modified);
  EXPECT_EQ(w.windowTitle().toStdString(), "Tarvex Template Studio - [index.htm] *");
  EXPECT_EQ(ReadFile(demoPack), before);
}

TEST_F(ProjectExplorerTest, DoubleClickOnRootsAndFilesLeavesTheTemplateOpen) {
  TfrmMain &w = StartWithPack(demoPack);
  OpenTemplate("index.htm");
  for (QTreeWidgetItem *item : {w.TemplateRoot(), w.FileRoot(), w.FileRoot()->child(0)}) {
    w.twProjekt->setCurrentItem(item);
    w.twProjektDblClick();
    EXPECT_EQ(ThePackStore().CurrentTemplate, "index.htm");
    EXPECT_EQ(w.editor->Text(), "<p>Hallo</p>");
  }
  EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(ProjectExplorerTest, DoubleClickWithoutPackWarns) {
  Start();
  dialogs.Answers = {TModalResult::mrOk};
  frm->twProjektDblClick();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text, "Bitte öffnen Sie zuerst ein Projekt!");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Kein Projekt");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtWarning);
}

TEST_F(ProjectExplorerTest, PopupMenusFitTheNodeUnderTheMouse) {
  TfrmMain &w = StartWithPack(demoPack);
  QTreeWidget &tree = *w.twProjekt;
  w.FileRoot()->setExpanded(true);
  EXPECT_EQ(w.twProjektContextPopup(CentreOf(tree, w.FileRoot())), w.pmen);
  ASSERT_EQ(w.pmen->actions().size(), 2);
  EXPECT_EQ(w.pmen->actions()[0]->text().toStdString(), "Datei hinzufügen...");
  EXPECT_EQ(w.pmen->actions()[1]->text().toStdString(), "Verzeichnis importieren...");
  w.pmen->hide();
  EXPECT_EQ(w.twProjektContextPopup(CentreOf(tree, w.FileRoot()->child(0))), w.pmem2);
  EXPECT_EQ(w.pmem2->actions()[0]->text().toStdString(), "Löschen");
  EXPECT_EQ(tree.currentItem(), w.FileRoot()->child(0));
  w.pmem2->hide();
  EXPECT_EQ(w.twProjektContextPopup(CentreOf(tree, w.TemplateRoot()->child(1))), nullptr);
  EXPECT_EQ(w.twProjektContextPopup(CentreOf(tree, w.TemplateRoot())), nullptr);
  // A click on empty space keeps the selection, and so the menu of the selected node.
  w.TemplateRoot()->setExpanded(false);
  const QPoint empty(5, tree.visualItemRect(w.FileRoot()->child(0)).bottom() + 8);
  ASSERT_EQ(tree.itemAt(empty), nullptr);
  tree.setCurrentItem(w.FileRoot());
  EXPECT_EQ(w.twProjektContextPopup(empty), w.pmen);
  w.pmen->hide();
  tree.clearSelection();
  tree.setCurrentItem(nullptr);
  EXPECT_EQ(w.twProjektContextPopup(empty), nullptr);
}

TEST_F(ProjectExplorerTest, PopupMenusNeedAnOpenPack) {
  TfrmMain &w = Start();
  EXPECT_EQ(w.twProjektContextPopup(QPoint(5, 5)), nullptr);
}

TEST_F(ProjectExplorerTest, AddFileStoresTheFileUnderTheTypedNameAndShowsIt) {
  StartWithPack(demoPack);
  const std::string source = (dir / "bild.png").string();
  WriteFile(source, "PNGDATA");
  AddFile(source, "img/sub/bild.png");
  EXPECT_EQ(Children(frm->FileRoot()), (std::vector<std::string>{"logo.gif", "img/sub/bild.png"}));
  EXPECT_EQ(FileRecordNames(demoPack), (std::vector<std::string>{"logo.gif", "img/sub/bild.png"}));
  TPackStore reference;
  reference.Records = {"x"};
  reference.PackPath = (dir / "reference.kzp").string();
  reference.AddFileRecord("img/sub/bild.png", source);
  EXPECT_EQ(PackRecords(demoPack).back(), reference.Records.back());
  EXPECT_EQ(dialogs.OpenTitles, (std::vector<std::string>{"Datei hinzufügen"}));
  EXPECT_EQ(dialogs.OpenFilters, (std::vector<std::string>{"Alle Dateien (*.*)|*.*"}));
}

TEST_F(ProjectExplorerTest, AddingTwiceShowsTwoNodesAndDeletingOneRemovesBoth) {
  StartWithPack(demoPack);
  const std::string source = (dir / "a.gif").string();
  WriteFile(source, "GIF");
  AddFile(source, QString());
  AddFile(source, QString());
  EXPECT_EQ(Children(frm->FileRoot()), (std::vector<std::string>{"logo.gif", "a.gif", "a.gif"}));
  EXPECT_EQ(FileRecordNames(demoPack), (std::vector<std::string>{"logo.gif", "a.gif", "a.gif"}));
  frm->twProjekt->setCurrentItem(frm->FileRoot()->child(2));
  dialogs.Answers = {TModalResult::mrYes};
  frm->actItem39->trigger();
  // The tree never shows a file the pack no longer holds.
  EXPECT_EQ(FileRecordNames(demoPack), (std::vector<std::string>{"logo.gif"}));
  EXPECT_EQ(Children(frm->FileRoot()), (std::vector<std::string>{"logo.gif"}));
}

TEST_F(ProjectExplorerTest, DeletingAFileThatThePackHeldWhenOpened) {
  StartWithPack(demoPack);
  frm->twProjekt->setCurrentItem(frm->FileRoot()->child(0));
  dialogs.Answers = {TModalResult::mrYes};
  frm->actItem39Click();
  EXPECT_TRUE(FileRecordNames(demoPack).empty());
  EXPECT_EQ(frm->FileRoot()->childCount(), 0);
  EXPECT_EQ(PackRecords(demoPack).size(), 4u) << "metadata and three templates stay";
}

TEST_F(ProjectExplorerTest, CancelledAddFileAddsNothing) {
  StartWithPack(demoPack);
  const std::string before = ReadFile(demoPack);
  WhenModalOpens([](QWidget &modal) {
    auto &dlg = dynamic_cast<TfrmAddFile &>(modal);
    dlg.edFile->setText("/etc/hostname");
    dlg.edZiel->setText("x");
    QTest::mouseClick(dlg.Button3, Qt::LeftButton);
  });
  frm->actItem38Click();
  EXPECT_EQ(ReadFile(demoPack), before);
  EXPECT_EQ(frm->FileRoot()->childCount(), 1);
}

TEST_F(ProjectExplorerTest, ImportAddsEveryFileWithRelativeNamesAndReportsTheEnd) {
  StartWithPack(demoPack);
  const fs::path folder = dir / "import";
  WriteFile(folder / "a.gif", "A");
  WriteFile(folder / "sub" / "b.gif", "BB");
  WriteFile(folder / "sub" / "deeper" / "c.css", "C");
  // A link back up would never end if it were followed.
  fs::create_directory_symlink(folder, folder / "sub" / "loop");
  std::vector<std::string> expected = {"logo.gif"};
  for (const TScannedFile &f : ScanFolder(folder.string()))
    expected.push_back(f.RelativeName);
  ASSERT_EQ(expected.size(), 4u);
  dialogs.FolderAnswers = {folder.string()};
  dialogs.Answers = {TModalResult::mrOk};
  frm->actItem40->trigger();
  EXPECT_EQ(dialogs.FolderCaptions, (std::vector<std::string>{"Bitte wählen Sie ein Verzeichnis"}));
  std::vector<std::string> sortedNames(expected.begin() + 1, expected.end());
  std::sort(sortedNames.begin(), sortedNames.end());
  EXPECT_EQ(sortedNames, (std::vector<std::string>{"a.gif", "sub/b.gif", "sub/deeper/c.css"}));
  EXPECT_EQ(Children(frm->FileRoot()), expected);
  EXPECT_EQ(FileRecordNames(demoPack), expected);
  EXPECT_TRUE(frm->FileRoot()->isExpanded());
  EXPECT_FALSE(AppWindows().Progress->isVisible());
  EXPECT_EQ(AppWindows().Progress->ProgressBar1->value(), 3);
  EXPECT_EQ(AppWindows().Progress->ProgressBar1->maximum(), 3);
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text, "Importvorgang abgeschlossen.");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Verzeichnis importieren");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtInformation);
}

TEST_F(ProjectExplorerTest, NamesThePackCannotHoldAreRefusedBeforeAnythingIsAdded) {
  StartWithPack(demoPack);
  const std::string before = ReadFile(demoPack);
  const fs::path folder = dir / "import";
  WriteFile(folder / "a.gif", "A");
  WriteFile(folder / "sub" / "\xE6\x97\xA5.gif", "J"); // a CJK character in UTF-8
  WriteFile(folder / "z.gif", "Z");
  dialogs.FolderAnswers = {folder.string()};
  dialogs.Answers = {TModalResult::mrOk};
  frm->actItem40Click();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text,
            "Der Name \"sub/\xE6\x97\xA5.gif\" enthält Zeichen, die ein Template-Pack nicht "
            "speichern kann. Bitte benennen Sie die Datei um; es wurde nichts importiert.");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Verzeichnis importieren");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(ReadFile(demoPack), before);
  EXPECT_EQ(Children(frm->FileRoot()), (std::vector<std::string>{"logo.gif"}));
  EXPECT_FALSE(AppWindows().Progress->isVisible());

  // The Add-file dialog's target name is checked the same way.
  WhenModalOpens([&](QWidget &modal) {
    auto &dlg = dynamic_cast<TfrmAddFile &>(modal);
    dlg.edFile->setText(QString::fromStdString((folder / "a.gif").string()));
    dlg.edZiel->setText(QStringLiteral("pfeil\u2192.gif"));
    QTest::mouseClick(dlg.Button2, Qt::LeftButton);
  });
  dialogs.Answers = {TModalResult::mrOk};
  frm->actItem38Click();
  ASSERT_EQ(dialogs.Shown.size(), 2u);
  EXPECT_EQ(dialogs.Shown[1].Caption, "Datei hinzufügen");
  EXPECT_NE(dialogs.Shown[1].Text.find("sie wurde nicht hinzugefügt."), std::string::npos)
      << dialogs.Shown[1].Text;
  EXPECT_EQ(ReadFile(demoPack), before);
  EXPECT_EQ(frm->FileRoot()->childCount(), 1);
}

TEST_F(ProjectExplorerTest, ImportStopsWhenAnotherPackIsOpenedMeanwhile) {
  StartWithPack(demoPack);
  const std::string other = (dir / "other.kzp").string();
  WriteTestPack(other, {"Anders", "B", "b@example.com", "www.example.com", "anders"},
                {{"x.htm", "x"}});
  const std::string otherBefore = ReadFile(other);
  const fs::path folder = dir / "import";
  for (const char *name : {"a.gif", "b.gif", "c.gif"})
    WriteFile(folder / name, name);
  const std::vector<TScannedFile> scan = ScanFolder(folder.string());
  // While the second file is on its way the user opens another pack.
  bool opened = false;
  QObject::connect(AppWindows().Progress->ProgressBar1, &QProgressBar::valueChanged, [&](int v) {
    if (v == 1 && !opened) {
      opened = true;
      QTimer::singleShot(0, [&] { frm->OpenPack(other); });
    }
  });
  dialogs.FolderAnswers = {folder.string()};
  dialogs.Answers = {TModalResult::mrOk};
  frm->actItem40Click();
  ASSERT_TRUE(opened);
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text,
            "Der Import wurde abgebrochen, weil ein anderes Pack geöffnet wurde. "
            "1 von 3 Dateien wurden hinzugefügt.");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(ReadFile(other), otherBefore) << "nothing of the folder went into the other pack";
  EXPECT_EQ(FileRecordNames(demoPack),
            (std::vector<std::string>{"logo.gif", scan[0].RelativeName}));
  EXPECT_EQ(frm->FileRoot()->childCount(), 0) << "the tree shows the other pack";
  EXPECT_FALSE(AppWindows().Progress->isVisible());
}

TEST_F(ProjectExplorerTest, ImportOfAnEmptyFolderEndsWithTheMessageAndCancelledPickerDoesNothing) {
  StartWithPack(demoPack);
  fs::create_directories(dir / "leer");
  dialogs.FolderAnswers = {"", (dir / "fehlt").string(), (dir / "leer").string()};
  dialogs.Answers = {TModalResult::mrOk};
  frm->actItem40Click();
  frm->actItem40Click();
  EXPECT_TRUE(dialogs.Shown.empty());
  frm->actItem40Click();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text, "Importvorgang abgeschlossen.");
  EXPECT_EQ(frm->FileRoot()->childCount(), 1);
}

TEST_F(ProjectExplorerTest, FailedImportKeepsWhatWasAddedAndHidesTheProgressAfterTheError) {
  StartWithPack(demoPack);
  const fs::path folder = dir / "import";
  WriteFile(folder / "a.gif", "A");
  WriteFile(folder / "b.gif", "B");
  WriteFile(folder / "c.gif", "C");
  const std::vector<TScannedFile> scan = ScanFolder(folder.string());
  ASSERT_EQ(scan.size(), 3u);
  // The second file vanishes after the scan, just before it is read.
  QProgressBar *bar = AppWindows().Progress->ProgressBar1;
  const std::string victim = scan[1].FullPath;
  bool progressVisibleDuringError = false;
  dialogs.OnShow = [&] { progressVisibleDuringError = AppWindows().Progress->isVisible(); };
  QObject::connect(bar, &QProgressBar::valueChanged, [victim](int v) {
    if (v == 2)
      fs::remove(victim);
  });
  dialogs.FolderAnswers = {folder.string()};
  dialogs.Answers = {TModalResult::mrOk};
  frm->actItem40->trigger();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_NE(dialogs.Shown[0].Text.find("Datei nicht gefunden"), std::string::npos)
      << dialogs.Shown[0].Text;
  EXPECT_TRUE(progressVisibleDuringError);
  EXPECT_FALSE(AppWindows().Progress->isVisible());
  EXPECT_EQ(Children(frm->FileRoot()),
            (std::vector<std::string>{"logo.gif", scan[0].RelativeName}));
  EXPECT_EQ(FileRecordNames(demoPack),
            (std::vector<std::string>{"logo.gif", scan[0].RelativeName}));
  EXPECT_FALSE(frm->FileRoot()->isExpanded());
}
