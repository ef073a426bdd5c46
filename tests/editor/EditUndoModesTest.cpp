// Undo of edits made while the line or column selection mode is in force, and of pastes that
// replace a selection in another mode: each must give back exactly the text before it.
#include "EditFixture.h"

namespace {

const char *ModeName(TKzSelectionMode m) {
  return m == smNormal ? "normal" : m == smLine ? "line" : "column";
}

} // namespace

TEST_F(EditFixture, EditsInEveryModeUndoToTheTextBeforeAndRedoToTheTextAfter) {
  struct TCase {
    const char *Name;
    std::function<void()> Edit;
  };
  const std::string before = "aaa\r\nbbb\r\nccc";
  std::vector<TCase> cases = {
      {"type over a selection",
       [&] {
         Select(P(2, 1), P(3, 2));
         Type("x");
       }},
      {"type without a selection",
       [&] {
         Caret(2, 2);
         Type("x");
       }},
      {"set selected text",
       [&] {
         Select(P(2, 1), P(3, 2));
         Ed->SetSelectedText("Q");
       }},
      {"set selected text without selection",
       [&] {
         Caret(2, 2);
         Ed->SetSelectedText("Q");
       }},
      {"set two lines",
       [&] {
         Caret(2, 2);
         Ed->SetSelectedText("x\r\ny\r\n");
       }},
      {"tab",
       [&] {
         Caret(2, 2);
         Key(VK_TAB);
       }},
      {"tab over a selection",
       [&] {
         Select(P(2, 1), P(3, 2));
         Key(VK_TAB);
       }},
      {"return over a selection",
       [&] {
         Select(P(2, 1), P(3, 2));
         Key(VK_RETURN);
       }},
      {"block case",
       [&] {
         Select(P(1, 1), P(3, 2));
         Cmd(ecUpperCaseBlock);
       }},
      {"ime string",
       [&] {
         Caret(2, 2);
         Ed->ImeResult("zz");
       }},
  };
  for (TKzSelectionMode mode : {smNormal, smLine, smColumn})
    for (TCase &c : cases) {
      SCOPED_TRACE(std::string(ModeName(mode)) + ": " + c.Name);
      Ed->SetText(before);
      Ed->SetSelectionMode(mode);
      c.Edit();
      const std::string after = Ed->Text();
      ASSERT_NE(after, before);
      while (Ed->UndoAvailable())
        Ed->Undo();
      EXPECT_EQ(Ed->Text(), before);
      while (Ed->RedoAvailable())
        Ed->Redo();
      EXPECT_EQ(Ed->Text(), after);
    }
}

TEST_F(EditFixture, TypingOverALineSelectionKeepsTheFollowingLineThroughUndo) {
  Ed->SetText("aaa\r\nbbb\r\nccc");
  Ed->SetSelectionMode(smLine);
  Select(P(1, 1), P(2, 1));
  Type("x");
  EXPECT_EQ(Ed->Text(), "xbbb\r\nccc");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "aaa\r\nbbb\r\nccc");
  EXPECT_FALSE(Ed->UndoAvailable());
}

TEST_F(EditFixture, TabInColumnModeIsUndoneLikeAnyOtherTab) {
  Ed->SetText("ab");
  Ed->SetSelectionMode(smColumn);
  Caret(2, 1);
  Key(VK_TAB);
  EXPECT_EQ(Ed->Text(), "a       b");
  EXPECT_EQ(Ed->CaretXY(), P(9, 1));
  ASSERT_TRUE(Ed->UndoAvailable());
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "ab");
}

TEST_F(EditFixture, PasteOfABlockInAnotherModeGivesTheReplacedSelectionBack) {
  // Lines copied in line mode, pasted over part of one line in normal mode, and the reverse.
  Ed->SetText("1111\r\n2222\r\nabcd");
  Ed->SetSelectionMode(smLine);
  Select(P(1, 1), P(2, 1));
  Cmd(ecCopy);
  Ed->SetSelectionMode(smNormal);
  Select(P(2, 3), P(4, 3));
  Cmd(ecPaste);
  EXPECT_EQ(Ed->Text(), "1111\r\n2222\r\n1111\r\nad");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "1111\r\n2222\r\nabcd");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "1111\r\n2222\r\n1111\r\nad");
  Ed->Undo();

  Select(P(2, 3), P(4, 3));
  Cmd(ecCopy); // "bc" in normal mode
  Ed->SetSelectionMode(smLine);
  Select(P(1, 1), P(2, 2));
  Cmd(ecPaste);
  EXPECT_EQ(Ed->Text(), "bcabcd");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "1111\r\n2222\r\nabcd");
}

TEST_F(EditFixture, LinesPastedIntoAnEmptyTextKeepTheirLastBreakAndUndoToNothing) {
  Ed->SetText("a\r\nb\r\nc");
  Ed->SetSelectionMode(smLine);
  Select(P(1, 1), P(1, 2));
  ASSERT_EQ(Ed->SelectedText(), "a\r\nb\r\n");
  Cmd(ecCopy);
  Ed->SetText("");
  Cmd(ecPaste);
  EXPECT_EQ(Ed->Text(), "a\r\nb\r\n");
  EXPECT_EQ(Ed->CaretXY(), P(1, 3));
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "a\r\nb\r\n");
}

TEST_F(EditFixture, CutOfABackwardSelectionUndoesWithTheCaretWhereItWas) {
  Ed->SetText("abcdef");
  Select(P(5, 1), P(2, 1));
  Cmd(ecCut);
  EXPECT_EQ(Ed->Text(), "aef");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abcdef");
  EXPECT_EQ(Ed->CaretXY(), P(2, 1));
  EXPECT_EQ(Ed->SelectionAnchor(), P(5, 1));
  EXPECT_EQ(Ed->SelectionEnd(), P(2, 1));
}

TEST_F(EditFixture, AClickBetweenTwoTypedRunsMakesTwoUndoSteps) {
  Ed->SetText("0123456789");
  Caret(3, 1);
  Type("ab");
  Ed->MouseDown(mbLeft, ssLeft, X(10), Y(1));
  Ed->MouseUp(mbLeft, 0, X(10), Y(1));
  Type("cd");
  EXPECT_EQ(Ed->Text(), "01ab23456cd789");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "01ab23456789");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "0123456789");
}

TEST_F(EditFixture, JoinsOntoALineLongerThanTheScrollWidthUndoInTheRightPlace) {
  const std::string longLine(Ed->MaxScrollWidth() + 500, 'a');
  const std::string text = longLine + "\r\nbc\r\n" + longLine;
  Ed->SetText(text);
  Caret(1, 2);
  Key(VK_BACK); // joins "bc" to the end of the long line, beyond the caret's reach
  EXPECT_EQ(Ed->Lines().GetLine(0), longLine + "bc");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), text);
  Caret(1, 3);
  Key('Y', ssCtrl); // the last line goes with the break behind the long line before it
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), text);
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), longLine + "\r\nbc");
}

TEST_F(EditFixture, RectanglesWhoseLeftEdgeCutsThroughATabUndoToTheSameBytes) {
  // The edge at display column 3 lies inside the tab of the first line: deleting takes the
  // whole tab there, and undo must put it back in front of "abc", not where column 3 is now.
  const std::string text = "\tabc\r\n        xyz";
  Ed->SetText(text);
  Ed->SetSelectionMode(smColumn);
  Select(P(3, 2), P(4, 1));
  Key(VK_DELETE);
  EXPECT_EQ(Ed->Text(), "c\r\n  z");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), text);
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "c\r\n  z");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), text);

  // Unindenting the same rectangle takes the tab from the first line and the blanks from
  // column 3 on from the second.
  Ed->SetText(text);
  Select(P(3, 2), P(4, 1));
  Cmd(ecBlockUnindent);
  EXPECT_EQ(Ed->Text(), "abc\r\n  xyz");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), text);
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "abc\r\n  xyz");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), text);
  Ed->SetSelectionMode(smNormal);
}
