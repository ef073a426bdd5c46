// Search and replace as a user drives it: Ctrl+F and typing, F3 and Shift+F3, Escape,
// replacing in the template, and the "Suchergebnisse" dock over the whole pack.
#include "WorkbenchFixture.h"

#include "editor/KzEdit.h"
#include "pack/PackStore.h"
#include "workbench/SearchBar.h"
#include "workbench/SearchResults.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

class SearchWorkbench : public WorkbenchTest {
protected:
  void SetUp() override {
    WorkbenchTest::SetUp();
    pack = (dir / "suche.kzp").string();
    WriteTestPack(pack, {"Suche", "Anna", "anna@example.com", "www.example.com", "suche"},
                  {{"a.htm", "Kunde eins\r\nKUNDE zwei\r\nkeine\r\nKunde drei"},
                   {"b.htm", "nichts"},
                   {"c.css", "/* kunde */\r\n.kunde { }"}});
  }
  TCustomKzEdit &Core() { return frm->editor->Core(); }
  QWidget *EditorWidget() { return frm->editor->Widget(); }
  // A key as the user presses it in whatever has the focus.
  void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : EditorWidget();
    QTest::keyClick(target, Qt::Key(key), mods);
  }
  std::string Selected() { return Core().SelectedText(); }
  std::string Caret() {
    return std::to_string(Core().CaretX()) + "," + std::to_string(Core().CaretY());
  }

  std::string pack;
};

} // namespace

TEST_F(SearchWorkbench, TheKeysAreFreeInTheEditorsKeystrokeTable) {
  StartWithPack(pack);
  TKzEditKeyStrokes &keys = Core().Keystrokes();
  EXPECT_EQ(keys.FindKey('F', ssCtrl), -1);
  EXPECT_EQ(keys.FindKey(114, 0), -1);       // F3
  EXPECT_EQ(keys.FindKey(114, ssShift), -1); // Shift+F3
  EXPECT_EQ(keys.FindKey('H', ssCtrl), -1);
  EXPECT_EQ(keys.FindKey('F', ssCtrl | ssShift), -1);
  // And so they reach the window: Ctrl+F in the editor opens the bar and types nothing.
  OpenTemplate("a.htm");
  EditorWidget()->setFocus();
  Press(Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(frm->searchBar->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), frm->searchBar->FindField());
  EXPECT_EQ(frm->editor->Text(), "Kunde eins\r\nKUNDE zwei\r\nkeine\r\nKunde drei");
}

TEST_F(SearchWorkbench, TypingF3ShiftF3AndEscape) {
  StartWithPack(pack);
  OpenTemplate("a.htm");
  EditorWidget()->setFocus();
  Core().SetCaretPos({3, 2});
  Press(Qt::Key_F, Qt::ControlModifier);
  TSearchBar &bar = *frm->searchBar;
  // Searching while typing begins at the caret.
  QTest::keyClicks(bar.FindField(), QStringLiteral("Kun"));
  EXPECT_EQ(Selected(), "Kun");
  EXPECT_EQ(Caret(), "4,4");
  EXPECT_EQ(bar.CountText(), "3 von 3");
  QTest::keyClicks(bar.FindField(), QStringLiteral("de"));
  EXPECT_EQ(Selected(), "Kunde");
  EXPECT_EQ(bar.CountText(), "3 von 3");
  // F3 goes on and wraps at the end, Shift+F3 goes back and wraps at the start.
  Press(Qt::Key_F3);
  EXPECT_EQ(Caret(), "6,1");
  EXPECT_EQ(bar.CountText(), "1 von 3");
  EXPECT_EQ(bar.MessageText(), "Suche am Anfang fortgesetzt.");
  Press(Qt::Key_Return);
  EXPECT_EQ(Caret(), "6,2");
  EXPECT_EQ(Selected(), "KUNDE");
  EXPECT_EQ(bar.CountText(), "2 von 3");
  EXPECT_EQ(bar.MessageText(), "");
  Press(Qt::Key_F3, Qt::ShiftModifier);
  Press(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(Caret(), "6,4");
  EXPECT_EQ(bar.MessageText(), "Suche am Ende fortgesetzt.");
  // With the letter case counting, KUNDE is no match any more.
  bar.MatchCaseBox()->setChecked(true);
  EXPECT_EQ(bar.CountText(), "2 von 2");
  Press(Qt::Key_F3);
  EXPECT_EQ(Caret(), "6,1");
  // Escape closes the bar and the editor has the focus again; F3 still searches.
  Press(Qt::Key_Escape);
  EXPECT_FALSE(bar.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), EditorWidget());
  Press(Qt::Key_F3);
  EXPECT_EQ(Caret(), "6,4");
  // A word selected in the editor becomes the search text.
  Core().SetCaretAndSelection({11, 2}, {7, 2}, {11, 2});
  Press(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(bar.FindField()->text(), "zwei");
  EXPECT_EQ(bar.CountText(), "1 von 1");
}

TEST_F(SearchWorkbench, EveryMatchInViewIsMarkedWhileTheBarIsOpen) {
  StartWithPack(pack);
  OpenTemplate("a.htm");
  frm->show();
  EditorWidget()->setFocus();
  Core().SetCaretPos({1, 1});
  Press(Qt::Key_F, Qt::ControlModifier);
  TSearchBar &bar = *frm->searchBar;
  QTest::keyClicks(bar.FindField(), QStringLiteral("kunde"));
  auto marks = [&](int line) {
    std::vector<TKzLineMark> found;
    bar.MarksOfLine(line, 1, 100, found);
    std::vector<std::pair<int, int>> out;
    for (const TKzLineMark &m : found)
      out.emplace_back(m.Start, m.End);
    return out;
  };
  using TMarks = std::vector<std::pair<int, int>>;
  EXPECT_EQ(marks(1), (TMarks{{1, 6}}));
  EXPECT_EQ(marks(2), (TMarks{{1, 6}}));
  EXPECT_EQ(marks(3), TMarks{});
  EXPECT_EQ(marks(5), TMarks{}); // past the last line

  // On screen: line 2 is not the current match, so its "KUNDE" shows the mark colour,
  // and "zwei" behind it the editor's own.
  auto cellColour = [&](int col, int line) {
    const QImage image = EditorWidget()->grab().toImage();
    const int x = Core().GutterWidth() + 2 + (col - 1) * Core().CharWidth() + 1;
    const int y = (line - Core().TopLine()) * Core().LineHeight() + 1;
    const QRgb p = image.pixel(x * image.width() / EditorWidget()->width(),
                               y * image.height() / EditorWidget()->height());
    return kzp::RGBColor(qRed(p), qGreen(p), qBlue(p));
  };
  EXPECT_EQ(cellColour(2, 2), Core().MarkColor());
  EXPECT_NE(cellColour(8, 2), Core().MarkColor());
  // With the letter case counting, line 2 has no match and nothing marked.
  bar.MatchCaseBox()->setChecked(true);
  EXPECT_EQ(marks(2), TMarks{});
  EXPECT_NE(cellColour(2, 2), Core().MarkColor());
  bar.MatchCaseBox()->setChecked(false);
  // An expression across lines marks only its current match, as the selection.
  bar.RegexBox()->setChecked(true);
  bar.FindField()->setText(QStringLiteral("eins\\nKUNDE"));
  bar.FindField()->textEdited(bar.FindField()->text());
  bar.FinishCounting();
  EXPECT_EQ(bar.CountText(), "1 von 1");
  EXPECT_EQ(marks(1), TMarks{});
  bar.FindField()->setText(QStringLiteral("Kun"));
  bar.FindField()->textEdited(bar.FindField()->text());
  EXPECT_EQ(marks(4), (TMarks{{1, 4}}));
  // Closed, the bar marks nothing.
  Press(Qt::Key_Escape);
  EXPECT_EQ(marks(2), TMarks{});
  EXPECT_NE(cellColour(2, 2), Core().MarkColor());
}

TEST_F(SearchWorkbench, AFaultyExpressionIsNamedInTheBar) {
  StartWithPack(pack);
  OpenTemplate("a.htm");
  EditorWidget()->setFocus();
  Press(Qt::Key_F, Qt::ControlModifier);
  TSearchBar &bar = *frm->searchBar;
  bar.RegexBox()->setChecked(true);
  QTest::keyClicks(bar.FindField(), QStringLiteral("(e"));
  EXPECT_TRUE(bar.MessageIsError());
  EXPECT_EQ(bar.MessageText(),
            "Fehler im regulären Ausdruck am Ende des Ausdrucks: schließende Klammer ) fehlt");
  EXPECT_EQ(bar.CountText(), "");
  QTest::keyClicks(bar.FindField(), QStringLiteral(")\\w+"));
  EXPECT_FALSE(bar.MessageIsError());
  EXPECT_EQ(bar.CountText(), "1 von 4");
  EXPECT_EQ(Selected(), "eins");
}

TEST_F(SearchWorkbench, ReplaceAllInTheTemplateIsOneUndoStep) {
  StartWithPack(pack);
  // Without an open template there is nothing to replace in.
  EditorWidget()->setFocus();
  Press(Qt::Key_H, Qt::ControlModifier);
  TSearchBar &bar = *frm->searchBar;
  EXPECT_TRUE(bar.ReplaceField()->isVisible());
  EXPECT_FALSE(bar.ReplaceAllButton()->isEnabled());
  Press(Qt::Key_Escape);

  OpenTemplate("a.htm");
  EditorWidget()->setFocus();
  Press(Qt::Key_H, Qt::ControlModifier);
  EXPECT_TRUE(bar.ReplaceAllButton()->isEnabled());
  QTest::keyClicks(bar.FindField(), QStringLiteral("kunde"));
  QTest::keyClicks(bar.ReplaceField(), QStringLiteral("Klient"));
  QTest::mouseClick(bar.ReplaceAllButton(), Qt::LeftButton);
  EXPECT_EQ(frm->editor->Text(), "Klient eins\r\nKlient zwei\r\nkeine\r\nKlient drei");
  EXPECT_EQ(bar.MessageText(), "3 Treffer ersetzt.");
  EXPECT_EQ(bar.CountText(), "Keine Treffer");
  EXPECT_TRUE(ThePackStore().Modified);
  EXPECT_TRUE(frm->actItem9->isEnabled());
  frm->actItem9->trigger();
  EXPECT_EQ(frm->editor->Text(), "Kunde eins\r\nKUNDE zwei\r\nkeine\r\nKunde drei");
  EXPECT_FALSE(frm->actItem9->isEnabled());
  // Replacing one: the first press selects the next match, the second replaces it.
  Core().SetCaretPos({1, 3});
  bar.FindField()->setFocus();
  QTest::mouseClick(bar.ReplaceButton(), Qt::LeftButton);
  EXPECT_EQ(Caret(), "6,4");
  QTest::mouseClick(bar.ReplaceButton(), Qt::LeftButton);
  EXPECT_EQ(frm->editor->Text(), "Kunde eins\r\nKUNDE zwei\r\nkeine\r\nKlient drei");
  EXPECT_EQ(Caret(), "6,1");
  EXPECT_EQ(bar.MessageText(), "Suche am Anfang fortgesetzt.");
}

TEST_F(SearchWorkbench, ThePackSearchListsMatchesAndOpensThem) {
  StartWithPack(pack);
  OpenTemplate("a.htm");
  // The open template is searched as the editor has it, unsaved text included.
  Core().SetCaretPos({1, 3});
  Type(QStringLiteral("kunden"));
  EditorWidget()->setFocus();
  Press(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
  TSearchResultsDock &dock = *frm->exSuche;
  EXPECT_TRUE(dock.isVisible());
  EXPECT_EQ(dock.StatusText(), "");
  QTest::keyClicks(dock.FindField(), QStringLiteral("kunde"));
  Press(Qt::Key_Return);
  EXPECT_EQ(dock.StatusText(), "6 Treffer in 2 Templates.");
  QTreeWidget *tree = dock.Tree();
  ASSERT_EQ(tree->topLevelItemCount(), 2);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "a.htm (4)");
  EXPECT_EQ(tree->topLevelItem(1)->text(0), "c.css (2)");
  QTreeWidgetItem *second = tree->topLevelItem(0)->child(2);
  EXPECT_EQ(second->text(0), "3");
  EXPECT_EQ(second->text(1), "kundenkeine");
  EXPECT_FALSE(dock.Stale());
  // An edit makes the results old until the next search.
  Type(QStringLiteral("x"));
  EXPECT_TRUE(dock.Stale());
  dock.RunSearch();
  EXPECT_FALSE(dock.Stale());
  // Opening a match in another template asks about the unsaved changes first.
  dialogs.Answers = {TModalResult::mrCancel};
  QTreeWidgetItem *css = tree->topLevelItem(1)->child(1);
  emit tree->itemDoubleClicked(css, 1);
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Caption, "Template öffnen");
  EXPECT_EQ(ThePackStore().CurrentTemplate, "a.htm");
  dialogs.Answers = {TModalResult::mrNo};
  css = tree->topLevelItem(1)->child(1);
  emit tree->itemDoubleClicked(css, 1);
  EXPECT_EQ(ThePackStore().CurrentTemplate, "c.css");
  EXPECT_EQ(Selected(), "kunde");
  EXPECT_EQ(Caret(), "7,2");
  EXPECT_EQ(QApplication::focusWidget(), EditorWidget());
}

TEST_F(SearchWorkbench, ReplaceInTheWholePackAfterOneQuestion) {
  StartWithPack(pack);
  TSearchResultsDock &dock = *frm->exSuche;
  EditorWidget()->setFocus();
  Press(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(dock.ReplaceAllButton()->isEnabled()); // no template open
  OpenTemplate("a.htm");
  EXPECT_TRUE(dock.ReplaceAllButton()->isEnabled());
  dock.FindField()->setText(QStringLiteral("kunde"));
  dock.WholeWordsBox()->setChecked(true);
  dock.ReplaceField()->setText(QStringLiteral("Klient"));
  const std::vector<std::string> before = PackRecords(pack);
  dialogs.Answers = {TModalResult::mrNo};
  QTest::mouseClick(dock.ReplaceAllButton(), Qt::LeftButton);
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Caption, "Im ganzen Pack ersetzen");
  EXPECT_EQ(
      dialogs.Shown[0].Text.rfind("Im ganzen Pack 5 Treffer in 2 Templates ersetzen?\n\nDas ge", 0),
      0u);
  EXPECT_EQ(PackRecords(pack), before);
  EXPECT_EQ(frm->editor->Text(), "Kunde eins\r\nKUNDE zwei\r\nkeine\r\nKunde drei");

  dialogs.Answers = {TModalResult::mrYes};
  QTest::mouseClick(dock.ReplaceAllButton(), Qt::LeftButton);
  // The other template went into the pack; the open one changed in the editor only.
  TPackStore check;
  check.LoadPack(pack);
  EXPECT_EQ(check.GetTemplate("c.css"), "/* Klient */\r\n.Klient { }");
  EXPECT_EQ(check.GetTemplate("a.htm"), "Kunde eins\r\nKUNDE zwei\r\nkeine\r\nKunde drei");
  EXPECT_EQ(check.GetTemplate("b.htm"), "nichts");
  EXPECT_EQ(frm->editor->Text(), "Klient eins\r\nKlient zwei\r\nkeine\r\nKlient drei");
  EXPECT_EQ(dock.StatusText(), "5 Treffer in 2 Templates ersetzt.");
  EXPECT_EQ(dock.Result().Total, 0u);
  frm->actItem9->trigger();
  EXPECT_EQ(frm->editor->Text(), "Kunde eins\r\nKUNDE zwei\r\nkeine\r\nKunde drei");
  EXPECT_FALSE(frm->actItem9->isEnabled());
}
