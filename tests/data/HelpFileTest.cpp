// The help file compiled by the build from data/help: a real HTML Help file holding every page
// of its project, with contents and index that lead to pages inside it.
#include "DataFiles.h"

#include <gtest/gtest.h>

#ifdef KZ_HAVE_CHMLIB
#include <chm_lib.h>
#endif

using namespace kzdata;

namespace {

// The [FILES] section of the help project.
std::vector<std::string> ProjectPages() {
  std::vector<std::string> pages;
  bool inFiles = false;
  for (std::string line : ReadLines(SourcePath("data/help/kzpStudio.hhp"))) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (!line.empty() && line[0] == '[')
      inFiles = line == "[FILES]";
    else if (inFiles && !line.empty())
      pages.push_back(line);
  }
  return pages;
}

// The "Local" targets of a sitemap file (.hhc contents, .hhk index).
std::vector<std::string> SitemapTargets(const std::string &file) {
  std::vector<std::string> targets;
  const std::string text = ReadBytes(SourcePath("data/help/" + file));
  const std::string key = "name=\"Local\" value=\"";
  for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
    at += key.size();
    targets.push_back(text.substr(at, text.find('"', at) - at));
  }
  return targets;
}

} // namespace

TEST(HelpFile, IsBuiltBesideTheProgram) {
  const std::string bytes = ReadBytes(BinPath("kzpStudio.chm"));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 4), "ITSF");
}

TEST(HelpFile, ContentsAndIndexLeadToPagesOfTheProject) {
  const std::vector<std::string> pages = ProjectPages();
  const std::set<std::string> known(pages.begin(), pages.end());
  ASSERT_GE(pages.size(), 8u);
  EXPECT_TRUE(known.count("index.htm"));
  for (const std::string &sitemap : {std::string("kzpStudio.hhc"), std::string("kzpStudio.hhk")}) {
    const std::vector<std::string> targets = SitemapTargets(sitemap);
    EXPECT_GE(targets.size(), 8u) << sitemap;
    for (const std::string &target : targets)
      EXPECT_TRUE(known.count(target)) << sitemap << " names " << target;
  }
  // Links between the pages stay inside the help file.
  for (const std::string &page : pages) {
    for (const std::string &href : HrefsOf(ReadBytes(SourcePath("data/help/" + page))))
      EXPECT_TRUE(known.count(href)) << page << " links to " << href;
  }
}

TEST(HelpFile, SitemapNamesAreUtf8WithoutCharacterReferences) {
  // The help viewer lists contents and index names as they are written, read as UTF-8; a
  // reference such as &#246; would appear literally in the list.
  for (const std::string &sitemap : {std::string("kzpStudio.hhc"), std::string("kzpStudio.hhk")}) {
    const std::string text = ReadBytes(SourcePath("data/help/" + sitemap));
    EXPECT_EQ(text.find("&#"), std::string::npos) << sitemap;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c < 0x80)
        continue;
      // A lead byte of a two-byte sequence followed by its continuation byte.
      ASSERT_TRUE(c >= 0xC2 && c <= 0xDF && i + 1 < text.size() &&
                  (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80)
          << sitemap << ": byte " << i;
      ++i;
    }
  }
  EXPECT_NE(ReadBytes(SourcePath("data/help/kzpStudio.hhk")).find("value=\"L\xC3\xB6schen\""),
            std::string::npos);
}

#ifdef KZ_HAVE_CHMLIB
TEST(HelpFile, HoldsEveryPageOfTheProject) {
  chmFile *chm = chm_open(BinPath("kzpStudio.chm").c_str());
  ASSERT_NE(chm, nullptr);
  for (const std::string &page : ProjectPages()) {
    chmUnitInfo info{};
    ASSERT_EQ(chm_resolve_object(chm, ("/" + page).c_str(), &info), CHM_RESOLVE_SUCCESS) << page;
    EXPECT_EQ(static_cast<std::size_t>(info.length),
              ReadBytes(SourcePath("data/help/" + page)).size())
        << page;
  }
  chmUnitInfo index{};
  EXPECT_EQ(chm_resolve_object(chm, "/kzpStudio.hhk", &index), CHM_RESOLVE_SUCCESS);
  chm_close(chm);
}
#endif
