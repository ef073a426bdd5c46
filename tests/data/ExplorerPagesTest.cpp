// The reference pages of the two explorers: a page for every standard template, links that
// lead to pages beside the program, and "kzp:" links that insert known placeholders.
#include "DataFiles.h"

#include "pack/PackStore.h"

#include <gtest/gtest.h>

using namespace kzdata;

namespace {

std::string PageOf(std::string templateName) {
  // The explorer shows varLib/ + the template name with every ".css" made ".htm".
  for (std::size_t at = templateName.find(".css"); at != std::string::npos;
       at = templateName.find(".css", at))
    templateName.replace(at, 4, ".htm");
  return "varLib/" + templateName;
}

std::set<std::string> Offered() {
  std::set<std::string> offered;
  for (const std::string &insert : ReadLines(BinPath("varLib02.db")))
    offered.insert(insert);
  return offered;
}

} // namespace

TEST(ExplorerPages, StartPagesAndOnePagePerStandardTemplateExist) {
  EXPECT_TRUE(FileExists(BinPath("varLib/var_main.htm")));
  EXPECT_TRUE(FileExists(BinPath("varLib/lang.htm")));
  TPackStore store;
  const TPackContents contents = store.LoadPack(BinPath("stdtpl.db"));
  ASSERT_FALSE(contents.Templates.empty());
  std::set<std::string> pages;
  for (const std::string &name : contents.Templates) {
    EXPECT_TRUE(FileExists(BinPath(PageOf(name)))) << PageOf(name);
    // Two templates sharing a page (a.css and a.htm) would show each other's variables.
    EXPECT_TRUE(pages.insert(PageOf(name)).second) << PageOf(name);
  }
  EXPECT_FALSE(pages.count("varLib/var_main.htm"));
  EXPECT_FALSE(pages.count("varLib/lang.htm"));
}

TEST(ExplorerPages, PageLinksLeadToPagesBesideTheProgram) {
  int local = 0;
  for (const std::string &name : ListDir(BinPath("varLib"))) {
    for (const std::string &href : HrefsOf(ReadBytes(BinPath("varLib/" + name)))) {
      if (href.rfind("kzp:", 0) == 0)
        continue;
      // Anything else is refused by the navigation guard unless it is a file here.
      EXPECT_TRUE(FileExists(BinPath("varLib/" + href))) << name << " links to " << href;
      ++local;
    }
  }
  EXPECT_GE(local, 20);
}

TEST(ExplorerPages, KzpLinksInsertOnlyOfferedPlaceholders) {
  const std::set<std::string> offered = Offered();
  for (const std::string &name : ListDir(BinPath("varLib"))) {
    int links = 0;
    for (const std::string &href : HrefsOf(ReadBytes(BinPath("varLib/" + name)))) {
      if (href.rfind("kzp:", 0) != 0)
        continue;
      ++links;
      const std::string text = href.substr(4);
      // The text is inserted as it stands; a line break or tab could not be in an address.
      EXPECT_EQ(text.find_first_of("\r\n\t"), std::string::npos) << name << ": " << text;
      if (text == "%%IF:")
        continue;
      for (const std::string &placeholder : PlaceholdersOf(text)) {
        const std::string tested = placeholder.rfind("IF:", 0) == 0
                                       ? "%%" + placeholder.substr(3) + "%%"
                                       : "%%" + placeholder + "%%";
        EXPECT_TRUE(offered.count(tested)) << name << ": " << text;
      }
    }
    // Every page offers something to insert, the style sheet pages their snippets.
    EXPECT_GT(links, 0) << name;
  }
}

TEST(ExplorerPages, LanguagePageOffersEveryLanguageTextTheTemplatesUse) {
  std::set<std::string> inserted;
  for (const std::string &href : HrefsOf(ReadBytes(BinPath("varLib/lang.htm")))) {
    if (href.rfind("kzp:", 0) == 0)
      inserted.insert(href.substr(4));
  }
  EXPECT_GE(inserted.size(), 60u);
  TPackStore store;
  const TPackContents contents = store.LoadPack(BinPath("stdtpl.db"));
  for (const std::string &name : contents.Templates) {
    for (const std::string &placeholder : PlaceholdersOf(store.GetTemplate(name))) {
      if (placeholder.rfind("LANG", 0) == 0) {
        EXPECT_TRUE(inserted.count("%%" + placeholder + "%%")) << name << ": " << placeholder;
      }
    }
  }
}
