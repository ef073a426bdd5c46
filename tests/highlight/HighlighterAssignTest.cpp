// Copying settings between highlighters and attributes, the attribute list and base defaults.
#include "highlight/KzEditHighlighter.h"

#include <gtest/gtest.h>

#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"

namespace {

// The smallest concrete highlighter, to see the base's own behaviour.
class TBareHighlighter : public TKzCustomHighlighter {
public:
  using TKzCustomHighlighter::BeginLine;
  TKzHighlighterAttributes *RoleAttribute(int) const override { return nullptr; }
  void BeginLine(const std::string &, int) override {}
  bool AtLineEnd() const override { return true; }
  int TokenStart() const override { return 0; }
  std::string TokenText() const override { return {}; }
  int TokenKind() const override { return 0; }
  TKzHighlighterAttributes *TokenAttribute() const override { return nullptr; }
  void Advance() override {}
  void Add(const std::string &name) {
    RegisterAttribute(std::make_unique<TKzHighlighterAttributes>(name));
  }
  void Connect() { ConnectAttributes(); }
};

struct TCounter {
  int Calls = 0;
  void Handler(TKzPersistent *) { ++Calls; }
};

TEST(HighlighterAssign, ColoursAreCopiedOnlyBetweenExactlyEqualNames) {
  TKzHTMLHighlighter html;
  TKzCssHighlighter css;
  css.CommentAttri->SetForeground(clMaroon);
  css.KeyAttri->SetStyle(fsItalic);
  css.SpaceAttri->SetBackground(clWhite);
  css.ValueAttri->SetForeground(clTeal);
  TCounter counter;
  html.AddChangeHandler(TKzNotifyEvent::Of<&TCounter::Handler>(&counter));

  html.Assign(&css);
  EXPECT_EQ(html.CommentAttri->Foreground(), clMaroon);
  EXPECT_EQ(html.KeyAttri->Style(), fsItalic); // "Reserved Word" in both
  EXPECT_EQ(html.KeyAttri->Foreground(), 0xFF0080u);
  EXPECT_EQ(html.SpaceAttri->Background(), clWhite);
  EXPECT_EQ(html.ValueAttri->Foreground(), clTeal);
  EXPECT_EQ(html.SymbolAttri->Style(), 0);            // the CSS symbol is not bold
  EXPECT_EQ(html.IdentifierAttri->Style(), fsBold);   // no "Identifier" in CSS
  EXPECT_EQ(html.UndefKeyAttri->Foreground(), clRed); // no "Unknown Word" in CSS
  EXPECT_EQ(html.DefaultFilter(), "Cascading Stylesheets (*.css)|*.css");
  // Comment, Reserved Word, Space, Symbol, Value changed: one notification each; the
  // unchanged "Text" notifies nobody.
  EXPECT_EQ(counter.Calls, 5);

  TBareHighlighter bare;
  bare.Add("comment"); // other letter case: skipped
  bare.Add("Value");
  bare.Connect();
  bare.Assign(&css);
  EXPECT_EQ(bare.AttributeAt(0)->Foreground(), clNone);
  EXPECT_EQ(bare.AttributeAt(0)->Name(), "comment");
  EXPECT_EQ(bare.AttributeAt(1)->Foreground(), clTeal);
}

TEST(HighlighterAssign, DelimitersFilterAndEnabledAreCopied) {
  TKzHTMLHighlighter from;
  TKzHTMLHighlighter to;
  TKzCharSet delimiters;
  delimiters.set('#');
  from.SetWordDelimiters(delimiters);
  from.SetDefaultFilter("Vorlagen|*.tpl");
  from.SetEnabled(false);
  TCounter counter;
  to.AddChangeHandler(TKzNotifyEvent::Of<&TCounter::Handler>(&counter));
  to.Assign(&from);
  EXPECT_EQ(to.WordDelimiters(), delimiters);
  EXPECT_EQ(to.DefaultFilter(), "Vorlagen|*.tpl");
  EXPECT_FALSE(to.Enabled());
  EXPECT_EQ(counter.Calls, 1); // only Enabled changed anything that notifies
}

TEST(HighlighterAssign, ForeignSourcesAreRefused) {
  TKzHTMLHighlighter h;
  TKzHighlighterAttributes attribute("Comment");
  EXPECT_THROW(h.Assign(&attribute), EKzHighlighterError);
  try {
    h.Assign(nullptr);
    FAIL() << "assigning nothing was accepted";
  } catch (const EKzHighlighterError &e) {
    EXPECT_STREQ(e.what(), "nil kann nicht zu TKzHTMLHighlighter zugewiesen werden");
  }
  EXPECT_THROW(attribute.Assign(&h), EKzHighlighterError);
}

TEST(HighlighterAssign, AttributeAssignTakesNameColoursAndStyle) {
  TKzHighlighterAttributes a("A");
  TKzHighlighterAttributes b("B");
  b.SetForeground(clFuchsia);
  b.SetStyle(fsBold | fsStrikeOut);
  a.Assign(&b);
  EXPECT_EQ(a.Name(), "B");
  EXPECT_EQ(a.Foreground(), clFuchsia);
  EXPECT_EQ(a.Background(), clNone);
  EXPECT_EQ(a.Style(), fsBold | fsStrikeOut);
}

TEST(HighlighterAssign, AttributeListIsSortedWithoutCaseAndRefusesDuplicates) {
  TBareHighlighter h;
  h.Add("beta");
  h.Add("Alpha");
  h.Add("gamma");
  h.Add("Beta2");
  ASSERT_EQ(h.AttributeCount(), 4);
  EXPECT_EQ(h.AttributeAt(0)->Name(), "Alpha");
  EXPECT_EQ(h.AttributeAt(1)->Name(), "beta");
  EXPECT_EQ(h.AttributeAt(2)->Name(), "Beta2");
  EXPECT_EQ(h.AttributeAt(3)->Name(), "gamma");
  try {
    h.Add("BETA");
    FAIL() << "duplicate accepted";
  } catch (const EKzHighlighterError &e) {
    EXPECT_STREQ(e.what(), "In der Stringliste sind Duplikate nicht erlaubt");
  }
  EXPECT_THROW(h.Add("alpha"), EKzHighlighterError);
  EXPECT_EQ(h.AttributeCount(), 4);
  EXPECT_EQ(h.AttributeAt(4), nullptr);
}

TEST(HighlighterAssign, BaseDefaults) {
  TBareHighlighter h;
  EXPECT_TRUE(h.Enabled());
  EXPECT_EQ(h.DefaultFilter(), "");
  EXPECT_TRUE(h.DefaultFilterStored());
  EXPECT_EQ(h.LanguageTitle(), "<Unknown>");
  EXPECT_EQ(h.Capabilities(), 2);
  EXPECT_EQ(h.CurrentRange(), 0u);
  EXPECT_EQ(h.SampleText(), "");
  EXPECT_FALSE(h.IsKeyword("html"));
  EXPECT_FALSE(h.SelectUserSetting(0));
  std::vector<std::string> settings{"x"};
  h.ListUserSettings(settings);
  EXPECT_TRUE(settings.empty());
  EXPECT_EQ(h.ChangeHandlers().Sender(), &h);

  const std::string delimiters = "!\"'()*+,-./:;=?[]\\^{}|";
  EXPECT_EQ(h.WordDelimiters().count(), delimiters.size());
  for (char c : delimiters)
    EXPECT_TRUE(h.WordDelimiters().test(static_cast<unsigned char>(c))) << c;
  EXPECT_FALSE(h.WordDelimiters().test('<'));
  EXPECT_FALSE(h.WordDelimiters().test(' '));

  const TKzCharSet id = h.IdentifierChars();
  EXPECT_EQ(id.count(), 223u);
  EXPECT_FALSE(id.test(32));
  EXPECT_TRUE(id.test(33));
  EXPECT_TRUE(id.test(255));
}

} // namespace
