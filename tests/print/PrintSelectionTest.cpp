// Printing only the selection taken from the editor, in the three selection modes.
#include "PrintFixture.h"

namespace {

// Line 1 has a tab before "bcdef", so its display columns differ from its buffer columns.
const char *const kText = "a\tbcdef\r\n0123456789abcdef\r\nghijklmnop\r\nnicht gewählt";

} // namespace

class PrintSelectionTest : public PrintTest {
protected:
  void Select(TKzSelectionMode mode, TBufferCoord anchor, TBufferCoord end) {
    Ed = Editor(kText);
    Ed->SetSelectionMode(mode);
    Ed->SetCaretAndSelection(end, anchor, end);
    Job.TakeFromEditor(*Ed);
    Job.SetSelectedOnly(true);
    Print();
  }
  std::vector<std::string> Rows(int count) const {
    std::vector<std::string> rows;
    for (int r = 0; r < count; ++r)
      rows.push_back(Printer.RowText(0, RowY(r)));
    return rows;
  }
  std::unique_ptr<TCustomKzEdit> Ed;
};

TEST_F(PrintSelectionTest, AStreamSelectionPrintsFromItsStartToItsEndInDisplayColumns) {
  Select(smNormal, {3, 1}, {5, 3}); // from "b" (after the tab) to before "k"
  EXPECT_EQ(Job.Selection().FirstColumn, 9);
  EXPECT_EQ(Rows(4), (std::vector<std::string>{"bcdef", "0123456789abcdef", "ghij", ""}));
  // Drawn backwards it is the same selection.
  Select(smNormal, {5, 3}, {3, 1});
  EXPECT_EQ(Rows(4), (std::vector<std::string>{"bcdef", "0123456789abcdef", "ghij", ""}));
  // Within one line only the selected characters print.
  Select(smNormal, {4, 2}, {8, 2});
  EXPECT_EQ(Rows(2), (std::vector<std::string>{"3456", ""}));
}

TEST_F(PrintSelectionTest, ALineSelectionPrintsItsWholeLines) {
  Select(smLine, {5, 2}, {2, 3});
  EXPECT_EQ(Rows(3), (std::vector<std::string>{"0123456789abcdef", "ghijklmnop", ""}));
}

TEST_F(PrintSelectionTest, ARectanglePrintsTheColumnsTheEditorShowsWhicheverWayItWasDrawn) {
  // From the bottom right to the top left: display columns 9 (after the tab) and 5.
  Select(smColumn, {5, 3}, {3, 1});
  EXPECT_EQ(Job.Selection().FirstColumn, 5);
  EXPECT_EQ(Job.Selection().LastColumn, 9);
  EXPECT_EQ(Rows(4), (std::vector<std::string>{"    ", "4567", "klmn", ""}));
  // The lines that hold no tab read as the editor's column selection does.
  const std::string selected = Ed->SelectedText();
  EXPECT_NE(selected.find("\r\n4567\r\nklmn"), std::string::npos);

  Select(smColumn, {3, 1}, {5, 3});
  EXPECT_EQ(Rows(3), (std::vector<std::string>{"    ", "4567", "klmn"}));
}

TEST_F(PrintSelectionTest, SelectedOnlyWithoutASelectionPrintsNothingAtAll) {
  Ed = Editor(kText);
  Job.TakeFromEditor(*Ed);
  Job.SetSelectedOnly(true);
  Print();
  EXPECT_TRUE(Printer.Events.empty());
  // Without SelectedOnly a selection does not matter.
  Select(smNormal, {4, 2}, {8, 2});
  Job.SetSelectedOnly(false);
  Print();
  EXPECT_EQ(Rows(4), (std::vector<std::string>{"a       bcdef", "0123456789abcdef", "ghijklmnop",
                                               "nicht gewählt"}));
}
