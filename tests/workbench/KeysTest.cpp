// The main window's keys: document shortcuts from inside the editor, "Gehe zu Zeile", menu
// mnemonics and F10, Return and Delete on the tree, and no key the editor itself uses.
#include "WorkbenchFixture.h"

#include "editor/qt/KzEditWidget.h"
#include "platform/qt/QtKeys.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QShortcut>
#include <QTest>
#include <QTreeWidget>

namespace {
// Answers the line-number question with a fixed number and records what was asked.
class TNumberDialogs : public TScriptedDialogs {
public:
  int Answer = 0;
  std::vector<std::string> Labels;
  std::vector<int> Offered;
  bool AskNumber(TDialogOwner, const std::string &, const std::string &label, int &value, int,
                 int) override {
    Labels.push_back(label);
    Offered.push_back(value);
    if (Answer == 0)
      return false;
    value = Answer;
    return true;
  }
};

std::string TemplateText(const std::string &pack, const std::string &name) {
  for (const std::string &r : PackRecords(pack))
    if (RecordKey(r) == name)
      return TemplateTextOfRecord(r);
  return {};
}

QChar Mnemonic(const QString &caption) {
  const qsizetype at = caption.indexOf(QLatin1Char('&'));
  return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toLower() : QChar();
}
} // namespace

class KeysTest : public WorkbenchTest {
protected:
  void SetUp() override {
    WorkbenchTest::SetUp();
    SetDialogs(&numbers);
  }
  // Presses a key on the widget that has the focus, as the keyboard would.
  void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget *target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
  }
  TNumberDialogs numbers;
};

TEST_F(KeysTest, DocumentShortcutsWorkFromInsideTheEditor) {
  StartWithPack(demoPack);
  OpenTemplate("index.htm");
  frm->editor->SetFocus();
  QApplication::setActiveWindow(frm.get());
  Type(QStringLiteral("x"));
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(TemplateText(demoPack, "index.htm"), "x<p>Hallo</p>");
  EXPECT_FALSE(ThePackStore().Modified);
  EXPECT_EQ(frm->editor->Text(), "x<p>Hallo</p>") << "Ctrl+S types nothing";

  numbers.OpenAnswers = {""};
  Press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(numbers.OpenTitles.size(), 1u);

  numbers.Answers = {TModalResult::mrOk};
  Press(Qt::Key_P, Qt::ControlModifier);
  ASSERT_EQ(numbers.Shown.size(), 1u);
  EXPECT_EQ(numbers.Shown[0].Caption, "Drucken");

  // F1 is the help, not the editor's context help (no help file here, so it says so).
  numbers.Answers = {TModalResult::mrOk};
  Press(Qt::Key_F1);
  ASSERT_EQ(numbers.Shown.size(), 2u);
  EXPECT_EQ(numbers.Shown[1].Caption, "Hilfe");
  EXPECT_EQ(frm->editor->Text(), "x<p>Hallo</p>");
}

TEST_F(KeysTest, CtrlGMovesTheCaretToTheLineAsked) {
  std::string text;
  for (int i = 1; i <= 300; ++i)
    text += "<p>" + std::to_string(i) + "</p>\r\n";
  WriteTestPack(demoPack, {"Demo", "Anna", "anna@example.com", "www.example.com", "demo"},
                {{"lang.htm", text}});
  StartWithPack(demoPack);
  OpenTemplate("lang.htm");
  frm->editor->SetFocus();
  QApplication::setActiveWindow(frm.get());
  numbers.Answer = 250;
  Press(Qt::Key_G, Qt::ControlModifier);
  ASSERT_EQ(numbers.Labels.size(), 1u);
  EXPECT_EQ(numbers.Labels[0], "Zeile (1 bis 300):");
  EXPECT_EQ(numbers.Offered[0], 1);
  EXPECT_EQ(frm->editor->CaretY(), 250);
  EXPECT_EQ(frm->editor->CaretX(), 1);
  auto *edit = dynamic_cast<TKzEdit *>(frm->editor->Widget());
  ASSERT_NE(edit, nullptr);
  const TCustomKzEdit &core = edit->Editor();
  EXPECT_LE(core.TopLine(), 250);
  EXPECT_GT(core.TopLine() + core.LinesInWindow(), 250) << "the line is in view";
  EXPECT_TRUE(frm->editor->Widget()->hasFocus());

  // Cancelled, the caret stays; without a template the command is off.
  numbers.Answer = 0;
  frm->actGotoLine->trigger();
  EXPECT_EQ(numbers.Offered.back(), 250);
  EXPECT_EQ(frm->editor->CaretY(), 250);
  frm->OpenPack(demoPack);
  EXPECT_FALSE(frm->actGotoLine->isEnabled());
}

TEST_F(KeysTest, EveryMenuAndItemHasItsOwnMnemonicAndF10ReachesTheMenuBar) {
  TfrmMain &w = Start();
  const QList<QAction *> titles = w.menuBar()->actions();
  std::vector<std::string> shown;
  for (const QAction *t : titles)
    shown.push_back(t->text().toStdString());
  EXPECT_EQ(shown,
            (std::vector<std::string>{"&Datei", "&Bearbeiten", "&Format", "&Ansicht", "&Hilfe"}));
  for (const QAction *t : titles) {
    QSet<QChar> letters;
    for (const QAction *item : t->menu()->actions()) {
      if (item->isSeparator())
        continue;
      const QChar m = Mnemonic(item->text());
      EXPECT_FALSE(m.isNull()) << item->text().toStdString();
      EXPECT_FALSE(letters.contains(m))
          << "twice in " << t->text().toStdString() << ": " << item->text().toStdString();
      letters.insert(m);
    }
  }
  EXPECT_EQ(w.actBarItem4->text().toStdString(), "Ö&ffnen")
      << "a letter the keyboard has everywhere";

  w.setFocus();
  QApplication::setActiveWindow(&w);
  QTest::keyClick(&w, Qt::Key_H, Qt::AltModifier);
  EXPECT_TRUE(titles[4]->menu()->isVisible()) << "Alt+H opens \"Hilfe\"";
  titles[4]->menu()->hide();
  QTest::keyClick(&w, Qt::Key_F10);
  EXPECT_EQ(w.menuBar()->activeAction(), titles[0]);
  if (QMenu *open = titles[0]->menu(); open->isVisible())
    open->hide();
}

TEST_F(KeysTest, ReturnAndDeleteOnTheTreeOpenTemplatesAndDeleteFiles) {
  TfrmMain &w = StartWithPack(demoPack);
  QApplication::setActiveWindow(&w);
  w.twProjekt->setFocus();
  w.twProjekt->setCurrentItem(w.TemplateRoot()->child(1));
  Press(Qt::Key_Return);
  EXPECT_EQ(ThePackStore().CurrentTemplate, "index.htm");
  EXPECT_EQ(w.editor->Text(), "<p>Hallo</p>");
  EXPECT_EQ(QApplication::focusWidget(), w.editor->Widget()) << "typing goes on in the template";

  // Delete on a template node deletes nothing; on a file node it asks first.
  w.twProjekt->setFocus();
  Press(Qt::Key_Delete);
  EXPECT_TRUE(numbers.Shown.empty());
  w.twProjekt->setCurrentItem(w.FileRoot()->child(0));
  numbers.Answers = {TModalResult::mrYes};
  Press(Qt::Key_Delete);
  ASSERT_EQ(numbers.Shown.size(), 1u);
  EXPECT_EQ(numbers.Shown[0].Text, "Die Datei „logo.gif“ aus dem Pack löschen?");
  EXPECT_EQ(w.FileRoot()->childCount(), 0);

  // In the editor the same keys edit the text.
  w.editor->SetFocus();
  w.editor->SetCaret(1, 1);
  Press(Qt::Key_Delete);
  Press(Qt::Key_Return);
  EXPECT_EQ(w.editor->Text(), "\r\np>Hallo</p>");
  EXPECT_EQ(ThePackStore().CurrentTemplate, "index.htm");
}

TEST_F(KeysTest, NoShortcutOfTheWindowIsAKeyOfTheEditor) {
  TfrmMain &w = Start();
  auto *edit = dynamic_cast<TKzEdit *>(w.editor->Widget());
  ASSERT_NE(edit, nullptr);
  const TKzEditKeyStrokes &keys = edit->Editor().Keystrokes();
  std::vector<QKeySequence> sequences;
  for (const QAction *a : w.findChildren<QAction *>())
    for (const QKeySequence &s : a->shortcuts())
      sequences.push_back(s);
  for (const QShortcut *s : w.findChildren<QShortcut *>())
    sequences.push_back(s->key());
  EXPECT_GE(sequences.size(), 6u) << "Ctrl+O, Ctrl+S, Ctrl+P, F1, Ctrl+G, F10";
  for (const QKeySequence &s : sequences) {
    for (int i = 0; i < s.count(); ++i) {
      const QKeyCombination combination = s[i];
      const QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
      const kzp::TVirtualKey vk = kzp::VirtualKeyOf(press);
      EXPECT_LT(keys.FindKey(vk.Key, vk.Shift), 0) << s.toString().toStdString();
    }
  }
}
