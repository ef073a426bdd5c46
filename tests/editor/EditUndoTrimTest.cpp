// Trimming trailing blanks and the history: blanks a line had before an edit come back with
// undo, and redo takes them again, while blanks only the edit brought stay gone both ways.
#include "EditFixture.h"

namespace {

// Undo, redo, then undo again: the texts each must give, as seen by `ed`.
struct TRoundTrip {
  std::string Undone, Redone, UndoneAgain;
};

TRoundTrip RoundTrip(TCustomKzEdit &ed) {
  TRoundTrip r;
  ed.Undo();
  r.Undone = ed.Text();
  ed.Redo();
  r.Redone = ed.Text();
  ed.Undo();
  r.UndoneAgain = ed.Text();
  return r;
}

} // namespace

TEST_F(EditFixture, BlanksTrimmedOffALineEndComeBackWithUndoAndGoAgainWithRedo) {
  // Typing in front of blanks at the line's end.
  Ed->SetText("ab  ");
  Caret(1, 1);
  Type("x");
  EXPECT_EQ(Ed->Text(), "xab");
  TRoundTrip r = RoundTrip(*Ed);
  EXPECT_EQ(r.Undone, "ab  ");
  EXPECT_EQ(r.Redone, "xab");
  EXPECT_EQ(r.UndoneAgain, "ab  ");

  // Deleting the selection that followed the blanks leaves them at the end.
  Ed->SetText("ab  c\r\nd");
  Select(P(5, 1), P(6, 1));
  Key(VK_DELETE);
  EXPECT_EQ(Ed->Text(), "ab\r\nd");
  r = RoundTrip(*Ed);
  EXPECT_EQ(r.Undone, "ab  c\r\nd");
  EXPECT_EQ(r.Redone, "ab\r\nd");
  EXPECT_EQ(r.UndoneAgain, "ab  c\r\nd");

  // A cut rectangle leaves the indent of every line it went through.
  Ed->SetText("  xy\r\n  zw\r\nend");
  Ed->SetSelectionMode(smColumn);
  Select(P(3, 1), P(5, 2));
  Ed->ProcessCommand(ecCut);
  EXPECT_EQ(Ed->Text(), "\r\n\r\nend");
  r = RoundTrip(*Ed);
  EXPECT_EQ(r.Undone, "  xy\r\n  zw\r\nend");
  EXPECT_EQ(r.Redone, "\r\n\r\nend");
  EXPECT_EQ(r.UndoneAgain, "  xy\r\n  zw\r\nend");
  Ed->SetSelectionMode(smNormal);

  // Lines put in before blanks: the blanks that end up after the last one are trimmed there.
  Ed->SetText("ab  ");
  Caret(3, 1);
  Ed->SetSelectedText("1\r\n2");
  EXPECT_EQ(Ed->Text(), "ab1\r\n2");
  r = RoundTrip(*Ed);
  EXPECT_EQ(r.Undone, "ab  ");
  EXPECT_EQ(r.Redone, "ab1\r\n2");
  EXPECT_EQ(r.UndoneAgain, "ab  ");
}

TEST_F(EditFixture, BlanksOnlyAnEditBroughtAreNotGivenBackByUndo) {
  // A blank typed at the line's end never stays, so undo has nothing to give back.
  Ed->SetText("ab");
  Caret(3, 1);
  Type(" ");
  EXPECT_EQ(Ed->Text(), "ab");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "ab");

  // Inserted text ending in blanks before a line break: the blanks go, and undo and redo
  // agree on that.
  Ed->SetText("ab");
  Caret(3, 1);
  Ed->SetSelectedText("x  \r\ny");
  EXPECT_EQ(Ed->Text(), "abx\r\ny");
  TRoundTrip r = RoundTrip(*Ed);
  EXPECT_EQ(r.Undone, "ab");
  EXPECT_EQ(r.Redone, "abx\r\ny");
  EXPECT_EQ(r.UndoneAgain, "ab");
}
