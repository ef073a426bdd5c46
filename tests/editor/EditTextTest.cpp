// Whole text, selected text in the three modes, and inserting and deleting text.
#include "EditFixture.h"

TEST_F(EditFixture, TextJoinsLinesWithoutFinalBreakAndSettingItRecordsNothing) {
  int changes = 0;
  Ed->OnChange = [&](TCustomKzEdit &) { ++changes; };
  EXPECT_EQ(Ed->Text(), "");
  Ed->SetText("a\r\nb");
  EXPECT_EQ(Ed->Lines().Count(), 2);
  EXPECT_EQ(Ed->Text(), "a\r\nb");
  Ed->SetText("x\ny\rz\r\n");
  EXPECT_EQ(Ed->Text(), "x\r\ny\r\nz");
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(Ed->UndoAvailable());
}

TEST_F(EditFixture, SettingTextOfFilledBufferClearsUndoAndResetsCaretAndSelection) {
  Ed->SetText("abc\r\ndef");
  Caret(3, 2);
  Type("x");
  ASSERT_TRUE(Ed->UndoAvailable());
  TKzStatusChanges seen;
  Ed->OnStatusChange = [&](TCustomKzEdit &, TKzStatusChanges s) { seen |= s; };
  Ed->SetText("new");
  EXPECT_FALSE(Ed->UndoAvailable());
  EXPECT_FALSE(Ed->RedoAvailable());
  EXPECT_EQ(Ed->CaretXY(), P(1, 1));
  EXPECT_EQ(Ed->SelectionAnchor(), P(1, 1));
  EXPECT_TRUE(seen.Contains(scAll));
}

TEST_F(EditFixture, SelectedTextInNormalMode) {
  Ed->SetText("abcd\r\nefgh\r\nijkl");
  Select(P(3, 1), P(2, 2));
  EXPECT_EQ(Ed->SelectedText(), "cd\r\ne");
  Select(P(2, 3), P(2, 1)); // made backwards
  EXPECT_EQ(Ed->SelectedText(), "bcd\r\nefgh\r\ni");
  Select(P(2, 1), P(4, 1));
  EXPECT_EQ(Ed->SelectedText(), "bc");
  Select(P(2, 1), P(2, 1));
  EXPECT_FALSE(Ed->SelectionAvailable());
  EXPECT_EQ(Ed->SelectedText(), "");
}

TEST_F(EditFixture, SelectedTextInLineModeEndsWithBreakOnlyBeforeLastLine) {
  Ed->SetText("one\r\ntwo\r\nthree");
  Ed->SetSelectionMode(smLine);
  Select(P(1, 2), P(2, 3));
  EXPECT_EQ(Ed->SelectedText(), "two\r\nthree");
  Select(P(1, 1), P(1, 2));
  EXPECT_EQ(Ed->SelectedText(), "one\r\ntwo\r\n");
}

TEST_F(EditFixture, SelectedTextInColumnModeUsesDisplayColumnsAndPads) {
  Ed->SetText("abcdef\r\nab\r\n\tx");
  Ed->SetSelectionMode(smColumn);
  Select(P(2, 1), P(5, 2));
  // Line 2 is shorter than the rectangle; trimming (a default option) leaves it unpadded.
  EXPECT_EQ(Ed->SelectedText(), "bcd\r\nb");
  Ed->SetOptions(Ed->Options() - TKzEditorOptions{eoTrimTrailingSpaces});
  EXPECT_EQ(Ed->SelectedText(), "bcd\r\nb  ");
  // A zero-width rectangle over two lines is no selection.
  Select(P(3, 1), P(3, 2));
  EXPECT_FALSE(Ed->SelectionAvailable());
  // The tab of line 3 covers display columns 1..8: column 9 is the "x".
  Select(P(1, 1), P(2, 3));
  EXPECT_EQ(Ed->SelectedText(), "abcdef  \r\nab      \r\n\t");
}

TEST_F(EditFixture, SelectionPointsAreClampedInNormalMode) {
  Ed->SetText("abc\r\nde");
  Ed->SetSelectionAnchor(P(10, 1));
  EXPECT_EQ(Ed->SelectionAnchor(), P(4, 1));
  Ed->SetSelectionEnd(P(0, 9));
  EXPECT_EQ(Ed->SelectionEnd(), P(1, 2));
  Ed->SetSelectionMode(smColumn);
  Ed->SetSelectionEnd(P(10, 2)); // a rectangle may reach beyond the line ends
  EXPECT_EQ(Ed->SelectionEnd(), P(10, 2));
}

TEST_F(EditFixture, CaretClampsToLineCountAndScrollWidth) {
  Ed->SetText("abc\r\nde");
  Ed->SetCaretXY(P(50, 7));
  EXPECT_EQ(Ed->CaretXY(), P(50, 2)); // beyond the line end is allowed by default
  Ed->SetCaretXY(P(5000, 1));
  EXPECT_EQ(Ed->CaretX(), 1025);
  Ed->SetOptions(Ed->Options() - TKzEditorOptions{eoScrollPastEol});
  EXPECT_EQ(Ed->CaretX(), 4); // dropping the option re-clamps the caret to the line
  Ed->SetCaretXY(P(0, 0));
  EXPECT_EQ(Ed->CaretXY(), P(1, 1));
}

TEST_F(EditFixture, SetSelectedTextIsOneUndoStepInEveryCase) {
  Ed->SetText("hello world");
  Select(P(1, 1), P(6, 1));
  int changes = 0;
  Ed->OnChange = [&](TCustomKzEdit &) { ++changes; };
  Ed->SetSelectedText("bye\r\nnew");
  EXPECT_EQ(Ed->Text(), "bye\r\nnew world");
  EXPECT_EQ(Ed->CaretXY(), P(4, 2));
  EXPECT_FALSE(Ed->SelectionAvailable());
  EXPECT_EQ(changes, 1);
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "hello world");
  EXPECT_EQ(Ed->SelectedText(), "hello");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "bye\r\nnew world");
}

TEST_F(EditFixture, SettingEmptySelectedTextWithoutSelectionRecordsZeroLengthInsert) {
  Ed->SetText("abc");
  Caret(2, 1);
  Ed->SetSelectedText("");
  EXPECT_EQ(Ed->Text(), "abc");
  ASSERT_EQ(Ed->UndoList().ItemCount(), 1);
  const TKzEditUndoItem &item = Ed->UndoList().Item(0);
  EXPECT_EQ(item.Reason, TKzChangeReason::InsertText);
  EXPECT_EQ(item.StartPos, P(2, 1));
  EXPECT_EQ(item.EndPos, P(2, 1));
}

TEST_F(EditFixture, InsertingInLineModePutsLinesBeforeCaretLineAndMovesBookmarks) {
  Ed->SetText("a\r\nb\r\nc");
  Ed->SetBookMark(3, 1, 2);
  Ed->SetBookMark(4, 1, 1);
  Ed->SetSelectionMode(smLine);
  Caret(1, 2);
  Ed->SetSelectedText("x\r\ny\r\nz");
  EXPECT_EQ(Ed->Text(), "a\r\nx\r\ny\r\nzb\r\nc");
  EXPECT_EQ(Ed->CaretXY(), P(2, 4));
  int x, y;
  ASSERT_TRUE(Ed->GetBookMark(3, x, y));
  EXPECT_EQ(y, 4);
  ASSERT_TRUE(Ed->GetBookMark(4, x, y));
  EXPECT_EQ(y, 1);
}

TEST_F(EditFixture, DeletingLineSelectionOnLastLineEmptiesInsteadOfRemoving) {
  Ed->SetText("a\r\nb\r\nc");
  Ed->SetSelectionMode(smLine);
  Select(P(1, 2), P(1, 3));
  Ed->SetSelectedText("");
  EXPECT_EQ(Ed->Lines().Count(), 2);
  EXPECT_EQ(Ed->Text(), "a\r\n");
  EXPECT_EQ(Ed->CaretXY(), P(1, 2));
  Select(P(1, 1), P(2, 1));
  Ed->SetSelectedText("");
  EXPECT_EQ(Ed->Lines().Count(), 1);
  EXPECT_EQ(Ed->Text(), "");
}

TEST_F(EditFixture, ColumnInsertionPadsShortLinesAndAppendsMissingOnes) {
  Ed->SetText("abcdef\r\nab");
  Ed->SetSelectionMode(smColumn);
  Caret(5, 1);
  Ed->SetSelectedText("X\r\nY\r\nZ");
  EXPECT_EQ(Ed->Text(), "abcdXef\r\nab  Y\r\n    Z");
  EXPECT_EQ(Ed->CaretXY(), P(6, 3));
  // One undo step takes out the pieces and the appended line.
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abcdef\r\nab");
}

TEST_F(EditFixture, ColumnDeletionRemovesRectangleAndPutsCaretOnEndLine) {
  Ed->SetText("abcdef\r\nabcdef\r\nab");
  Ed->SetSelectionMode(smColumn);
  Select(P(2, 1), P(4, 3));
  Ed->SetSelectedText("");
  EXPECT_EQ(Ed->Text(), "adef\r\nadef\r\na");
  EXPECT_EQ(Ed->CaretXY(), P(2, 3));
}

TEST_F(EditFixture, ReadOnlyBlocksEveryTextChange) {
  Ed->SetText("abc");
  TKzStatusChanges seen;
  Ed->OnStatusChange = [&](TCustomKzEdit &, TKzStatusChanges s) { seen |= s; };
  Ed->SetReadOnly(true);
  EXPECT_TRUE(seen.Contains(scReadOnly));
  Caret(2, 1);
  Type("x");
  Cmd(ecLineBreak);
  Cmd(ecDeleteChar);
  Cmd(ecDeleteLastChar);
  Cmd(ecTab);
  Cmd(ecDeleteLine);
  Cmd(ecClearAll);
  Select(P(1, 1), P(3, 1));
  Ed->SetSelectedText("zz");
  Ed->CutSelection();
  Host.Clip.SetContents({{kzp::TClipboard::TextFormat, "q"}});
  Ed->PasteClipboard();
  EXPECT_EQ(Ed->Text(), "abc");
  EXPECT_FALSE(Ed->UndoAvailable());
  EXPECT_FALSE(Ed->PasteAvailable());
}

TEST_F(EditFixture, StatusChangesAreCollectedUnderThePaintLock) {
  Ed->SetText("abc\r\ndef");
  std::vector<TKzStatusChanges> events;
  Ed->OnStatusChange = [&](TCustomKzEdit &, TKzStatusChanges s) { events.push_back(s); };
  Ed->IncPaintLock();
  Ed->SetCaretXY(P(2, 2));
  Ed->SetInsertMode(false);
  EXPECT_TRUE(events.empty());
  Ed->DecPaintLock();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_TRUE(events[0].Contains(scCaretX));
  EXPECT_TRUE(events[0].Contains(scCaretY));
  EXPECT_TRUE(events[0].Contains(scInsertMode));
  EXPECT_FALSE(events[0].Contains(scSelection));
}

TEST_F(EditFixture, SelectAllAndClearAll) {
  Ed->SetText("ab\r\ncde");
  Ed->SelectAll();
  EXPECT_EQ(Ed->SelectionAnchor(), P(1, 1));
  EXPECT_EQ(Ed->SelectionEnd(), P(4, 2));
  EXPECT_EQ(Ed->CaretXY(), P(4, 2));
  Ed->SetBookMark(1, 1, 2);
  Type("x");
  Ed->ClearAll();
  EXPECT_EQ(Ed->Lines().Count(), 0);
  EXPECT_FALSE(Ed->IsBookmark(1));
  EXPECT_FALSE(Ed->UndoAvailable());
  EXPECT_FALSE(Ed->TextModified());
}
