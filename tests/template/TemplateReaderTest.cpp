// The reader: every construct with its exact place, the rules for stray percent signs, line
// breaks of every kind, and long lines.
#include "template/TemplateReader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

const char *KindName(TTplKind kind) {
  switch (kind) {
  case TTplKind::Text: return "Text";
  case TTplKind::Variable: return "Variable";
  case TTplKind::Lang: return "Lang";
  case TTplKind::Include: return "Include";
  case TTplKind::If: return "If";
  case TTplKind::Else: return "Else";
  case TTplKind::EndIf: return "EndIf";
  case TTplKind::Loop: return "Loop";
  case TTplKind::EndLoop: return "EndLoop";
  case TTplKind::Directive: return "Directive";
  case TTplKind::Unclosed: return "Unclosed";
  }
  return "?";
}

// "Kind@line:column[bytes](name)" for every token; text tokens show their bytes.
std::vector<std::string> Dump(std::string_view text) {
  std::vector<std::string> out;
  TTemplateReader reader(text);
  TTplToken t;
  while (reader.Next(t)) {
    std::string line = std::string(KindName(t.Kind)) + "@" + std::to_string(t.Line) + ":" +
                       std::to_string(t.Column) + "[" +
                       std::string(text.substr(t.Offset, t.Length)) + "]";
    if (t.NameLength)
      line += "(" + std::string(t.Name(text)) + ")";
    out.push_back(line);
  }
  return out;
}

using V = std::vector<std::string>;

} // namespace

TEST(TemplateReader, EveryConstructWithItsNameAndPlace) {
  EXPECT_EQ(Dump("a%%app_name%%b%%LANG001%%%%INCLUDE:sub/x.htm%%%%IF:flag%%1%%ELSE%%2%%ENDIF%%"
                 "%%LOOP:messages%%%%ENDLOOP%%%%FOO:bar%%"),
            (V{"Text@1:1[a]", "Variable@1:2[%%app_name%%](app_name)", "Text@1:14[b]",
               "Lang@1:15[%%LANG001%%](LANG001)", "Include@1:26[%%INCLUDE:sub/x.htm%%](sub/x.htm)",
               "If@1:47[%%IF:flag%%](flag)", "Text@1:58[1]", "Else@1:59[%%ELSE%%]", "Text@1:67[2]",
               "EndIf@1:68[%%ENDIF%%]", "Loop@1:77[%%LOOP:messages%%](messages)",
               "EndLoop@1:94[%%ENDLOOP%%]", "Directive@1:105[%%FOO:bar%%](FOO)"}));
  // Directives are upper case; a word in another case is a (probably unknown) variable,
  // and "LANG" needs digits after it to be a language text.
  EXPECT_EQ(Dump("%%else%%%%LANG%%%%LANG12x%%%%LANG7%%%%IF:%%"),
            (V{"Variable@1:1[%%else%%](else)", "Variable@1:9[%%LANG%%](LANG)",
               "Variable@1:17[%%LANG12x%%](LANG12x)", "Lang@1:28[%%LANG7%%](LANG7)",
               "If@1:37[%%IF:%%]"}));
}

TEST(TemplateReader, PercentSignsThatStartNoConstruct) {
  // A third "%" leaves the first one as text: a percent sign right after a construct,
  // or before one.
  EXPECT_EQ(Dump("width:%%p%%%;"),
            (V{"Text@1:1[width:]", "Variable@1:7[%%p%%](p)", "Text@1:12[%;]"}));
  EXPECT_EQ(Dump("%%%p%%"), (V{"Text@1:1[%]", "Variable@1:2[%%p%%](p)"}));
  EXPECT_EQ(Dump("50% und 20%"), (V{"Text@1:1[50% und 20%]"}));
  // A "%%" that nothing closes on its line, at the end of a line or of the text, and one
  // whose name breaks off at a blank.
  EXPECT_EQ(Dump("a %%\r\nb%%"),
            (V{"Text@1:1[a ]", "Unclosed@1:3[%%]", "Text@1:5[\r\nb]", "Unclosed@2:2[%%]"}));
  EXPECT_EQ(Dump("%%user name%%"),
            (V{"Unclosed@1:1[%%]", "Text@1:3[user name]", "Unclosed@1:12[%%]"}));
  EXPECT_EQ(Dump("%%abc%x"), (V{"Unclosed@1:1[%%]", "Text@1:3[abc%x]"}));
  // A construct never reaches over a line break.
  EXPECT_EQ(Dump("%%app\n_name%%"),
            (V{"Unclosed@1:1[%%]", "Text@1:3[app\n_name]", "Unclosed@2:6[%%]"}));
  EXPECT_EQ(Dump("%%%%"), (V{"Text@1:1[%%]", "Unclosed@1:3[%%]"}));
}

TEST(TemplateReader, LinesEndAtCrLfLfAndLoneCr) {
  EXPECT_EQ(Dump("x\r\n%%a%%\n%%b%%\r%%c%%\r\n\r\n  %%d%%"),
            (V{"Text@1:1[x\r\n]", "Variable@2:1[%%a%%](a)", "Text@2:6[\n]",
               "Variable@3:1[%%b%%](b)", "Text@3:6[\r]", "Variable@4:1[%%c%%](c)",
               "Text@4:6[\r\n\r\n  ]", "Variable@6:3[%%d%%](d)"}));
  // Bytes of the code page's letters count one column each, as in the editor.
  EXPECT_EQ(Dump("\xE4\xF6\xFC%%gr\xFC\xDF%%"),
            (V{"Text@1:1[\xE4\xF6\xFC]", "Variable@1:4[%%gr\xFC\xDF%%](gr\xFC\xDF)"}));
}

TEST(TemplateReader, ConstructsFarIntoMegabyteLines) {
  const std::string pad(1 << 20, 'x');
  const std::string text = pad + "%%a%%" + pad + "\n" + pad + "%%ENDIF%%";
  std::vector<TTplToken> constructs;
  TTemplateReader reader(text);
  TTplToken t;
  while (reader.Next(t))
    if (t.Kind != TTplKind::Text)
      constructs.push_back(t);
  ASSERT_EQ(constructs.size(), 2u);
  EXPECT_EQ(constructs[0].Line, 1u);
  EXPECT_EQ(constructs[0].Column, (1u << 20) + 1);
  EXPECT_EQ(constructs[1].Kind, TTplKind::EndIf);
  EXPECT_EQ(constructs[1].Line, 2u);
  EXPECT_EQ(constructs[1].Column, (1u << 20) + 1);
  EXPECT_EQ(constructs[1].Offset, 2 * pad.size() + 5 + 1 + pad.size());
}

TEST(TemplateReader, PathAfterTplUrl) {
  const std::string text =
      "src=\"%%tpl_url%%img/logo.png\" %%tpl_url%%main.css?v=2 %%tpl_url%%img/%%n%%.gif "
      "url(%%tpl_url%%bg.png) %%tpl_url%% %%tpl_url%%a.png%%ENDIF%% %%tpl_url%%b%%LANG001%% "
      "%%tpl_url%%c.png%";
  std::vector<std::string> paths;
  TTemplateReader reader(text);
  TTplToken t;
  while (reader.Next(t))
    if (t.Kind == TTplKind::Variable && t.Name(text) == "tpl_url")
      paths.push_back(std::string(TplUrlPathAt(text, t.End())));
  // A path built from another variable is only known when the page is built.
  EXPECT_EQ(paths, (V{"img/logo.png", "main.css", "", "bg.png", "", "a.png", "", "c.png"}));
}

TEST(TemplateReader, StyleSheetNames) {
  EXPECT_TRUE(IsStyleSheetName("main.css"));
  EXPECT_TRUE(IsStyleSheetName("css/PRINT.CSS"));
  EXPECT_FALSE(IsStyleSheetName("main.css.htm"));
  EXPECT_FALSE(IsStyleSheetName("css"));
  EXPECT_FALSE(IsStyleSheetName(".cs"));
}

TEST(TemplateReader, RandomTextsAreTiledExactlyWithTheirPlaces) {
  // Texts from the bytes that matter to the reader: the tokens must cover every byte once,
  // in order, each at the line and column a plain count gives.
  const std::string alphabet = "%%%%a_:I F\r\nELSNDOPCU.\xE4";
  for (unsigned seed = 1; seed <= 400; ++seed) {
    std::mt19937 rng(seed);
    std::string text(rng() % 200, ' ');
    for (char &c : text)
      c = alphabet[rng() % alphabet.size()];
    TTemplateReader reader(text);
    TTplToken t;
    std::size_t at = 0;
    bool lastWasText = false;
    while (reader.Next(t)) {
      ASSERT_EQ(t.Offset, at) << "seed " << seed;
      ASSERT_GT(t.Length, 0u) << "seed " << seed;
      ASSERT_FALSE(lastWasText && t.Kind == TTplKind::Text)
          << "two text tokens in a row, seed " << seed;
      lastWasText = t.Kind == TTplKind::Text;
      std::uint32_t line = 1;
      std::size_t lineStart = 0;
      for (std::size_t i = 0; i < at; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
          ++line;
          lineStart = i + 1;
        }
      }
      ASSERT_EQ(t.Line, line) << "seed " << seed << " offset " << at;
      ASSERT_EQ(t.Column, at - lineStart + 1) << "seed " << seed << " offset " << at;
      if (t.Kind != TTplKind::Text && t.Kind != TTplKind::Unclosed) {
        const std::string_view body = std::string_view(text).substr(t.Offset, t.Length);
        ASSERT_EQ(body.substr(0, 2), "%%");
        ASSERT_EQ(body.substr(body.size() - 2), "%%");
        ASSERT_EQ(body.find_first_of("\r\n"), std::string_view::npos);
      }
      at = t.End();
    }
    ASSERT_EQ(at, text.size()) << "seed " << seed;
  }
}
