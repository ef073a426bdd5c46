// Searching and replacing in the pack's template texts, without a window.
#include "workbench/PackSearch.h"
#include "highlight/KzHighlighterHtml.h"
#include "pack/PackStore.h"

#include <gtest/gtest.h>

namespace {

TKzCharSet Words() {
  TKzHTMLHighlighter h;
  return h.IdentifierChars() & ~h.WordDelimiters();
}

TKzSearch Find(const std::string &p, bool regex = false) {
  return TKzSearch(p, {false, false, regex}, Words());
}

} // namespace

TEST(PackSearch, EveryTemplateOnceTheOpenOneFromTheEditor) {
  TPackStore store;
  store.Records = {"T\t.\tA\t.\tm\t.\tw\t.\to",
                   BuildTemplateRecord("a.htm", "kunde\r\n\tKunde"),
                   "img:a.htm\t.\tS3VuZGU=",
                   BuildTemplateRecord("b.htm", "nichts"),
                   BuildTemplateRecord("a.htm", "kunde kunde kunde"),
                   BuildTemplateRecord("c.css", "x kunde")};
  EXPECT_EQ(PackTemplateNames(store), (std::vector<std::string>{"a.htm", "b.htm", "c.css"}));
  TPackSearchResult r = SearchPack(store, Find("kunde"), TOpenTemplate{});
  EXPECT_EQ(r.Total, 3u);
  EXPECT_EQ(r.Templates, 2u);
  ASSERT_EQ(r.Hits.size(), 3u);
  EXPECT_EQ(r.Hits[1].Template, "a.htm");
  EXPECT_EQ(r.Hits[1].Match, (TKzSearchMatch{{2, 2}, {7, 2}}));
  EXPECT_EQ(r.Hits[1].Line, "\tKunde");
  EXPECT_EQ(r.PerTemplate,
            (std::vector<std::pair<std::string, std::size_t>>{{"a.htm", 2}, {"c.css", 1}}));
  // The open template is read as the editor holds it; the limit keeps the list short but
  // every match is counted.
  r = SearchPack(store, Find("kunde"), TOpenTemplate{"c.css", "kunde kunde"}, 2);
  EXPECT_EQ(r.Total, 4u);
  EXPECT_EQ(r.Hits.size(), 2u);
  EXPECT_EQ(r.PerTemplate.back(), (std::pair<std::string, std::size_t>{"c.css", 2}));
  // A long line is shown around its match, the match marked inside the piece.
  store.Records = {
      "T\t.\tA\t.\tm\t.\tw\t.\to",
      BuildTemplateRecord("l.htm", std::string(1000, 'x') + "kunde" + std::string(1000, 'y'))};
  r = SearchPack(store, Find("kunde"), TOpenTemplate{});
  ASSERT_EQ(r.Hits.size(), 1u);
  EXPECT_EQ(r.Hits[0].Line.size(), 240u);
  EXPECT_EQ(r.Hits[0].Line.substr(r.Hits[0].MarkStart, r.Hits[0].MarkLength), "kunde");
  EXPECT_EQ(r.Hits[0].MarkStart, 60u);
}

TEST(PackSearch, ReplacingInATextKeepsEveryOtherByte) {
  std::size_t n = 0;
  // Line breaks of every kind and a NUL byte stay as they are.
  const std::string text = std::string("a kunde\rb\nKunde\r\n\0kunde", 24);
  EXPECT_EQ(ReplaceInText(text, Find("kunde"), "Klient", &n),
            std::string("a Klient\rb\nKlient\r\n\0Klient", 27));
  EXPECT_EQ(n, 3u);
  // A line break in the replacement is written as the editor writes it, CR LF.
  EXPECT_EQ(ReplaceInText("a,b", Find(",", true), "\\n"), "a\r\nb");
  // A match across lines takes the breaks between them, whatever they were.
  EXPECT_EQ(ReplaceInText("x\r\ny\nz", Find("(x)\\n(y)", true), "$2$1"), "yx\nz");
  EXPECT_EQ(ReplaceInText("", Find("a"), "b", &n), "");
  EXPECT_EQ(n, 0u);

  // The pack's edit leaves the open template to the editor and reports only real changes.
  n = 0;
  const TKzSearch search = Find("kunde");
  const TPackStore::TTemplateEdit edit = PackReplacement(search, "K", "a.htm", &n);
  std::string a = "kunde", b = "nichts", c = "kunde kunde";
  EXPECT_FALSE(edit("a.htm", a));
  EXPECT_FALSE(edit("b.htm", b));
  EXPECT_TRUE(edit("c.css", c));
  EXPECT_EQ(a, "kunde");
  EXPECT_EQ(b, "nichts");
  EXPECT_EQ(c, "K K");
  EXPECT_EQ(n, 2u);
}
