// kzp check and kzp preview on real pack files: the findings in the compilers' form, exit
// codes, names in UTF-8, the page with its files inside, and the failures.
#include "../kzp/KzpRun.h"
#include "../pack/PackTestUtil.h"

#include "pack/KzpCodec.h"
#include "pack/PackStore.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class KzpCheck : public ::testing::Test {
protected:
  void SetUp() override {
    pack = tmp / "p.kzp";
    // "\xDC" is the code page's "Ü"; in UTF-8 it is "\xC3\x9C".
    const std::string records[] = {
        BuildMetaRecord({"T", "A", "m", "w", "ordner"}),
        BuildTemplateRecord("page.htm",
                            "%%INCLUDE:\xDC"
                            "ber.htm%%\r\n<img src=\"%%tpl_url%%img/a.gif\">%%IF:user_name%%"),
        BuildTemplateRecord("\xDC"
                            "ber.htm",
                            "<p>%%LANG001%% %%gr\xFC\xDF%%</p>"),
        BuildTemplateRecord("ok.htm", "%%app_name%%"),
        "img:img/a.gif\t.\t" + EncodeBase64("GIF89a"),
    };
    std::string text;
    for (const std::string &r : records)
      text += r + "\n";
    WriteBytes(pack, PackFileOf(text));
  }

  TTempFolder tmp;
  std::string pack;
};

} // namespace

TEST_F(KzpCheck, FindingsInTheCompilersFormAndExitCodes) {
  TKzpResult r = RunKzp({"check", pack});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Out, "page.htm:2:33: \u201E%%IF:user_name%%\u201C ohne \u201E%%ENDIF%%\u201C\n"
                   "\u00DCber.htm:1:16: Unbekannte Variable \u201Egr\u00FC\u00DF\u201C\n");
  EXPECT_EQ(r.Err, "");
  // One template, named in UTF-8 or as the pack spells it.
  r = RunKzp({"check", pack, "\u00DCber.htm"});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Out, "\u00DCber.htm:1:16: Unbekannte Variable \u201Egr\u00FC\u00DF\u201C\n");
  EXPECT_EQ(RunKzp({"check", pack,
                    "\xDC"
                    "ber.htm"})
                .Out,
            r.Out);
  r = RunKzp({"check", pack, "ok.htm"});
  EXPECT_EQ(r.Exit, 0);
  EXPECT_EQ(r.Out, "");
  r = RunKzp({"check", pack, "nix.htm"});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Err, "kzp: Das Pack enth\u00E4lt kein Template \"nix.htm\".\n");
  EXPECT_EQ(RunKzp({"check"}).Exit, 2);
  EXPECT_EQ(RunKzp({"check", pack, "a", "b"}).Exit, 2);
  r = RunKzp({"check", (tmp / "none.kzp")});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_NE(r.Err.find("Datei nicht gefunden"), std::string::npos) << r.Err;
}

TEST_F(KzpCheck, ShippedPacksAreClean) {
  for (const char *name : {"stdtpl.db", "demo.kzp"}) {
    const TKzpResult r = RunKzp({"check", std::string(KZ_BIN_DIR "/") + name});
    EXPECT_EQ(r.Exit, 0) << name;
    EXPECT_EQ(r.Out, "") << name;
  }
}

TEST_F(KzpCheck, PreviewPageWithItsFilesInside) {
  const std::string out = tmp / "page.html";
  TKzpResult r = RunKzp({"preview", pack, "page.htm", out});
  EXPECT_EQ(r.Exit, 0);
  // "GIF89a" is R0lGODlh in base64; the unclosed IF shows its branch to the end.
  EXPECT_EQ(
      ReadBytes(out),
      "<p>Posteingang \xABgr\xFC\xDF\xBB</p>\r\n<img src=\"data:image/gif;base64,R0lGODlh\">");
  EXPECT_EQ(r.Err, "");
  // A picture the pack lacks: the page keeps its address and the tool says so.
  const std::string records[] = {
      BuildMetaRecord({"T", "A", "m", "w", "o"}),
      BuildTemplateRecord("x.htm", "<img src=\"%%tpl_url%%img/no.png\">")};
  WriteBytes(pack, PackFileOf(records[0] + "\n" + records[1] + "\n"));
  r = RunKzp({"preview", pack, "x.htm", out});
  EXPECT_EQ(r.Exit, 0);
  EXPECT_EQ(ReadBytes(out), "<img src=\"img/no.png\">");
  EXPECT_EQ(
      r.Err,
      "kzp: Das Pack enth\u00E4lt keine Datei \"img/no.png\"; die Seite verweist weiter darauf.\n");
  // Nowhere to write: nothing is written, the exit code says it failed.
  r = RunKzp({"preview", pack, "x.htm", tmp / "no-such-folder/page.html"});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_FALSE(Exists(tmp / "no-such-folder"));
  EXPECT_EQ(RunKzp({"preview", pack, "x.htm"}).Exit, 2);
  EXPECT_EQ(RunKzp({"preview", pack, "y.htm", out}).Exit, 1);
}

TEST_F(KzpCheck, WithoutTheCatalogueBesideTheToolNothingIsChecked) {
  // A copy of the tool in a folder of its own finds no catalogue beside it.
  const std::string tool = tmp / "kzp";
  std::filesystem::copy_file(KZ_BIN_DIR "/kzp", tool);
  const TKzpResult r = RunKzp({"check", pack}, "", tool);
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err, "kzp: Der Variablenkatalog kann nicht gelesen werden: Datei nicht gefunden: " +
                       tmp.Path() + "/varLib03.db\n");
}
