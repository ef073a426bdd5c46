// Templates named "*.css" open with the style sheet highlighter, all others with the HTML
// highlighter, and a change of highlighter scans the new text once.
#include "WorkbenchFixture.h"

#include "editor/qt/KzEditWidget.h"
#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"

namespace {
class TCountingCss : public TKzCssHighlighter {
public:
  void BeginLine(const std::string &line, int lineIndex) override {
    ++Lines;
    TKzCssHighlighter::BeginLine(line, lineIndex);
  }
  int Lines = 0;
};
} // namespace

TEST_F(WorkbenchTest, TheTemplatesNameChoosesItsHighlighter) {
  const std::string sheet = "a {\r\n/* Rand\r\n*/ color: red; }";
  WriteTestPack(demoPack, {"Demo", "Anna", "anna@example.com", "www.example.com", "demo"},
                {{"index.htm", "<p>Hallo</p>\r\n<p>zwei</p>"},
                 {"main.css", sheet},
                 {"DRUCK.CSS", "p { }"},
                 {"css.htm", "<p>"}});
  TfrmMain &w = StartWithPack(demoPack);
  auto counting = std::make_unique<TCountingCss>();
  TCountingCss *css = counting.get();
  w.cssHighlight = std::move(counting);
  auto *edit = dynamic_cast<TKzEdit *>(w.editor->Widget());
  ASSERT_NE(edit, nullptr);
  const TCustomKzEdit &core = edit->Editor();

  OpenTemplate("index.htm");
  EXPECT_EQ(core.Highlighter(), w.htmlHighlight.get());
  OpenTemplate("main.css");
  EXPECT_EQ(core.Highlighter(), css);
  // Each of the three lines once: the switch itself met an empty editor.
  EXPECT_EQ(css->Lines, 3);
  // The stored ranges are the style sheet's: the comment interrupted a rule.
  EXPECT_EQ(core.Lines().LineRange(1),
            TKzCssHighlighter::RangeComment | (TKzCssHighlighter::RangeInRule << 8));
  EXPECT_EQ(core.Lines().LineRange(2), TKzCssHighlighter::RangeOutsideRule);

  css->Lines = 0;
  OpenTemplate("DRUCK.CSS");
  EXPECT_EQ(core.Highlighter(), css) << "the extension in any letter case";
  EXPECT_EQ(css->Lines, 1) << "same highlighter: the text alone is scanned";
  OpenTemplate("css.htm");
  EXPECT_EQ(core.Highlighter(), w.htmlHighlight.get());
  EXPECT_EQ(w.editor->Text(), "<p>");
  // The window lets go of its highlighters before they go.
  w.editor->SetHighlighter(nullptr);
}
