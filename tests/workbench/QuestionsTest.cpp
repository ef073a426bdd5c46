// Where a click can destroy work the studio asks first, and the editor takes no typing while
// no template is open.
#include "WorkbenchFixture.h"

#include "workbench/AppWindows.h"
#include "workbench/HtmlView.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"
#include "workbench/untNew.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {
std::vector<std::string> FileRecords(const std::string &pack) {
  std::vector<std::string> names;
  for (const std::string &r : PackRecords(pack))
    if (IsFileRecord(r))
      names.push_back(RecordKey(r));
  return names;
}
} // namespace

TEST_F(WorkbenchTest, DeletingAFileAsksAndNoKeepsIt) {
  TfrmMain &w = StartWithPack(demoPack);
  w.twProjekt->setCurrentItem(w.FileRoot()->child(0));
  dialogs.Answers = {TModalResult::mrNo, TModalResult::mrYes};
  w.actItem39->trigger();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text, "Die Datei „logo.gif“ aus dem Pack löschen?");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Datei löschen");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(dialogs.Shown[0].Buttons, TMsgDlgButtons::mbYesNo);
  EXPECT_EQ(dialogs.Shown[0].Owner, &w);
  EXPECT_EQ(FileRecords(demoPack), std::vector<std::string>{"img:logo.gif"});
  EXPECT_EQ(w.FileRoot()->childCount(), 1);

  w.actItem39->trigger();
  EXPECT_TRUE(FileRecords(demoPack).empty());
  EXPECT_EQ(w.FileRoot()->childCount(), 0);
}

TEST_F(WorkbenchTest, NewOnAnExistingFileAsksBeforeItsMetadataAreReplaced) {
  TfrmMain &w = Start();
  const std::vector<std::string> before = PackRecords(demoPack);
  bool stayedOpen = false;
  WhenModalOpens([this, &stayedOpen](QWidget &modal) {
    auto &dlg = dynamic_cast<TfrmNew &>(modal);
    dlg.Edit1->setText(QString::fromStdString(demoPack));
    dlg.metaTitel->setText(QStringLiteral("Anders"));
    QTest::mouseClick(dlg.Button1, Qt::LeftButton);
    // "No" keeps the dialog open with what was typed, to choose another file.
    stayedOpen = dlg.isVisible() && dlg.metaTitel->text() == QLatin1String("Anders");
    dlg.close();
  });
  dialogs.Answers = {TModalResult::mrNo};
  w.actItem1->trigger();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text,
            "Die Datei „" + demoPack +
                "“ gibt es schon. Ihre Templates und Dateien bleiben erhalten, ihre "
                "Metadaten werden aber durch die eingegebenen ersetzt.\nMöchten Sie fortfahren?");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Erstellen");
  EXPECT_EQ(dialogs.Shown[0].Buttons, TMsgDlgButtons::mbYesNo);
  EXPECT_EQ(dialogs.Shown[0].Owner, AppWindows().New);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(PackRecords(demoPack), before);
  EXPECT_EQ(ThePackStore().PackPath, "na");

  // A target that does not exist yet is created without a question.
  const std::string fresh = (dir / "frisch.kzp").string();
  WhenModalOpens([fresh](QWidget &modal) {
    auto &dlg = dynamic_cast<TfrmNew &>(modal);
    dlg.Edit1->setText(QString::fromStdString(fresh));
    QTest::mouseClick(dlg.Button1, Qt::LeftButton);
  });
  w.actItem1->trigger();
  EXPECT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(ThePackStore().PackPath, fresh);
}

TEST_F(WorkbenchTest, TheEditorTakesTextOnlyWhileATemplateIsOpen) {
  TfrmMain &w = Start();
  const std::vector<QAction *> textCommands = {w.actItem3,  w.actItem4,  w.actItem5, w.actItem6,
                                               w.actItem11, w.actItem12, w.actItem17};
  auto expectEnabled = [&](bool enabled, const char *when) {
    EXPECT_EQ(w.editor->Enabled(), enabled) << when;
    for (QAction *a : textCommands)
      EXPECT_EQ(a->isEnabled(), enabled) << a->text().toStdString() << ", " << when;
  };
  expectEnabled(false, "at start-up");
  QTest::keyClicks(w.editor->Widget(), QStringLiteral("abc"));
  EXPECT_EQ(w.editor->Text(), "");
  EXPECT_FALSE(ThePackStore().Modified);

  w.OpenPack(demoPack);
  expectEnabled(false, "with a pack open");
  // A "kzp:" link has no template to go into either; the view stays where it is.
  w.htmVar->Navigate(QString::fromStdString(programDir + "varLib/var_main.htm"));
  w.htmVar->Navigate(QStringLiteral("kzp:%%USER%%"));
  EXPECT_EQ(w.editor->Text(), "");
  EXPECT_EQ(w.htmVar->CurrentPath().toStdString(), programDir + "varLib/var_main.htm");

  OpenTemplate("index.htm");
  expectEnabled(true, "with a template open");
  Type(QStringLiteral("x"));
  EXPECT_EQ(w.editor->Text(), "x<p>Hallo</p>");
  EXPECT_TRUE(w.actItem9->isEnabled());

  // Opening a pack again closes the template: the editor is empty and off, Undo too.
  ThePackStore().Modified = false;
  w.OpenPack(demoPack);
  expectEnabled(false, "after opening the pack again");
  EXPECT_EQ(w.editor->Text(), "");
  EXPECT_FALSE(w.actItem9->isEnabled());
  EXPECT_FALSE(w.actItem10->isEnabled());
}
