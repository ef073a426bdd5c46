// The catalogue file: its lines, its mistakes, and the one beside the program, against which
// the shipped packs check clean and preview without a single marker.
#include "TemplateTestUtil.h"

#include "pack/PackStore.h"
#include "template/PreviewResolver.h"
#include "template/TemplateCatalogue.h"
#include "template/TemplatePack.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(TemplateCatalogue, LinesOfEveryKind) {
  const TTemplateCatalogue c =
      TTemplateCatalogue::Parse("# comment\r\n\r\nvar\ta\tone\ttwo\r\nvar\tb\nvar\tc\t\n"
                                "loop\tmessages\nlang\tLANG001\tPosteingang\n");
  ASSERT_TRUE(c.Samples("a"));
  EXPECT_EQ(*c.Samples("a"), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(*c.Samples("b"), std::vector<std::string>{});   // known, no sample
  EXPECT_EQ(*c.Samples("c"), std::vector<std::string>{""}); // known, the empty value
  EXPECT_EQ(c.Samples("d"), nullptr);
  EXPECT_TRUE(c.HasLoop("messages"));
  EXPECT_FALSE(c.HasLoop("a"));
  ASSERT_TRUE(c.LangText("LANG001"));
  EXPECT_EQ(*c.LangText("LANG001"), "Posteingang");
  EXPECT_EQ(c.LangText("LANG1"), nullptr);
  EXPECT_TRUE(TTemplateCatalogue::Parse("# only a comment").Empty());
}

TEST(TemplateCatalogue, DamagedLinesAndMissingFile) {
  for (const char *bad : {"var\ta\nvarx\tb\n", "var\ta\nloop\n", "var\ta\nlang\tLANG001\n",
                          "var\ta\nvar\t\tx\n", "var\ta\nloop\ta\tb\n"}) {
    try {
      TTemplateCatalogue::Parse(bad);
      ADD_FAILURE() << "accepted: " << bad;
    } catch (const ECatalogueError &e) {
      EXPECT_STREQ(e.what(), "Der Variablenkatalog ist besch\u00E4digt (Zeile 2).");
    }
  }
  try {
    TTemplateCatalogue::Load("/nonexistent/varLib03.db");
    ADD_FAILURE();
  } catch (const ECatalogueError &e) {
    EXPECT_STREQ(e.what(), "Der Variablenkatalog kann nicht gelesen werden: Datei nicht gefunden: "
                           "/nonexistent/varLib03.db");
  }
}

TEST(ShippedCatalogue, StandardAndDemoPacksCheckCleanAndPreviewWithoutMarkers) {
  const TTemplateCatalogue catalogue = TTemplateCatalogue::Load(KZ_BIN_DIR "/varLib03.db");
  EXPECT_EQ(catalogue.LangCount(), 60u);
  // Every variable the completion list offers is known and has a value to show, but
  // %%tpl_url%%, for which the preview puts in its own address.
  std::ifstream inserts(KZ_BIN_DIR "/varLib02.db", std::ios::binary);
  std::size_t variables = 0;
  for (std::string line; std::getline(inserts, line);) {
    if (line.size() < 5 || line.compare(0, 2, "%%") != 0 || line.find(':') != std::string::npos ||
        line.compare(0, 6, "%%LANG") == 0 || line == "%%ELSE%%" || line.compare(0, 5, "%%END") == 0)
      continue;
    const std::string name = line.substr(2, line.size() - 4);
    ++variables;
    ASSERT_TRUE(catalogue.Samples(name)) << name;
    EXPECT_EQ(catalogue.Samples(name)->empty(), name == "tpl_url") << name;
  }
  EXPECT_EQ(variables, catalogue.VariableCount());
  for (const char *packName : {"stdtpl.db", "demo.kzp"}) {
    TPackStore store;
    const TPackContents contents = store.LoadPack(std::string(KZ_BIN_DIR "/") + packName);
    const TTemplatePack pack(store.Records);
    EXPECT_EQ(Where(TTemplateCheck(catalogue, pack).CheckPack()), std::vector<std::string>{})
        << packName;
    for (const std::string &name : contents.Templates) {
      const std::string page = TPreviewResolver(catalogue, pack).Resolve(name);
      EXPECT_EQ(page.find('\xAB'), std::string::npos) << packName << " " << name;
      EXPECT_EQ(page.find("%%"), std::string::npos) << packName << " " << name;
    }
  }
}
