// Keys through the keystroke table, the ignore-next-character rule, the handler chains, the
// command processor with its events and hooks, focus and its redirects.
#include "EditFixture.h"

#include <vector>

namespace {

// Records key-down calls and optionally consumes them.
struct TKeyRecorder {
  std::vector<std::string> *Log;
  std::string Name;
  bool Consume = false;
  void operator()(TKzPersistent *, std::uint16_t &key, TShiftState) {
    Log->push_back(Name + ":" + std::to_string(key));
    if (Consume)
      key = 0;
  }
};

struct TCommandHook {
  std::vector<std::string> Log;
  bool Handle = false;
  TKzEditorCommand Replace = ecNone;
  void Hook(TCustomKzEdit &, bool after, bool &handled, TKzEditorCommand &command, char &, void *,
            void *data) {
    Log.push_back(std::string(after ? "after " : "before ") + std::to_string(command) + " " +
                  static_cast<const char *>(data));
    if (!after && Handle)
      handled = true;
    if (!after && Replace != ecNone)
      command = Replace;
  }
};

struct TFocusWindow : TKzFocusTarget {
  int Calls = 0;
  void SetFocus() override { ++Calls; }
};

} // namespace

TEST_F(EditFixture, DefaultKeystrokesReachTheirCommands) {
  std::vector<TKzEditorCommand> seen;
  Ed->OnCommandProcessed = [&](TCustomKzEdit &, TKzEditorCommand &c, char &, void *) {
    seen.push_back(c);
  };
  Key(VK_Z, ssCtrl);
  Key(VK_Z, ssCtrl | ssShift);
  Key(VK_BACK, ssAlt);
  Key(VK_INSERT, ssShift);
  Key(VK_DELETE, ssShift);
  Key(VK_INSERT, ssCtrl);
  Key('1', ssCtrl);
  Key('1', ssCtrl | ssShift);
  std::vector<TKzEditorCommand> expected{ecUndo, ecRedo, ecUndo,        ecPaste,
                                         ecCut,  ecCopy, ecGotoMarker1, ecSetMarker1};
  EXPECT_EQ(seen, expected);
}

TEST_F(EditFixture, CharacterAfterACommandKeyIsIgnoredOthersAreTyped) {
  Ed->SetText("");
  Key(VK_RETURN, 0, '\r'); // the platform also sends the Return character
  Type("ab");
  Key(VK_LEFT);
  Type("c");
  EXPECT_EQ(Ed->Text(), "\r\nacb");
  // A key without a command clears the flag, so its character is typed.
  Key(VK_RETURN, 0, '\0');
  Key(VK_F2, 0, 'q');
  EXPECT_EQ(Ed->LineText(), "qb"); // Return split "acb" after "ac"
}

TEST_F(EditFixture, KeyDownChainRunsNewestFirstAndStopsAtConsumer) {
  std::vector<std::string> log;
  TKeyRecorder first{&log, "first"}, second{&log, "second", true};
  Ed->HookKeyDown(TKzKeyEvent::OfCallable(&first));
  Ed->HookKeyDown(TKzKeyEvent::OfCallable(&second));
  Ed->SetText("abc");
  Caret(2, 1);
  Key(VK_RIGHT);
  EXPECT_EQ(log, (std::vector<std::string>{"second:39"}));
  EXPECT_EQ(Ed->CaretX(), 2); // consumed: no command ran
  Ed->UnhookKeyDown(TKzKeyEvent::OfCallable(&second));
  log.clear();
  Key(VK_RIGHT);
  EXPECT_EQ(log, (std::vector<std::string>{"first:39"}));
  EXPECT_EQ(Ed->CaretX(), 3);
}

TEST_F(EditFixture, UnhookRemovesOnlyTheMostRecentIdenticalEntry) {
  std::vector<std::string> log;
  TKeyRecorder rec{&log, "r"};
  Ed->HookKeyDown(TKzKeyEvent::OfCallable(&rec));
  Ed->HookKeyDown(TKzKeyEvent::OfCallable(&rec));
  Ed->UnhookKeyDown(TKzKeyEvent::OfCallable(&rec));
  Key(VK_F2);
  EXPECT_EQ(log.size(), 1u);
}

TEST_F(EditFixture, KeyPressChainCanChangeOrSwallowTheCharacter) {
  Ed->SetText("");
  std::function<void(TKzPersistent *, char &)> upper = [](TKzPersistent *, char &c) {
    if (c == 'a')
      c = 'A';
    if (c == 'z')
      c = '\0';
  };
  Ed->HookKeyPress(TKzKeyPressEvent::OfCallable(&upper));
  int pressed = 0;
  Ed->OnKeyPress = [&](TCustomKzEdit &, char &) { ++pressed; };
  Type("abz");
  EXPECT_EQ(Ed->Text(), "Ab");
  EXPECT_EQ(pressed, 3);
}

TEST_F(EditFixture, AChainIsNotEnteredAgainWhileItRuns) {
  int calls = 0;
  std::function<void(TKzPersistent *, std::uint16_t &, TShiftState)> nested =
      [&](TKzPersistent *, std::uint16_t &, TShiftState) {
        ++calls;
        std::uint16_t k = VK_F3;
        Ed->KeyDown(k, 0); // a handler that sends a key to the editor
      };
  Ed->HookKeyDown(TKzKeyEvent::OfCallable(&nested));
  Key(VK_F2);
  EXPECT_EQ(calls, 1);
}

TEST_F(EditFixture, TwoKeySequenceThroughTheTable) {
  Ed->Keystrokes().AddKey(ecEditorBottom, 'K', ssCtrl, 'B', 0);
  Ed->SetText("a\r\nb\r\nc");
  Key('K', ssCtrl);
  EXPECT_EQ(Ed->CaretXY(), P(1, 1));
  Key('B');
  EXPECT_EQ(Ed->CaretXY(), P(2, 3));
  Caret(1, 1);
  Key('K', ssCtrl);
  Key(VK_SHIFT, ssShift); // a modifier alone forgets the first key
  Key('B', 0, 'b');
  EXPECT_EQ(Ed->CaretXY(), P(2, 1));
  EXPECT_EQ(Ed->Text(), "ba\r\nb\r\nc"); // the B was typed as a character

  // A key that a handler takes, or one without a code, comes between the two keys too.
  std::vector<std::string> log;
  TKeyRecorder taker{&log, "taker", true};
  for (bool byHandler : {true, false}) {
    SCOPED_TRACE(byHandler ? "taken by a handler" : "without a code");
    Ed->SetText("a\r\nb\r\nc");
    Key('K', ssCtrl);
    if (byHandler) {
      Ed->HookKeyDown(TKzKeyEvent::OfCallable(&taker));
      Key(VK_F5);
      Ed->UnhookKeyDown(TKzKeyEvent::OfCallable(&taker));
    } else {
      Key(0);
    }
    Key('B', 0, 'b');
    EXPECT_EQ(Ed->Text(), "ba\r\nb\r\nc");
  }
  EXPECT_EQ(log, (std::vector<std::string>{"taker:116"}));
}

TEST_F(EditFixture, ProcessCommandEventsMayChangeTheCommand) {
  Ed->SetText("abc");
  Caret(1, 1);
  Ed->OnProcessCommand = [](TCustomKzEdit &, TKzEditorCommand &c, char &, void *) {
    if (c == ecRight)
      c = ecLineEnd;
  };
  TKzEditorCommand userSeen = ecNone;
  Ed->OnProcessUserCommand = [&](TCustomKzEdit &, TKzEditorCommand &c, char &, void *) {
    userSeen = c;
  };
  Cmd(ecRight);
  EXPECT_EQ(Ed->CaretX(), 4);
  Cmd(1005);
  EXPECT_EQ(userSeen, 1005);
  EXPECT_EQ(Ed->CaretX(), 4);
}

TEST_F(EditFixture, HookedHandlersRunBeforeAndAfterAndCanCancel) {
  TCommandHook hook;
  char tag[] = "h";
  auto method = THookedCommandEvent::Of<&TCommandHook::Hook>(&hook);
  Ed->HookCommands(method, tag);
  Ed->HookCommands(method, tag); // the same handler is not added twice
  EXPECT_EQ(Ed->HookedCommandCount(), 1);
  Ed->SetText("abc");
  Cmd(ecLineEnd);
  EXPECT_EQ(hook.Log, (std::vector<std::string>{"before 8 h", "after 8 h"}));
  EXPECT_EQ(Ed->CaretX(), 4);
  hook.Log.clear();
  hook.Handle = true;
  Cmd(ecLineStart);
  EXPECT_EQ(hook.Log, (std::vector<std::string>{"before 7 h"}));
  EXPECT_EQ(Ed->CaretX(), 4); // handled before execution: never executed
  Ed->UnhookCommands(method);
  Cmd(ecLineStart);
  EXPECT_EQ(Ed->CaretX(), 1);
  THookedCommandEvent empty;
  Ed->HookCommands(empty, nullptr);
  EXPECT_EQ(Ed->HookedCommandCount(), 0);
}

TEST_F(EditFixture, FocusChangesGoThroughTheCommandProcessor) {
  std::vector<TKzEditorCommand> seen;
  Ed->OnCommandProcessed = [&](TCustomKzEdit &, TKzEditorCommand &c, char &, void *) {
    seen.push_back(c);
  };
  Host.Focus = true;
  Ed->FocusEnter();
  EXPECT_TRUE(Host.CaretVisible);
  Host.Focus = false;
  Ed->FocusExit();
  EXPECT_FALSE(Host.CaretCreated);
  EXPECT_EQ(seen, (std::vector<TKzEditorCommand>{ecFocusEnter, ecFocusExit}));
  Ed->SetAlwaysShowCaret(true);
  EXPECT_TRUE(Host.CaretVisible);
  Ed->FocusExit();
  EXPECT_TRUE(Host.CaretVisible);
}

TEST_F(EditFixture, SetFocusPrefersTheNewestRedirect) {
  TFocusWindow a, b;
  Ed->SetFocus();
  EXPECT_EQ(Host.FocusCalls, 1);
  Ed->AddFocusRedirect(&a);
  Ed->AddFocusRedirect(&b);
  Ed->SetFocus();
  EXPECT_EQ(b.Calls, 1);
  EXPECT_EQ(a.Calls, 0);
  EXPECT_EQ(Host.FocusCalls, 1);
  Ed->RemoveFocusRedirect(&b);
  Ed->SetFocus();
  EXPECT_EQ(a.Calls, 1);
  Ed->RemoveFocusRedirect(&a);
  Ed->SetFocus();
  EXPECT_EQ(Host.FocusCalls, 2);
}

TEST_F(EditFixture, ImeStringIsInsertedOnceAndItsEchoIgnored) {
  Ed->SetText("");
  Ed->ImeResult("\xe4\xf6", true); // the platform will also send both characters
  Ed->KeyPress(*const_cast<char *>("\xe4"));
  char c = '\xf6';
  Ed->KeyPress(c);
  EXPECT_EQ(Ed->Text(), "\xe4\xf6");
  Type("x");
  EXPECT_EQ(Ed->Text(), "\xe4\xf6x");
}

TEST_F(EditFixture, DisabledEditorTakesNoInput) {
  Ed->SetText("abc");
  Ed->SetEnabled(false);
  Type("x");
  Key(VK_END);
  Ed->MouseDown(mbLeft, ssLeft, X(3), Y(1));
  EXPECT_EQ(Ed->Text(), "abc");
  EXPECT_EQ(Ed->CaretXY(), P(1, 1));
}

TEST_F(EditFixture, KeyWithoutCodeClearsTheIgnoreFlagSoItsCharacterIsTyped) {
  Ed->SetText("ab");
  Caret(3, 1);
  std::uint16_t left = VK_LEFT;
  Ed->KeyDown(left, 0); // a command: the next character would be its echo
  std::uint16_t none = 0;
  EXPECT_FALSE(Ed->KeyDown(none, ssCtrl | ssAlt));
  char at = '@';
  Ed->KeyPress(at);
  EXPECT_EQ(Ed->Text(), "a@b");
}
