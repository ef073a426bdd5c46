// Clipboard: the two formats, copy, cut and paste round trips in the three modes, failures.
#include "EditFixture.h"

#include "editor/KzEditStrConst.h"

namespace {
std::string Format(const kzp::TMemoryClipboard &c, const std::string &name) {
  for (const kzp::TClipboardFormat &f : c.Formats)
    if (f.Name == name)
      return f.Data;
  return "<none>";
}
} // namespace

TEST_F(EditFixture, CopyStoresPlainTextAndTheBlockFormatWithTheMode) {
  Ed->SetText("abc\r\ndef");
  Select(P(2, 1), P(3, 2));
  Key('C', ssCtrl);
  EXPECT_EQ(Format(Host.Clip, kzp::TClipboard::TextFormat), "bc\r\nde");
  EXPECT_EQ(Format(Host.Clip, KzEditClipboardFormatName), std::string("\0bc\r\nde\0", 8));
  Ed->SetSelectionMode(smLine);
  Select(P(1, 1), P(1, 2));
  Ed->CopySelection();
  EXPECT_EQ(Format(Host.Clip, KzEditClipboardFormatName), std::string("\1abc\r\ndef\0", 10));
}

TEST_F(EditFixture, CopyWithoutSelectionLeavesTheClipboard) {
  Host.Clip.SetContents({{kzp::TClipboard::TextFormat, "keep"}});
  Ed->SetText("abc");
  Ed->CopySelection();
  EXPECT_EQ(Format(Host.Clip, kzp::TClipboard::TextFormat), "keep");
}

TEST_F(EditFixture, ColumnCopyKeepsThePaddingEvenWithTrimming) {
  Ed->SetText("abcd\r\nab");
  Ed->SetSelectionMode(smColumn);
  Select(P(2, 1), P(4, 2));
  Ed->CopySelection();
  EXPECT_EQ(Format(Host.Clip, kzp::TClipboard::TextFormat), "bc\r\nb ");
}

TEST_F(EditFixture, CutIsOneUndoStepAndPasteRoundTripsInNormalMode) {
  Ed->SetText("hello world");
  Select(P(1, 1), P(7, 1));
  int changes = 0;
  Ed->OnChange = [&](TCustomKzEdit &) { ++changes; };
  Key('X', ssCtrl);
  EXPECT_EQ(Ed->Text(), "world");
  EXPECT_EQ(changes, 1);
  Key(VK_END);
  Key('V', ssCtrl);
  EXPECT_EQ(Ed->Text(), "worldhello");
  EXPECT_EQ(changes, 2);
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "world");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "hello world");
  Ed->Redo();
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "worldhello");
}

TEST_F(EditFixture, MultiLinePasteIsOneStepAndRestoresTheReplacedSelection) {
  Ed->SetText("one two");
  Host.Clip.SetContents({{kzp::TClipboard::TextFormat, "a\r\nb\r\nc"}});
  Select(P(5, 1), P(8, 1));
  Ed->PasteClipboard();
  EXPECT_EQ(Ed->Text(), "one a\r\nb\r\nc");
  EXPECT_EQ(Ed->CaretXY(), P(2, 3));
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "one two");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "one a\r\nb\r\nc");
}

TEST_F(EditFixture, LineBlockPastesAsWholeLinesAboveTheCaretLine) {
  Ed->SetText("first\r\nsecond\r\nthird");
  Ed->SetSelectionMode(smLine);
  Select(P(1, 1), P(1, 2));
  Ed->CopySelection();
  Ed->SetSelectionMode(smNormal);
  Caret(4, 3);
  Ed->PasteClipboard();
  EXPECT_EQ(Ed->Text(), "first\r\nsecond\r\nfirst\r\nsecond\r\nthird");
  EXPECT_EQ(Ed->CaretXY(), P(1, 5));
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "first\r\nsecond\r\nthird");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "first\r\nsecond\r\nfirst\r\nsecond\r\nthird");
}

TEST_F(EditFixture, ColumnBlockPastesAsARectangle) {
  Ed->SetText("abcd\r\nefgh");
  Ed->SetSelectionMode(smColumn);
  Select(P(2, 1), P(4, 2));
  Ed->CopySelection();
  Ed->SetSelectionMode(smNormal);
  Ed->SetText("12345\r\n12345\r\n12345");
  Caret(3, 2);
  Ed->PasteClipboard();
  EXPECT_EQ(Ed->Text(), "12345\r\n12bc345\r\n12fg345");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "12345\r\n12345\r\n12345");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "12345\r\n12bc345\r\n12fg345");
}

TEST_F(EditFixture, PlainTextFromOtherProgramsEndsAtItsFirstNul) {
  Host.Clip.Formats = {{kzp::TClipboard::TextFormat, std::string("ab\0cd", 5)}};
  Ed->SetText("");
  EXPECT_TRUE(Ed->PasteAvailable());
  Ed->PasteClipboard();
  EXPECT_EQ(Ed->Text(), "ab");
  Host.Clip.Formats.clear();
  EXPECT_FALSE(Ed->PasteAvailable());
  Ed->PasteClipboard(); // nothing there: nothing recorded
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "");
}

TEST_F(EditFixture, ClipboardFailuresRaiseTheEditorsErrorAndLeaveNoBlockOpen) {
  Ed->SetText("abc");
  Select(P(1, 1), P(3, 1));
  Host.Clip.FailSet = true;
  try {
    Ed->CopySelection();
    FAIL() << "copy did not fail";
  } catch (const EKzEditError &e) {
    EXPECT_STREQ(e.what(), SKzEditClipboardCopyError);
  }
  EXPECT_THROW(Ed->CutSelection(), EKzEditError);
  EXPECT_EQ(Ed->Text(), "abc"); // a failed cut removes nothing
  Host.Clip.FailSet = false;
  Ed->CopySelection();
  Host.Clip.FailGet = true;
  try {
    Ed->PasteClipboard();
    FAIL() << "paste did not fail";
  } catch (const EKzEditError &e) {
    EXPECT_STREQ(e.what(), SKzEditClipboardPasteError);
  }
  EXPECT_EQ(Ed->UndoList().BlockDepth(), 0);
  EXPECT_EQ(Ed->Text(), "abc");
  // Through the keyboard the error reaches the caller and the paint lock is released.
  Host.Clip.FailSet = true;
  EXPECT_THROW(Key('C', ssCtrl), EKzEditError);
  EXPECT_EQ(Ed->PaintLockCount(), 0);
}

TEST_F(EditFixture, ColumnCutAndLineModePasteOfPlainTextUndoCleanly) {
  Ed->SetText("abcd\r\nefgh\r\nij");
  Ed->SetSelectionMode(smColumn);
  Select(P(2, 1), P(4, 3));
  Ed->CutSelection();
  EXPECT_EQ(Ed->Text(), "ad\r\neh\r\ni");
  EXPECT_EQ(Format(Host.Clip, KzEditClipboardFormatName), std::string("\2bc\r\nfg\r\nj\0", 11));
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abcd\r\nefgh\r\nij");
  // Plain text pasted while the editor is in line mode goes in as whole lines.
  Host.Clip.Formats = {{kzp::TClipboard::TextFormat, "new\r\n"}};
  Ed->SetSelectionMode(smLine);
  Caret(3, 2);
  Ed->PasteClipboard();
  EXPECT_EQ(Ed->Text(), "abcd\r\nnew\r\nefgh\r\nij");
  Ed->Undo();
  EXPECT_EQ(Ed->Text(), "abcd\r\nefgh\r\nij");
  Ed->Redo();
  EXPECT_EQ(Ed->Text(), "abcd\r\nnew\r\nefgh\r\nij");
}
