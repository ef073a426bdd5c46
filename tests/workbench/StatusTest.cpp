// State at a glance: the title's " *" follows the editor's own record of changes, and the
// status bar names the pack, the caret's place, the typing mode and whether the text changed.
#include "WorkbenchFixture.h"

#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

class StatusTest : public WorkbenchTest {
protected:
  std::string Panel(const char *name) {
    auto *label = frm->statusBar()->findChild<QLabel *>(QLatin1String(name));
    EXPECT_NE(label, nullptr) << name;
    return label ? label->text().toStdString() : std::string();
  }
  std::string Title() { return frm->windowTitle().toStdString(); }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(frm->editor->Widget(), static_cast<Qt::Key>(key), modifiers);
  }
};

TEST_F(StatusTest, TheTitleMarksUnsavedChangesOfTheTemplateOnly) {
  StartWithPack(demoPack);
  EXPECT_EQ(Title(), "Tarvex Template Studio");
  OpenTemplate("index.htm");
  EXPECT_EQ(Title(), "Tarvex Template Studio - [index.htm]");

  // A key that changes nothing marks the store (as it always did) but not the title.
  frm->editor->SetFocus();
  Key(Qt::Key_Escape);
  EXPECT_TRUE(ThePackStore().Modified);
  EXPECT_EQ(Title(), "Tarvex Template Studio - [index.htm]");

  Type(QStringLiteral("x"));
  EXPECT_EQ(Title(), "Tarvex Template Studio - [index.htm] *");
  // Undoing every change takes the mark away again.
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(frm->editor->Text(), "<p>Hallo</p>");
  EXPECT_EQ(Title(), "Tarvex Template Studio - [index.htm]");
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Title(), "Tarvex Template Studio - [index.htm] *");

  // Saving clears it, and so does the "Ja" of the question before another template opens.
  frm->actItem8->trigger();
  EXPECT_EQ(Title(), "Tarvex Template Studio - [index.htm]");
  Type(QStringLiteral("y"));
  EXPECT_EQ(Title(), "Tarvex Template Studio - [index.htm] *");
  dialogs.Answers = {TModalResult::mrYes};
  OpenTemplate("main.css");
  EXPECT_EQ(Title(), "Tarvex Template Studio - [main.css]");
  Type(QStringLiteral("z"));
  // Opening the pack again closes the template and its mark.
  dialogs.Answers = {TModalResult::mrNo};
  ASSERT_TRUE(frm->QuerySaveTemplate());
  frm->OpenPack(demoPack);
  EXPECT_EQ(Title(), "Tarvex Template Studio");
}

TEST_F(StatusTest, TheStatusBarShowsPackCaretModeAndChange) {
  Start();
  EXPECT_EQ(Panel("statusReady"), "Bereit");
  EXPECT_EQ(Panel("statusCaret"), "");
  EXPECT_EQ(Panel("statusMode"), "");
  EXPECT_EQ(Panel("statusModified"), "");

  frm->OpenPack(demoPack);
  EXPECT_EQ(Panel("statusReady"), "demo.kzp");
  EXPECT_EQ(Panel("statusCaret"), "") << "no template open";
  OpenTemplate("main.css");
  EXPECT_EQ(Panel("statusCaret"), "Zeile 1, Spalte 1");
  EXPECT_EQ(Panel("statusMode"), "Einfügen");
  EXPECT_EQ(Panel("statusModified"), "");

  frm->editor->SetFocus();
  Key(Qt::Key_Down);
  Key(Qt::Key_End);
  EXPECT_EQ(Panel("statusCaret"), "Zeile 2, Spalte 13");
  Type(QStringLiteral("ab"));
  EXPECT_EQ(Panel("statusCaret"), "Zeile 2, Spalte 15");
  EXPECT_EQ(Panel("statusModified"), "Geändert");
  Key(Qt::Key_Insert);
  EXPECT_EQ(Panel("statusMode"), "Überschreiben");
  Key(Qt::Key_Insert);
  EXPECT_EQ(Panel("statusMode"), "Einfügen");

  frm->actItem8->trigger();
  EXPECT_EQ(Panel("statusModified"), "");
  EXPECT_EQ(Panel("statusReady"), "demo.kzp");
}
