// The check: unknown and known names, blocks that do not pair, includes and pack files that
// are missing, stray "%%", style sheets; every finding at its exact line and column.
#include "TemplateTestUtil.h"

#include "template/TemplateCheck.h"
#include "template/TemplatePack.h"

#include <gtest/gtest.h>

namespace {

using V = std::vector<std::string>;

// The findings of `text` checked as template `name` of a pack that also holds `others`.
V Check(const std::string &text,
        const std::vector<std::pair<std::string, std::string>> &others = {},
        const std::vector<std::pair<std::string, std::string>> &files = {},
        const std::string &name = "page.htm") {
  std::vector<std::pair<std::string, std::string>> templates{{name, text}};
  templates.insert(templates.end(), others.begin(), others.end());
  const std::vector<std::string> records = PackRecords(templates, files);
  const TTemplateCatalogue catalogue = SmallCatalogue();
  const TTemplatePack pack(records);
  return Where(TTemplateCheck(catalogue, pack).CheckTemplate(name));
}

} // namespace

TEST(TemplateCheck, KnownNamesPassUnknownOnesAreNamed) {
  EXPECT_EQ(Check("%%app_name%% %%LANG001%% "
                  "%%IF:flag%%x%%ENDIF%%\r\n%%LOOP:messages%%%%msg_subject%%%%ENDLOOP%%"),
            V{});
  EXPECT_EQ(
      Check("<b>%%app_nam%%</b>\r\n  %%LANG003%% "
            "%%LANG1%%\r\n%%IF:nix%%%%ENDIF%%%%LOOP:mails%%%%ENDLOOP%%"
            "%%SET:x%%"),
      (V{"1:4: Unbekannte Variable \u201Eapp_nam\u201C",
         "2:3: Unbekannter Sprachtext \u201ELANG003\u201C",
         "2:15: Unbekannter Sprachtext \u201ELANG1\u201C",
         "3:1: Unbekannte Variable \u201Enix\u201C", "3:20: Unbekannte Schleife \u201Emails\u201C",
         "3:45: Unbekannte Anweisung \u201E%%SET:x%%\u201C"}));
  // Names are case-sensitive, and a directive without its name is reported as such.
  EXPECT_EQ(
      Check("%%APP_NAME%%%%IF:%%%%ENDIF%%%%INCLUDE:%%"),
      (V{"1:1: Unbekannte Variable \u201EAPP_NAME\u201C", "1:13: \u201E%%IF:%%\u201C ohne Namen",
         "1:29: \u201E%%INCLUDE:%%\u201C ohne Namen"}));
  // Names from the code page reach the message as UTF-8.
  EXPECT_EQ(Check("%%gr\xFC\xDF%%"), (V{"1:1: Unbekannte Variable \u201Egr\u00FC\u00DF\u201C"}));
}

TEST(TemplateCheck, BlocksThatDoNotPair) {
  EXPECT_EQ(
      Check("%%IF:flag%%a%%ELSE%%b%%ENDIF%% %%LOOP:messages%%%%IF:flag%%%%ENDIF%%%%ENDLOOP%%"),
      V{});
  EXPECT_EQ(Check("%%ELSE%%\n%%ENDIF%%\n%%ENDLOOP%%"),
            (V{"1:1: \u201E%%ELSE%%\u201C ohne \u201E%%IF:\u2026%%\u201C",
               "2:1: \u201E%%ENDIF%%\u201C ohne \u201E%%IF:\u2026%%\u201C",
               "3:1: \u201E%%ENDLOOP%%\u201C ohne \u201E%%LOOP:\u2026%%\u201C"}));
  // Left open to the end of the template: reported where each block starts.
  EXPECT_EQ(Check("x\n  %%IF:flag%%\n%%LOOP:messages%%"),
            (V{"2:3: \u201E%%IF:flag%%\u201C ohne \u201E%%ENDIF%%\u201C",
               "3:1: \u201E%%LOOP:messages%%\u201C ohne \u201E%%ENDLOOP%%\u201C"}));
  // An ENDIF while a LOOP inside the IF is open closes the IF; the LOOP never got its
  // end, and its ENDLOOP then belongs to nothing.
  EXPECT_EQ(Check("%%IF:flag%%\n%%LOOP:messages%%\n%%ENDIF%%\n%%ENDLOOP%%"),
            (V{"2:1: \u201E%%LOOP:messages%%\u201C ohne \u201E%%ENDLOOP%%\u201C",
               "4:1: \u201E%%ENDLOOP%%\u201C ohne \u201E%%LOOP:\u2026%%\u201C"}));
  // An ELSE belongs to the innermost block, which must be an IF; a second one is named
  // with the line of its IF.
  EXPECT_EQ(Check("%%IF:flag%%%%LOOP:messages%%%%ELSE%%%%ENDLOOP%%%%ENDIF%%"),
            (V{"1:29: \u201E%%ELSE%%\u201C ohne \u201E%%IF:\u2026%%\u201C"}));
  EXPECT_EQ(Check("\n%%IF:flag%%a%%ELSE%%b\n%%ELSE%%c%%ENDIF%%"),
            (V{"3:1: Zweites \u201E%%ELSE%%\u201C zu \u201E%%IF:flag%%\u201C aus Zeile 2"}));
}

TEST(TemplateCheck, BlocksPairWithinEachTemplateNotAcrossIncludes) {
  // An IF around an include whose template closes its own blocks is fine.
  EXPECT_EQ(Check("%%IF:flag%%%%INCLUDE:row.htm%%%%ENDIF%%",
                  {{"row.htm", "%%LOOP:messages%%r%%ENDLOOP%%"}}),
            V{});
  // A block cannot be opened in one template and closed in the one it includes, nor the
  // other way round: each side is reported in its own template.
  const std::vector<std::pair<std::string, std::string>> parts{{"head.htm", "%%IF:flag%%<b>"},
                                                               {"tail.htm", "</b>%%ENDIF%%"}};
  EXPECT_EQ(Check("%%INCLUDE:head.htm%%x%%INCLUDE:tail.htm%%", parts), V{});
  EXPECT_EQ(Check(parts[0].second, {parts[1]}, {}, parts[0].first),
            (V{"1:1: \u201E%%IF:flag%%\u201C ohne \u201E%%ENDIF%%\u201C"}));
  EXPECT_EQ(Check(parts[1].second, {parts[0]}, {}, parts[1].first),
            (V{"1:5: \u201E%%ENDIF%%\u201C ohne \u201E%%IF:\u2026%%\u201C"}));
}

TEST(TemplateCheck, IncludesAndPackFiles) {
  const std::vector<std::pair<std::string, std::string>> files{{"img/logo.png", "PNG"}};
  EXPECT_EQ(Check("%%INCLUDE:head.htm%%<img src=\"%%tpl_url%%img/logo.png\"><link "
                  "href='%%tpl_url%%main.css'>",
                  {{"head.htm", ""}, {"main.css", ""}}, files),
            V{});
  EXPECT_EQ(Check("%%INCLUDE:Head.htm%%\r\n<img "
                  "src=\"%%tpl_url%%img/logo.gif\">%%tpl_url%%img/%%app_name%%.png"
                  "%%tpl_url%%./img/logo.png?x=1 %%tpl_url%%",
                  {{"head.htm", ""}}, files),
            (V{"1:1: Das Pack enth\u00E4lt kein Template \u201EHead.htm\u201C",
               "2:22: Das Pack enth\u00E4lt keine Datei \u201Eimg/logo.gif\u201C"}));
  // Including itself, directly or through another template, would never end.
  EXPECT_EQ(Check("a%%INCLUDE:page.htm%%"), (V{"1:2: \u201E%%INCLUDE:page.htm%%\u201C bindet "
                                               "dieses Template wieder ein (Endlosschleife)"}));
  EXPECT_EQ(
      Check("%%INCLUDE:b.htm%%%%INCLUDE:c.htm%%", {{"b.htm", "%%INCLUDE:c.htm%%"},
                                                   {"c.htm", "%%INCLUDE:d.htm%%"},
                                                   {"d.htm", "%%INCLUDE:page.htm%%"}}),
      (V{"1:1: \u201E%%INCLUDE:b.htm%%\u201C bindet dieses Template wieder ein (Endlosschleife)",
         "1:18: \u201E%%INCLUDE:c.htm%%\u201C bindet dieses Template wieder ein "
         "(Endlosschleife)"}));
  // A loop among other templates is theirs to report, not this one's.
  EXPECT_EQ(
      Check("%%INCLUDE:b.htm%%", {{"b.htm", "%%INCLUDE:c.htm%%"}, {"c.htm", "%%INCLUDE:b.htm%%"}}),
      V{});
}

TEST(TemplateCheck, StrayPercentSigns) {
  EXPECT_EQ(Check("width:%%flag%%%; 100% %%%app_name%%"), V{});
  EXPECT_EQ(Check("a %%\r\n%%app_name\r\nb%%c"),
            (V{"1:3: \u201E%%\u201C ohne schlie\u00DFendes \u201E%%\u201C",
               "2:1: \u201E%%\u201C ohne schlie\u00DFendes \u201E%%\u201C",
               "3:2: \u201E%%\u201C ohne schlie\u00DFendes \u201E%%\u201C"}));
}

TEST(TemplateCheck, StyleSheetsAreServedAsTheyAre) {
  const std::vector<std::pair<std::string, std::string>> files{{"img/bg.png", ""},
                                                               {"css/img/x.png", ""}};
  EXPECT_EQ(Check("body { background: url(img/bg.png); }\n/* url(img/none.png) */ a { content: "
                  "\"url(no)\"; }\n"
                  "@import \"print.css\"; i { background: url( 'http://example.com/a.png' ) }",
                  {{"print.css", ""}}, files, "main.css"),
            V{});
  EXPECT_EQ(
      Check(
          "a { width: 50%; }\nb { background: url(%%tpl_url%%img/bg.png) url(\"img/none.png\"); }",
          {}, files, "main.css"),
      (V{"2:21: Im Style-Sheet wird \u201E%%tpl_url%%\u201C nicht ersetzt",
         "2:49: Das Pack enth\u00E4lt keine Datei \u201Eimg/none.png\u201C"}));
  // Addresses are relative to the sheet's own folder.
  EXPECT_EQ(Check("a { background: url(img/x.png) } b { background: url(../img/bg.png) } c { "
                  "background: url(img/bg.png) }",
                  {}, files, "css/site.CSS"),
            (V{"1:91: Das Pack enth\u00E4lt keine Datei \u201Ecss/img/bg.png\u201C"}));
}

TEST(TemplateCheck, WithoutCatalogueOnlyStructureIsChecked) {
  const std::vector<std::string> records =
      PackRecords({{"p.htm", "%%whatever%%%%LANG999%%%%IF:x%%%%LOOP:y%%%%ENDLOOP%%"}});
  const TTemplateCatalogue none;
  const TTemplatePack pack(records);
  EXPECT_EQ(Where(TTemplateCheck(none, pack).CheckTemplate("p.htm")),
            (V{"1:24: \u201E%%IF:x%%\u201C ohne \u201E%%ENDIF%%\u201C"}));
}

TEST(TemplateCheck, WholePackInRecordOrderAndEditorText) {
  const std::vector<std::string> records = PackRecords(
      {{"b.htm", "%%x%%"}, {"a.htm", "ok"}, {"c.htm", "%%ENDIF%%"}, {"b.htm", "second record"}});
  const TTemplateCatalogue catalogue = SmallCatalogue();
  TTemplatePack pack(records);
  const std::vector<TTplFinding> all = TTemplateCheck(catalogue, pack).CheckPack();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0], (TTplFinding{"b.htm", 1, 1, "Unbekannte Variable \u201Ex\u201C"}));
  EXPECT_EQ(all[1].Template, "c.htm");
  // The text in the editor counts, not the stored one; a name the pack lacks has none.
  pack.OverrideTemplate("a.htm", std::make_shared<const std::string>("\n\n%%LANG001%%%%y%%"));
  pack.OverrideTemplate("new.htm", std::make_shared<const std::string>("%%y%%"));
  EXPECT_EQ(Where(TTemplateCheck(catalogue, pack).CheckTemplate("a.htm")),
            (V{"3:12: Unbekannte Variable \u201Ey\u201C"}));
  EXPECT_TRUE(TTemplateCheck(catalogue, pack).CheckTemplate("new.htm").empty());
}
