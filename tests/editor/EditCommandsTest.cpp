// The editing commands: caret movement, typing, line breaks, deletion, tabs, blocks, case
// changes, brackets and bookmarks.
#include "EditFixture.h"

TEST_F(EditFixture, HorizontalMovesStopOrWrapDependingOnScrollPastEol) {
  Ed->SetText("ab\r\ncd");
  Caret(1, 2);
  Cmd(ecLeft);
  EXPECT_EQ(Ed->CaretXY(), P(1, 2));
  Caret(3, 1);
  Cmd(ecRight);
  EXPECT_EQ(Ed->CaretXY(), P(4, 1)); // beyond the end, no wrap
  Ed->SetOptions(Ed->Options() - TKzEditorOptions{eoScrollPastEol});
  Caret(3, 1);
  Cmd(ecRight);
  EXPECT_EQ(Ed->CaretXY(), P(1, 2));
  Cmd(ecLeft);
  EXPECT_EQ(Ed->CaretXY(), P(3, 1));
  Caret(3, 2);
  Cmd(ecRight); // the last line has no next line
  EXPECT_EQ(Ed->CaretXY(), P(3, 2));
}

TEST_F(EditFixture, VerticalMovesKeepTheDisplayColumnAcrossTabs) {
  Ed->SetText("abcdefghijk\r\n\tx\r\nab");
  Caret(10, 1);
  Cmd(ecDown);
  EXPECT_EQ(Ed->CaretXY(), P(3, 2)); // display column 10 is the cell after the x
  Cmd(ecDown);
  EXPECT_EQ(Ed->CaretXY(), P(10, 3)); // beyond the end of "ab"
  Cmd(ecDown);
  EXPECT_EQ(Ed->CaretXY(), P(10, 3));
  Cmd(ecUp);
  Cmd(ecUp);
  Cmd(ecUp);
  EXPECT_EQ(Ed->CaretXY(), P(10, 1));
}

TEST_F(EditFixture, WordMovesUseWordCharactersAndCrossLines) {
  Ed->SetText("foo, bar.baz\r\n  next");
  Caret(1, 1);
  Cmd(ecWordRight);
  EXPECT_EQ(Ed->CaretX(), 6);
  Cmd(ecWordRight);
  EXPECT_EQ(Ed->CaretX(), 10);
  Cmd(ecWordRight);
  EXPECT_EQ(Ed->CaretX(), 13);
  Cmd(ecWordRight);
  EXPECT_EQ(Ed->CaretXY(), P(3, 2));
  Cmd(ecWordLeft);
  EXPECT_EQ(Ed->CaretXY(), P(13, 1)); // no word before it: end of the previous line
  Cmd(ecWordLeft);
  EXPECT_EQ(Ed->CaretXY(), P(10, 1));
  Cmd(ecSelWordLeft);
  EXPECT_EQ(Ed->SelectedText(), "bar.");
}

TEST_F(EditFixture, SelectingMovesExtendFromTheAnchor) {
  Ed->SetText("abcdef\r\nxyz");
  Caret(3, 1);
  Cmd(ecSelRight);
  Cmd(ecSelRight);
  EXPECT_EQ(Ed->SelectionAnchor(), P(3, 1));
  EXPECT_EQ(Ed->SelectedText(), "cd");
  Cmd(ecSelDown);
  EXPECT_EQ(Ed->SelectedText(), "cdef\r\nxyz"); // the end is held at the short line's end
  Cmd(ecLineEnd);
  EXPECT_FALSE(Ed->SelectionAvailable());
  Ed->SetSelectionMode(smColumn);
  Caret(2, 1);
  Cmd(ecSelDown); // same column: pushed one right so the rectangle is not empty
  EXPECT_TRUE(Ed->SelectionAvailable());
  EXPECT_EQ(Ed->SelectedText(), "b\r\ny");
}

TEST_F(EditFixture, HomeEndAndEditorEnds) {
  Ed->SetText("   abc\r\nxy");
  Caret(5, 1);
  Cmd(ecLineStart);
  EXPECT_EQ(Ed->CaretX(), 1);
  Ed->SetOptions(Ed->Options() | TKzEditorOptions{eoEnhanceHomeKey});
  Caret(6, 1);
  Cmd(ecLineStart);
  EXPECT_EQ(Ed->CaretX(), 4);
  Cmd(ecLineStart);
  EXPECT_EQ(Ed->CaretX(), 1);
  Cmd(ecLineEnd);
  EXPECT_EQ(Ed->CaretX(), 7);
  Cmd(ecEditorBottom);
  EXPECT_EQ(Ed->CaretXY(), P(3, 2));
  Cmd(ecSelEditorTop);
  EXPECT_EQ(Ed->SelectedText(), "   abc\r\nxy");
  TBufferCoord target{2, 2};
  Cmd(ecGotoXY, '\0', &target);
  EXPECT_EQ(Ed->CaretXY(), P(2, 2));
  Cmd(ecGotoXY); // no data: nothing
  EXPECT_EQ(Ed->CaretXY(), P(2, 2));
}

TEST_F(EditFixture, PageDownMovesViewAndCaretByTheVisibleRows) {
  std::string text;
  for (int i = 1; i <= 40; ++i)
    text += "line" + std::to_string(i) + "\r\n";
  Ed->SetText(text);
  ASSERT_EQ(Ed->LinesInWindow(), 9);
  Caret(1, 2);
  Cmd(ecPageDown);
  EXPECT_EQ(Ed->TopLine(), 10);
  EXPECT_EQ(Ed->CaretY(), 11);
  Cmd(ecPageUp);
  EXPECT_EQ(Ed->TopLine(), 1);
  EXPECT_EQ(Ed->CaretY(), 2);
  Cmd(ecPageBottom);
  EXPECT_EQ(Ed->CaretY(), 9);
}

TEST_F(EditFixture, TypingPastTheLineEndPadsAndOneUndoTakesBoth) {
  Ed->SetText("abc");
  Caret(10, 1);
  Type("x");
  EXPECT_EQ(Ed->Text(), "abc      x");
  EXPECT_EQ(Ed->CaretX(), 11);
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abc");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "abc      x");
}

TEST_F(EditFixture, OverwriteReplacesAndUndoRestoresTheCharacter) {
  Ed->SetText("abcd");
  Caret(2, 1);
  Key(VK_INSERT);
  EXPECT_FALSE(Ed->InsertMode());
  Type("XY");
  EXPECT_EQ(Ed->Text(), "aXYd");
  Type("ZW");
  EXPECT_EQ(Ed->Text(), "aXYZW");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abcd");
  Ed->Redo(); // repeating takes out the restored characters again
  EXPECT_EQ(Ed->Text(), "aXYZW");
}

TEST_F(EditFixture, ControlCharactersAndInsertBeyondScrollWidthAreIgnored) {
  Ed->SetText("a");
  Caret(2, 1);
  Cmd(ecChar, '\x07');
  Cmd(ecChar, '\x7f');
  Caret(1025, 1);
  Cmd(ecChar, 'x');
  EXPECT_EQ(Ed->Text(), "a");
  Caret(1024, 1);
  Cmd(ecChar, 'x');
  EXPECT_EQ(Ed->Lines().LineLength(0), 1024);
}

TEST_F(EditFixture, ReturnKeepsTheIndentAndTrimsTheLineLeftBehind) {
  Ed->SetText("    abc  def");
  Caret(10, 1);
  Key(VK_RETURN);
  EXPECT_EQ(Ed->Text(), "    abc\r\n    def");
  EXPECT_EQ(Ed->CaretXY(), P(5, 2));
  const TKzEditUndoItem *item = Ed->UndoList().PeekItem();
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Reason, TKzChangeReason::BreakLine);
  EXPECT_EQ(item->StartPos, P(10, 1));
  EXPECT_EQ(item->ChangeText, "def");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "    abc  def"); // the trimmed blanks come back
  EXPECT_EQ(Ed->CaretXY(), P(10, 1));
}

TEST_F(EditFixture, ReturnAtLineStartEndAndOnEmptyLines) {
  Ed->SetText("  ab\r\n\r\ncd");
  Caret(5, 1);
  Key(VK_RETURN); // at the end: a copy of the leading blanks
  EXPECT_EQ(Ed->Text(), "  ab\r\n  \r\n\r\ncd");
  EXPECT_EQ(Ed->CaretXY(), P(3, 2));
  Caret(1, 3);
  Key(VK_RETURN); // an empty line: the caret goes to the indent of the line above
  EXPECT_EQ(Ed->Lines().Count(), 5);
  EXPECT_EQ(Ed->CaretXY(), P(3, 4));
  Caret(1, 5);
  Key(VK_RETURN); // column 1: an empty line above, caret stays in column 1
  EXPECT_EQ(Ed->Text(), "  ab\r\n  \r\n\r\n\r\n\r\ncd");
  EXPECT_EQ(Ed->CaretXY(), P(1, 6));
  Ed->Undo();
  Ed->Undo();
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "  ab\r\n\r\ncd");
}

TEST_F(EditFixture, InsertLineLeavesTheCaretWhereItWas) {
  Ed->SetText("abcd");
  Caret(3, 1);
  Key('N', ssCtrl);
  EXPECT_EQ(Ed->Text(), "ab\r\ncd");
  EXPECT_EQ(Ed->CaretXY(), P(3, 1));
}

TEST_F(EditFixture, BackspaceJoinsLinesAndRemovesIndentToTheLineAbove) {
  Ed->SetText("ab\r\ncd");
  Caret(1, 2);
  Key(VK_BACK);
  EXPECT_EQ(Ed->Text(), "abcd");
  EXPECT_EQ(Ed->CaretXY(), P(3, 1));
  Caret(1, 1);
  Key(VK_BACK);
  EXPECT_EQ(Ed->Text(), "abcd");
  Ed->SetText("  a\r\n      b");
  Caret(7, 2);
  Key(VK_BACK); // smart tab delete: back to the indent of the line above
  EXPECT_EQ(Ed->Text(), "  a\r\n  b");
  EXPECT_EQ(Ed->CaretXY(), P(3, 2));
  Caret(10, 2);
  Key(VK_BACK); // beyond the end: only the caret jumps to the end
  EXPECT_EQ(Ed->CaretXY(), P(4, 2));
  Ed->SetOptions(Ed->Options() - TKzEditorOptions{eoSmartTabDelete});
  Ed->SetText("a\r\n          b");
  Caret(11, 2);
  Key(VK_BACK); // back to the previous tab stop (column 9)
  EXPECT_EQ(Ed->Text(), "a\r\n        b");
}

TEST_F(EditFixture, DeleteJoinsPaddedLineAndWordAndLineDeletion) {
  Ed->SetText("ab\r\ncd");
  Caret(4, 1);
  Key(VK_DELETE);
  EXPECT_EQ(Ed->Text(), "ab cd");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "ab\r\ncd");
  Ed->SetText("foo bar baz");
  Caret(5, 1);
  Key('T', ssCtrl); // delete word
  EXPECT_EQ(Ed->Text(), "foo baz");
  Key(VK_BACK, ssCtrl); // delete last word
  EXPECT_EQ(Ed->Text(), "baz");
  Key('Y', ssCtrl | ssShift); // delete to the end of the line
  EXPECT_EQ(Ed->Text(), "");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "baz");
}

TEST_F(EditFixture, DeleteLineEmptiesTheOnlyLineAndUndoRestoresExactly) {
  Ed->SetText("one\r\ntwo\r\nthree");
  Caret(2, 3);
  Key('Y', ssCtrl);
  EXPECT_EQ(Ed->Text(), "one\r\ntwo");
  EXPECT_EQ(Ed->CaretXY(), P(1, 2));
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "one\r\ntwo\r\nthree");
  Caret(1, 1);
  Key('Y', ssCtrl);
  EXPECT_EQ(Ed->Text(), "two\r\nthree");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "one\r\ntwo\r\nthree");
  Ed->SetText("only");
  Key('Y', ssCtrl);
  EXPECT_EQ(Ed->Lines().Count(), 1);
  EXPECT_EQ(Ed->Text(), "");
}

TEST_F(EditFixture, TabInsertsSpacesToTheNextStopOrTheWordAbove) {
  Ed->SetText("ab");
  Caret(3, 1);
  Key(VK_TAB);
  EXPECT_EQ(Ed->CaretX(), 9);
  EXPECT_EQ(Ed->Text(), "ab"); // trailing spaces are trimmed, the caret stays beyond the end
  Type("x");
  EXPECT_EQ(Ed->Text(), "ab      x");
  Ed->SetText("foo    bar  baz\r\nq");
  Caret(1, 2);
  Key(VK_TAB);
  EXPECT_EQ(Ed->CaretX(), 8); // start of "bar" in the line above
  Key(VK_TAB);
  EXPECT_EQ(Ed->CaretX(), 13);
  Ed->SetOptions(Ed->Options() - TKzEditorOptions{eoTabsToSpaces});
  Ed->SetText("x");
  Caret(2, 1);
  Key(VK_TAB);
  EXPECT_EQ(Ed->Text(), "x\t");
}

TEST_F(EditFixture, ShiftTabRemovesBlanksBackToTheTabStop) {
  Ed->SetText("         x");
  Caret(10, 1);
  Key(VK_TAB, ssShift);
  EXPECT_EQ(Ed->Lines().GetLine(0), "        x");
  EXPECT_EQ(Ed->CaretX(), 9);
  Key(VK_TAB, ssShift);
  EXPECT_EQ(Ed->Lines().GetLine(0), "x");
  EXPECT_EQ(Ed->CaretX(), 1);
  Ed->SetText("ab\tc");
  Caret(4, 1);
  Key(VK_TAB, ssShift); // one column back over a tab character
  EXPECT_EQ(Ed->Lines().GetLine(0), "abc");
  Ed->SetText("hello world\r\nabcdefgh");
  Caret(8, 2);
  Key(VK_TAB, ssShift); // never cuts into text: nothing but letters before the caret
  EXPECT_EQ(Ed->Lines().GetLine(1), "abcdefgh");
}

TEST_F(EditFixture, BlockIndentAndUnindentAreSingleUndoSteps) {
  Ed->SetText("a\r\nb\r\nc\r\nd");
  Select(P(1, 1), P(1, 4));
  Key('I', ssCtrl | ssShift);
  EXPECT_EQ(Ed->Text(), "        a\r\n        b\r\n        c\r\nd");
  EXPECT_EQ(Ed->SelectionAnchor(), P(1, 1));
  EXPECT_EQ(Ed->SelectionEnd(), P(1, 4));
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(Ed->SelectedText(), "a\r\nb\r\nc\r\n");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "        a\r\n        b\r\n        c\r\nd");
  Ed->SetText("    x\r\n\ty\r\n  \tz\r\nw");
  Select(P(2, 1), P(4, 3));
  Key('U', ssCtrl | ssShift);
  EXPECT_EQ(Ed->Text(), "x\r\ny\r\nz\r\nw");
  EXPECT_EQ(Ed->SelectionAnchor(), P(1, 1));
  EXPECT_EQ(Ed->SelectionEnd(), P(1, 3));
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "    x\r\n\ty\r\n  \tz\r\nw");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "x\r\ny\r\nz\r\nw");
  Caret(1, 1);
  Key('I', ssCtrl | ssShift); // no selection: nothing
  EXPECT_EQ(Ed->Text(), "x\r\ny\r\nz\r\nw");
}

TEST_F(EditFixture, CaseCommandsChangeTheWordAndRestoreTheCaret) {
  Ed->SetText("hello wORLD");
  Caret(3, 1);
  Cmd(ecUpperCase);
  EXPECT_EQ(Ed->Text(), "HELLO wORLD");
  EXPECT_EQ(Ed->CaretXY(), P(3, 1));
  Caret(12, 1); // after the last word: the previous word is taken
  Cmd(ecTitleCase);
  EXPECT_EQ(Ed->Text(), "HELLO World");
  Cmd(ecToggleCase);
  EXPECT_EQ(Ed->Text(), "HELLO wORLD");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "HELLO World");
  EXPECT_EQ(Ed->CaretXY(), P(12, 1));
  Ed->SetText("\xe4pfel");
  Caret(1, 1);
  Cmd(ecUpperCase);
  EXPECT_EQ(Ed->Text(), "\xc4PFEL");
  Select(P(2, 1), P(4, 1));
  Cmd(ecLowerCaseBlock);
  EXPECT_EQ(Ed->Text(), "\xc4pfEL");
  EXPECT_EQ(Ed->SelectedText(), "pf");
}

TEST_F(EditFixture, MatchBracketFindsThePartnerAcrossNesting) {
  Ed->SetText("a(b(c)d)e\r\n[x\r\n]");
  Caret(2, 1);
  Cmd(ecMatchBracket);
  EXPECT_EQ(Ed->CaretXY(), P(8, 1));
  Cmd(ecMatchBracket);
  EXPECT_EQ(Ed->CaretXY(), P(2, 1));
  Caret(1, 2);
  Key('B', ssCtrl | ssShift);
  EXPECT_EQ(Ed->CaretXY(), P(1, 3));
  Caret(1, 1); // no bracket under the caret
  Caret(3, 1);
  Cmd(ecMatchBracket);
  EXPECT_EQ(Ed->CaretXY(), P(1, 1));
}

TEST_F(EditFixture, BookmarksSetToggleAndGo) {
  Ed->SetText("a\r\nbb\r\nccc");
  Caret(2, 2);
  Key('1', ssCtrl | ssShift);
  EXPECT_TRUE(Ed->IsBookmark(1));
  Caret(1, 3);
  Key('1', ssCtrl);
  EXPECT_EQ(Ed->CaretXY(), P(2, 2));
  Key('1', ssCtrl | ssShift); // again on the same line: removed
  EXPECT_FALSE(Ed->IsBookmark(1));
  Caret(1, 3);
  Key('1', ssCtrl);
  EXPECT_EQ(Ed->CaretXY(), P(1, 3));
  Ed->BookMarkOptions().EnableKeys = false;
  Key('2', ssCtrl | ssShift);
  EXPECT_FALSE(Ed->IsBookmark(2));
}

TEST_F(EditFixture, ModeCommandsAndCommandsWithoutAction) {
  Ed->SetText("abc");
  Key('C', ssCtrl | ssShift);
  EXPECT_EQ(Ed->SelectionMode(), smColumn);
  Key('L', ssCtrl | ssShift);
  EXPECT_EQ(Ed->SelectionMode(), smLine);
  Key('N', ssCtrl | ssShift);
  EXPECT_EQ(Ed->SelectionMode(), smNormal);
  Cmd(ecCommentBlock);
  Cmd(ecAutoCompletion);
  Cmd(ecString);
  EXPECT_EQ(Ed->Text(), "abc");
  std::string word;
  Ed->OnContextHelp = [&](TCustomKzEdit &, const std::string &w) { word = w; };
  Caret(2, 1);
  Cmd(ecContextHelp);
  EXPECT_EQ(word, "abc");
}

TEST_F(EditFixture, ScrollCommandsKeepTheCaretInsideTheView) {
  std::string text;
  for (int i = 1; i <= 30; ++i)
    text += "l" + std::to_string(i) + "\r\n";
  Ed->SetText(text);
  Caret(2, 1);
  Key(VK_DOWN, ssCtrl);
  EXPECT_EQ(Ed->TopLine(), 2);
  EXPECT_EQ(Ed->CaretXY(), P(2, 2)); // pushed down with the view's top
  Caret(1, 10);
  Key(VK_UP, ssCtrl);
  EXPECT_EQ(Ed->TopLine(), 1);
  EXPECT_EQ(Ed->CaretY(), 9); // the view's last row
}

TEST_F(EditFixture, TabIndentOptionTurnsTabIntoBlockIndentForMultiLineSelections) {
  Ed->SetOptions(Ed->Options() | TKzEditorOptions{eoTabIndent});
  Ed->SetText("a\r\nb\r\nc");
  Select(P(1, 1), P(2, 2));
  Key(VK_TAB);
  EXPECT_EQ(Ed->Text(), "        a\r\n        b\r\nc");
  Key(VK_TAB, ssShift);
  EXPECT_EQ(Ed->Text(), "a\r\nb\r\nc");
  Select(P(1, 1), P(2, 1)); // within one line: an ordinary tab over the selection
  Key(VK_TAB);
  EXPECT_EQ(Ed->Text(), "\r\nb\r\nc"); // "a" replaced by blanks, which are trimmed
  EXPECT_EQ(Ed->CaretXY(), P(9, 1));
}

TEST_F(EditFixture, ColumnBlockIndentInsertsAtTheRectanglesLeftEdge) {
  Ed->SetText("abcd\r\nefgh");
  Ed->SetSelectionMode(smColumn);
  Select(P(3, 1), P(4, 2));
  Cmd(ecBlockIndent);
  EXPECT_EQ(Ed->Text(), "ab        cd\r\nef        gh");
  EXPECT_EQ(Ed->SelectionAnchor(), P(11, 1));
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abcd\r\nefgh");
}
