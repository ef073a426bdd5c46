// The list bound to an editor: when it opens, which token it completes, what a completion
// does to the text, the caret and the undo history, and when it closes.
#include "CompletionFixture.h"

namespace {

class Binding : public CompletionFixture {
protected:
  void SetUp() override {
    CompletionFixture::SetUp();
    SetNumberedEntries(20);
  }
  bool TimerRuns() const { return Host.Timers.count(TKzTimerReason::CompletionTrigger) > 0; }
  void CtrlSpace(bool typesBlank) { Key(VK_SPACE, ssCtrl, typesBlank ? ' ' : '\0'); }
  // Puts `line` in the editor with the caret at column x and opens the list there.
  void OpenAt(const std::string &line, int x) {
    Ed->SetText(line);
    Caret(x, 1);
    Cps->OpenAt(*Ed);
  }
};

} // namespace

TEST_F(Binding, ATriggerCharacterArmsTheTimerAndAnyOtherCommandDisarmsIt) {
  Type("a%");
  ASSERT_TRUE(TimerRuns());
  EXPECT_EQ(Host.Timers[TKzTimerReason::CompletionTrigger], 1);
  Type("%"); // a second trigger keeps it running
  EXPECT_TRUE(TimerRuns());
  EXPECT_TRUE(Tick());
  EXPECT_TRUE(Cps->Visible());
  EXPECT_FALSE(TimerRuns()); // the opening disarms it
  EXPECT_EQ(Form().TypedPrefix(), "a%%");
  ListKey(VK_ESCAPE);

  for (auto interrupt : std::vector<std::function<void()>>{
           [&] { Type("b"); },             // another character
           [&] { Cmd(ecLeft); },           // a caret move
           [&] { Key(VK_BACK, 0, '\b'); }, // a deletion
           [&] { Ed->FocusExit(); },       // the editor loses the focus
       }) {
    Type("%");
    ASSERT_TRUE(TimerRuns());
    interrupt();
    EXPECT_FALSE(TimerRuns());
    EXPECT_FALSE(Tick());
    EXPECT_FALSE(Cps->Visible());
  }
}

TEST_F(Binding, TheTimerOpensNothingWhileAnotherProgramIsActive) {
  Type("%%");
  ListHost.AppActive = false;
  EXPECT_TRUE(Tick());
  EXPECT_FALSE(Cps->Visible());
  EXPECT_FALSE(TimerRuns());
  // A running timer takes a new interval at once.
  ListHost.AppActive = true;
  Type("%");
  Cps->SetTimerInterval(250);
  EXPECT_EQ(Host.Timers[TKzTimerReason::CompletionTrigger], 250);
}

TEST_F(Binding, WithoutTheBuiltInTimerOnlyTheShortcutOpens) {
  EXPECT_TRUE(Cps->TimerExists());
  Cps->SetOptions(Cps->Options().Exclude(scoUseBuiltInTimer));
  EXPECT_FALSE(Cps->TimerExists());
  Type("%%");
  EXPECT_FALSE(TimerRuns());
  CtrlSpace(true);
  EXPECT_TRUE(Cps->Visible());
  EXPECT_EQ(Ed->LineText(), "%%");
  // Clearing the option while armed stops the timer.
  ListKey(VK_ESCAPE);
  Cps->SetOptions(Cps->Options().Include(scoUseBuiltInTimer));
  Type("%");
  ASSERT_TRUE(TimerRuns());
  Cps->SetOptions(Cps->Options().Exclude(scoUseBuiltInTimer));
  EXPECT_FALSE(TimerRuns());
}

TEST_F(Binding, CtrlSpaceTypesNothingOfItsOwnAndNeverEatsALaterKey) {
  Type("x %%A1");
  CtrlSpace(true); // the platform delivers the blank of the key press as well
  EXPECT_TRUE(Cps->Visible());
  EXPECT_EQ(Ed->LineText(), "x %%A1");
  EXPECT_EQ(Form().TypedPrefix(), "%%A1");
  EXPECT_EQ(ListHost.Bounds.Left, 100 + 32 + 6 * 8);
  ListKey(VK_ESCAPE);

  // With nothing to list the shortcut opens nothing; the next key is the user's.
  Cps->SetItemList({});
  CtrlSpace(false);
  EXPECT_FALSE(Cps->Visible());
  Type("y");
  EXPECT_EQ(Ed->LineText(), "x %%A1y");
  // Nor when the key press brought no character and the host refused.
  SetNumberedEntries(3);
  Cps->OnExecute = [](KzCompletionType, TKzBaseCompletionProposal &, std::string &, int &, int &,
                      bool &can) { can = false; };
  CtrlSpace(false);
  EXPECT_FALSE(Cps->SwallowNextChar);
  Cps->OnExecute = nullptr;
  CtrlSpace(false);
  ASSERT_TRUE(Cps->Visible());
  ListKey(VK_ESCAPE);
  Type("z");
  EXPECT_EQ(Ed->LineText(), "x %%A1yz");
  // Other modifiers are not the shortcut.
  Key(VK_SPACE, ssCtrl | ssShift);
  EXPECT_FALSE(Cps->Visible());
}

TEST_F(Binding, ReadOnlyEditorsAndDetachedEditorsGetNoList) {
  Ed->SetText("%%");
  Caret(3, 1);
  Ed->SetReadOnly(true);
  std::uint16_t key = VK_SPACE;
  EXPECT_FALSE(Ed->KeyDown(key, ssCtrl));
  EXPECT_EQ(key, VK_SPACE);
  Cps->OpenAt(*Ed);
  EXPECT_FALSE(Cps->Visible());
  Ed->SetReadOnly(false);

  Cps->OpenAt(*Ed);
  ASSERT_TRUE(Cps->Visible());
  EXPECT_TRUE(Cps->DetachEditor(*Ed));
  EXPECT_FALSE(Cps->Visible());
  EXPECT_EQ(Cancelled, 1);
  EXPECT_EQ(Cps->Editor(), nullptr);
  EXPECT_FALSE(Cps->DetachEditor(*Ed));
  EXPECT_EQ(Ed->HookedCommandCount(), 0);
  EXPECT_EQ(Ed->KbdHandler().KeyDownCount(), 0);
  EXPECT_EQ(Ed->KbdHandler().KeyPressCount(), 0);
  Type("%");
  EXPECT_FALSE(TimerRuns());
  Cps->OpenAt(*Ed);
  EXPECT_FALSE(Cps->Visible());
  // Attaching twice hooks once; destroying the proposal unhooks.
  Cps->AttachEditor(*Ed);
  Cps->AttachEditor(*Ed);
  EXPECT_EQ(Ed->HookedCommandCount(), 1);
  EXPECT_EQ(Ed->KbdHandler().KeyDownCount(), 1);
  Cps.reset();
  EXPECT_EQ(Ed->HookedCommandCount(), 0);
  EXPECT_EQ(Ed->KbdHandler().KeyPressCount(), 0);
}

TEST_F(Binding, TheTokenRunsFromTheLastBreakToTheCaret) {
  struct TCase {
    std::string Line;
    int CaretX;
    std::string Input;
    int Start;
  };
  for (const TCase &c : std::vector<TCase>{
           {"abc(%", 6, "%", 5},
           {"x %ab", 6, "%ab", 3},
           {"x %ab", 5, "%a", 3},
           {"%%la", 5, "%%la", 1},
           {"a\t%%b", 6, "%%b", 3},
           {"[%%]", 5, "", 5},
           {"[%%]", 4, "%%", 2},
           {"abc", 1, "", 1},
           {"ab", 9, "", 9}, // right of the line's end
           {"ab", 3, "ab", 1},
       }) {
    Ed->SetText(c.Line);
    Ed->SetCaretPos({c.CaretX, 1});
    ASSERT_EQ(Ed->CaretX(), c.CaretX);
    Cps->OpenAt(*Ed);
    EXPECT_EQ(Form().TypedPrefix(), c.Input) << c.Line << " @" << c.CaretX;
    EXPECT_EQ(Cps->TokenStartColumn, c.Start) << c.Line << " @" << c.CaretX;
    Cps->CloseList();
  }
  // An empty input lists every entry.
  Ed->SetText("ab");
  Ed->SetCaretPos({9, 1});
  Cps->OpenAt(*Ed);
  EXPECT_EQ(Form().FilteredCount(), 20);
}

TEST_F(Binding, EndCharactersCompleteAndAreTypedAfterTheEntry) {
  OpenAt("x %%A1", 7);
  ListType(" ");
  // The editor trims blanks at a line's end; the caret stands after the typed one.
  EXPECT_EQ(Ed->LineText(), "x %%A1%%");
  EXPECT_EQ(Ed->CaretX(), 10);
  Type("y");
  EXPECT_EQ(Ed->LineText(), "x %%A1%% y");
  EXPECT_FALSE(Ed->SelectionAvailable());
  EXPECT_FALSE(Cps->Visible());
  EXPECT_EQ(Cancelled, 0);

  // Inside a word, a blank replaces to the word's end, "(" only to the caret.
  OpenAt("x %%A1rest more", 7);
  ListType(" ");
  EXPECT_EQ(Ed->LineText(), "x %%A1%%  more");
  EXPECT_EQ(Ed->CaretX(), 10);
  OpenAt("x %%A1rest more", 7);
  ListType("(");
  EXPECT_EQ(Ed->LineText(), "x %%A1%%(rest more");
  EXPECT_EQ(Ed->CaretX(), 10);
  // Without an end character (a double click) the whole word goes too.
  OpenAt("x %%A1rest more", 7);
  Form().DoubleClick();
  EXPECT_EQ(Ed->LineText(), "x %%A1%% more");
  EXPECT_EQ(Ed->CaretX(), 9);
  // The highlighted row decides, not the first one.
  OpenAt("%%A1", 5);
  ListKey(VK_DOWN);
  ListType("]");
  EXPECT_EQ(Ed->LineText(), "%%A10%%]");
}

TEST_F(Binding, AnEmptyListOrAMissingInsertTextLeavesTheTypedText) {
  OpenAt("x %%A", 6);
  ListType("q");
  ASSERT_EQ(Form().FilteredCount(), 0);
  ListType(")");
  EXPECT_EQ(Ed->LineText(), "x %%Aq)");
  EXPECT_FALSE(Cps->Visible());
  // The entry under the highlight has no insert text (a shorter insert list).
  Cps->SetInsertList({"%%A0%%"});
  OpenAt("%%", 3);
  ASSERT_EQ(Form().FilteredCount(), 1);
  Form().SetSelectedIndex(0);
  ListType("(");
  EXPECT_EQ(Ed->LineText(), "%%A0%%(");
}

TEST_F(Binding, TheCompletionAndTheEndCharacterAreUndoneOneStepEach) {
  Type("x %%A1");
  Cps->OpenAt(*Ed);
  ListType("(");
  ASSERT_EQ(Ed->LineText(), "x %%A1%%(");
  Ed->Undo();
  EXPECT_EQ(Ed->LineText(), "x %%A1%%");
  Ed->Undo();
  EXPECT_EQ(Ed->LineText(), "x %%A1");
  EXPECT_EQ(Ed->CaretX(), 7);
  Ed->Redo();
  EXPECT_EQ(Ed->LineText(), "x %%A1%%");
  Ed->Redo();
  EXPECT_EQ(Ed->LineText(), "x %%A1%%(");

  // The rest of a word replaced with it comes back in the same step.
  Ed->SetText("");
  Type("%%A1rest");
  Caret(5, 1);
  Cps->OpenAt(*Ed);
  Form().DoubleClick();
  ASSERT_EQ(Ed->LineText(), "%%A1%%");
  Ed->Undo();
  EXPECT_EQ(Ed->LineText(), "%%A1rest");
  // Even an empty token gives a step of its own.
  Ed->SetText("");
  Type("% ");
  Cps->OpenAt(*Ed);
  Form().DoubleClick();
  ASSERT_EQ(Ed->LineText(), "% %%A0%%");
  Ed->Undo();
  EXPECT_EQ(Ed->LineText(), "%"); // the blank at the line's end is trimmed, as before
}

TEST_F(Binding, CompletionEventsSeeAndMayChangeTheValue) {
  std::vector<std::string> seen;
  Cps->OnCodeCompletion = [&](TKzCompletionProposal &, std::string &value, TShiftState, int index,
                              char end) {
    seen.push_back("before " + value + " " + std::to_string(index) + " " +
                   std::string(1, end ? end : '0'));
    value = "<" + value + ">";
  };
  Cps->OnAfterCodeCompletion = [&](TKzCompletionProposal &, const std::string &value, TShiftState,
                                   int index, char end) {
    seen.push_back("after " + value + " " + std::to_string(index) + " " +
                   std::string(1, end ? end : '0'));
  };
  OpenAt("%%A1", 5);
  ListKey(VK_DOWN);
  ListType("(");
  EXPECT_EQ(Ed->LineText(), "<%%A10%%>(");
  EXPECT_EQ(seen, (std::vector<std::string>{"before %%A10%% 10 (", "after <%%A10%%> 10 ("}));
  seen.clear();
  OpenAt("%%A1", 5);
  ListType(" ");
  EXPECT_EQ(seen, (std::vector<std::string>{"before %%A1%% 1 0", "after <%%A1%%> 1 0"}));
}
