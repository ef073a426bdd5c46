// The addresses of a style sheet and the pack names they stand for.
#include "template/StyleSheetUrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> Urls(const std::string &css) {
  std::vector<std::string> out;
  ForEachStyleSheetUrl(css, [&](std::size_t offset, std::size_t length) {
    out.push_back(css.substr(offset, length));
  });
  return out;
}
using V = std::vector<std::string>;
} // namespace

TEST(StyleSheetUrls, EveryFormOfAddress) {
  EXPECT_EQ(
      Urls("a{background:url(img/a.png)} b{background:URL( \"img/b.png\" )} c{x:url('c d.png')}"
           "@import \"p.css\"; @IMPORT url(q.css); @import 'r.css' screen;"),
      (V{"img/a.png", "img/b.png", "c d.png", "p.css", "q.css", "r.css"}));
  // Comments and strings that are no address, and words that merely end in "url(".
  EXPECT_EQ(Urls("/* url(x.png) */ a{content:\"url(y.png)\"} b{x:myurl(z.png)} c{font-family:'a'}\n"
                 "d{background:url()} e{background:url(unclosed.png"),
            (V{"unclosed.png"}));
  EXPECT_EQ(Urls("/* never closed url(a.png)"), V{});
}

TEST(StyleSheetUrls, PackNamesOfAddresses) {
  EXPECT_EQ(PackNameOfAddress("main.css", "img/a.png"), "img/a.png");
  EXPECT_EQ(PackNameOfAddress("css/x.css", "img/a.png"), "css/img/a.png");
  EXPECT_EQ(PackNameOfAddress("css/x.css", "../img/a.png?v=3#top"), "img/a.png");
  EXPECT_EQ(PackNameOfAddress("a/b/x.css", "./../.././c.png"), "c.png");
  EXPECT_EQ(PackNameOfAddress("x.css", "img/a%20b.png"), "img/a b.png");
  // Not in the pack: above its top, absolute, with a scheme, a fragment alone, a "%" that
  // escapes nothing.
  EXPECT_EQ(PackNameOfAddress("css/x.css", "../../a.png"), "");
  EXPECT_EQ(PackNameOfAddress("x.css", "/img/a.png"), "");
  EXPECT_EQ(PackNameOfAddress("x.css", "data:image/png;base64,AAAA"), "");
  EXPECT_EQ(PackNameOfAddress("x.css", "http://example.com/a.png"), "");
  EXPECT_EQ(PackNameOfAddress("x.css", "#frag"), "");
  EXPECT_EQ(PackNameOfAddress("x.css", "%%tpl_url%%a.png"), "");
  // A colon after the first slash belongs to the path, not a scheme.
  EXPECT_EQ(PackNameOfAddress("x.css", "img/a:b.png"), "img/a:b.png");
}
