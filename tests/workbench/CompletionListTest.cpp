// The completion list in the studio, driven by real key events: "%%" in the template editor
// opens it after its timer, typing narrows it, a blank or "(" completes, Escape, Tab and
// characters it does not list close it.
#include "WorkbenchFixture.h"

#include "completion/KzCompletionProposal.h"
#include "completion/qt/KzCompletionWindow.h"
#include "editor/qt/KzEditWidget.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace {

class CompletionListTest : public WorkbenchTest {
protected:
  void SetUp() override {
    WorkbenchTest::SetUp();
    WriteFile(dir / "prog/varLib01.db",
              "\\color{clGray}Sprache\\column{}LANG123\\style{-B} Betreff\r\n"
              "\\color{clGray}Sprache\\column{}LANG200\\style{-B} Anrede\r\n"
              "\\color{clGray}System\\column{}USER\\style{-B} Benutzer\r\n");
    WriteFile(dir / "prog/varLib02.db", "%%LANG123%%\r\n%%LANG200%%\r\n%%USER%%\r\n");
    StartWithPack(demoPack);
    OpenTemplate("index.htm");
    frm->editor->SetText("");
    frm->editor->SetFocus();
  }
  TKzCompletionProposal &Cps() { return *frm->CPS; }
  QWidget *Editor() { return frm->editor->Widget(); }
  std::string Line() { return frm->editor->LineText(frm->editor->CaretY()); }
  // Keys go where Qt sends them: to the open pop-up while there is one.
  QWidget *KeyTarget() {
    return QApplication::activePopupWidget() ? QApplication::activePopupWidget() : Editor();
  }
  void Keys(const QString &text) { QTest::keyClicks(KeyTarget(), text); }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(KeyTarget(), key, mods);
  }
  bool WaitOpen() {
    return QTest::qWaitFor([this] { return Cps().Visible(); }, 2000);
  }
  // Types "x %%" and waits for the list.
  void OpenList() {
    Keys("x %%");
    ASSERT_TRUE(WaitOpen());
    ASSERT_EQ(QApplication::activePopupWidget(), frm->CPSWindow);
  }
};

} // namespace

TEST_F(CompletionListTest, TwoPercentSignsOpenTheListAfterItsTimerAndTypingNarrowsIt) {
  Keys("x %%");
  EXPECT_FALSE(Cps().Visible()); // the timer has not run yet
  ASSERT_TRUE(WaitOpen());
  EXPECT_EQ(QApplication::activePopupWidget(), frm->CPSWindow);
  EXPECT_EQ(Cps().Form().FilteredCount(), 3);
  // Just below the caret: column 5 of the first row.
  auto *edit = static_cast<TKzEdit *>(Editor());
  const kzp::TPoint caret = edit->Editor().RowColumnToPixels(edit->Editor().DisplayXY());
  EXPECT_EQ(frm->CPSWindow->geometry().topLeft(),
            edit->viewport()->mapToGlobal(QPoint(caret.X, caret.Y + edit->Editor().LineHeight())));
  EXPECT_EQ(frm->CPSWindow->width(), 262);

  Keys("la");
  EXPECT_EQ(Line(), "x %%la");
  EXPECT_EQ(Cps().Form().FilteredCount(), 2);
  EXPECT_TRUE(Cps().Visible());
  Key(Qt::Key_Down);
  Key(Qt::Key_Space);
  EXPECT_FALSE(Cps().Visible());
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(Line(), "x %%LANG200%%"); // the blank stands after it; the editor trims a line's end
  EXPECT_EQ(frm->editor->CaretX(), 15);
  Keys("y");
  EXPECT_EQ(Line(), "x %%LANG200%% y");
  EXPECT_TRUE(ThePackStore().Modified);
}

TEST_F(CompletionListTest, AParenthesisCompletesAndTheUndoButtonTakesItBackStepByStep) {
  OpenList();
  Keys("u(");
  EXPECT_EQ(Line(), "x %%USER%%(");
  EXPECT_TRUE(frm->actItem9->isEnabled());
  frm->actItem9Click();
  EXPECT_EQ(Line(), "x %%USER%%");
  frm->actItem9Click();
  EXPECT_EQ(Line(), "x %%u");
}

TEST_F(CompletionListTest, AfterATagOrAnAttributesQuoteTheTokenStartsAtThePercentSigns) {
  Keys("<td>%%");
  ASSERT_TRUE(WaitOpen());
  EXPECT_EQ(Cps().Form().TypedPrefix(), "%%");
  EXPECT_EQ(Cps().Form().FilteredCount(), 3);
  Keys("la<");
  EXPECT_EQ(Line(), "<td>%%LANG123%%<");
  EXPECT_FALSE(Cps().Visible());

  Key(Qt::Key_Return);
  Keys("<a href=\"%%");
  ASSERT_TRUE(WaitOpen());
  EXPECT_EQ(Cps().Form().TypedPrefix(), "%%");
  Keys("us\"");
  EXPECT_EQ(Line(), "<a href=\"%%USER%%\"");
  EXPECT_FALSE(Cps().Visible());
}

TEST_F(CompletionListTest, EscapeTabAndCharactersOutsideTheListClose) {
  OpenList();
  Key(Qt::Key_Escape);
  EXPECT_FALSE(Cps().Visible());
  EXPECT_EQ(Line(), "x %%");
  EXPECT_EQ(QApplication::focusWidget(), Editor());

  frm->editor->SetText("");
  OpenList();
  Key(Qt::Key_Tab);
  EXPECT_FALSE(Cps().Visible());
  EXPECT_EQ(Line(), "x %%\t");
  EXPECT_EQ(QApplication::focusWidget(), Editor());

  frm->editor->SetText("");
  OpenList();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Adiaeresis, Qt::NoModifier, QString::fromUtf8("ä"));
  QApplication::sendEvent(KeyTarget(), &press);
  EXPECT_FALSE(Cps().Visible());
  EXPECT_EQ(Line(), "x %%\xE4");
}

TEST_F(CompletionListTest, OneSignOpensNothingAndCtrlSpaceLooksTwoCharactersBack) {
  Keys("a %");
  QTest::qWait(30);
  EXPECT_FALSE(Cps().Visible());
  // Ctrl+Space at the start of a line, and with "%" only one character back, opens nothing
  // and types nothing.
  frm->editor->SetText("");
  Key(Qt::Key_Space, Qt::ControlModifier);
  EXPECT_FALSE(Cps().Visible());
  Keys("%");
  Key(Qt::Key_Space, Qt::ControlModifier);
  QTest::qWait(30);
  EXPECT_FALSE(Cps().Visible());
  EXPECT_EQ(Line(), "%");
  // With "%" two characters back it opens, for the token "%U".
  Keys("U");
  Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_TRUE(Cps().Visible());
  EXPECT_EQ(Line(), "%U");
  EXPECT_EQ(Cps().Form().TypedPrefix(), "%U");
  EXPECT_EQ(Cps().Form().FilteredCount(), 0); // no entry starts with "%U"
  Key(Qt::Key_Escape);
  Keys("z");
  EXPECT_EQ(Line(), "%Uz");
}

TEST_F(CompletionListTest, OpeningATemplateOrAPackClosesTheList) {
  OpenList();
  dialogs.Answers = {TModalResult::mrNo};
  OpenTemplate("main.css");
  EXPECT_FALSE(Cps().Visible());
  EXPECT_EQ(frm->editor->Text(), "body {\r\n\tcolor: red;\r\n}");

  frm->editor->SetText("");
  OpenList();
  frm->OpenPack(demoPack);
  EXPECT_FALSE(Cps().Visible());
  EXPECT_EQ(frm->editor->Text(), "");
}

TEST_F(CompletionListTest, TheStoredFormConfiguresTheList) {
  const TKzCompletionProposal &cps = Cps();
  EXPECT_EQ(cps.Options(),
            (TKzCompletionOptions{scoAnsiStrings, scoLimitToMatchedText, scoUseInsertList,
                                  scoUsePrettyText, scoUseBuiltInTimer, scoEndCharCompletion}));
  EXPECT_EQ(cps.EndOfTokenChr, "()[] <>\"'=;{}");
  EXPECT_EQ(cps.TriggerChars, "%");
  EXPECT_EQ(cps.Title(), "Variablen");
  EXPECT_EQ(cps.TitleFont().Style, kzp::fsBold);
  ASSERT_EQ(cps.Columns().Count(), 2);
  EXPECT_EQ(cps.Columns()[1].DefaultFontStyle, kzp::fsBold);
  EXPECT_EQ(cps.TimerInterval(), 1);
  EXPECT_EQ(cps.Editor(), &static_cast<TKzEdit *>(Editor())->Editor());
  EXPECT_EQ(cps.InsertList().size(), 3u);
}
