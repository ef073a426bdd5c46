// Undo and redo: steps, grouping, the redo history, bracketed pastes, limits, the save point,
// and the caret and selection each step leaves.
#include "EditFixture.h"

TEST_F(EditFixture, TypedRunIsOneStepUnlessTheCaretMovesBetween) {
  Ed->SetText("");
  Type("abc");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "");
  EXPECT_FALSE(Ed->UndoAvailable());
  Type("ab");
  Key(VK_LEFT);
  Key(VK_RIGHT);
  Type("cd");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "ab");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "");
}

TEST_F(EditFixture, WithoutGroupUndoEveryCharacterIsAStep) {
  Ed->SetOptions(Ed->Options() - TKzEditorOptions{eoGroupUndo});
  Type("abc");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "ab");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "a");
}

TEST_F(EditFixture, NewEditAfterUndoDiscardsRedoButUndoRedoKeepsIt) {
  Type("abc");
  Ed->Undo();
  EXPECT_TRUE(Ed->RedoAvailable());
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "abc");
  EXPECT_FALSE(Ed->RedoAvailable());
  Ed->Undo();
  Type("x");
  EXPECT_FALSE(Ed->RedoAvailable());
  EXPECT_EQ(Ed->Text(), "x");
}

TEST_F(EditFixture, UndoAndRedoRestoreCaretAndSelectionOfEachStep) {
  Ed->SetText("abcdef");
  Select(P(2, 1), P(5, 1));
  Key(VK_DELETE);
  EXPECT_EQ(Ed->Text(), "aef");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abcdef");
  EXPECT_EQ(Ed->SelectedText(), "bcd");
  EXPECT_EQ(Ed->CaretXY(), P(5, 1));
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "aef");
  EXPECT_EQ(Ed->CaretXY(), P(2, 1));
  Ed->Undo();
  Select(P(5, 1), P(2, 1)); // backwards: undo puts the caret at the front again
  Key(VK_BACK);
  Ed->Undo();
  EXPECT_EQ(Ed->SelectedText(), "bcd");
  EXPECT_EQ(Ed->CaretXY(), P(2, 1));
}

TEST_F(EditFixture, EveryRecordedReasonRoundTrips) {
  // Each edit is undone to the text before it and redone to the text after it.
  struct TCase {
    const char *Name;
    std::string Before;
    std::function<void()> Edit;
  };
  std::vector<TCase> cases = {
      {"type", "ab",
       [&] {
         Caret(2, 1);
         Type("xy");
       }},
      {"pad", "ab",
       [&] {
         Caret(6, 1);
         Type("z");
       }},
      {"break", "abcd",
       [&] {
         Caret(3, 1);
         Key(VK_RETURN);
       }},
      {"backspace join", "ab\r\ncd",
       [&] {
         Caret(1, 2);
         Key(VK_BACK);
       }},
      {"delete", "abcd",
       [&] {
         Caret(2, 1);
         Key(VK_DELETE);
       }},
      {"delete join", "ab\r\ncd",
       [&] {
         Caret(3, 1);
         Key(VK_DELETE);
       }},
      {"selection", "abcd\r\nefgh",
       [&] {
         Select(P(2, 1), P(3, 2));
         Type("Q");
       }},
      {"tab", "ab\r\ncd",
       [&] {
         Caret(2, 2);
         Key(VK_TAB);
         Type("t");
       }},
      {"shift tab", "          x",
       [&] {
         Caret(11, 1);
         Key(VK_TAB, ssShift);
       }},
      {"indent", "a\r\nb",
       [&] {
         Select(P(1, 1), P(2, 2));
         Key('I', ssCtrl | ssShift);
       }},
      {"unindent", "\ta\r\n  b",
       [&] {
         Select(P(1, 1), P(2, 2));
         Key('U', ssCtrl | ssShift);
       }},
      {"delete line", "a\r\nb\r\nc",
       [&] {
         Caret(1, 2);
         Key('Y', ssCtrl);
       }},
      {"delete last word", "ab cd",
       [&] {
         Caret(6, 1);
         Key(VK_BACK, ssCtrl);
       }},
      {"case", "abc def",
       [&] {
         Caret(6, 1);
         Cmd(ecUpperCase);
       }},
      {"column", "abcd\r\nefgh",
       [&] {
         Ed->SetSelectionMode(smColumn);
         Select(P(2, 1), P(4, 2));
         Ed->SetSelectedText("");
       }},
  };
  for (TCase &c : cases) {
    SCOPED_TRACE(c.Name);
    Ed->SetText(c.Before);
    Ed->SetSelectionMode(smNormal);
    c.Edit();
    std::string after = Ed->Text();
    ASSERT_NE(after, c.Before);
    while (Ed->UndoAvailable())
      Ed->Undo();
    EXPECT_EQ(Ed->Text(), c.Before);
    while (Ed->RedoAvailable())
      Ed->Redo();
    EXPECT_EQ(Ed->Text(), after);
  }
}

TEST_F(EditFixture, OnChangeFiresOncePerRecordedStepAndPerMovedItem) {
  int changes = 0;
  Ed->OnChange = [&](TCustomKzEdit &) { ++changes; };
  Type("ab");
  EXPECT_EQ(changes, 2);
  Caret(5, 1);
  changes = 0;
  Type("c"); // padding and insertion in one block: one change
  EXPECT_EQ(changes, 1);
  changes = 0;
  Ed->Undo(); // two items move to the redo list
  EXPECT_EQ(changes, 2);
}

TEST_F(EditFixture, MaxUndoLimitsTheHistory) {
  Ed->SetOptions(Ed->Options() - TKzEditorOptions{eoGroupUndo});
  Type("abcde");
  EXPECT_EQ(Ed->UndoList().ItemCount(), 5);
  Ed->SetMaxUndo(2);
  EXPECT_EQ(Ed->UndoList().ItemCount(), 2);
  EXPECT_EQ(Ed->RedoList().MaxUndo(), 2);
  Ed->Undo();
  Ed->Undo();
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abc");
  Ed->SetMaxUndo(-5); // ignored
  EXPECT_EQ(Ed->MaxUndo(), 2);
  Ed->SetMaxUndo(0);
  Type("x");
  EXPECT_FALSE(Ed->UndoAvailable());
}

TEST_F(EditFixture, ReadOnlyStopsUndoAndRedo) {
  Type("ab");
  Ed->Undo();
  Type("c");
  Ed->SetReadOnly(true);
  EXPECT_FALSE(Ed->UndoAvailable());
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "c");
  Ed->SetReadOnly(false);
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "");
}

TEST_F(EditFixture, TextModifiedFollowsTheSavePoint) {
  TKzStatusChanges seen;
  Ed->OnStatusChange = [&](TCustomKzEdit &, TKzStatusChanges s) { seen |= s; };
  Type("a");
  EXPECT_TRUE(Ed->TextModified());
  EXPECT_TRUE(seen.Contains(scModified));
  Ed->Undo();
  EXPECT_FALSE(Ed->TextModified());
  Type("ab");
  Ed->SetTextModified(false); // saved here
  Type("c");
  EXPECT_TRUE(Ed->TextModified());
  Ed->Undo(); // the group break of the save point keeps "c" apart
  EXPECT_EQ(Ed->Text(), "ab");
  EXPECT_FALSE(Ed->TextModified());
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "");
  EXPECT_TRUE(Ed->TextModified());
  Ed->Redo();
  EXPECT_FALSE(Ed->TextModified());
}

TEST_F(EditFixture, ExplicitUndoBlocksAndUnknownBracketsGroupTheirItems) {
  Ed->OpenUndoBlock();
  Type("ab");
  Key(VK_RETURN);
  Type("c");
  Ed->CloseUndoBlock();
  EXPECT_EQ(Ed->Text(), "ab\r\nc");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "ab\r\nc");
  // A bracket pair recorded by a caller spans several steps and undoes as one.
  Ed->UndoList().PushChange(TKzChangeReason::BracketABegin, P(1, 1), P(1, 1), "", smNormal);
  Key(VK_END);
  Type("x");
  Key(VK_HOME);
  Type("y");
  Ed->UndoList().PushChange(TKzChangeReason::BracketAEnd, P(1, 1), P(1, 1), "", smNormal);
  EXPECT_EQ(Ed->Text(), "ab\r\nycx");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "ab\r\nc");
}

TEST_F(EditFixture, RedoneStepsUndoAgainAsOneStep) {
  // Return over a selection records a deletion and a break in one step; after undo and redo
  // the two must still come back together.
  Ed->SetText("abcdef");
  Select(P(2, 1), P(4, 1));
  Key(VK_RETURN);
  EXPECT_EQ(Ed->Text(), "a\r\ndef");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abcdef");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "a\r\ndef");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abcdef");
  EXPECT_FALSE(Ed->UndoAvailable());
  const TKzEditUndoItem *top = Ed->RedoList().PeekItem();
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(Ed->RedoList().ItemCount(), 2);
}
