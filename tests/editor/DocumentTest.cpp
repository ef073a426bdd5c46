// The document on its own, without caret or screen: the rescan it runs when a change bracket
// closes and what it reports, the recording of trimmed blanks, and its undo bookkeeping.
#include "editor/KzEditDocument.h"
#include "highlight/KzHighlighterHtml.h"

#include "UndoReasons.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using R = TKzChangeReason;

class TCountingHtml : public TKzHTMLHighlighter {
public:
  void BeginLine(const std::string &line, int lineIndex) override {
    Lines.push_back(lineIndex);
    TKzHTMLHighlighter::BeginLine(line, lineIndex);
  }
  std::vector<int> Lines;
};

struct TDocFixture {
  TKzEditDocument Doc;
  TCountingHtml Html;
  std::vector<TKzDocumentChange> Changes;
  int EndChanges = 0, Cleared = 0, OnChanges = 0, Modified = 0;

  TDocFixture() {
    Doc.OnLinesChanged = [this](const TKzDocumentChange &c) { Changes.push_back(c); };
    Doc.OnEndChange = [this] { ++EndChanges; };
    Doc.OnCleared = [this] { ++Cleared; };
    Doc.OnChange = [this] { ++OnChanges; };
    Doc.OnModifiedChanged = [this] { ++Modified; };
  }
  void Push(R reason = R::InsertText) {
    Doc.UndoList().PushChange(reason, {1, 1}, {2, 1}, "", smNormal);
  }
};

} // namespace

TEST(Document, RescansFromTheChangedLineUntilTheRangeRepeatsAndReportsWhatToRepaint) {
  TDocFixture f;
  f.Doc.Lines().SetText("<p>\r\n<b>\r\n<i>\r\n<u>\r\n<s>");
  f.Doc.SetHighlighter(&f.Html);
  f.Doc.RescanAllRanges();
  EXPECT_EQ(f.Html.Lines, (std::vector<int>{0, 1, 2, 3, 4}));
  f.Html.Lines.clear();
  f.Changes.clear();

  // A change inside line 2 that keeps its end state: that line and no other is scanned.
  f.Doc.Lines().ReplaceLine(1, "<em>");
  EXPECT_EQ(f.Html.Lines, (std::vector<int>{1, 2}));
  ASSERT_EQ(f.Changes.size(), 1u);
  EXPECT_EQ(f.Changes[0].FirstIndex, 1);
  EXPECT_EQ(f.Changes[0].RepaintFrom, 2);
  EXPECT_EQ(f.Changes[0].RepaintTo, 3);

  // An opened comment runs to the end; so does the repaint of an insertion.
  f.Html.Lines.clear();
  f.Changes.clear();
  f.Doc.Lines().InsertLine(2, "<!--");
  EXPECT_EQ(f.Html.Lines, (std::vector<int>{2, 3, 4, 5}));
  ASSERT_EQ(f.Changes.size(), 1u);
  EXPECT_EQ(f.Changes[0].RepaintTo, -1);
  EXPECT_EQ(f.Doc.Lines().LineRange(5), TKzHTMLHighlighter::RangeComment);

  // Many changes in one bracket: one rescan, one report, one end.
  f.Changes.clear();
  const int ends = f.EndChanges;
  {
    TKzEditUpdateGuard guard(f.Doc.Lines());
    f.Doc.Lines().ReplaceLine(0, "<p>-->");
    f.Doc.Lines().ReplaceLine(4, "x");
  }
  EXPECT_EQ(f.Changes.size(), 1u);
  EXPECT_EQ(f.EndChanges, ends + 1);
}

TEST(Document, TrimmedBlanksAreRecordedAfterTheEditsItemInItsStep) {
  TDocFixture f;
  f.Doc.Lines().SetText("ab   ");
  // The edit put "x" in front of blanks the line had already; trimming takes them, and undo
  // must give them back.
  f.Doc.StoreLine(0, "abx   ", true, 2, 3);
  EXPECT_EQ(f.Doc.Lines().GetLine(0), "abx");
  EXPECT_TRUE(f.Doc.TrimsPending());
  f.Push();
  EXPECT_FALSE(f.Doc.TrimsPending());
  ASSERT_EQ(Reasons(f.Doc.UndoList()), (std::vector<R>{R::InsertText, R::TrimSpaces}));
  const TKzEditUndoItem &trim = f.Doc.UndoList().Item(1);
  EXPECT_EQ(trim.StepNumber, f.Doc.UndoList().Item(0).StepNumber);
  EXPECT_EQ(trim.StartPos, (TBufferCoord{4, 1}));
  EXPECT_EQ(trim.ChangeText, "   ");

  // Blanks that only the edit brought to the line's end were never text.
  f.Doc.StoreLine(0, "abx  ", true, 3, 5);
  EXPECT_FALSE(f.Doc.TrimsPending());
  // Nothing is noted while the undo list records nothing.
  f.Doc.UndoList().Lock();
  f.Doc.StoreLine(0, "abx ", true);
  f.Doc.UndoList().Unlock();
  EXPECT_FALSE(f.Doc.TrimsPending());
  EXPECT_EQ(f.Doc.Lines().GetLine(0), "abx");
}

TEST(Document, AHeldInsertionKeepsItsTrimsUntilItsOwnItem) {
  TDocFixture f;
  f.Doc.Lines().SetText("a  \r\nb");
  f.Doc.StoreLine(0, "a  ", true); // an earlier edit's trim, waiting
  {
    // Waiting trims go first; the insertion's own line changes do not record its trims.
    TKzEditDocument::TTrimHold hold(f.Doc);
    EXPECT_FALSE(f.Doc.TrimsPending());
    f.Doc.StoreLine(1, "b  ", true);
    f.Doc.Lines().InsertLine(2, "c");
    EXPECT_TRUE(f.Doc.TrimsPending());
  }
  f.Push(R::PasteText);
  EXPECT_EQ(Reasons(f.Doc.UndoList()),
            (std::vector<R>{R::TrimSpaces, R::PasteText, R::TrimSpaces}));
  // Without a hold the next change of the lines records a waiting trim.
  f.Doc.StoreLine(2, "c ", true);
  f.Doc.Lines().ReplaceLine(0, "z");
  EXPECT_EQ(f.Doc.UndoList().ItemCount(), 4);
}

TEST(Document, ChangesModifiedStateAndRedoHistory) {
  TDocFixture f;
  f.Doc.Lines().SetText("text");
  f.Push();
  f.Push();
  EXPECT_EQ(f.OnChanges, 2);
  EXPECT_TRUE(f.Doc.Modified());
  EXPECT_EQ(f.Modified, 1);
  // One change for a block that recorded anything, none for an empty one.
  f.Doc.UndoList().BeginBlock();
  f.Push();
  f.Push();
  f.Doc.UndoList().EndBlock();
  EXPECT_EQ(f.OnChanges, 3);
  f.Doc.UndoList().BeginBlock();
  f.Doc.UndoList().EndBlock();
  EXPECT_EQ(f.OnChanges, 3);

  // The save point: modified again only once the undo list moves away from it.
  f.Doc.SetModified(false, true);
  EXPECT_FALSE(f.Doc.Modified());
  EXPECT_EQ(f.Doc.UndoList().LastReason(), R::GroupBreak);
  f.Doc.UpdateModifiedFromUndo();
  EXPECT_FALSE(f.Doc.Modified());
  f.Doc.RedoList().PushChange(R::InsertText, {1, 1}, {2, 1}, "", smNormal);
  // A new edit discards the redo history, except while a redo records it.
  f.Doc.SetRedoInProgress(true);
  f.Push();
  EXPECT_TRUE(f.Doc.RedoList().HasItems());
  EXPECT_TRUE(f.Doc.Modified());
  f.Doc.SetRedoInProgress(false);
  f.Push();
  EXPECT_FALSE(f.Doc.RedoList().HasItems());

  // Clearing the lines empties both lists and is reported.
  f.Doc.RedoList().PushChange(R::InsertText, {1, 1}, {2, 1}, "", smNormal);
  f.Doc.Lines().SetText("other");
  EXPECT_EQ(f.Cleared, 1);
  EXPECT_FALSE(f.Doc.UndoList().HasItems());
  EXPECT_FALSE(f.Doc.RedoList().HasItems());
}
