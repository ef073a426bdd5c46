// The preview's page: samples, language texts, includes with the editor's text, both
// branches of an IF, three passes of a LOOP, markers, pack addresses, and a cut-off page.
#include "TemplateTestUtil.h"

#include "pack/KzpCodec.h"
#include "template/PreviewInline.h"
#include "template/PreviewResolver.h"
#include "template/TemplatePack.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string Page(const std::string &text,
                 const std::vector<std::pair<std::string, std::string>> &others = {},
                 TPreviewOptions options = {}) {
  std::vector<std::pair<std::string, std::string>> templates{{"page.htm", text}};
  templates.insert(templates.end(), others.begin(), others.end());
  const std::vector<std::string> records = PackRecords(templates);
  const TTemplateCatalogue catalogue = SmallCatalogue();
  const TTemplatePack pack(records);
  return TPreviewResolver(catalogue, pack, options).Resolve("page.htm");
}

} // namespace

TEST(PreviewResolver, SamplesLanguageTextsAndMarkers) {
  EXPECT_EQ(Page("<title>%%app_name%% - %%LANG001%%</title>%%user_name%%"),
            "<title>Tarvex Mail - Posteingang</title>jkrause");
  // No value to show: a variable without sample, an unknown one, an unknown language text
  // or directive; a stray "%%" stays as written, a third "%" is a percent sign.
  EXPECT_EQ(Page("%%flag%%|%%nope%%|%%LANG077%%|%%SET:x%%|50%% |%%app_name%%%"),
            "\xAB"
            "flag\xBB|\xABnope\xBB|\xABLANG077\xBB|\xABSET:x\xBB|50%% |Tarvex Mail%");
  // The pack's folder stands where the application puts it.
  EXPECT_EQ(Page("%%tpl_folder%%"), "ordner");
}

TEST(PreviewResolver, BranchesAndLoopPasses) {
  const std::string text = "[%%IF:flag%%yes%%ELSE%%no%%ENDIF%%][%%IF:flag%%only%%ENDIF%%]";
  EXPECT_EQ(Page(text), "[yes][only]");
  TPreviewOptions other;
  other.OtherBranch = true;
  EXPECT_EQ(Page(text, {}, other), "[no][]");
  // Each pass takes the next sample; a variable with one sample keeps it; loops in loops.
  EXPECT_EQ(Page("%%LOOP:messages%%<%%msg_subject%%,%%app_name%%>%%ENDLOOP%%"),
            "<A,Tarvex Mail><B,Tarvex Mail><C,Tarvex Mail>");
  EXPECT_EQ(Page("%%LOOP:messages%%%%msg_subject%%(%%LOOP:messages%%%%msg_subject%%%%ENDLOOP%%)%%"
                 "ENDLOOP%%"),
            "A(ABC)B(ABC)C(ABC)");
  TPreviewOptions two;
  two.LoopPasses = 2;
  EXPECT_EQ(Page("%%LOOP:messages%%%%IF:flag%%%%msg_subject%%%%ENDIF%%%%ENDLOOP%%", {}, two), "AB");
}

TEST(PreviewResolver, BrokenBlocksStillMakeAPage) {
  // Whatever does not pair: an open IF runs to the end, stray ends show nothing, a block
  // cut off by an outer end stops there.
  EXPECT_EQ(Page("a%%ENDIF%%b%%ELSE%%c%%ENDLOOP%%d%%IF:flag%%e%%ELSE%%f"), "abcde");
  EXPECT_EQ(Page("%%IF:flag%%x%%LOOP:messages%%y%%ENDIF%%z%%ENDLOOP%%!"), "xyyyz!");
}

TEST(PreviewResolver, IncludesFromThePackAndTheEditor) {
  const std::vector<std::string> records =
      PackRecords({{"page.htm", "<%%INCLUDE:head.htm%%|%%INCLUDE:main.css%%|%%INCLUDE:none.htm%%>"},
                   {"head.htm", "%%LOOP:messages%%%%msg_subject%%%%ENDLOOP%%"},
                   {"main.css", "b { content: \"%%app_name%%\" }"}});
  const TTemplateCatalogue catalogue = SmallCatalogue();
  TTemplatePack pack(records);
  // A style sheet goes in as it is.
  EXPECT_EQ(TPreviewResolver(catalogue, pack).Resolve("page.htm"),
            "<ABC|b { content: \"%%app_name%%\" }|\xABINCLUDE:none.htm fehlt\xBB>");
  pack.OverrideTemplate("head.htm", std::make_shared<const std::string>("[%%user_name%%]"));
  EXPECT_EQ(TPreviewResolver(catalogue, pack).Resolve("page.htm"),
            "<[jkrause]|b { content: \"%%app_name%%\" }|\xABINCLUDE:none.htm fehlt\xBB>");
  EXPECT_EQ(TPreviewResolver(catalogue, pack).Resolve("missing.htm"), "");
}

TEST(PreviewResolver, IncludeLoopsAndHugePagesEnd) {
  EXPECT_EQ(Page("a%%INCLUDE:b.htm%%", {{"b.htm", "b%%INCLUDE:page.htm%%"}}),
            "ab\xABINCLUDE:page.htm Endlosschleife\xBB");
  // Seven loops in one another make 3^7 copies; the page stops at its limit and says so.
  std::string text = "0123456789";
  for (int i = 0; i < 7; ++i)
    text = "%%LOOP:messages%%" + text + "%%ENDLOOP%%";
  TPreviewOptions small;
  small.MaxBytes = 1000;
  const std::string page = Page(text, {}, small);
  std::string expected;
  for (int i = 0; i < 100; ++i)
    expected += "0123456789";
  EXPECT_EQ(page, expected + "\xABVorschau gek\xFCrzt\xBB");
  EXPECT_EQ(Page(text).size(), 21870u); // 3^7 * 10 within the normal limit
}

TEST(PreviewResolver, PackAddresses) {
  EXPECT_EQ(Page("<img src=\"%%tpl_url%%img/a.png\"> %%tpl_url%%img/%%user_name%%.gif %%tpl_url%%"),
            "<img src=\"kzpack://pack/img/a.png\"> kzpack://pack/img/jkrause.gif kzpack://pack/");
  const std::vector<std::string> records =
      PackRecords({{"page.htm", "%%tpl_url%%x.png %%tpl_url%% %%tpl_url%%y.png"}});
  const TTemplateCatalogue catalogue = SmallCatalogue();
  const TTemplatePack pack(records);
  TPreviewResolver resolver(catalogue, pack);
  std::vector<std::string> asked;
  resolver.UrlOf = [&](std::string_view path) {
    asked.emplace_back(path);
    return "<" + std::string(path) + ">";
  };
  EXPECT_EQ(resolver.Resolve("page.htm"), "<x.png> <> <y.png>");
  EXPECT_EQ(asked, (std::vector<std::string>{"x.png", "", "y.png"}));
}

TEST(PreviewInline, FilesAndStyleSheetsBecomeDataAddresses) {
  const std::vector<std::string> records =
      PackRecords({{"page.htm", "<link href=\"%%tpl_url%%css/m.css\"><img "
                                "src=\"%%tpl_url%%img/a.gif\"><img src=\"%%tpl_url%%no.png\">"
                                "%%tpl_url%%no.png"},
                   {"css/m.css", "b{background:url(../img/a.gif)} "
                                 "i{background:url(http://x/y.png)} u{background:url(gone.png)}"}},
                  {{"img/a.gif", "GIF"}});
  const TTemplateCatalogue catalogue = SmallCatalogue();
  const TTemplatePack pack(records);
  const TInlinedPage page = InlinePreviewPage(catalogue, pack, "page.htm");
  // "GIF" is R0lG in base64. The style sheet's own addresses are inlined relative to it,
  // and its data: address carries the padding such addresses need.
  const std::string head = "<link href=\"data:text/css;charset=windows-1252;base64,";
  ASSERT_EQ(page.Html.substr(0, head.size()), head);
  const std::size_t end = page.Html.find('"', head.size());
  const std::string cssBase64 = page.Html.substr(head.size(), end - head.size());
  EXPECT_EQ(cssBase64.size() % 4, 0u);
  EXPECT_EQ(DecodeBase64(cssBase64),
            "b{background:url(data:image/gif;base64,R0lG)} i{background:url(http://x/y.png)} "
            "u{background:url(gone.png)}");
  EXPECT_EQ(page.Html.substr(end),
            "\"><img src=\"data:image/gif;base64,R0lG\"><img src=\"no.png\">no.png");
  EXPECT_EQ(page.Missing, (std::vector<std::string>{"css/gone.png", "no.png"}));
}

TEST(PreviewResolver, MimeTypes) {
  EXPECT_EQ(MimeTypeOf("img/LOGO.PNG"), "image/png");
  EXPECT_EQ(MimeTypeOf("main.css"), "text/css");
  EXPECT_EQ(MimeTypeOf("a.jpeg"), "image/jpeg");
  EXPECT_EQ(MimeTypeOf("README"), "application/octet-stream");
  EXPECT_EQ(MimeTypeOf("dir.png/file"), "application/octet-stream");
}

TEST(PreviewResolver, RandomPacksStayWithinTheirLimits) {
  // Templates of random constructs that include one another: the check ends with its
  // findings in order, and every page ends within its limit.
  const std::vector<std::string> pieces = {"%%IF:flag%%",
                                           "%%ELSE%%",
                                           "%%ENDIF%%",
                                           "%%LOOP:messages%%",
                                           "%%ENDLOOP%%",
                                           "%%msg_subject%%",
                                           "%%INCLUDE:a.htm%%",
                                           "%%INCLUDE:b.htm%%",
                                           "%%INCLUDE:c.css%%",
                                           "%%tpl_url%%x.png",
                                           "%%",
                                           "%",
                                           "\r\n",
                                           "text",
                                           "%%LANG001%%",
                                           "%%nope%%"};
  const TTemplateCatalogue catalogue = SmallCatalogue();
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::mt19937 rng(seed);
    std::vector<std::pair<std::string, std::string>> templates;
    for (const char *name : {"a.htm", "b.htm", "c.css"}) {
      std::string text;
      for (unsigned n = rng() % 40; n > 0; --n)
        text += pieces[rng() % pieces.size()];
      templates.emplace_back(name, text);
    }
    const std::vector<std::string> records = PackRecords(templates);
    const TTemplatePack pack(records);
    for (const auto &[name, text] : templates) {
      const std::vector<TTplFinding> found = TTemplateCheck(catalogue, pack).CheckTemplate(name);
      for (std::size_t i = 1; i < found.size(); ++i)
        ASSERT_TRUE(found[i - 1].Line < found[i].Line ||
                    (found[i - 1].Line == found[i].Line && found[i - 1].Column <= found[i].Column))
            << "seed " << seed;
      TPreviewOptions options;
      options.MaxBytes = 4096;
      options.OtherBranch = seed % 2;
      const std::string page = TPreviewResolver(catalogue, pack, options).Resolve(name);
      ASSERT_LE(page.size(), options.MaxBytes + PreviewMarker("Vorschau gek\xFCrzt").size())
          << "seed " << seed;
    }
  }
}
