// Highlighter ranges kept by the editor: the full scan on attaching, the rescan after each
// change that stops where the stored range repeats, and brackets that skip comments.
#include "EditFixture.h"

#include "highlight/KzHighlighterHtml.h"

namespace {

// Counts the lines the editor hands to the highlighter.
class TCountingHtml : public TKzHTMLHighlighter {
public:
  void BeginLine(const std::string &line, int lineIndex) override {
    ++Lines;
    TKzHTMLHighlighter::BeginLine(line, lineIndex);
  }
  int Lines = 0;
};

// The ranges a scan of the whole text from the top gives.
std::vector<TKzRange> FreshRanges(const TKzEditStringList &lines) {
  TKzHTMLHighlighter h;
  std::vector<TKzRange> out;
  h.ClearRange();
  for (int i = 0; i < lines.Count(); ++i) {
    std::string s = lines.GetLine(i);
    h.BeginLine(s, i);
    h.RunToLineEnd();
    out.push_back(h.CurrentRange());
  }
  return out;
}

std::vector<TKzRange> StoredRanges(const TKzEditStringList &lines) {
  std::vector<TKzRange> out;
  for (int i = 0; i < lines.Count(); ++i)
    out.push_back(lines.LineRange(i));
  return out;
}

std::string Document(int lines) {
  std::string s;
  for (int i = 0; i < lines; ++i)
    s += "<p class=\"x\">text " + std::to_string(i) + "</p>\r\n";
  return s;
}

} // namespace

class EditHighlightFixture : public EditFixture {
protected:
  void SetUp() override {
    EditFixture::SetUp();
    Ed->SetText(Document(50));
  }
  void TearDown() override { Ed->SetHighlighter(nullptr); }
  TCountingHtml Html;
};

TEST_F(EditHighlightFixture, AttachingScansEveryLineOnce) {
  Ed->SetHighlighter(&Html);
  EXPECT_EQ(Html.Lines, 50);
  EXPECT_EQ(StoredRanges(Ed->Lines()), FreshRanges(Ed->Lines()));
  EXPECT_EQ(Html.ChangeHandlers().Count(), 1);
  Ed->SetHighlighter(nullptr);
  EXPECT_EQ(Html.ChangeHandlers().Count(), 0);
}

TEST_F(EditHighlightFixture, TypingRescansOnlyUntilTheRangeRepeats) {
  Ed->SetHighlighter(&Html);
  Html.Lines = 0;
  Caret(20, 1);
  Type("x");
  EXPECT_LE(Html.Lines, 2);
  EXPECT_EQ(StoredRanges(Ed->Lines()), FreshRanges(Ed->Lines()));
}

TEST_F(EditHighlightFixture, OpeningACommentRescansToTheEndAndClosingItAgain) {
  Ed->SetHighlighter(&Html);
  const TKzRange plainEnd = Ed->Lines().LineRange(49);
  Html.Lines = 0;
  Caret(1, 1);
  Type("<!--");
  EXPECT_GE(Html.Lines, 50);
  EXPECT_EQ(StoredRanges(Ed->Lines()), FreshRanges(Ed->Lines()));
  EXPECT_NE(Ed->Lines().LineRange(49), plainEnd); // the last line now ends inside the comment
  Caret(1, 30);
  Type("-->");
  EXPECT_EQ(StoredRanges(Ed->Lines()), FreshRanges(Ed->Lines()));
  Ed->Undo();
  EXPECT_EQ(StoredRanges(Ed->Lines()), FreshRanges(Ed->Lines()));
  Ed->Undo();
  EXPECT_EQ(StoredRanges(Ed->Lines()), FreshRanges(Ed->Lines()));
}

TEST_F(EditHighlightFixture, LineInsertionsAndDeletionsKeepRangesRight) {
  Ed->SetHighlighter(&Html);
  Caret(1, 10);
  Ed->SetSelectedText("<!-- a\r\nb\r\nc -->\r\n<div\r\n");
  EXPECT_EQ(StoredRanges(Ed->Lines()), FreshRanges(Ed->Lines()));
  Select(P(1, 5), P(3, 12));
  Key(VK_DELETE);
  EXPECT_EQ(StoredRanges(Ed->Lines()), FreshRanges(Ed->Lines()));
  Key('Y', ssCtrl);
  EXPECT_EQ(StoredRanges(Ed->Lines()), FreshRanges(Ed->Lines()));
  Ed->SetText("<!--\r\nx");
  EXPECT_EQ(StoredRanges(Ed->Lines()), FreshRanges(Ed->Lines()));
}

TEST_F(EditHighlightFixture, AttributeChangeRepaintsHighlighterNotificationRescans) {
  Ed->SetHighlighter(&Html);
  Html.Lines = 0;
  Html.AttributeAt(0)->SetForeground(0x123456); // an attribute as sender: repaint only
  EXPECT_EQ(Html.Lines, 0);
  Html.SetEnabled(false); // no sender: repaint only
  EXPECT_EQ(Html.Lines, 0);
  Html.AttributesChanged(&Html); // the highlighter itself: every line again
  EXPECT_EQ(Html.Lines, 50);
}

TEST_F(EditHighlightFixture, MatchingBracketSkipsBracketsInComments) {
  Ed->SetHighlighter(&Html);
  Ed->SetText("(a <!-- ) --> b)");
  Caret(1, 1);
  Cmd(ecMatchBracket);
  EXPECT_EQ(Ed->CaretXY(), P(16, 1));
  Ed->SetText("<a href=\"(\">)");
  Caret(13, 1); // the quoted bracket counts: the HTML highlighter has no string role
  Cmd(ecMatchBracket);
  EXPECT_EQ(Ed->CaretXY(), P(10, 1));
}

TEST_F(EditHighlightFixture, WordCharactersComeFromTheHighlighter) {
  Ed->SetHighlighter(&Html);
  Ed->SetText("abc-def ghi");
  Caret(1, 1);
  Cmd(ecWordRight);
  EXPECT_EQ(Ed->CaretX(), 5); // "-" is a word delimiter
}
