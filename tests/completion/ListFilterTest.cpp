// Which entries the open list shows for the typed text, and how the highlight moves over them.
#include "CompletionFixture.h"

namespace {

class ListFilter : public CompletionFixture {
protected:
  void SetUp() override {
    CompletionFixture::SetUp();
    SetEntries(
        {"\\style{+B}Lang\\style{-B} Sprache", "\\color{clRed}User", "\xC4rger", "lang2", "Zeit"},
        {"%%LANG%%", "%%USER%%", "%%\xC4RGER%%", "%%lang2%%", "%%ZEIT%%"});
    Form().SetDisplayKind(ctCode);
  }
  std::vector<int> Sources() {
    std::vector<int> out;
    for (int r = 0; r < Form().FilteredCount(); ++r)
      out.push_back(Form().SourceIndexOf(r));
    return out;
  }
};

} // namespace

TEST_F(ListFilter, InsertTextsMatchWithoutRegardToCaseByTheCodePagesRules) {
  Form().SetTypedPrefix("");
  EXPECT_EQ(Sources(), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(Form().SelectedIndex(), 0);
  Form().SetTypedPrefix("%%la");
  EXPECT_EQ(Sources(), (std::vector<int>{0, 3}));
  EXPECT_EQ(Form().FilteredText(1), "lang2");
  // Umlauts fold too: a small a-umlaut matches the capital one (Windows-1252 bytes).
  Form().SetTypedPrefix("%%\xE4");
  EXPECT_EQ(Sources(), (std::vector<int>{2}));
  Form().SetTypedPrefix("%%x");
  EXPECT_EQ(Form().FilteredCount(), 0);
  Form().SetTypedPrefix("%%LANG%%toolong");
  EXPECT_EQ(Form().FilteredCount(), 0);
  // Taking the character back brings the entries back.
  Form().SetTypedPrefix("%%");
  EXPECT_EQ(Form().FilteredCount(), 5);
}

TEST_F(ListFilter, OtherOptionsMatchOtherTexts) {
  // By character codes only ASCII letters fold.
  Cps->SetOptions(Cps->Options().Exclude(scoAnsiStrings));
  Form().SetTypedPrefix("%%\xE4");
  EXPECT_EQ(Form().FilteredCount(), 0);
  Form().SetTypedPrefix("%%la");
  EXPECT_EQ(Sources(), (std::vector<int>{0, 3}));
  Cps->SetOptions(Cps->Options().Include(scoCaseSensitive));
  Form().SetTypedPrefix("%%la");
  EXPECT_EQ(Sources(), (std::vector<int>{3}));
  // Without the insert list the plain text of the shown entry is matched.
  Cps->SetOptions(Cps->Options().Exclude(scoUseInsertList).Exclude(scoCaseSensitive));
  Form().SetTypedPrefix("us");
  EXPECT_EQ(Sources(), (std::vector<int>{1}));
  Form().SetTypedPrefix("lang s");
  EXPECT_EQ(Sources(), (std::vector<int>{0}));
  // Without pretty text the commands are part of the text.
  Cps->SetOptions(Cps->Options().Exclude(scoUsePrettyText));
  Form().SetTypedPrefix("\\color");
  EXPECT_EQ(Sources(), (std::vector<int>{1}));
}

TEST_F(ListFilter, AShorterInsertListLeavesTheEntriesWithoutInsertTextOut) {
  Cps->SetInsertList({"%%LANG%%", "%%USER%%"});
  Form().SetTypedPrefix("");
  EXPECT_EQ(Sources(), (std::vector<int>{0, 1}));
  Form().SetTypedPrefix("%%z");
  EXPECT_EQ(Form().FilteredCount(), 0);
  EXPECT_FALSE(Form().EntryMatches(4));
  // A longer one is fine.
  Cps->SetInsertList(
      {"%%LANG%%", "%%USER%%", "%%\xC4RGER%%", "%%lang2%%", "%%ZEIT%%", "%%EXTRA%%"});
  Form().SetTypedPrefix("%%z");
  EXPECT_EQ(Sources(), (std::vector<int>{4}));
}

TEST_F(ListFilter, WithoutLimitingEveryEntryStaysAndTheHighlightJumps) {
  Cps->SetOptions(Cps->Options().Exclude(scoLimitToMatchedText));
  Form().ListAllItems();
  Form().SetTypedPrefix("%%z");
  EXPECT_EQ(Form().FilteredCount(), 5);
  EXPECT_EQ(Form().SelectedIndex(), 4);
  EXPECT_EQ(Form().SourceIndexOf(4), 4);
  Form().SetTypedPrefix("%%l");
  EXPECT_EQ(Form().SelectedIndex(), 0);
  Form().SetTypedPrefix("%%q");
  EXPECT_EQ(Form().SelectedIndex(), 0);
  Form().SetTypedPrefix("%%U");
  EXPECT_EQ(Form().SelectedIndex(), 1);
}

TEST_F(ListFilter, HighlightMovesStopAtTheEnds) {
  SetNumberedEntries(20);
  Form().SetTypedPrefix("");
  ASSERT_EQ(Form().FilteredCount(), 20);
  Form().MoveSelection(1);
  EXPECT_EQ(Form().SelectedIndex(), 1);
  Form().MoveSelection(-5);
  EXPECT_EQ(Form().SelectedIndex(), 0);
  Form().MoveSelection(18);
  EXPECT_EQ(Form().SelectedIndex(), 18);
  Form().MoveSelection(8);
  EXPECT_EQ(Form().SelectedIndex(), 19);
  Form().MoveSelection(1);
  EXPECT_EQ(Form().SelectedIndex(), 19);
  // Requests outside the rows: beyond the last is ignored, below 0 counts as 0.
  Form().SetSelectedIndex(20);
  EXPECT_EQ(Form().SelectedIndex(), 19);
  Form().SetSelectedIndex(-3);
  EXPECT_EQ(Form().SelectedIndex(), 0);
  // An empty list keeps the index as it was.
  Form().SetSelectedIndex(7);
  Form().SetTypedPrefix("%%none");
  EXPECT_EQ(Form().SelectedIndex(), 7);
  EXPECT_EQ(Form().SourceIndexOf(7), 7);
  Form().MoveSelection(-1);
  EXPECT_EQ(Form().SelectedIndex(), 7);
}

TEST_F(ListFilter, TheHighlightIsScrolledIntoViewAndScrollingKeepsItInside) {
  SetNumberedEntries(20);
  Form().Resized(262, 8 * 16 + Form().TitleHeight() + 8);
  Form().SetTypedPrefix("");
  ASSERT_EQ(Form().VisibleLines(), 8);
  EXPECT_EQ(Form().ScrollBar().Max, 12);
  EXPECT_TRUE(Form().ScrollBar().Enabled);
  EXPECT_EQ(Form().ScrollBar().LargeChange, 8);
  Form().SetSelectedIndex(10);
  EXPECT_EQ(Form().ScrollPosition(), 3);
  Form().SetSelectedIndex(2);
  EXPECT_EQ(Form().ScrollPosition(), 2);
  Form().SetSelectedIndex(19);
  EXPECT_EQ(Form().ScrollPosition(), 12);
  // The user scrolls: the highlight follows to the nearest visible row.
  Form().ScrollBarScrolled(0);
  EXPECT_EQ(Form().SelectedIndex(), 7);
  Form().ScrollBarScrolled(5);
  EXPECT_EQ(Form().SelectedIndex(), 7);
  Form().ScrollBarScrolled(50);
  EXPECT_EQ(Form().ScrollPosition(), 12);
  EXPECT_EQ(Form().SelectedIndex(), 12);
  // Fewer rows than fit: nothing to scroll.
  Form().SetTypedPrefix("%%A1");
  EXPECT_EQ(Form().FilteredCount(), 11);
  Form().SetTypedPrefix("%%A0");
  EXPECT_EQ(Form().FilteredCount(), 1);
  EXPECT_EQ(Form().ScrollBar().Max, 0);
  EXPECT_FALSE(Form().ScrollBar().Enabled);
  EXPECT_EQ(Form().ScrollPosition(), 0);
}

TEST_F(ListFilter, HighlightChangesAreReportedWithTheEntrysItemIndexWhileShown) {
  std::vector<int> changes;
  Cps->OnChange = [&](TKzBaseCompletionProposal &, int index) { changes.push_back(index); };
  Form().SetTypedPrefix("%%la");
  Form().SetSelectedIndex(1);
  EXPECT_TRUE(changes.empty()); // not shown yet
  Form().ShowWindow(true);
  Form().SetSelectedIndex(0);
  Form().SetSelectedIndex(1);
  Form().SetSelectedIndex(1);
  EXPECT_EQ(changes, (std::vector<int>{0, 3}));
  Form().Deactivate();
}
