// Command names, shortcut encoding, the default keystroke table, lookups, the duplicate check
// and key translation with two-key sequences.
#include "editor/KzEditKeyCmds.h"
#include "editor/KzEditKeyConst.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

TEST(EditorCommands, NameTableAndConversions) {
  const auto &names = EditorCommandNames();
  ASSERT_EQ(names.size(), 100u);
  EXPECT_STREQ(names.front().Name, "ecNone");
  EXPECT_STREQ(names[70].Name, "ecUserFirst");
  EXPECT_EQ(names[70].Command, 1001);
  EXPECT_STREQ(names.back().Name, "ecString");
  std::set<int> codes;
  for (const TKzCommandName &n : names) {
    codes.insert(n.Command);
    TKzEditorCommand back = 9999;
    ASSERT_TRUE(IdentToEditorCommand(n.Name, back)) << n.Name;
    EXPECT_EQ(back, n.Command) << n.Name;
    EXPECT_EQ(EditorCommandToString(n.Command), n.Name);
  }
  EXPECT_EQ(codes.size(), 100u); // no code twice

  TKzEditorCommand c = 0;
  EXPECT_TRUE(IdentToEditorCommand("ECUNDO", c)); // names are not case-sensitive
  EXPECT_EQ(c, ecUndo);
  EXPECT_FALSE(IdentToEditorCommand("ecUndoo", c));
  std::string ident = "unchanged";
  EXPECT_FALSE(EditorCommandToIdent(ecFocusEnter, ident));
  EXPECT_EQ(ident, "unchanged");
  EXPECT_EQ(EditorCommandToString(ecFocusEnter), "480");
  EXPECT_EQ(EditorCommandToString(ecFocusExit), "481");
  EXPECT_TRUE(StringToEditorCommand("ecCopy", c));
  EXPECT_EQ(c, 201);
  EXPECT_TRUE(StringToEditorCommand("1234", c));
  EXPECT_EQ(c, 1234);
  EXPECT_FALSE(StringToEditorCommand("65536", c));
  EXPECT_FALSE(StringToEditorCommand("-1", c));
  EXPECT_FALSE(StringToEditorCommand("12a", c));
  EXPECT_FALSE(StringToEditorCommand("", c));
}

TEST(ShortCuts, EncodingAndDecoding) {
  EXPECT_EQ(ShortCut(VK_F1, 0), 112);
  EXPECT_EQ(ShortCut(VK_F1, ssCtrl), 16496);
  EXPECT_EQ(ShortCut('C', ssCtrl | ssAlt), 49219);
  EXPECT_EQ(ShortCut(VK_BACK, ssShift | ssAlt), 40968);
  EXPECT_EQ(ShortCut(VK_LEFT, ssCtrl | ssShift | ssLeft), 24613); // buttons are not encoded
  EXPECT_EQ(ShortCut(0x100, ssCtrl), 0);                          // not encodable
  std::uint16_t key = 0;
  TShiftState shift = 0;
  ShortCutToKey(49219, key, shift);
  EXPECT_EQ(key, 67);
  EXPECT_EQ(shift, ssCtrl | ssAlt);
  ShortCutToKey(8230, key, shift);
  EXPECT_EQ(key, VK_UP);
  EXPECT_EQ(shift, ssShift);
  ShortCutToKey(0x1FFF, key, shift);
  EXPECT_EQ(key, 0x1FFF);
  EXPECT_EQ(shift, 0);
}

TEST(ShortCuts, TextForm) {
  EXPECT_EQ(ShortCutToText(49219), "Ctrl+Alt+C");
  EXPECT_EQ(ShortCutToText(16496), "Ctrl+F1");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, ssShift)), "Shift+Del");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_NUMPAD0 + 5, 0)), "Num 5");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_OEM_1, ssCtrl)), "Ctrl+#186");
  EXPECT_EQ(ShortCutToText(0), "");
  TShortCut sc = 1;
  EXPECT_TRUE(TextToShortCut("ctrl+f1", sc));
  EXPECT_EQ(sc, 16496);
  EXPECT_TRUE(TextToShortCut("Alt+Ctrl+c", sc));
  EXPECT_EQ(sc, 49219);
  EXPECT_TRUE(TextToShortCut("Shift+Alt+BkSp", sc));
  EXPECT_EQ(sc, 40968);
  EXPECT_TRUE(TextToShortCut("PgDn", sc));
  EXPECT_EQ(sc, VK_NEXT);
  EXPECT_TRUE(TextToShortCut("F24", sc));
  EXPECT_EQ(sc, VK_F24);
  EXPECT_TRUE(TextToShortCut("Ctrl+#186", sc));
  EXPECT_EQ(sc, ShortCut(VK_OEM_1, ssCtrl));
  EXPECT_TRUE(TextToShortCut("Num +", sc));
  EXPECT_EQ(sc, VK_ADD);
  EXPECT_TRUE(TextToShortCut("24643", sc));
  EXPECT_EQ(sc, 24643);
  EXPECT_TRUE(TextToShortCut("", sc));
  EXPECT_EQ(sc, 0);
  sc = 7;
  EXPECT_FALSE(TextToShortCut("Ctrl+", sc));
  EXPECT_FALSE(TextToShortCut("F25", sc));
  EXPECT_FALSE(TextToShortCut("F0", sc));
  EXPECT_FALSE(TextToShortCut("Hyper+A", sc));
  EXPECT_FALSE(TextToShortCut("#256", sc));
  EXPECT_FALSE(TextToShortCut("70000", sc));
  EXPECT_EQ(sc, 7);
  // Every key name reads back to its shortcut.
  for (int key = 1; key < 256; ++key) {
    const TShortCut s = ShortCut(std::uint16_t(key), ssCtrl | ssShift);
    ASSERT_TRUE(TextToShortCut(ShortCutToText(s), sc)) << key;
    EXPECT_EQ(sc, s) << ShortCutToText(s);
  }
}

TEST(DefaultKeystrokes, TheEightyThreeRowsInOrder) {
  TKzEditKeyStrokes t;
  t.ResetDefaults();
  ASSERT_EQ(t.Count(), 83);
  // The shortcut column of the table, row by row.
  const std::vector<int> shortcuts = {
      38,    8230,  16422, 40,    8232,  16424, 37,    8229,  16421, 24613, 39,    8231,
      16423, 24615, 34,    8226,  16418, 24610, 33,    8225,  16417, 24609, 36,    8228,
      16420, 24612, 35,    8227,  16419, 24611, 45,    16429, 8238,  8237,  46,    8,
      8200,  16392, 32776, 40968, 13,    8205,  9,     8201,  112,   16449, 16451, 16470,
      16472, 24649, 24661, 16461, 16462, 16468, 16473, 24665, 16474, 24666, 16432, 16433,
      16434, 16435, 16436, 16437, 16438, 16439, 16440, 16441, 24624, 24625, 24626, 24627,
      24628, 24629, 24630, 24631, 24632, 24633, 24654, 24643, 24652, 24642, 49219};
  const std::vector<int> commands = {
      3,   103, 211, 4,   104, 212, 1,   101, 5,   105, 2,   102, 6,   106, 10,  110, 14,
      114, 9,   109, 13,  113, 7,   107, 15,  115, 8,   108, 16,  116, 223, 201, 603, 604,
      502, 501, 501, 504, 601, 602, 509, 509, 612, 613, 490, 199, 201, 604, 603, 610, 611,
      509, 510, 503, 507, 506, 601, 602, 301, 302, 303, 304, 305, 306, 307, 308, 309, 310,
      351, 352, 353, 354, 355, 356, 357, 358, 359, 360, 231, 232, 233, 250, 251};
  ASSERT_EQ(shortcuts.size(), 83u);
  ASSERT_EQ(commands.size(), 83u);
  for (int i = 0; i < 83; ++i) {
    EXPECT_EQ(t[i].ShortCut(), shortcuts[std::size_t(i)]) << "row " << i + 1;
    EXPECT_EQ(t[i].Command(), commands[std::size_t(i)]) << "row " << i + 1;
    EXPECT_EQ(t[i].Key2(), 0) << "row " << i + 1;
    EXPECT_EQ(t[i].ShortCut2(), 0) << "row " << i + 1;
  }
  // ResetDefaults replaces whatever was there.
  t.AddKey(ecUserFirst, 'Q', ssCtrl);
  t.ResetDefaults();
  EXPECT_EQ(t.Count(), 83);
  EXPECT_EQ(t.FindCommand(ecUserFirst), -1);
}

TEST(DefaultKeystrokes, LookupsOfTheUsualKeys) {
  TKzEditKeyStrokes t;
  t.ResetDefaults();
  auto cmd = [&](std::uint16_t key, TShiftState shift) {
    const int i = t.FindKey(key, shift);
    return i < 0 ? ecNone : t[i].Command();
  };
  EXPECT_EQ(cmd('Z', ssCtrl), ecUndo);
  EXPECT_EQ(cmd('Z', ssCtrl | ssShift), ecRedo);
  EXPECT_EQ(cmd(VK_BACK, ssAlt), ecUndo);
  EXPECT_EQ(cmd(VK_INSERT, ssShift), ecPaste);
  EXPECT_EQ(cmd(VK_DELETE, ssShift), ecCut);
  EXPECT_EQ(cmd(VK_INSERT, ssCtrl), ecCopy);
  EXPECT_EQ(cmd('1', ssCtrl), ecGotoMarker1);
  EXPECT_EQ(cmd('1', ssCtrl | ssShift), ecSetMarker1);
  EXPECT_EQ(cmd(VK_F1, 0), ecContextHelp);
  EXPECT_EQ(cmd(VK_F1, ssCtrl), ecNone);
  EXPECT_EQ(cmd('Z', ssCtrl | ssLeft), ecUndo); // a held mouse button does not matter
  EXPECT_EQ(cmd('Z', 0), ecNone);
  EXPECT_EQ(t.FindKey(VK_UP, 0), 0);
  EXPECT_EQ(t.FindShortcuts(16474, 0), 56);
  EXPECT_EQ(t.FindShortcuts(16474, 66), -1);
  EXPECT_EQ(t.FindKeySequence('Z', ssCtrl, 0, 0), 56);
  EXPECT_EQ(t.FindCommand(ecLineBreak), 40);
}

TEST(Keystrokes, DuplicateShortcutPairsAreRefused) {
  TKzEditKeyStrokes t;
  t.ResetDefaults();
  TKzEditKeyStroke &s = t.Add();
  s.SetCommand(ecUserFirst);
  s.SetShortCut(ShortCut('Q', ssCtrl));
  try {
    s.SetShortCut(16474); // Ctrl+Z is taken
    FAIL() << "no error";
  } catch (const EKzKeyError &e) {
    EXPECT_STREQ(e.what(), "Shortcut already exists");
  }
  EXPECT_EQ(s.Key(), 'Q');
  EXPECT_EQ(s.Shift(), ssCtrl);
  s.SetShortCut(ShortCut('Q', ssCtrl)); // its own pair is no duplicate
  s.SetShortCut(0);                     // 0 never is
  EXPECT_EQ(s.ShortCut(), 0);
  // With a second key, the pair differs from the single Ctrl+Z and is allowed...
  s.SetShortCut2(ShortCut('B', 0));
  s.SetShortCut(16474);
  EXPECT_EQ(s.ShortCut(), 16474);
  EXPECT_EQ(t.FindKey('Z', ssCtrl), 56); // the single-key stroke still wins FindKey
  // ...but the same pair a second time is not, whichever half is set last.
  TKzEditKeyStroke &u = t.Add();
  u.SetShortCut2(ShortCut('B', 0));
  EXPECT_THROW(u.SetShortCut(16474), EKzKeyError);
  EXPECT_EQ(u.Key(), 0);
  TKzEditKeyStroke &w = t.Add();
  w.SetShortCut(ShortCut('Q', ssAlt));
  EXPECT_THROW(w.SetShortCut(16474), EKzKeyError); // the single Ctrl+Z of the defaults
  EXPECT_EQ(w.ShortCut(), ShortCut('Q', ssAlt));
  // Plain stores bypass the check.
  u.SetKey('Z');
  u.SetShift(ssCtrl);
  EXPECT_EQ(u.ShortCut(), 16474);
}

TEST(Keystrokes, AssignCopiesEveryStroke) {
  TKzEditKeyStrokes a;
  a.AddKey(ecUserFirst, 'K', ssCtrl, 'B', 0);
  a.AddKey(ecCopy, 'C', ssCtrl);
  TKzEditKeyStrokes b;
  b.ResetDefaults();
  b.Assign(a);
  ASSERT_EQ(b.Count(), 2);
  EXPECT_EQ(b[0].Command(), ecUserFirst);
  EXPECT_EQ(b[0].Key2(), 'B');
  EXPECT_EQ(b[1].ShortCut(), 16451);
  EXPECT_EQ(b[0].Collection(), &b); // the copies belong to the new table
  b.Assign(b);
  EXPECT_EQ(b.Count(), 2);
}

TEST(KeyTranslation, TwoKeySequencesWithAPendingFirstKey) {
  TKzEditKeyStrokes t;
  t.ResetDefaults();
  t.AddKey(ecUserFirst + 1, 'K', ssCtrl, 'B', 0);
  TKzPendingKey pending;
  // Ctrl+K has no single-key meaning: no command, remembered.
  EXPECT_EQ(t.TranslateKey('K', ssCtrl, pending), ecNone);
  EXPECT_EQ(pending.Key, 'K');
  EXPECT_EQ(pending.Shift, ssCtrl);
  EXPECT_EQ(t.TranslateKey('B', 0, pending), ecUserFirst + 1);
  EXPECT_EQ(pending.Key, 0);
  // B alone means nothing and becomes the pending key itself.
  EXPECT_EQ(t.TranslateKey('B', 0, pending), ecNone);
  EXPECT_EQ(pending.Key, 'B');
  // A modifier pressed in between clears the memory.
  EXPECT_EQ(t.TranslateKey('K', ssCtrl, pending), ecNone);
  EXPECT_EQ(t.TranslateKey(VK_SHIFT, ssShift, pending), ecNone);
  EXPECT_EQ(pending.Key, 0);
  EXPECT_EQ(t.TranslateKey('B', 0, pending), ecNone);
  // A key with a meaning of its own clears it too, and keys above 145 are never remembered.
  EXPECT_EQ(t.TranslateKey('K', ssCtrl, pending), ecNone);
  EXPECT_EQ(t.TranslateKey('Z', ssCtrl, pending), ecUndo);
  EXPECT_EQ(pending.Key, 0);
  EXPECT_EQ(t.TranslateKey('K', ssCtrl, pending), ecNone);
  EXPECT_EQ(t.TranslateKey(VK_OEM_1, 0, pending), ecNone);
  EXPECT_EQ(pending.Key, 0);
  EXPECT_EQ(t.TranslateKey(VK_SCROLL, 0, pending), ecNone);
  EXPECT_EQ(pending.Key, VK_SCROLL);
  // The pending key's modifiers must match too.
  pending = {'K', ssCtrl | ssShift};
  EXPECT_EQ(t.TranslateKey('B', 0, pending), ecNone);
}
