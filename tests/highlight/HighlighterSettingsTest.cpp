// Attribute colours in a settings store, and the import of older colour schemes.
#include "highlight/KzEditHighlighter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "highlight/KzHighlighterHtml.h"
#include "platform/SettingsStore.h"

namespace {

// Keys and values in memory, with integer and text values kept apart as a registry does.
class TMemoryStore : public TSettingsStore {
public:
  std::set<std::string> Keys{""};
  std::map<std::pair<std::string, std::string>, TSettingsValue> Values;
  bool ReadOnly = false;

  void Put(const std::string &path, const std::string &name, std::int64_t v) {
    AddKey(path);
    Values[{path, name}] = TSettingsValue{true, v, std::to_string(v)};
  }
  void PutText(const std::string &path, const std::string &name, const std::string &text) {
    AddKey(path);
    Values[{path, name}] = TSettingsValue{false, 0, text};
  }
  void AddKey(const std::string &path) {
    for (std::size_t i = 0; (i = path.find('\\', i)) != std::string::npos; ++i)
      Keys.insert(path.substr(0, i));
    Keys.insert(path);
  }

protected:
  bool KeyExists(const std::string &path) const override { return Keys.count(path) != 0; }
  bool CreateKey(const std::string &path) override {
    if (ReadOnly)
      return false;
    AddKey(path);
    return true;
  }
  std::optional<TSettingsValue> ReadValue(const std::string &path,
                                          const std::string &name) const override {
    const auto it = Values.find({path, name});
    if (it == Values.end())
      return std::nullopt;
    return it->second;
  }
  bool WriteValue(const std::string &path, const std::string &name,
                  const TSettingsValue &value) override {
    if (ReadOnly)
      return false;
    Values[{path, name}] = value;
    return true;
  }
};

TEST(SettingsStore, KeyPathsAreRelativeUnlessTheyStartWithABackslash) {
  TMemoryStore s;
  s.AddKey("Software\\Tarvex\\Farben");
  EXPECT_TRUE(s.OpenKeyReadOnly("Software\\Tarvex"));
  EXPECT_EQ(s.CurrentPath(), "Software\\Tarvex");
  EXPECT_TRUE(s.OpenKeyReadOnly("Farben\\"));
  EXPECT_EQ(s.CurrentPath(), "Software\\Tarvex\\Farben");
  EXPECT_FALSE(s.OpenKeyReadOnly("Software"));
  EXPECT_EQ(s.CurrentPath(), "Software\\Tarvex\\Farben");
  EXPECT_TRUE(s.OpenKeyReadOnly("\\Software"));
  EXPECT_EQ(s.CurrentPath(), "Software");
  EXPECT_TRUE(s.OpenKey("Neu\\Tiefer", true));
  EXPECT_EQ(s.CurrentPath(), "Software\\Neu\\Tiefer");
  EXPECT_TRUE(s.Keys.count("Software\\Neu") != 0);
  s.CloseKey();
  EXPECT_FALSE(s.WriteInteger("x", 1));
}

TEST(HighlighterSettings, WriteThenReadRestoresEveryAttribute) {
  TMemoryStore store;
  TKzHTMLHighlighter written;
  written.CommentAttri->SetForeground(clGray);
  written.CommentAttri->SetStyle(fsItalic);
  written.SpaceAttri->SetBackground(clWindow);
  ASSERT_TRUE(written.WriteRegistrySettings(store, "Software\\Tarvex\\HTML"));
  EXPECT_EQ(store.CurrentPath(), "Software\\Tarvex\\HTML");
  EXPECT_EQ(store.Values.at({"Software\\Tarvex\\HTML\\Comment", "Style"}).Integer, fsItalic);
  EXPECT_EQ(store.Values.at({"Software\\Tarvex\\HTML\\Reserved Word", "Foreground"}).Integer,
            0xFF0080);

  TKzHTMLHighlighter read;
  int notifications = 0;
  struct TCount {
    int *N;
    void Handler(TKzPersistent *) { ++*N; }
  } count{&notifications};
  read.AddChangeHandler(TKzNotifyEvent::Of<&TCount::Handler>(&count));
  ASSERT_TRUE(read.ReadRegistrySettings(store, "Software\\Tarvex\\HTML"));
  EXPECT_EQ(read.CommentAttri->Foreground(), clGray);
  EXPECT_EQ(read.CommentAttri->Style(), fsItalic);
  // A system colour survives the trip through a signed 32-bit value.
  EXPECT_EQ(read.SpaceAttri->Background(), clWindow);
  EXPECT_EQ(read.KeyAttri->Foreground(), 0xFF0080u);
  EXPECT_EQ(notifications, 3);
}

TEST(HighlighterSettings, ReadSkipsMissingValuesAndReportsMissingSubkeys) {
  TMemoryStore store;
  TKzHTMLHighlighter h;
  EXPECT_FALSE(h.ReadRegistrySettings(store, "Nowhere"));

  store.Put("Farben\\Comment", "Foreground", clAqua);
  store.Put("Farben\\Comment", "Style", 0xF0 | fsUnderline); // only the four style bits count
  store.Put("Farben\\Value", "Background", clYellow);
  EXPECT_FALSE(h.ReadRegistrySettings(store, "Farben"));
  EXPECT_EQ(h.CommentAttri->Foreground(), clAqua);
  EXPECT_EQ(h.CommentAttri->Style(), fsUnderline);
  EXPECT_EQ(h.CommentAttri->Background(), clNone);
  EXPECT_EQ(h.ValueAttri->Background(), clYellow);
  EXPECT_EQ(h.ValueAttri->Foreground(), 0xFF8000u);
  // Every subkey present, even empty ones: success.
  for (int i = 0; i < h.AttributeCount(); ++i)
    store.AddKey("Farben\\" + h.AttributeAt(i)->Name());
  EXPECT_TRUE(h.ReadRegistrySettings(store, "Farben"));
  // A text value where a number belongs is skipped.
  store.PutText("Farben\\Text", "Foreground", "rot");
  EXPECT_TRUE(h.ReadRegistrySettings(store, "Farben"));
  EXPECT_EQ(h.TextAttri->Foreground(), clNone);
}

TEST(HighlighterSettings, WriteFailsWhenTheKeyCannotBeCreated) {
  TMemoryStore store;
  store.ReadOnly = true;
  TKzHTMLHighlighter h;
  EXPECT_FALSE(h.WriteRegistrySettings(store, "Software\\Neu"));
  EXPECT_TRUE(store.Values.empty());
}

TEST(LegacyScheme, OldLayoutReadsCommaSeparatedFields) {
  TMemoryStore store;
  // fields: 1..2 unused, 3 style letters, 4 default fg, 5 default bg, 6 fg index, 7 bg index
  store.PutText("Schemes\\Classic", "Comment", "x,y,BU,0,0,9,14");
  store.PutText("Schemes\\Classic", "Plain", ",,I,1,1,3,4");
  store.PutText("Schemes\\Classic", "Short", ",,B");
  store.PutText("Schemes\\Classic", "BadFg", ",,B,0,0,zz,2");
  store.PutText("Schemes\\Classic", "OutOfPalette", ",,,0,0,1,16");

  TKzHighlighterAttributes a("Comment");
  ASSERT_TRUE(a.ImportLegacyScheme(store, "Schemes\\Classic", "Comment", true));
  EXPECT_EQ(a.Foreground(), clRed);
  EXPECT_EQ(a.Background(), clAqua);
  EXPECT_EQ(a.Style(), fsBold | fsUnderline);

  TKzHighlighterAttributes b("Plain");
  b.SetStyle(fsBold);
  ASSERT_TRUE(b.ImportLegacyScheme(store, "\\Schemes\\Classic", "Plain", true));
  EXPECT_EQ(b.Foreground(), clWindowText);
  EXPECT_EQ(b.Background(), clWindow);
  EXPECT_EQ(b.Style(), fsItalic);

  // Missing palette fields do not read as numbers: the import fails.
  TKzHighlighterAttributes c("Short");
  EXPECT_FALSE(c.ImportLegacyScheme(store, "\\Schemes\\Classic", "Short", true));
  EXPECT_EQ(c.Background(), clNone);

  // The background is applied before the foreground fails, and stays.
  TKzHighlighterAttributes d("BadFg");
  EXPECT_FALSE(d.ImportLegacyScheme(store, "\\Schemes\\Classic", "BadFg", true));
  EXPECT_EQ(d.Background(), clGreen);
  EXPECT_EQ(d.Foreground(), clNone);
  EXPECT_EQ(d.Style(), 0);

  TKzHighlighterAttributes e("OutOfPalette");
  EXPECT_FALSE(e.ImportLegacyScheme(store, "\\Schemes\\Classic", "OutOfPalette", true));
  EXPECT_EQ(e.Background(), clNone);

  TKzHighlighterAttributes f("Missing");
  EXPECT_FALSE(f.ImportLegacyScheme(store, "\\Schemes\\Classic", "Missing", true));
  EXPECT_FALSE(f.ImportLegacyScheme(store, "\\Schemes\\None", "Comment", true));
}

TEST(LegacyScheme, NewLayoutReadsOneSubkeyPerAttribute) {
  TMemoryStore store;
  const std::string key = "Schemes\\Modern\\Reserved Word";
  store.Put(key, "Foreground Color", 12);
  store.PutText(key, "Background Color New", "clSilver");
  store.PutText(key, "Bold", "True");
  store.PutText(key, "Italic", "FALSE");
  store.PutText(key, "Underline", "1");
  store.PutText(key, "Default Foreground", "0");
  store.PutText(key, "Default Background", "false");

  TKzHighlighterAttributes a("Reserved Word");
  ASSERT_TRUE(a.ImportLegacyScheme(store, "\\Schemes\\Modern", "Reserved Word", false));
  EXPECT_EQ(a.Foreground(), clBlue);
  EXPECT_EQ(a.Background(), clSilver);
  EXPECT_EQ(a.Style(), fsBold | fsUnderline);

  store.PutText(key, "Default Foreground", "yes");
  store.PutText(key, "Background Color New", "$00FF8000");
  TKzHighlighterAttributes b("Reserved Word");
  ASSERT_TRUE(b.ImportLegacyScheme(store, "\\Schemes\\Modern", "Reserved Word", false));
  EXPECT_EQ(b.Foreground(), clWindowText);
  EXPECT_EQ(b.Background(), 0xFF8000u);

  // One flag string missing: nothing is applied.
  const std::string partial = "Schemes\\Modern\\Comment";
  store.Put(partial, "Foreground Color", 1);
  store.Put(partial, "Background Color", 2);
  store.PutText(partial, "Bold", "1");
  store.PutText(partial, "Italic", "1");
  store.PutText(partial, "Underline", "1");
  store.PutText(partial, "Default Foreground", "0");
  TKzHighlighterAttributes c("Comment");
  EXPECT_FALSE(c.ImportLegacyScheme(store, "\\Schemes\\Modern", "Comment", false));
  EXPECT_EQ(c.Foreground(), clNone);
  EXPECT_EQ(c.Style(), 0);
  store.PutText(partial, "Default Background", "0");
  EXPECT_TRUE(c.ImportLegacyScheme(store, "\\Schemes\\Modern", "Comment", false));
  EXPECT_EQ(c.Foreground(), clMaroon);
  EXPECT_EQ(c.Background(), clGreen);

  // No colour at all, or a colour name that does not exist: failure.
  const std::string bare = "Schemes\\Modern\\Text";
  store.PutText(bare, "Bold", "0");
  TKzHighlighterAttributes d("Text");
  EXPECT_FALSE(d.ImportLegacyScheme(store, "\\Schemes\\Modern", "Text", false));
  store.PutText(bare, "Foreground Color New", "clPink");
  store.Put(bare, "Background Color", 0);
  EXPECT_FALSE(d.ImportLegacyScheme(store, "\\Schemes\\Modern", "Text", false));
  store.PutText(bare, "Foreground Color", "7"); // a palette index that is text, not a number
  EXPECT_FALSE(d.ImportLegacyScheme(store, "\\Schemes\\Modern", "Text", false));
  EXPECT_FALSE(d.ImportLegacyScheme(store, "\\Schemes\\Modern", "Nothing", false));
}

} // namespace
