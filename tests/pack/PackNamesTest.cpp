// Target names a new file may take, and names shown and typed in UTF-8 with escapes.
#include "pack/PackNames.h"

#include "PackTestUtil.h"

#include <gtest/gtest.h>

namespace {

TEST(TargetNames, RelativePathsPassAndWhatLeadsOutOfTheFolderIsRefused) {
  for (const std::string ok : {"a.gif", "sub/a.gif", "a..b/c", ".htaccess", "...", "x/.y/z",
                               "grün \x80.gif", "ab:c", "1:/x"})
    EXPECT_EQ(TargetNameProblem(ok), "") << ok;
  const std::pair<std::string, std::string> refused[] = {
      {"", "er ist leer"},
      {"/etc/x", "er ist ein absoluter Pfad (beginnt mit \"/\")"},
      {"C:x", "er beginnt mit einem Laufwerksbuchstaben"},
      {"a:b", "er beginnt mit einem Laufwerksbuchstaben"},
      {"z:/x", "er beginnt mit einem Laufwerksbuchstaben"},
      {"../x", "er enthält den Ordnernamen \"..\""},
      {"a/..", "er enthält den Ordnernamen \"..\""},
      {"a/./b", "er enthält den Ordnernamen \".\""},
      {".", "er enthält den Ordnernamen \".\""},
      {"a//b", "er enthält einen leeren Ordnernamen (\"//\" oder \"/\" am Ende)"},
      {"a/", "er enthält einen leeren Ordnernamen (\"//\" oder \"/\" am Ende)"},
      {"..\\x", "er enthält einen umgekehrten Schrägstrich (\\), der unter Windows Ordner trennt"},
      {std::string("a\0b", 3), "er enthält ein Steuerzeichen (\\x00)"},
      {"a\tb", "er enthält ein Steuerzeichen (\\x09)"},
      {"a\x7F", "er enthält ein Steuerzeichen (\\x7F)"},
      {"a\x8F", "er enthält ein Steuerzeichen (\\x8F)"},
  };
  for (const auto &[name, problem] : refused)
    EXPECT_EQ(TargetNameProblem(name), problem) << ShownName(name);
  EXPECT_EQ(TargetNameRefusal("../gr\xFCn"),
            "Der Zielname \"../grün\" ist nicht erlaubt: er enthält den "
            "Ordnernamen \"..\". Ein Zielname ist ein relativer Pfad im Pack, "
            "dessen Ordner durch \"/\" getrennt sind.");
  EXPECT_EQ(TargetNameRefusal("ok.gif"), "");
}

TEST(ShownNames, EveryByteIsShownReadablyAndTypedBackToItself) {
  EXPECT_EQ(ShownName("gr\xFCn \x80 \x84\x93"), "grün € „“");
  EXPECT_EQ(ShownName(std::string("\0\x1B\x7F\x81\x8D\x8F\x90\x9D\\", 9)),
            "\\x00\\x1B\\x7F\\x81\\x8D\\x8F\\x90\\x9D\\\\");
  const std::string all = AllBytes();
  const std::string shown = ShownName(all);
  for (const char c : shown)
    EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
        << "a raw control byte in " << shown;
  std::string back;
  ASSERT_EQ(ParseShownName(shown, back), TNameParse::Ok);
  EXPECT_EQ(back, all);
  ASSERT_EQ(ParseShownName("\\x41\\x6a\\\\", back), TNameParse::Ok);
  EXPECT_EQ(back, "Aj\\");
  // A raw control character typed in is taken as it is (and refused elsewhere as a name).
  ASSERT_EQ(ParseShownName("a\tb", back), TNameParse::Ok);
  EXPECT_EQ(back, "a\tb");
}

TEST(ShownNames, WhatCannotBeTypedBackIsTold) {
  std::string bytes;
  for (const std::string bad : {"\\", "a\\b", "\\x", "\\x4", "\\x4g", "\\X41", "\\\\\\"})
    EXPECT_EQ(ParseShownName(bad, bytes), TNameParse::BadEscape) << bad;
  for (const std::string bad :
       {"\xFF", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xE2\x82"})
    EXPECT_EQ(ParseShownName(bad, bytes), TNameParse::NotUtf8) << ShownFileSystemName(bad);
  EXPECT_EQ(ParseShownName("日本", bytes), TNameParse::Unfit);
  EXPECT_EQ(ParseShownName("€\xF0\x9F\x98\x80", bytes), TNameParse::Unfit);
}

TEST(FileSystemNames, UnicodeNamesGoIntoTheCodePageAndOthersAreShownInHex) {
  std::string bytes;
  EXPECT_TRUE(FileSystemNameToPack("grün/€.gif", bytes));
  EXPECT_EQ(bytes, "gr\xFCn/\x80.gif");
  EXPECT_FALSE(FileSystemNameToPack("日本.gif", bytes));
  EXPECT_FALSE(FileSystemNameToPack("gr\xFCn.gif", bytes));
  EXPECT_EQ(ShownFileSystemName("gr\xFCn/ä\x1B\\.gif"), "gr\\xFCn/ä\\x1B\\\\.gif");
  EXPECT_EQ(ShownFileSystemName("\xC2\x85"), "\\xC2\\x85"); // a C1 control in UTF-8
}

} // namespace
