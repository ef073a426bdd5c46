// The settings store over an INI file, written and read back through a highlighter's colours
// and a legacy colour scheme.
#include "platform/qt/QtSettingsStore.h"

#include "highlight/KzHighlighterHtml.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(QtSettingsStore, RoundTripThroughAnIniFile) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / "kz_highlight_settings_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string ini = (dir / "farben.ini").string();
  {
    TQtSettingsStore store(ini);
    TKzHTMLHighlighter h;
    h.ValueAttri->SetBackground(kzp::clInfoBk);
    h.TextAttri->SetStyle(fsBold | fsStrikeOut);
    ASSERT_TRUE(h.WriteRegistrySettings(store, "Software\\Tarvex\\HTML"));
    store.OpenKey("\\Software\\Tarvex\\Schemes", true);
    store.WriteString("Comment", ",,BI,0,1,4,0");
    ASSERT_TRUE(store.Flush());
  }
  TQtSettingsStore store(ini);
  TKzHTMLHighlighter h;
  ASSERT_TRUE(h.ReadRegistrySettings(store, "Software\\Tarvex\\HTML"));
  EXPECT_EQ(h.ValueAttri->Background(), kzp::clInfoBk);
  EXPECT_EQ(h.TextAttri->Style(), fsBold | fsStrikeOut);
  EXPECT_EQ(h.KeyAttri->Foreground(), 0xFF0080u);
  EXPECT_FALSE(h.ReadRegistrySettings(store, "Software\\Tarvex\\CSS"));
  TKzHighlighterAttributes a("Comment");
  ASSERT_TRUE(a.ImportLegacyScheme(store, "\\Software\\Tarvex\\Schemes", "Comment", true));
  EXPECT_EQ(a.Foreground(), clNavy);
  EXPECT_EQ(a.Background(), clWindow);
  EXPECT_EQ(a.Style(), fsBold | fsItalic);
  std::filesystem::remove_all(dir);
}
