// Mouse: clicks, shift-clicks, word selection, drag-selecting with auto-scroll, and dragging
// text within one editor and between two.
#include "EditFixture.h"

TEST_F(EditFixture, ClickPlacesCaretAndShiftClickExtendsFromTheAnchor) {
  Ed->SetText("abcdef\r\nghijkl");
  Ed->MouseDown(mbLeft, ssLeft, X(3) + 1, Y(1));
  Ed->MouseUp(mbLeft, 0, X(3) + 1, Y(1));
  EXPECT_EQ(Ed->CaretXY(), P(3, 1));
  EXPECT_EQ(Host.FocusCalls, 1);
  Ed->MouseDown(mbLeft, ssLeft | ssShift, X(2) + 1, Y(2));
  Ed->MouseUp(mbLeft, ssShift, X(2) + 1, Y(2));
  EXPECT_EQ(Ed->SelectedText(), "cdef\r\ng");
  // Half a cell or more rounds to the next cell boundary; the press lies in the selection,
  // so only the release collapses it.
  Ed->MouseDown(mbLeft, ssLeft, X(4) + 5, Y(1));
  EXPECT_EQ(Ed->CaretXY(), P(5, 1));
  EXPECT_TRUE(Ed->SelectionAvailable());
  Ed->MouseUp(mbLeft, 0, X(4) + 5, Y(1));
  EXPECT_FALSE(Ed->SelectionAvailable());
}

TEST_F(EditFixture, AltClickSwitchesToColumnModeWhenTheOptionAsks) {
  Ed->SetText("abcdef\r\nghijkl");
  Ed->SetOptions(Ed->Options() | TKzEditorOptions{eoAltSetsColumnMode});
  Ed->MouseDown(mbLeft, ssLeft | ssAlt, X(2) + 1, Y(1));
  EXPECT_EQ(Ed->SelectionMode(), smColumn);
  Ed->MouseMove(ssLeft | ssAlt, X(4) + 1, Y(2));
  Ed->MouseUp(mbLeft, ssAlt, X(4) + 1, Y(2));
  EXPECT_EQ(Ed->SelectedText(), "bc\r\nhi");
  Ed->MouseDown(mbLeft, ssLeft, X(1) + 1, Y(1));
  EXPECT_EQ(Ed->SelectionMode(), smNormal);
}

TEST_F(EditFixture, DoubleClickSelectsTheWordAndTheReleaseKeepsIt) {
  Ed->SetText("one two.three");
  Ed->MouseDown(mbLeft, ssLeft, X(6) + 1, Y(1));
  Ed->MouseUp(mbLeft, 0, X(6) + 1, Y(1));
  Ed->MouseDown(mbLeft, ssLeft | ssDouble, X(6) + 1, Y(1), true);
  Ed->DoubleClick(X(6) + 1, Y(1));
  Ed->MouseUp(mbLeft, 0, X(6) + 1, Y(1));
  EXPECT_EQ(Ed->SelectedText(), "two");
  EXPECT_EQ(Ed->CaretXY(), P(8, 1));
  Ed->DoubleClick(X(20) + 1, Y(1)); // beyond the line end: only the caret moves
  EXPECT_EQ(Ed->CaretXY(), P(20, 1));
}

TEST_F(EditFixture, DraggingPastTheBottomStartsTheTimerWhichScrollsAndExtends) {
  std::string text;
  for (int i = 1; i <= 30; ++i)
    text += "line" + std::to_string(i) + "\r\n";
  Ed->SetText(text);
  Ed->MouseDown(mbLeft, ssLeft, X(1) + 1, Y(2));
  Ed->MouseMove(ssLeft, X(3) + 1, Y(4));
  EXPECT_EQ(Ed->SelectedText(), "line2\r\nline3\r\nli");
  EXPECT_TRUE(Host.Timers.empty());
  Ed->MouseMove(ssLeft, X(3) + 1, 9 * 16 + 20); // two rows below the last visible one
  ASSERT_EQ(Host.Timers.count(TKzTimerReason::AutoScroll), 1u);
  EXPECT_EQ(Host.Timers[TKzTimerReason::AutoScroll], 100);
  Ed->TimerFired(TKzTimerReason::AutoScroll);
  EXPECT_EQ(Ed->TopLine(), 3);
  EXPECT_EQ(Ed->SelectionEnd(), P(3, 11)); // the bottom row of the moved view
  Ed->TimerFired(TKzTimerReason::AutoScroll);
  EXPECT_EQ(Ed->TopLine(), 5);
  Ed->MouseUp(mbLeft, 0, X(3) + 1, 9 * 16 + 20);
  EXPECT_TRUE(Host.Timers.empty());
  EXPECT_EQ(Ed->SelectionAnchor(), P(1, 2));
}

TEST_F(EditFixture, PressInsideSelectionArmsADragThatStartsAfterTheDragDistance) {
  Ed->SetText("hello world");
  Select(P(1, 1), P(6, 1));
  Ed->MouseDown(mbLeft, ssLeft, X(3) + 1, Y(1));
  EXPECT_TRUE(Ed->DragArmed());
  EXPECT_EQ(Ed->SelectedText(), "hello");
  Ed->MouseMove(ssLeft, X(3) + 3, Y(1));
  EXPECT_EQ(Host.DragsStarted, 0);
  Ed->MouseMove(ssLeft, X(3) + 9, Y(1));
  EXPECT_EQ(Host.DragsStarted, 1);
  // A drag that never started: releasing collapses the selection at the release point.
  Ed->MouseUp(mbLeft, 0, X(3) + 9, Y(1));
  Select(P(1, 1), P(6, 1));
  Ed->MouseDown(mbLeft, ssLeft, X(3) + 1, Y(1));
  Ed->MouseUp(mbLeft, 0, X(3) + 1, Y(1));
  EXPECT_FALSE(Ed->SelectionAvailable());
  EXPECT_EQ(Ed->CaretXY(), P(3, 1));
}

TEST_F(EditFixture, RightClickMovesCaretOnlyWithTheOption) {
  Ed->SetText("abcdef");
  Ed->MouseDown(mbRight, ssRight, X(4) + 1, Y(1));
  EXPECT_EQ(Ed->CaretXY(), P(1, 1));
  Ed->SetOptions(Ed->Options() | TKzEditorOptions{eoRightMouseMovesCursor});
  Ed->MouseDown(mbRight, ssRight, X(4) + 1, Y(1));
  EXPECT_EQ(Ed->CaretXY(), P(4, 1));
  Select(P(1, 1), P(3, 1));
  Ed->MouseDown(mbRight, ssRight, X(5) + 1, Y(1)); // with a selection: nothing
  EXPECT_EQ(Ed->SelectedText(), "ab");
}

TEST_F(EditFixture, GutterClickReportsTheLineAndTheBookmarkUnderIt) {
  Ed->SetText("a\r\nb\r\nc");
  Ed->SetBookMark(2, 1, 2);
  int line = 0;
  TKzEditMark *mark = nullptr;
  Ed->OnGutterClick = [&](TCustomKzEdit &, int, int, int, int l, TKzEditMark *m) {
    line = l;
    mark = m;
  };
  Ed->MouseDown(mbLeft, ssLeft, 4, Y(2));
  Ed->MouseUp(mbLeft, 0, 4, Y(2));
  EXPECT_EQ(line, 2);
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(mark->BookmarkNumber, 2);
  Ed->MouseDown(mbLeft, ssLeft, 4, Y(3));
  Ed->MouseUp(mbLeft, 0, 4, Y(3));
  EXPECT_EQ(line, 3);
  EXPECT_EQ(mark, nullptr);
}

TEST_F(EditFixture, DragAndDropWithinOneEditorMovesOrCopies) {
  Ed->SetText("abc def ghi");
  Select(P(1, 1), P(4, 1));
  Ed->DragDrop(Ed.get(), X(9) + 1, Y(1), false, false); // move "abc" before "ghi"
  EXPECT_EQ(Ed->Text(), " def abcghi");
  EXPECT_EQ(Ed->SelectedText(), "abc");
  EXPECT_EQ(Ed->CaretXY(), P(6, 1));
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abc def ghi");
  Select(P(1, 1), P(4, 1));
  Ed->DragDrop(Ed.get(), X(12) + 1, Y(1), true, false); // Ctrl: copy to the end
  EXPECT_EQ(Ed->Text(), "abc def ghiabc");
  Select(P(1, 1), P(4, 1));
  Ed->DragDrop(Ed.get(), X(4) + 1, Y(1), false, false); // onto the selection's end: nothing
  EXPECT_EQ(Ed->Text(), "abc def ghiabc");
}

TEST_F(EditFixture, DragAndDropBetweenEditorsCopiesOrMovesWithShift) {
  TFakeHost otherHost;
  auto other = MakeEditor(otherHost);
  other->SetText("source");
  other->SetCaretAndSelection(P(7, 1), P(1, 1), P(7, 1));
  Ed->SetText("[]");
  EXPECT_TRUE(Ed->DragOver(other.get(), X(2) + 1, Y(1)));
  Ed->DragDrop(other.get(), X(2) + 1, Y(1), false, false);
  EXPECT_EQ(Ed->Text(), "[source]");
  EXPECT_EQ(other->Text(), "source");
  other->SetCaretAndSelection(P(7, 1), P(1, 1), P(7, 1));
  Ed->DragDrop(other.get(), X(1) + 1, Y(1), false, true);
  EXPECT_EQ(Ed->Text(), "source[source]");
  EXPECT_EQ(other->Text(), "");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "[source]");
  other->Undo();
  EXPECT_EQ(other->Text(), "source");
  Ed->SetReadOnly(true);
  EXPECT_FALSE(Ed->DragOver(other.get(), X(1), Y(1)));
}
