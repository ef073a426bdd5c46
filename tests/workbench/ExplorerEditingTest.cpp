// The reference views' navigation guard and the editing commands: "kzp:" links, refused
// addresses, the format commands, clipboard, delete, undo and redo with their buttons.
#include "WorkbenchFixture.h"

#include "workbench/HtmlView.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace fs = std::filesystem;

namespace {
// The centre of the first link in `view` whose href is `href`, in viewport coordinates.
QPoint LinkPosition(THtmlView &view, const QString &href) {
  for (QTextBlock b = view.document()->begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (f.charFormat().anchorHref() == href) {
        QTextCursor c(view.document());
        c.setPosition(f.position() + 1);
        return view.cursorRect(c).center();
      }
    }
  }
  ADD_FAILURE() << "no link " << href.toStdString();
  return {};
}
} // namespace

class ExplorerEditingTest : public WorkbenchTest {
protected:
  void SetUp() override {
    WorkbenchTest::SetUp();
    StartWithPack(demoPack);
    OpenTemplate("index.htm");
    varMain = QString::fromStdString(programDir + "varLib/var_main.htm");
    lang = QString::fromStdString(programDir + "varLib/lang.htm");
  }
  QString varMain, lang;
};

TEST_F(ExplorerEditingTest, KzpLinkClickInsertsItsTextAsWrittenAtTheCaret) {
  frm->editor->SetText("ab");
  frm->editor->SetCaret(2, 1);
  frm->htmVar->resize(600, 300);
  frm->htmVar->Navigate(varMain);
  const QPoint at = LinkPosition(*frm->htmVar, QStringLiteral("kzp:%%USER%%"));
  QTest::mouseClick(frm->htmVar->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(frm->editor->Text(), "a%%USER%%b");
  EXPECT_EQ(frm->htmVar->CurrentPath(), varMain) << "the view stays on its page";
  EXPECT_TRUE(ThePackStore().Modified);
}

TEST_F(ExplorerEditingTest, KzpAddressReplacesTheSelectionAndEscapesStayUndecoded) {
  frm->editor->SetText("eins zwei");
  frm->editor->SetSelection(6, 1, 10, 1);
  frm->htmLang->Navigate(QStringLiteral("kzp:%41%%LANG1%%"));
  EXPECT_EQ(frm->editor->Text(), "eins %41%%LANG1%%");
  EXPECT_EQ(frm->htmLang->CurrentPath(), lang);
  // Only the exact lower-case prefix is a text link; anything else is an address.
  frm->htmLang->Navigate(QStringLiteral("KZP:x"));
  EXPECT_EQ(frm->editor->Text(), "eins %41%%LANG1%%");
}

TEST_F(ExplorerEditingTest, KzpLinkActivatedFromTheKeyboardInsertsItsRawHref) {
  WriteFile(
      programDir + "varLib/keys.htm",
      "<html><body><a href=\"kzp:%41%20B\">eins</a> <a href=\"kzp:zwei\">zwei</a></body></html>");
  frm->editor->SetText("");
  frm->htmVar->resize(600, 300);
  frm->htmVar->Navigate(QString::fromStdString(programDir + "varLib/keys.htm"));
  frm->htmVar->setFocus();
  // A press on the second link that ends off it clicks nothing; its href must not stick.
  const QPoint second = LinkPosition(*frm->htmVar, QStringLiteral("kzp:zwei"));
  QTest::mousePress(frm->htmVar->viewport(), Qt::LeftButton, {}, second);
  QTest::mouseRelease(frm->htmVar->viewport(), Qt::LeftButton, {}, QPoint(590, 290));
  EXPECT_EQ(frm->editor->Text(), "");

  QTextCursor first(frm->htmVar->document());
  first.setPosition(0);
  first.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, 4);
  frm->htmVar->setTextCursor(first);
  ASSERT_EQ(frm->htmVar->FocusedHref(), QStringLiteral("kzp:%41%20B"));
  QTest::keyClick(frm->htmVar, Qt::Key_Return);
  EXPECT_EQ(frm->editor->Text(), "%41%20B") << "the escapes go in undecoded";
}

TEST_F(ExplorerEditingTest, LinksToPagesBesideTheProgramAreFollowed) {
  EXPECT_EQ(frm->htmVar->AddressOfLink(QStringLiteral("main.htm")).toStdString(),
            programDir + "varLib/main.htm");
  frm->htmVar->resize(600, 300);
  frm->htmVar->Navigate(varMain);
  const QPoint at = LinkPosition(*frm->htmVar, QStringLiteral("main.htm"));
  QTest::mouseClick(frm->htmVar->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(frm->htmVar->CurrentPath().toStdString(), programDir + "varLib/main.htm");
  EXPECT_NE(frm->htmVar->toPlainText().indexOf(QStringLiteral("main.css")), -1);
}

TEST_F(ExplorerEditingTest, RefusedAddressesSendTheVariableViewHome) {
  frm->htmVar->Navigate(QString::fromStdString(programDir + "varLib/main.htm"));
  frm->htmVar->Navigate(QStringLiteral("http://www.example.com/"));
  EXPECT_EQ(frm->htmVar->CurrentPath(), varMain);

  // A refusal in the language view resets the variable view too; the language view stays.
  frm->htmVar->Navigate(QString::fromStdString(programDir + "varLib/main.htm"));
  frm->htmLang->Navigate(QString::fromStdString(programDir + "varLib/fehlt.htm"));
  EXPECT_EQ(frm->htmLang->CurrentPath(), lang);
  EXPECT_EQ(frm->htmVar->CurrentPath(), varMain);

  // A folder is no page.
  frm->htmVar->Navigate(QString::fromStdString(programDir + "varLib/main.htm"));
  frm->htmLang->Navigate(QString::fromStdString(programDir + "varLib"));
  EXPECT_EQ(frm->htmVar->CurrentPath(), varMain);
}

TEST_F(ExplorerEditingTest, AMissingStartPageEndsTheRedirectInsteadOfLooping) {
  int asked = 0;
  auto guard = frm->htmVar->OnBeforeNavigate;
  frm->htmVar->OnBeforeNavigate = [&](THtmlView &v, const QString &a, bool &cancel) {
    ++asked;
    guard(v, a, cancel);
  };
  fs::remove(varMain.toStdString());
  const QString before = frm->htmVar->CurrentPath();
  frm->htmVar->Navigate(QStringLiteral("http://www.example.com/"));
  EXPECT_EQ(asked, 2) << "the refused address, then the missing start page, then stop";
  EXPECT_EQ(frm->htmVar->CurrentPath(), before) << "unchanged: nothing was loaded";
}

TEST_F(ExplorerEditingTest, FormatCommandsWrapTheSelection) {
  const std::vector<std::pair<QAction *, std::pair<std::string, std::string>>> commands = {
      {frm->actItem11, {"<b>", "</b>"}},
      {frm->actItem12, {"<i>", "</i>"}},
      {frm->actItem13, {"<u>", "</u>"}},
      {frm->actItem14, {"<div style=\"text-align:left;\">", "</div>"}},
      {frm->actItem15, {"<div style=\"text-align:center;\">", "</div>"}},
      {frm->actItem16, {"<div style=\"text-align:right;\">", "</div>"}},
      {frm->actItem17, {"<div style=\"text-align:justify;\">", "</div>"}},
  };
  for (const auto &[action, tags] : commands) {
    SCOPED_TRACE(action->text().toStdString());
    frm->editor->SetText("ein Wort hier");
    frm->editor->SetSelection(5, 1, 9, 1);
    action->trigger();
    EXPECT_EQ(frm->editor->Text(), "ein " + tags.first + "Wort" + tags.second + " hier");
    // Without a selection both texts go in side by side at the caret.
    frm->editor->SetText("xy");
    frm->editor->SetCaret(2, 1);
    action->trigger();
    EXPECT_EQ(frm->editor->Text(), "x" + tags.first + tags.second + "y");
  }
}

TEST_F(ExplorerEditingTest, ClipboardAndDeleteCommands) {
  frm->editor->SetText("abc-def");
  frm->editor->SetSelection(1, 1, 4, 1);
  frm->actItem3->trigger();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "abc");
  EXPECT_EQ(frm->editor->Text(), "abc-def");
  frm->editor->SetSelection(5, 1, 8, 1);
  frm->actItem5->trigger();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "def");
  EXPECT_EQ(frm->editor->Text(), "abc-");
  frm->editor->SetCaret(1, 1);
  frm->actItem4->trigger();
  EXPECT_EQ(frm->editor->Text(), "defabc-");
  frm->editor->SetSelection(4, 1, 7, 1);
  frm->actItem6->trigger();
  EXPECT_EQ(frm->editor->Text(), "def-");
}

TEST_F(ExplorerEditingTest, UndoAndRedoButtonsFollowTheEditorsLists) {
  EXPECT_FALSE(frm->actItem9->isEnabled());
  EXPECT_FALSE(frm->actItem10->isEnabled());
  Type(QStringLiteral("x"));
  EXPECT_EQ(frm->editor->Text(), "x<p>Hallo</p>");
  EXPECT_TRUE(frm->actItem9->isEnabled());
  EXPECT_FALSE(frm->actItem10->isEnabled());
  for (int i = 0; i < 10 && frm->actItem9->isEnabled(); ++i)
    frm->actItem9->trigger();
  EXPECT_FALSE(frm->actItem9->isEnabled()) << "everything undone";
  EXPECT_TRUE(frm->actItem10->isEnabled());
  EXPECT_EQ(frm->editor->Text(), "<p>Hallo</p>");
  frm->actItem10->trigger();
  EXPECT_EQ(frm->editor->Text(), "x<p>Hallo</p>");
  EXPECT_TRUE(frm->actItem9->isEnabled());
  // Opening a template starts a fresh history, and the buttons say so.
  dialogs.Answers = {TModalResult::mrNo};
  OpenTemplate("main.css");
  EXPECT_EQ(frm->editor->Text(), "body {\r\n\tcolor: red;\r\n}");
  EXPECT_FALSE(frm->actItem9->isEnabled());
  EXPECT_FALSE(frm->actItem10->isEnabled());
}

TEST_F(ExplorerEditingTest, EveryCharacterKeySetsModifiedEvenWithoutAChange) {
  EXPECT_FALSE(ThePackStore().Modified);
  QTest::keyClick(frm->editor->Widget(), Qt::Key_Escape);
  EXPECT_EQ(frm->editor->Text(), "<p>Hallo</p>");
  EXPECT_TRUE(ThePackStore().Modified);
  // Cursor keys are no characters.
  ThePackStore().Modified = false;
  QTest::keyClick(frm->editor->Widget(), Qt::Key_Right);
  EXPECT_FALSE(ThePackStore().Modified);
}
