// The token walk: non-empty tokens in order, the state a line starts in, nothing read beyond
// the line, and the look a token is drawn in.
#include "editor/KzEditTextBuffer.h"
#include "editor/KzEditTokenWalk.h"
#include "highlight/KzHighlighterHtml.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// A highlighter that plays back a fixed token list (start, attribute) for every line and
// records the state each line was started in.
class TScriptedHighlighter : public TKzCustomHighlighter {
public:
  TKzHighlighterAttributes *RoleAttribute(int) const override { return nullptr; }
  void ClearRange() override { FRange = 7000; }
  void RestoreRange(TKzRange r) override { FRange = r; }
  TKzRange CurrentRange() const override { return FRange + FPos; }
  void BeginLine(const std::string &line, int) override {
    StartedIn.push_back(FRange);
    FLen = static_cast<int>(line.size());
    FPos = 0;
  }
  bool AtLineEnd() const override { return FPos >= static_cast<int>(Script.size()); }
  int TokenStart() const override { return AtLineEnd() ? FLen : Script[std::size_t(FPos)].first; }
  std::string TokenText() const override { return std::string(); }
  int TokenKind() const override { return 0; }
  TKzHighlighterAttributes *TokenAttribute() const override {
    return AtLineEnd() ? nullptr : Script[std::size_t(FPos)].second;
  }
  void Advance() override { ++FPos; }

  std::vector<std::pair<int, TKzHighlighterAttributes *>> Script;
  std::vector<TKzRange> StartedIn;

private:
  TKzRange FRange = 0;
  int FLen = 0;
  int FPos = 0;
};

std::vector<std::vector<int>> Walk(TKzTokenWalk &walk, TKzHighlighterAttributes *a) {
  std::vector<std::vector<int>> out;
  for (TKzToken t; walk.Next(t);)
    out.push_back({t.Start, t.End, t.Attr == a ? 1 : t.Attr ? 2 : 0});
  return out;
}

} // namespace

TEST(TokenWalk, SkipsEmptyTokensAndEndsTheLastAtTheLineEnd) {
  TScriptedHighlighter h;
  TKzHighlighterAttributes a("A"), b("B");
  // "ab  cd": tokens at 0, an empty one at 2, then 2 and 4.
  h.Script = {{0, &a}, {2, &b}, {2, nullptr}, {4, &b}};
  const std::string line = "ab  cd";
  TKzTokenWalk walk(h, line, 0, nullptr);
  EXPECT_EQ(walk.LastAttr(), nullptr);
  EXPECT_EQ(Walk(walk, &a), (std::vector<std::vector<int>>{{0, 2, 1}, {2, 4, 0}, {4, 6, 2}}));
  EXPECT_EQ(walk.LastAttr(), &b);
  TKzToken t;
  EXPECT_FALSE(walk.Next(t)); // stays at the end
}

TEST(TokenWalk, NeverReachesBeyondTheLine) {
  TScriptedHighlighter h;
  TKzHighlighterAttributes a("A");
  // A token that claims to start past the end of a four-character line: the one before it
  // ends at the line's end, and the claimed token holds nothing.
  h.Script = {{0, &a}, {2, &a}, {10, &a}};
  const std::string line = "abcd";
  TKzTokenWalk walk(h, line, 0, nullptr);
  EXPECT_EQ(Walk(walk, &a), (std::vector<std::vector<int>>{{0, 2, 1}, {2, 4, 1}}));
}

TEST(TokenWalk, StartsEachLineInTheStateOfTheLineAbove) {
  TScriptedHighlighter h;
  h.Script = {{0, nullptr}};
  const std::string line = "x";
  const TKzRange given = 42;
  { TKzTokenWalk walk(h, line, 5, &given); }
  { TKzTokenWalk walk(h, line, 0, nullptr); }
  TKzEditStringList lines;
  lines.SetText("one\r\ntwo\r\nthree");
  lines.SetLineRange(0, 11);
  lines.SetLineRange(1, 22);
  { TKzTokenWalk walk(h, lines, line, 0); } // the first line: cleared
  { TKzTokenWalk walk(h, lines, line, 2); } // the range stored with line 1
  EXPECT_EQ(h.StartedIn, (std::vector<TKzRange>{42, 7000, 7000, 22}));

  TKzTokenWalk walk(h, line, 0, &given);
  EXPECT_EQ(walk.EndRange(), 43u); // the scripted state counts the tokens passed
}

TEST(TokenWalk, CarriesAnHtmlCommentIntoTheNextLine) {
  TKzHTMLHighlighter html;
  TKzEditStringList lines;
  lines.SetText("<p><!-- note\r\nstill comment --> <b>");
  std::string first = lines.GetLine(0), second = lines.GetLine(1);
  TKzTokenWalk top(html, lines, first, 0);
  lines.SetLineRange(0, top.EndRange());

  TKzTokenWalk walk(html, lines, second, 1);
  TKzToken t;
  ASSERT_TRUE(walk.Next(t));
  EXPECT_EQ(t.Start, 0);
  EXPECT_EQ(t.Attr, html.CommentAttri);
  // Started as a first line, the same text is no comment.
  TKzTokenWalk fresh(html, second, 1, nullptr);
  ASSERT_TRUE(fresh.Next(t));
  EXPECT_NE(t.Attr, html.CommentAttri);
}

TEST(TokenLook, TakesTheAttributesColoursOnlyWhereItHasThem) {
  const TKzTokenLook defaults{kzp::fsItalic, kzp::clBlack, kzp::clWhite};
  EXPECT_EQ(LookOfToken(nullptr, defaults), defaults);

  TKzHighlighterAttributes attr("Key");
  attr.SetStyle(kzp::fsBold);
  attr.SetForeground(kzp::clRed);
  // No background of its own: the line's stays; the style is the attribute's even when empty.
  EXPECT_EQ(LookOfToken(&attr, defaults), (TKzTokenLook{kzp::fsBold, kzp::clRed, kzp::clWhite}));
  attr.SetBackground(kzp::clYellow);
  EXPECT_EQ(LookOfToken(&attr, defaults), (TKzTokenLook{kzp::fsBold, kzp::clRed, kzp::clYellow}));
  EXPECT_EQ(LookOfToken(&attr, defaults, false, true),
            (TKzTokenLook{kzp::fsBold, kzp::clBlack, kzp::clYellow}));
  EXPECT_EQ(LookOfToken(&attr, defaults, true, false),
            (TKzTokenLook{kzp::fsBold, kzp::clRed, kzp::clWhite}));
  attr.SetStyle(0);
  EXPECT_EQ(LookOfToken(&attr, defaults).Style, 0);
}
