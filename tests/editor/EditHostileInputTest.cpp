// Large and hostile text through the editor's commands: 200,000 lines, one line of a
// megabyte, every byte value. Nothing may crash or read outside a line (the sanitizer build
// checks that), and every edit must still undo to the text before it.
#include "EditFixture.h"

namespace {

std::string EveryByteExceptNul() {
  std::string s;
  for (int c = 1; c < 256; ++c)
    s += char(c);
  return s;
}

} // namespace

TEST_F(EditFixture, EveryByteValueSurvivesTypingSelectionClipboardAndUndo) {
  const std::string bytes = EveryByteExceptNul();
  Ed->SetText(bytes);
  // CR and LF are line breaks: 1..9, 11, 12, 14..255 spread over three lines.
  ASSERT_EQ(Ed->Lines().Count(), 3);
  const std::string before = Ed->Text();
  for (int c = 0; c < 256; ++c)
    Cmd(ecChar, char(c));
  Cmd(ecSelectAll);
  Cmd(ecCopy);
  Cmd(ecUpperCaseBlock);
  Cmd(ecEditorBottom);
  Cmd(ecPaste);
  for (int i = 0; i < 40; ++i)
    Cmd(ecWordLeft);
  Cmd(ecMatchBracket);
  Cmd(ecDeleteWord);
  Cmd(ecLineBreak);
  Cmd(ecTab);
  Cmd(ecShiftTab);
  Cmd(ecDeleteLastChar);
  while (Ed->UndoAvailable())
    Ed->Undo();
  EXPECT_EQ(Ed->Text(), before);
}

TEST_F(EditFixture, AMegabyteLineTakesEditsAtBothEndsAndInAColumn) {
  std::string line(1 << 20, 'x');
  for (std::size_t i = 0; i < line.size(); i += 97)
    line[i] = i % 2 ? '\t' : ' ';
  const std::string text = line + "\r\n" + line;
  Ed->SetText(text);
  Cmd(ecEditorTop);
  Cmd(ecLineEnd);
  EXPECT_EQ(Ed->CaretX(), Ed->MaxScrollWidth() + 1); // the caret stops at the scroll width
  Cmd(ecChar, 'a');                                  // and types nothing there
  EXPECT_EQ(Ed->Lines().LineLength(0), int(line.size()));
  Cmd(ecLineBreak);
  Cmd(ecDeleteLastChar);
  Cmd(ecWordLeft);
  Cmd(ecSelWordRight);
  Cmd(ecCut);
  Cmd(ecPaste);
  Ed->SetSelectionMode(smColumn);
  Select(P(5, 1), P(9, 2));
  Cmd(ecCopy);
  Cmd(ecPaste);
  Cmd(ecBlockIndent);
  Cmd(ecBlockUnindent);
  Ed->SetSelectionMode(smNormal);
  Cmd(ecEditorBottom);
  Cmd(ecDeleteLine);
  while (Ed->UndoAvailable())
    Ed->Undo();
  const std::string now = Ed->Text();
  ASSERT_EQ(now.size(), text.size());
  EXPECT_EQ(now.find_first_not_of('\0'), 0u);
  EXPECT_TRUE(now == text) << "first difference at "
                           << std::mismatch(now.begin(), now.end(), text.begin()).first -
                                  now.begin();
}

TEST_F(EditFixture, TwoHundredThousandLinesTakeOneLineEditsAnywhere) {
  // Indented lines all the way up, so the upward searches of smart tabs, smart backspace and
  // auto-indent have the whole document to walk.
  std::string text;
  text.reserve(200'000 * 14);
  for (int i = 0; i < 200'000; ++i)
    text += (i % 3 == 0) ? "\r\n" : "        ab cd\r\n";
  text += "x";
  Ed->SetText(text);
  const int last = Ed->Lines().Count();
  ASSERT_EQ(last, 200'001);
  Caret(1, last);
  Cmd(ecTab);
  EXPECT_EQ(Ed->CaretXY(), P(9, last)); // the nearest line above reaching column 1 is indented 8
  Cmd(ecDeleteLastChar);
  EXPECT_EQ(Ed->CaretXY(), P(1, last)); // back to the indent of a line indented less: none
  Cmd(ecLineEnd);
  Cmd(ecLineBreak);
  Cmd(ecLineBreak);
  // A line without indent continues the indent of the nearest line above that has text.
  EXPECT_EQ(Ed->CaretXY(), P(9, last + 2));
  Cmd(ecShiftTab);
  Cmd(ecEditorTop);
  Cmd(ecDeleteLine);
  Cmd(ecSelectAll);
  Cmd(ecCopy);
  Cmd(ecEditorBottom);
  Cmd(ecPaste);
  EXPECT_EQ(Ed->Lines().Count(), 2 * (last + 1) - 1);
  while (Ed->UndoAvailable())
    Ed->Undo();
  EXPECT_EQ(Ed->Text(), text);
}
