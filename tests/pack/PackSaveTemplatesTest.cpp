// Saving several templates at once: every named record replaced, one write, and nothing
// changed at all when the write fails.
#include "pack/PackStore.h"

#include "PackTestUtil.h"

#include <gtest/gtest.h>

namespace {

const std::string kMeta = "Titel\t.\tAutor\t.\tmail@x.de\t.\thttp://x.de\t.\tordner";

} // namespace

TEST(PackSaveTemplates, ReplacesEveryNamedRecordAndWritesOnce) {
  TTempFolder tmp;
  const std::string path = tmp / "pack.kzp";
  WriteBytes(path, PackFileOf(Joined({kMeta, "a.htm\t.\teins", "img:a.htm\t.\tR0lG",
                                      "b.css\t.\tzwei", "a.htm\t.\tdoppelt", "c.htm\t.\tdrei"})));
  TPackStore store;
  store.LoadPack(path);
  store.SaveTemplates({{"a.htm", "A\r\n\tx"}, {"b.css", ""}, {"fehlt.htm", "nie"}});
  const std::vector<std::string> expected{
      kMeta,        "a.htm\t.\tA<_R_><_N_><_T_>x", "img:a.htm\t.\tR0lG",
      "b.css\t.\t", "a.htm\t.\tA<_R_><_N_><_T_>x", "c.htm\t.\tdrei"};
  EXPECT_EQ(store.Records, expected);
  EXPECT_EQ(ReadBytes(path), PackFileOf(Joined(expected)));

  // A write that fails leaves the records as they were, the old file untouched.
  const std::string before = ReadBytes(path);
  store.PackPath = tmp / "kein-ordner/pack.kzp";
  EXPECT_THROW(store.SaveTemplates({{"c.htm", "neu"}, {"a.htm", "neu"}}), EPackIOError);
  EXPECT_EQ(store.Records, expected);
  EXPECT_EQ(ReadBytes(path), before);
  // Without an open pack nothing is saved.
  TPackStore closed;
  EXPECT_THROW(closed.SaveTemplates({{"a.htm", "x"}}), EPackError);
}

TEST(PackSaveTemplates, EditsTheRecordsAsTheyAreOnDiskWhenThePackChangedSinceReading) {
  TTempFolder tmp;
  const std::string path = tmp / "pack.kzp";
  WriteBytes(path,
             PackFileOf(Joined({kMeta, "a.htm\t.\talt", "b.htm\t.\tzwei", "a.htm\t.\tdoppelt"})));
  TPackStore store;
  store.LoadPack(path);
  // Another writer changes a template and adds a file after this store read the pack.
  TPackStore other;
  other.LoadPack(path);
  other.SaveTemplate("b.htm", "zwei und mehr");
  const std::string source = tmp / "x.gif";
  WriteBytes(source, "GIF");
  other.AddFileRecord("x.gif", source);

  std::vector<std::string> seen;
  store.SaveTemplates([&](const std::string &name, std::string &text) {
    seen.push_back(name + "=" + text);
    if (name != "b.htm")
      return false;
    text += "!";
    return true;
  });
  // Each name once, from the pack as it is now; nothing the other writer did is lost.
  EXPECT_EQ(seen, (std::vector<std::string>{"a.htm=alt", "b.htm=zwei und mehr"}));
  TPackStore fresh;
  fresh.LoadPack(path);
  EXPECT_EQ(fresh.GetTemplate("b.htm"), "zwei und mehr!");
  EXPECT_EQ(fresh.GetTemplate("a.htm"), "alt");
  EXPECT_EQ(fresh.Records.size(), 5u);
  EXPECT_EQ(fresh.Records.back().rfind("img:x.gif", 0), 0u);
}
