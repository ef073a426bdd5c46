// Edit transactions: a command that throws leaves no lock, block or stale flag behind, and
// the editor goes on working; one transaction opened from outside the editor is one undo
// step, one change and one status report; the caret and selection before and after.
#include "EditFixture.h"

#include "highlight/KzHighlighterHtml.h"

#include <stdexcept>

namespace {

// The HTML highlighter, refusing any line that holds "!boom" while armed.
class TThrowingHtml : public TKzHTMLHighlighter {
public:
  void BeginLine(const std::string &line, int lineIndex) override {
    if (Armed && line.find("!boom") != std::string::npos)
      throw std::runtime_error("highlighter failed");
    TKzHTMLHighlighter::BeginLine(line, lineIndex);
  }
  bool Armed = false;
};

// Takes the highlighter off the editor before the highlighter goes (it is declared after).
struct TDetach {
  TCustomKzEdit &Editor;
  ~TDetach() { Editor.SetHighlighter(nullptr); }
};

class EditTransaction : public EditFixture {
protected:
  // Nothing is held open: the editor paints, records, reports and rescans again.
  void ExpectNothingHeld() {
    EXPECT_EQ(Ed->PaintLockCount(), 0);
    EXPECT_EQ(Ed->UndoList().BlockDepth(), 0);
    EXPECT_EQ(Ed->UndoList().BlockStepNumber(), 0);
    EXPECT_FALSE(Ed->UndoList().IsLocked());
    EXPECT_FALSE(Ed->RedoList().IsLocked());
    EXPECT_EQ(Ed->Lines().UpdateCount(), 0);
  }
};

} // namespace

TEST_F(EditTransaction, AHighlighterThatThrowsInsideACommandLeavesNothingOpen) {
  TThrowingHtml html;
  TDetach detach{*Ed};
  Ed->SetHighlighter(&html);
  Ed->SetText("<p>\r\n!boo\r\n<!-- open");
  html.Armed = true;
  Caret(5, 2);
  int statusReports = 0;
  Ed->OnStatusChange = [&](TCustomKzEdit &, TKzStatusChanges) { ++statusReports; };
  // Typing "m" makes the line the highlighter refuses: the rescan at the end of the command
  // throws through the command processor.
  EXPECT_THROW(Type("m"), std::runtime_error);
  ExpectNothingHeld();
  EXPECT_EQ(Ed->Lines().GetLine(1), "!boom");
  EXPECT_EQ(statusReports, 1); // the lock was released and reported what the command did

  // Later edits are still rescanned: a comment opened on line 1 now reaches line 2.
  html.Armed = false;
  TBufferCoord endOfFirst = P(4, 1);
  Cmd(ecGotoXY, '\0', &endOfFirst);
  Type("<!--");
  std::string token;
  TKzHighlighterAttributes *attr = nullptr;
  ASSERT_TRUE(Ed->GetHighlighterAttriAtRowCol(P(1, 2), token, attr));
  EXPECT_EQ(attr, html.CommentAttri);
  // And the typed text undoes as it was typed: the rest, then the failed command's character.
  Cmd(ecUndo);
  EXPECT_EQ(Ed->Lines().GetLine(0), "<p>");
  EXPECT_EQ(Ed->Lines().GetLine(1), "!boom");
  Cmd(ecUndo);
  EXPECT_EQ(Ed->Lines().GetLine(1), "!boo");
  ExpectNothingHeld();
}

TEST_F(EditTransaction, APasteThatFailsClosesItsUndoBlock) {
  Ed->SetText("abc");
  Caret(4, 1);
  Host.Clip.Formats = {{kzp::TClipboard::TextFormat, "xyz"}};
  Host.Clip.FailGet = true;
  EXPECT_THROW(Cmd(ecPaste), EKzEditError);
  ExpectNothingHeld();
  EXPECT_EQ(Ed->Text(), "abc");
  // The next edit is a step of its own, undone alone.
  Type("d");
  Cmd(ecLeft);
  Type("e");
  EXPECT_EQ(Ed->Text(), "abced");
  Cmd(ecUndo);
  EXPECT_EQ(Ed->Text(), "abcd");
}

TEST_F(EditTransaction, AnOnChangeHandlerThatThrowsLeavesTheEditorUsable) {
  Ed->SetText("one two");
  Select(P(1, 1), P(4, 1));
  bool fail = true;
  Ed->OnChange = [&](TCustomKzEdit &) {
    if (fail)
      throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(Ed->SetSelectedText("1"), std::runtime_error);
  ExpectNothingHeld();
  EXPECT_EQ(Ed->Text(), "1 two");
  fail = false;
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "one two");
  ExpectNothingHeld();
}

TEST_F(EditTransaction, ARedoThatThrowsPutsModeOptionsAndRedoStateBack) {
  TThrowingHtml html;
  TDetach detach{*Ed};
  Ed->SetHighlighter(&html);
  Ed->SetText("x\r\n!boo");
  // Two characters typed in two places are one undo group.
  Caret(5, 2);
  Type("m");
  Caret(2, 1);
  Type("y");
  Cmd(ecUndo);
  EXPECT_EQ(Ed->Text(), "x\r\n!boo");
  Ed->SetSelectionMode(smColumn);
  const TKzEditorOptions options = Ed->Options();
  // Redoing "m" first makes the line the highlighter refuses; "y" is left to redo.
  html.Armed = true;
  EXPECT_THROW(Cmd(ecRedo), std::runtime_error);
  ExpectNothingHeld();
  EXPECT_EQ(Ed->SelectionMode(), smColumn);
  EXPECT_EQ(Ed->Options(), options);
  EXPECT_TRUE(Ed->RedoAvailable());
  // A new edit clears what is left to redo: no redo is taken to be running any more.
  html.Armed = false;
  Ed->SetSelectionMode(smNormal);
  Cmd(ecEditorTop);
  Type("z");
  EXPECT_FALSE(Ed->RedoAvailable());
  EXPECT_EQ(Ed->Lines().GetLine(0), "zx");
}

TEST_F(EditTransaction, OneTransactionFromOutsideIsOneStepOneChangeOneReport) {
  Ed->SetText("Hallo %USER");
  Caret(12, 1);
  int changes = 0, reports = 0;
  Ed->OnChange = [&](TCustomKzEdit &) { ++changes; };
  Ed->OnStatusChange = [&](TCustomKzEdit &, TKzStatusChanges) { ++reports; };
  {
    // What a completion list does when it accepts an entry: the typed prefix goes, the entry
    // comes in its place.
    TKzEditTransaction tx(*Ed);
    EXPECT_EQ(tx.Before().Caret, P(12, 1));
    Ed->SetCaretAndSelection(P(12, 1), P(7, 1), P(12, 1));
    Ed->SetSelectedText("%USER_NAME%");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(Ed->PaintLockCount(), 1);
  }
  EXPECT_EQ(Ed->Text(), "Hallo %USER_NAME%");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(reports, 1);
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "Hallo %USER");
  EXPECT_FALSE(Ed->UndoAvailable());
}

TEST_F(EditTransaction, RecordsTheCaretAndSelectionBeforeAndAfterEachCommand) {
  Ed->SetText("one\r\ntwo\r\nthree");
  Select(P(2, 1), P(3, 2));
  Cmd(ecBlockIndent);
  const auto &[before, after] = Ed->LastEdit();
  EXPECT_EQ(before.Anchor, P(2, 1));
  EXPECT_EQ(before.End, P(3, 2));
  EXPECT_EQ(before.Caret, P(3, 2));
  // Eight blanks went in front of both lines; the selection moved with its text.
  EXPECT_EQ(after.Anchor, P(10, 1));
  EXPECT_EQ(after.End, P(11, 2));
  EXPECT_EQ(after.Caret, P(11, 2));
  EXPECT_EQ(after.Mode, smNormal);

  // A command that only moves the caret is recorded as well.
  Cmd(ecEditorTop);
  EXPECT_EQ(Ed->LastEdit().first.Caret, P(11, 2));
  EXPECT_EQ(Ed->LastEdit().second.Caret, P(1, 1));
  EXPECT_EQ(Ed->LastEdit().second.Anchor, P(1, 1));
}
