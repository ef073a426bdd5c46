// The open list's keyboard, mouse, wheel, sizing, placement and painting, with the studio's
// settings, bound to an editor core (rows 16 pixels, title bar 20, frame 4 a side).
#include "CompletionFixture.h"

namespace {

class ListWindow : public CompletionFixture {
protected:
  void SetUp() override {
    CompletionFixture::SetUp();
    SetNumberedEntries(20);
  }
  // The list opened for the caret at the end of `line`.
  void Open(const std::string &line) {
    Ed->SetText(line);
    Caret(int(line.size()) + 1, 1);
    Host.Focus = true;
    Cps->OpenAt(*Ed);
    ASSERT_TRUE(Cps->Visible());
  }
  std::string Line() { return Ed->LineText(); }
};

} // namespace

TEST_F(ListWindow, OpensBelowTheCaretWithTheStudiosSize) {
  Open("x %%A1");
  EXPECT_EQ(Form().TypedPrefix(), "%%A1");
  EXPECT_EQ(Rows().size(), 11u);
  EXPECT_EQ(Cps->TokenStartColumn, 3);
  // Caret cell (column 7) at x = 32 + 6 * 8, one line below the row's top, moved to screen.
  EXPECT_EQ(ListHost.Bounds, (kzp::TRect{180, 66, 180 + 262, 66 + 8 * 16 + 20 + 8}));
  EXPECT_EQ(Form().VisibleLines(), 8);
  EXPECT_EQ(Form().ClientWidth(), 254);
  EXPECT_EQ(Form().ListSurfaceSize(), (kzp::TSize{254 - 16, 148 - 20}));
  EXPECT_EQ(Form().TitleSurfaceSize(), (kzp::TSize{254, 20}));
  EXPECT_TRUE(ListHost.Shown && ListHost.Active);
  EXPECT_TRUE(ListHost.Bar.Visible);
  EXPECT_EQ(ListHost.Bar.Left, 254 - 16);
  EXPECT_EQ(ListHost.Bar.Top, 20);
  EXPECT_EQ(ListHost.Bar.Max, 3);
}

TEST_F(ListWindow, NavigationKeys) {
  Open("%%");
  ListKey(VK_NEXT);
  EXPECT_EQ(Form().SelectedIndex(), 8);
  ListKey(VK_NEXT);
  ListKey(VK_NEXT);
  EXPECT_EQ(Form().SelectedIndex(), 19); // the last page ends on the last row
  ListKey(VK_PRIOR);
  EXPECT_EQ(Form().SelectedIndex(), 11);
  ListKey(VK_PRIOR);
  ListKey(VK_PRIOR);
  EXPECT_EQ(Form().SelectedIndex(), 0);
  ListKey(VK_END);
  EXPECT_EQ(Form().SelectedIndex(), 19);
  ListKey(VK_UP);
  EXPECT_EQ(Form().SelectedIndex(), 18);
  ListKey(VK_HOME);
  EXPECT_EQ(Form().SelectedIndex(), 0);
  ListKey(VK_UP);
  EXPECT_EQ(Form().SelectedIndex(), 0);
  ListKey(VK_DOWN);
  ListKey(VK_DOWN);
  EXPECT_EQ(Form().SelectedIndex(), 2);
  ListKey(VK_DOWN, ssCtrl);
  EXPECT_EQ(Form().SelectedIndex(), 19);
  ListKey(VK_UP, ssCtrl);
  EXPECT_EQ(Form().SelectedIndex(), 0);
  // Neither Enter nor Tab completes in the studio; the list stays open and the text as it is.
  ListKey(VK_RETURN, 0, '\r');
  ListKey(VK_TAB);
  EXPECT_TRUE(Cps->Visible());
  EXPECT_EQ(Line(), "%%");
  EXPECT_EQ(Cancelled, 0);
}

TEST_F(ListWindow, EscapeClosesAsACancelAndGivesTheEditorItsFocusBack) {
  Open("%%A1");
  Host.Focus = false;
  const int focusCalls = Host.FocusCalls;
  ListKey(VK_ESCAPE, 0, '\x1b');
  EXPECT_FALSE(Cps->Visible());
  EXPECT_FALSE(ListHost.Shown);
  EXPECT_EQ(Cancelled, 1);
  EXPECT_EQ(Host.FocusCalls, focusCalls + 1);
  EXPECT_EQ(Line(), "%%A1");
}

TEST_F(ListWindow, TabTypesOneTabCharacterAndCloses) {
  Open("a %%A");
  ListKey(VK_TAB, 0, '\t');
  EXPECT_EQ(Line(), "a %%A\t");
  EXPECT_EQ(Ed->CaretX(), 7);
  EXPECT_FALSE(Cps->Visible());
  EXPECT_EQ(Cancelled, 1);
  Ed->Undo();
  EXPECT_EQ(Line(), "a %%A");
  EXPECT_FALSE(Ed->UndoAvailable());
}

TEST_F(ListWindow, BackspaceAndLeftShortenTheTypedTextUntilItIsEmpty) {
  Open("x %%A1");
  ListKey(VK_BACK, 0, '\b');
  EXPECT_EQ(Form().TypedPrefix(), "%%A");
  EXPECT_EQ(Line(), "x %%A");
  EXPECT_EQ(Rows().size(), 20u);
  ListKey(VK_LEFT);
  EXPECT_EQ(Form().TypedPrefix(), "%%");
  EXPECT_EQ(Ed->CaretX(), 5);
  EXPECT_TRUE(Cps->Visible());
  // Shift+Backspace is left to the keys the list does not handle.
  ListKey(VK_BACK, ssShift);
  EXPECT_EQ(Line(), "x %%A");
  ListKey(VK_BACK, 0, '\b');
  ListKey(VK_BACK, 0, '\b');
  EXPECT_EQ(Form().TypedPrefix(), "");
  EXPECT_EQ(Line(), "x A");
  EXPECT_TRUE(Cps->Visible());
  // With nothing typed left, Backspace deletes the character before the caret and closes.
  ListKey(VK_BACK, 0, '\b');
  EXPECT_EQ(Line(), "xA");
  EXPECT_FALSE(Cps->Visible());
  EXPECT_EQ(Cancelled, 1);

  Open("x %%");
  ListKey(VK_LEFT);
  ListKey(VK_LEFT);
  EXPECT_TRUE(Cps->Visible());
  ListKey(VK_LEFT);
  EXPECT_EQ(Ed->CaretX(), 2);
  EXPECT_FALSE(Cps->Visible());
  EXPECT_EQ(Cancelled, 2);
}

TEST_F(ListWindow, RightTakesTheNextCharacterOrClosesAtABreak) {
  Ed->SetText("%%A12(b c");
  Caret(4, 1);
  Cps->OpenAt(*Ed);
  ASSERT_EQ(Form().TypedPrefix(), "%%A");
  ListKey(VK_RIGHT);
  EXPECT_EQ(Form().TypedPrefix(), "%%A1");
  ListKey(VK_RIGHT);
  EXPECT_EQ(Form().TypedPrefix(), "%%A12");
  EXPECT_EQ(Ed->CaretX(), 6);
  EXPECT_TRUE(Cps->Visible());
  ListKey(VK_RIGHT); // over "(", an end-of-token character
  EXPECT_FALSE(Cps->Visible());
  EXPECT_EQ(Ed->CaretX(), 7);
  for (int x : {8, 10}) { // over a blank, and past the line's end
    Caret(x, 1);
    Cps->OpenAt(*Ed);
    ListKey(VK_RIGHT);
    EXPECT_FALSE(Cps->Visible()) << x;
    EXPECT_EQ(Ed->CaretX(), x + 1);
  }
  EXPECT_EQ(Cancelled, 3);
  // Delete removes the character after the caret and keeps the list open.
  Caret(4, 1);
  Cps->OpenAt(*Ed);
  ListKey(VK_DELETE);
  EXPECT_EQ(Line(), "%%A2(b c");
  EXPECT_TRUE(Cps->Visible());
}

TEST_F(ListWindow, CharactersNarrowCompleteOrClose) {
  Open("x %%A");
  ListType("1");
  EXPECT_EQ(Form().TypedPrefix(), "%%A1");
  EXPECT_EQ(Line(), "x %%A1");
  EXPECT_EQ(Rows().size(), 11u);
  ListType("9");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"VarA19 Eintrag 19"}));
  // A character no entry continues with empties the list; it stays open.
  ListType("q");
  EXPECT_EQ(Form().FilteredCount(), 0);
  EXPECT_TRUE(Cps->Visible());
  ListKey(VK_BACK, 0, '\b');
  EXPECT_EQ(Form().FilteredCount(), 1);
  // "{", "~" and characters beyond "z" are typed and close the list.
  ListType("{");
  EXPECT_EQ(Line(), "x %%A19{");
  EXPECT_FALSE(Cps->Visible());
  Open("x %%A");
  ListType("\xE4");
  EXPECT_EQ(Line(), "x %%A\xE4");
  EXPECT_FALSE(Cps->Visible());
  EXPECT_EQ(Cancelled, 2);
}

TEST_F(ListWindow, MouseSelectsTheRowUnderItAndTheTitleSelectsTheFirstVisible) {
  Open("%%");
  Form().SetScrollPosition(5);
  Form().MouseDown(20 + 3 * 16 + 15);
  EXPECT_EQ(Form().SelectedIndex(), 8);
  Form().MouseDown(20);
  EXPECT_EQ(Form().SelectedIndex(), 5);
  Form().MouseDown(19); // inside the title bar: rounds towards zero to the first visible row
  EXPECT_EQ(Form().SelectedIndex(), 5);
  // The title bar is taller than a row: its top reaches the row above.
  Form().MouseDown(4);
  EXPECT_EQ(Form().SelectedIndex(), 4);
  EXPECT_EQ(Form().ScrollPosition(), 4);
  // A double click completes with the highlighted entry.
  Form().DoubleClick();
  EXPECT_FALSE(Cps->Visible());
  EXPECT_EQ(Line(), "%%A4%%");
}

TEST_F(ListWindow, WheelMovesByItsLinesAndKeepsTheRemainder) {
  Open("%%");
  Form().MouseWheel(-120, 0);
  EXPECT_EQ(Form().SelectedIndex(), 3);
  Form().MouseWheel(-60, 0);
  EXPECT_EQ(Form().SelectedIndex(), 3);
  EXPECT_EQ(Form().WheelRemainder(), -60);
  Form().MouseWheel(-70, 0);
  EXPECT_EQ(Form().SelectedIndex(), 6);
  EXPECT_EQ(Form().WheelRemainder(), -10);
  Form().MouseWheel(-110, ssCtrl);
  EXPECT_EQ(Form().SelectedIndex(), 14); // a window of rows with Ctrl
  Form().MouseWheel(240, 0);
  EXPECT_EQ(Form().SelectedIndex(), 8);
  Form().MouseWheel(600, 0); // past the first row: stops at row 0
  EXPECT_EQ(Form().SelectedIndex(), 0);
  ListHost.WheelLines = -1; // a page per notch
  Form().MouseWheel(-120, 0);
  EXPECT_EQ(Form().SelectedIndex(), 8);
  ListHost.WheelLines = 50; // more than a window counts as a window
  Form().MouseWheel(-120, 0);
  EXPECT_EQ(Form().SelectedIndex(), 16);
}

TEST_F(ListWindow, TheSizingFrameSnapsToWholeRowsAndTheNextShowingKeepsTheSize) {
  Open("%%");
  int w = 100, h = 5 * 16 + 20 + 8 + 3;
  Form().ProposeSize(w, h);
  EXPECT_EQ(h, 5 * 16 + 20 + 8);
  EXPECT_EQ(w, 100);
  EXPECT_EQ(Form().VisibleLines(), 5);
  // The rows are counted over the outer height: the frame's pixels count towards a row.
  h = 5 * 16 + 20 + 8 + 8;
  Form().ProposeSize(w, h);
  EXPECT_EQ(h, 6 * 16 + 20 + 8);
  w = 3;
  h = 2;
  Form().ProposeSize(w, h);
  EXPECT_EQ(h, 16 + 20 + 8); // at least one row
  EXPECT_EQ(w, 8 + 16);      // frame and scroll bar
  w = 300;
  h = 5 * 16 + 28;
  Form().ProposeSize(w, h);
  Form().Resized(w, h);
  EXPECT_EQ(Form().VisibleLines(), 5);
  EXPECT_EQ(ListHost.Bar.Max, 15);
  EXPECT_EQ(Form().ListSurfaceSize(), (kzp::TSize{300 - 8 - 16, 5 * 16}));
  ListKey(VK_ESCAPE);
  EXPECT_EQ(Cps->Width(), 300);
  EXPECT_EQ(Cps->NbLinesInWindow(), 5);
  Open("%%");
  EXPECT_EQ(ListHost.Bounds.Width(), 300);
  EXPECT_EQ(ListHost.Bounds.Height(), 5 * 16 + 28);
}

TEST_F(ListWindow, PlacementStaysOnTheDesktop) {
  const int height = 8 * 16 + 28;
  Cps->ShowAt("", 900, 300, ctCode);
  EXPECT_EQ(ListHost.Bounds.Left, 1024 - 262 - 5);
  EXPECT_EQ(ListHost.Bounds.Top, 300);
  Cps->CloseList();
  // Below the bottom edge: above the caret line (the editor's line height is 16).
  Form().SetTargetEditor(Ed.get());
  Cps->ShowAt("", 10, 700, ctCode);
  EXPECT_EQ(ListHost.Bounds.Left, 10);
  EXPECT_EQ(ListHost.Bounds.Top, 700 - height - 16 - 2);
  Cps->CloseList();
  ListHost.Desktop = {0, 0, 200, 100};
  Cps->ShowAt("", 150, 50, ctCode);
  EXPECT_EQ(ListHost.Bounds.Left, 0);
  EXPECT_EQ(ListHost.Bounds.Top, 0);
}

TEST_F(ListWindow, ShowingRedirectsTheEditorsFocusAndKeepsItsCaretVisible) {
  Open("%%");
  EXPECT_TRUE(Ed->AlwaysShowCaret()); // the editor had the focus
  const int taken = ListHost.FocusTaken;
  Ed->SetFocus();
  EXPECT_EQ(ListHost.FocusTaken, taken + 1);
  // Scrolling with the bar asks the editor for the focus, which lands on the list again.
  Form().ScrollBarScrolled(4);
  EXPECT_EQ(ListHost.FocusTaken, taken + 2);
  EXPECT_TRUE(Cps->Visible());
  ListKey(VK_ESCAPE);
  EXPECT_FALSE(Ed->AlwaysShowCaret());
  Ed->SetFocus();
  EXPECT_EQ(ListHost.FocusTaken, taken + 2);
}

TEST_F(ListWindow, LosingTheKeyboardToAnotherWindowCancels) {
  Open("%%");
  Form().WindowDeactivated();
  EXPECT_FALSE(Cps->Visible());
  EXPECT_EQ(Cancelled, 1);
  const int focusCalls = Host.FocusCalls;
  Ed->SetFocus(); // no redirect left
  EXPECT_EQ(Host.FocusCalls, focusCalls + 1);
  Form().WindowDeactivated(); // already gone: nothing more
  EXPECT_EQ(Cancelled, 1);
}

TEST_F(ListWindow, PaintDrawsTheVisibleRowsAndTheTitle) {
  Open("%%A1");
  Form().SetSelectedIndex(1);
  kzp::TFixedCanvas list, title;
  Form().Paint(list, title);
  // The background, then one highlight fill for the selected row.
  std::vector<kzp::TCanvasCall> fills = list.CallsOf(kzp::TCanvasOp::FillRect);
  ASSERT_GE(fills.size(), 2u);
  EXPECT_EQ(fills[0].Rect, (kzp::TRect{0, 0, 238, 148}));
  EXPECT_EQ(fills[0].Brush.Color, kzp::clWindow);
  EXPECT_EQ(fills.back().Rect, (kzp::TRect{0, 16, 238, 32}));
  EXPECT_EQ(fills.back().Brush.Color, kzp::clHighlight);
  // Eight visible rows of three chunks: "Var", the name after the column, the description.
  std::vector<kzp::TCanvasCall> texts = list.CallsOf(kzp::TCanvasOp::Text);
  ASSERT_EQ(texts.size(), 24u);
  EXPECT_EQ(texts[0].Text, "Var");
  EXPECT_EQ(texts[0].X, 2);
  EXPECT_EQ(texts[0].Y, 0);
  EXPECT_EQ(texts[0].Font.Color, kzp::clGray);
  EXPECT_EQ(texts[1].Text, "A1");
  EXPECT_EQ(texts[1].X, 2 + 8 * 8); // "LANG123 " in the fixed metrics
  EXPECT_EQ(texts[1].Font.Style, kzp::fsBold);
  EXPECT_EQ(texts[2].Text, " Eintrag 1");
  EXPECT_EQ(texts[2].Font.Style, 0);
  EXPECT_EQ(texts[3].Font.Color, kzp::clHighlightText); // the selected row has no colours
  EXPECT_EQ(texts[3].Y, 16);
  EXPECT_EQ(texts[6].Font.Color, kzp::clGray);
  EXPECT_EQ(texts[22].Text, "A16");
  EXPECT_EQ(texts[22].Y, 7 * 16);
  // The title bar: background, shadow line along its bottom, bold caption at (2, 1).
  std::vector<kzp::TCanvasCall> t = title.CallsOf(kzp::TCanvasOp::Text);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].Text, "Variablen");
  EXPECT_EQ(t[0].X, 2);
  EXPECT_EQ(t[0].Y, 1);
  EXPECT_EQ(t[0].Font.Style, kzp::fsBold);
  EXPECT_EQ(t[0].Font.Color, kzp::clBtnText);
  EXPECT_EQ(title.CallsOf(kzp::TCanvasOp::FillRect).at(0).Rect, (kzp::TRect{0, 0, 255, 20}));
  std::vector<kzp::TCanvasCall> lines = title.CallsOf(kzp::TCanvasOp::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Y, 19);
  EXPECT_EQ(lines[0].Pen.Color, kzp::clBtnShadow);
}
