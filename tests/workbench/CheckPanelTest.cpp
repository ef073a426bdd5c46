// The template check in the main window: "Template prüfen" on the editor's text, "Alle
// Templates prüfen", the check after a save that never holds the save up, and a double click
// on a finding that puts the caret there, in another template too.
#include "WorkbenchFixture.h"

#include "workbench/AppWindows.h"
#include "workbench/CheckDock.h"
#include "workbench/TemplateEditor.h"
#include "workbench/TemplateTools.h"
#include "workbench/untMain.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTreeWidget>

namespace {

class CheckPanelTest : public WorkbenchTest {
protected:
  void SetUp() override {
    WorkbenchTest::SetUp();
    std::filesystem::copy_file(KZ_BIN_DIR "/varLib03.db", programDir + "varLib03.db");
    pack = (dir / "check.kzp").string();
    WriteTestPack(pack, {"T", "A", "m", "w", "o"},
                  {{"page.htm", "<p>%%app_name%%</p>\r\n%%IF:user_name%%"},
                   {"other.htm", "ok\r\n\r\n   %%nix%%"},
                   {"main.css", "b { background: url(img/none.png) }"}});
  }

  // Every row of the panel as "template|line|column|text".
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    const QTreeWidget *list = frm->templateTools->Check->List();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      const QTreeWidgetItem *r = list->topLevelItem(i);
      rows.push_back(
          (r->text(0) + '|' + r->text(1) + '|' + r->text(2) + '|' + r->text(3)).toStdString());
    }
    return rows;
  }

  void Activate(int row) {
    QTreeWidget *list = frm->templateTools->Check->List();
    emit list->itemActivated(list->topLevelItem(row), 0);
  }

  std::string pack;
};

using V = std::vector<std::string>;

} // namespace

TEST_F(CheckPanelTest, CheckOfTheEditorsTextAndDoubleClickToTheFinding) {
  TfrmMain &w = StartWithPack(pack);
  TCheckDock &panel = *w.templateTools->Check;
  EXPECT_FALSE(panel.isVisible());
  OpenTemplate("page.htm");
  // The unsaved text counts: the IF moves to a third line, behind an unknown name.
  w.editor->SetCaret(1, 2);
  w.editor->SetSelectedText("x\r\n%%foo%%");
  w.templateTools->actCheckTemplate->trigger();
  EXPECT_TRUE(panel.isVisible());
  EXPECT_EQ(Rows(), (V{"page.htm|3|1|Unbekannte Variable \u201Efoo\u201C",
                       "page.htm|3|8|\u201E%%IF:user_name%%\u201C ohne \u201E%%ENDIF%%\u201C"}));
  EXPECT_EQ(panel.Summary()->text().toStdString(), "2 Meldungen in page.htm.");
  Activate(1);
  EXPECT_EQ(w.editor->CaretY(), 3);
  EXPECT_EQ(w.editor->CaretX(), 8);
  w.editor->SetCaret(1, 1);
  Activate(0);
  EXPECT_EQ(w.editor->CaretY(), 3);
  EXPECT_EQ(w.editor->CaretX(), 1);
}

TEST_F(CheckPanelTest, WholePackAndGoingToAnotherTemplate) {
  TfrmMain &w = StartWithPack(pack);
  w.templateTools->actCheckAll->trigger();
  EXPECT_EQ(Rows(),
            (V{"page.htm|2|1|\u201E%%IF:user_name%%\u201C ohne \u201E%%ENDIF%%\u201C",
               "other.htm|3|4|Unbekannte Variable \u201Enix\u201C",
               "main.css|1|21|Das Pack enth\u00E4lt keine Datei \u201Eimg/none.png\u201C"}));
  EXPECT_EQ(w.templateTools->Check->Summary()->text().toStdString(), "3 Meldungen in 3 Templates.");
  // A finding in a template that is not open opens it first; the editor has the keys
  // once the double click is over, even if the list took them back meanwhile.
  w.templateTools->Check->List()->setFocus();
  Activate(1);
  EXPECT_EQ(ThePackStore().CurrentTemplate, "other.htm");
  EXPECT_EQ(w.editor->CaretY(), 3);
  EXPECT_EQ(w.editor->CaretX(), 4);
  w.templateTools->Check->List()->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), w.editor->Widget());
  // With unsaved changes the usual question comes; Cancel keeps the template open.
  w.editor->SetSelectedText("y");
  dialogs.Answers.push_back(TModalResult::mrCancel);
  Activate(0);
  EXPECT_EQ(ThePackStore().CurrentTemplate, "other.htm");
  EXPECT_EQ(w.editor->CaretY(), 3);
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Caption, "Template öffnen");
}

TEST_F(CheckPanelTest, CheckAfterSaveComesOnceTheSaveIsDone) {
  TfrmMain &w = StartWithPack(pack);
  OpenTemplate("other.htm");
  TCheckDock &panel = *w.templateTools->Check;
  w.actItem8->trigger();
  // The save is on disk before anything was checked.
  EXPECT_EQ(PackRecords(pack)[2], "other.htm\t.\tok<_R_><_N_><_R_><_N_>   %%nix%%");
  EXPECT_TRUE(panel.Findings().empty());
  QApplication::processEvents();
  EXPECT_EQ(Rows(), (V{"other.htm|3|4|Unbekannte Variable \u201Enix\u201C"}));
  EXPECT_TRUE(panel.isVisible());
  // A clean save leaves a closed panel closed, with its rows up to date.
  panel.close();
  w.editor->SetSelection(1, 3, 11, 3);
  w.editor->SetSelectedText("%%app_name%%");
  w.actItem8->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Rows(), V{});
  EXPECT_EQ(panel.Summary()->text().toStdString(), "Keine Meldungen in other.htm.");
  EXPECT_FALSE(panel.isVisible());
  EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(CheckPanelTest, WithoutPackOrTemplateAndWithoutCatalogue) {
  TfrmMain &w = Start();
  dialogs.Answers = {TModalResult::mrOk, TModalResult::mrOk};
  w.templateTools->actCheckTemplate->trigger();
  w.templateTools->actCheckAll->trigger();
  ASSERT_EQ(dialogs.Shown.size(), 2u);
  EXPECT_EQ(dialogs.Shown[0].Caption, "Template prüfen");
  EXPECT_EQ(dialogs.Shown[0].Text, "Bitte öffnen Sie zuerst ein Projekt bzw. ein Template.");
  EXPECT_EQ(dialogs.Shown[1].Caption, "Alle Templates prüfen");
  EXPECT_EQ(dialogs.Shown[1].Type, TMsgDlgType::mtWarning);
  DestroyAppWindows();
  frm.reset();
  // A studio without its catalogue still finds what needs no names, and says what it left out.
  std::filesystem::remove(programDir + "varLib03.db");
  TfrmMain &v = StartWithPack(pack);
  v.templateTools->actCheckAll->trigger();
  EXPECT_EQ(Rows(),
            (V{"page.htm|2|1|\u201E%%IF:user_name%%\u201C ohne \u201E%%ENDIF%%\u201C",
               "main.css|1|21|Das Pack enth\u00E4lt keine Datei \u201Eimg/none.png\u201C"}));
  EXPECT_EQ(v.templateTools->Check->Summary()->text().toStdString(),
            "2 Meldungen in 3 Templates. Der Variablenkatalog varLib03.db fehlt; Variablen, "
            "Sprachtexte und "
            "Schleifen wurden nicht geprüft.");
}
