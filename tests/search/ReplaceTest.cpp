// Replacing in the editor: one match when the selection is one, every match as one undo
// step that undo and redo take back and repeat byte for byte.
#include "SearchSupport.h"

#include "editor/KzEditReplace.h"

#include <gtest/gtest.h>

namespace {

TKzSearch Make(const TCustomKzEdit &ed, const std::string &p, bool regex = false,
               bool matchCase = false) {
  return TKzSearch(p, {matchCase, false, regex}, EditorWordChars(ed));
}

struct TState {
  std::string Text;
  TBufferCoord Caret, Anchor, End;
  bool operator==(const TState &) const = default;
};
TState StateOf(const TCustomKzEdit &ed) {
  return {ed.Text(), ed.CaretXY(), ed.SelectionAnchor(), ed.SelectionEnd()};
}
std::ostream &operator<<(std::ostream &os, const TState &s) {
  return os << '"' << s.Text << "\" caret " << s.Caret.Char << ',' << s.Caret.Line << " sel "
            << s.Anchor.Char << ',' << s.Anchor.Line << '-' << s.End.Char << ',' << s.End.Line;
}

} // namespace

TEST(Replace, AllAsOneUndoStepExactToTheByte) {
  // Trailing blanks on touched and untouched lines, a tab, and a match at a line's end.
  const std::string text = "<b>%%Name%%</b>   \r\n\t%%Ort%%  \r\nnichts hier \r\n%%Name%%";
  TSearchEditor t(text);
  TCustomKzEdit &ed = *t.Ed;
  ed.SetCaretAndSelection({4, 3}, {2, 3}, {4, 3});
  const TState before = StateOf(ed);
  int changes = 0;
  ed.OnChange = [&](TCustomKzEdit &) { ++changes; };
  EXPECT_EQ(
      ReplaceAllMatches(ed, Make(ed, "%%([A-Za-z]+)%%", true), "{{$1}}", TKzSearchScope::Whole()),
      3);
  const std::string after = "<b>{{Name}}</b>   \r\n\t{{Ort}}  \r\nnichts hier \r\n{{Name}}";
  EXPECT_EQ(ed.Text(), after);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(ed.TextModified());
  // The caret was behind the first match: it ends after the last replacement.
  EXPECT_EQ(ed.CaretXY(), (TBufferCoord{9, 4}));
  EXPECT_FALSE(ed.SelectionAvailable());
  const TState replaced = StateOf(ed);
  ed.Undo();
  EXPECT_EQ(StateOf(ed), before);
  EXPECT_FALSE(ed.UndoAvailable());
  EXPECT_FALSE(ed.TextModified());
  ed.Redo();
  EXPECT_EQ(ed.Text(), after);
  EXPECT_FALSE(ed.RedoAvailable());
  ed.Undo();
  EXPECT_EQ(StateOf(ed), before);
  (void)replaced;
}

TEST(Replace, LineBreaksInAndOutOfTheReplacement) {
  TSearchEditor t("a, b, c\r\nd");
  TCustomKzEdit &ed = *t.Ed;
  ed.SetCaretPos({1, 1});
  EXPECT_EQ(ReplaceAllMatches(ed, Make(ed, ", ", true), ",\\n", TKzSearchScope::Whole()), 2);
  EXPECT_EQ(ed.Text(), "a,\r\nb,\r\nc\r\nd");
  // The caret stood before the first match and stays there.
  EXPECT_EQ(ed.CaretXY(), (TBufferCoord{1, 1}));
  EXPECT_EQ(ReplaceAllMatches(ed, Make(ed, ",\\n", true), "; ", TKzSearchScope::Whole()), 2);
  EXPECT_EQ(ed.Text(), "a; b; c\r\nd");
  ed.Undo();
  EXPECT_EQ(ed.Text(), "a,\r\nb,\r\nc\r\nd");
  ed.Undo();
  EXPECT_EQ(ed.Text(), "a, b, c\r\nd");
  EXPECT_FALSE(ed.UndoAvailable());
}

TEST(Replace, MoreEditsThanTheUndoListHoldsStayOneStep) {
  std::string text;
  for (int i = 0; i < 1500; ++i)
    text += "x" + std::to_string(i) + (i % 7 == 0 ? "  " : "") + "\r\n";
  text += "y";
  TSearchEditor t(text);
  TCustomKzEdit &ed = *t.Ed;
  ed.SetCaretPos({2, 1500});
  ed.SetSelectedText("z"); // an earlier step that must survive
  const TState before = StateOf(ed);
  const std::string original = ed.Text();
  EXPECT_EQ(ReplaceAllMatches(ed, Make(ed, "x"), "ab", TKzSearchScope::Whole()), 1500);
  std::string expected = original;
  for (std::size_t at = 0; (at = expected.find('x', at)) != std::string::npos; at += 2)
    expected.replace(at, 1, "ab");
  EXPECT_EQ(ed.Text(), expected);
  ed.Undo();
  EXPECT_EQ(StateOf(ed), before);
  ed.Undo();
  EXPECT_EQ(ed.Text(), text);
  ed.Redo();
  ed.Redo();
  EXPECT_EQ(ed.Text(), expected);
}

TEST(Replace, OnlyInsideTheSelectionAndNothingElse) {
  TSearchEditor t("aa aa\r\naa aa\r\naa");
  TCustomKzEdit &ed = *t.Ed;
  EXPECT_EQ(ReplaceAllMatches(ed, Make(ed, "aa"), "b", TKzSearchScope::Range({4, 1}, {3, 2})), 2);
  EXPECT_EQ(ed.Text(), "aa b\r\nb aa\r\naa");
  // A replacement equal to the match is counted but changes nothing and records nothing.
  ed.ClearUndo();
  EXPECT_EQ(ReplaceAllMatches(ed, Make(ed, "aa", false, true), "aa", TKzSearchScope::Whole()), 3);
  EXPECT_FALSE(ed.UndoAvailable());
  EXPECT_EQ(ReplaceAllMatches(ed, Make(ed, "zz"), "b", TKzSearchScope::Whole()), 0);
  // A read-only editor is left alone.
  ed.SetReadOnly(true);
  EXPECT_EQ(ReplaceAllMatches(ed, Make(ed, "aa"), "b", TKzSearchScope::Whole()), 0);
  EXPECT_EQ(ed.Text(), "aa b\r\nb aa\r\naa");
}

TEST(Replace, TheSelectedMatchOnly) {
  TSearchEditor t("Hallo Welt, hallo Rest  ");
  TCustomKzEdit &ed = *t.Ed;
  const TKzSearch s = Make(ed, "hallo");
  // No selection and no empty match at the caret: nothing is replaced.
  ed.SetCaretPos({3, 1});
  EXPECT_FALSE(ReplaceSelectedMatch(ed, s, "Tag"));
  // A selection that is only part of a match is no match either.
  ed.SetCaretAndSelection({4, 1}, {1, 1}, {4, 1});
  EXPECT_FALSE(ReplaceSelectedMatch(ed, s, "Tag"));
  SelectMatch(ed, {{13, 1}, {18, 1}});
  EXPECT_TRUE(ReplaceSelectedMatch(ed, s, "Tag"));
  EXPECT_EQ(ed.Text(), "Hallo Welt, Tag Rest  ");
  EXPECT_EQ(ed.CaretXY(), (TBufferCoord{16, 1}));
  ed.Undo();
  EXPECT_EQ(ed.Text(), "Hallo Welt, hallo Rest  ");
  EXPECT_EQ(ed.SelectedText(), "hallo");
  // An empty match at the caret is replaced by inserting.
  ed.SetCaretPos({1, 1});
  EXPECT_TRUE(ReplaceSelectedMatch(ed, Make(ed, "^", true), "> "));
  EXPECT_EQ(ed.Text(), "> Hallo Welt, hallo Rest  ");
  ed.SetReadOnly(true);
  SelectMatch(ed, {{3, 1}, {8, 1}});
  EXPECT_FALSE(ReplaceSelectedMatch(ed, s, "x"));
}

TEST(Replace, SelectionScopeFollowsTheMode) {
  TSearchEditor t("ab\tab ab\r\nab ab ab ab ab\r\nab");
  TCustomKzEdit &ed = *t.Ed;
  const TKzSearch s = Make(ed, "ab");
  const TKzBufferSearchLines lines(ed.Lines());
  ed.SetCaretAndSelection({6, 1}, {2, 1}, {6, 1});
  EXPECT_EQ(Matches(s, lines, SelectionScope(ed)), "1:4-6");
  ed.SetSelectionMode(smLine);
  ed.SetCaretAndSelection({1, 2}, {2, 1}, {1, 2});
  EXPECT_EQ(Matches(s, lines, SelectionScope(ed)),
            "1:1-3 1:4-6 1:7-9 2:1-3 2:4-6 2:7-9 2:10-12 2:13-15");
  // A rectangle over display columns 9 to 13: the tab fills columns 3 to 8 of line 1.
  ed.SetSelectionMode(smColumn);
  ed.SetCaretAndSelection({14, 2}, {4, 1}, {14, 2});
  EXPECT_EQ(Matches(s, lines, SelectionScope(ed)), "1:4-6 1:7-9 2:10-12");
  ed.SetCaretPos({1, 1});
  EXPECT_EQ(SelectionScope(ed).Kind, TKzSearchScope::skWhole);
}

TEST(Replace, MatchesFarOutOnALongLine) {
  // Columns beyond the editor's scroll width (1024) are reached like any other.
  std::string line;
  for (int i = 0; i < 600; ++i)
    line += "Kunden ";
  TSearchEditor t(line + "\r\nx");
  TCustomKzEdit &ed = *t.Ed;
  const TKzSearch s = Make(ed, "Kunden");
  SelectMatch(ed, {{3501, 1}, {3507, 1}});
  EXPECT_EQ(ed.SelectedText(), "Kunden");
  EXPECT_TRUE(ReplaceSelectedMatch(ed, s, "K"));
  EXPECT_EQ(ed.LineText().substr(3493, 16), "Kunden K Kunden ");
  ed.Undo();
  EXPECT_EQ(ed.Text(), line + "\r\nx");
  EXPECT_EQ(ReplaceAllMatches(ed, s, "Klient", TKzSearchScope::Whole()), 600);
  std::string expected;
  for (int i = 0; i < 600; ++i)
    expected += "Klient ";
  EXPECT_EQ(ed.Text(), expected + "\r\nx");
  ed.Undo();
  EXPECT_EQ(ed.Text(), line + "\r\nx");
  ed.Redo();
  EXPECT_EQ(ed.Text(), expected + "\r\nx");
}
