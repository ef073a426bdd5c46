// Applying a window's stored keystroke adjustments to a table, including the main window's.
#include "editor/KzEditKeyCmds.h"
#include "editor/KzEditKeyConst.h"
#include "platform/StoredForm.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

TKzEditKeyStrokes &Defaults(TKzEditKeyStrokes &t) {
  t.ResetDefaults();
  return t;
}

void Apply(TKzEditKeyStrokes &t, const std::string &json) {
  ApplyStoredKeystrokes(t, kzp::ParseStoredForm(json));
}

// The table as "command:shortcut:shortcut2" rows, for whole-table comparisons.
std::vector<std::string> Rows(const TKzEditKeyStrokes &t) {
  std::vector<std::string> out;
  for (int i = 0; i < t.Count(); ++i)
    out.push_back(std::to_string(t[i].Command()) + ":" + std::to_string(t[i].ShortCut()) + ":" +
                  std::to_string(t[i].ShortCut2()));
  return out;
}

std::string ErrorOf(TKzEditKeyStrokes &t, const std::string &json) {
  try {
    Apply(t, json);
  } catch (const std::exception &e) {
    return e.what();
  }
  return "ok";
}

} // namespace

TEST(StoredKeystrokes, MainWindowTableIsTheDefaultsWithoutF1AndCtrlAltCPlusCtrlF1) {
  const kzp::TStoredValue form = kzp::LoadStoredForm(KZ_PROJECT_DIR "/resources/frmMain.json");
  TKzEditKeyStrokes t;
  t.ResetDefaults();
  ApplyStoredKeystrokes(t, form.Get("editor"));

  TKzEditKeyStrokes expected;
  expected.ResetDefaults();
  expected.Delete(82); // row 83, Ctrl+Alt+C
  expected.Delete(44); // row 45, F1
  expected.AddKey(ecContextHelp, VK_F1, ssCtrl);
  EXPECT_EQ(Rows(t), Rows(expected));
  ASSERT_EQ(t.Count(), 82);

  TKzPendingKey pending;
  EXPECT_EQ(t.TranslateKey(VK_F1, 0, pending), ecNone); // no longer consumed
  EXPECT_EQ(t.TranslateKey(VK_F1, ssCtrl, pending), ecContextHelp);
  EXPECT_EQ(t.TranslateKey('C', ssCtrl | ssAlt, pending), ecNone);
  EXPECT_EQ(t[81].ShortCut(), 16496);
}

TEST(StoredKeystrokes, RemovalNeedsTheSameCommandAndTheSamePair) {
  TKzEditKeyStrokes t;
  Defaults(t);
  const auto before = Rows(t);
  // Ctrl+Z belongs to ecUndo, not ecRedo: nothing is removed.
  Apply(t, R"({"RemovedKeystrokes": [{"Command": "ecRedo", "ShortCut": 16474}]})");
  EXPECT_EQ(Rows(t), before);
  // A pair with a second key is not the single-key stroke.
  Apply(t, R"({"RemovedKeystrokes": [{"Command": "ecUndo", "ShortCut": "Ctrl+Z",
                                       "ShortCut2": "B"}]})");
  EXPECT_EQ(Rows(t), before);
  // Only the first matching stroke goes, even when the pair occurs twice.
  t.AddKey(ecUndo, 'Z', ssCtrl);
  Apply(t, R"({"RemovedKeystrokes": [{"Command": 601, "ShortCut": "Ctrl+Z"}]})");
  EXPECT_EQ(t.Count(), 83);
  EXPECT_EQ(t.FindShortcuts(16474, 0), 82);
}

TEST(StoredKeystrokes, ListsApplyInStoredOrderAndAddWithoutCheck) {
  TKzEditKeyStrokes t;
  Defaults(t);
  // Added first, then removed: the added Ctrl+Z (a duplicate pair, allowed when adding) stays,
  // because the removal takes the first match, the default one.
  Apply(t, R"({"AddedKeystrokes": [{"Command": "ecUndo", "ShortCut": "Ctrl+Z"},
                                   {"Command": "ecUserFirst", "ShortCut": "Ctrl+K",
                                    "ShortCut2": "B"}],
               "RemovedKeystrokes": [{"Command": "ecUndo", "ShortCut": "Ctrl+Z"}],
               "Font": {"Name": "Courier New"}})");
  ASSERT_EQ(t.Count(), 84);
  EXPECT_EQ(t.FindShortcuts(16474, 0), 82);
  EXPECT_EQ(t[83].Command(), ecUserFirst);
  EXPECT_EQ(t[83].Key2(), 'B');
  TKzPendingKey pending;
  EXPECT_EQ(t.TranslateKey('K', ssCtrl, pending), ecNone);
  EXPECT_EQ(t.TranslateKey('B', 0, pending), ecUserFirst);
}

TEST(StoredKeystrokes, FaultsAreReportedAndLeaveTheTableAlone) {
  TKzEditKeyStrokes t;
  Defaults(t);
  const auto before = Rows(t);
  EXPECT_EQ(ErrorOf(t, R"({"RemovedKeystrokes": [{"Command": "ecContextHelp", "ShortCut": "F1"}],
                          "AddedKeystrokes": [{"Command": "ecNoSuch", "ShortCut": "F2"}]})"),
            "Ungültiger Eigenschaftswert: \"ecNoSuch\" (AddedKeystrokes[0].Command)");
  EXPECT_EQ(Rows(t), before); // the valid removal was not applied either
  EXPECT_EQ(ErrorOf(t, R"({"AddedKeystrokes": [{"Command": "ecCopy", "ShortCut": "Ctrl+Q"},
                                                {"Command": "ecCut", "ShortCut": "Ctrl+Q"}]})"),
            "Shortcut already exists");
  EXPECT_EQ(ErrorOf(t, R"({"AddedKeystrokes": [{"Command": "ecCopy", "ShortCut": "Hyper+Q"}]})"),
            "Ungültiger Eigenschaftswert: AddedKeystrokes[0].ShortCut");
  EXPECT_EQ(ErrorOf(t, R"({"AddedKeystrokes": [{"Command": "ecCopy", "ShortCut": 70000}]})"),
            "Ungültiger Eigenschaftswert: AddedKeystrokes[0].ShortCut");
  EXPECT_EQ(ErrorOf(t, R"({"AddedKeystrokes": [{"Command": 1.5, "ShortCut": 1}]})"),
            "Ungültiger Eigenschaftswert: AddedKeystrokes[0].Command");
  EXPECT_EQ(ErrorOf(t, R"({"AddedKeystrokes": [{"Comand": "ecCopy"}]})"),
            "Ungültiger Eigenschaftswert: AddedKeystrokes[0].Comand");
  EXPECT_EQ(ErrorOf(t, R"({"AddedKeystrokes": {"Command": "ecCopy"}})"),
            "Ungültiger Eigenschaftswert: AddedKeystrokes");
  EXPECT_EQ(ErrorOf(t, R"({"AddedKeystrokes": [7]})"),
            "Ungültiger Eigenschaftswert: AddedKeystrokes[0]");
  EXPECT_EQ(Rows(t), before);
  // A command by number needs no name; 480 has none.
  Apply(t, R"({"AddedKeystrokes": [{"Command": "480", "ShortCut": "Ctrl+F12"}]})");
  EXPECT_EQ(t[83].Command(), ecFocusEnter);
}

// Random stored lists, well-formed or not: each is either applied or refused with the reader's
// own errors, and a refused list leaves the table exactly as it was.
TEST(StoredKeystrokes, RandomListsApplyWhollyOrNotAtAll) {
  std::mt19937 rng(8);
  auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const char *const commands[] = {"\"ecUndo\"",
                                  "\"ecContextHelp\"",
                                  "\"ecNoSuchCommand\"",
                                  "601",
                                  "70000",
                                  "-1",
                                  "1.5",
                                  "\"490\"",
                                  "null",
                                  "\"\""};
  const char *const shortcuts[] = {
      "\"F1\"",     "\"Ctrl+F1\"", "\"Ctrl+Alt+C\"", "16474", "\"Shift+\"",
      "\"Ctrl+Q\"", "99999",       "\"#300\"",       "true",  "0"};
  const char *const keys[] = {"\"Command\"", "\"ShortCut\"", "\"ShortCut2\"", "\"Colour\""};
  int applied = 0, refused = 0;
  for (int round = 0; round < 2000; ++round) {
    std::string json = "{";
    for (const char *list : {"\"RemovedKeystrokes\"", "\"AddedKeystrokes\""}) {
      if (json.size() > 1)
        json += ",";
      json += std::string(list) + ":[";
      for (int s = pick(4); s > 0; --s) {
        json += "{";
        bool first = true;
        bool used[4] = {};
        for (int m = pick(4); m > 0; --m) {
          const int k = pick(4);
          if (used[k])
            continue;
          used[k] = true;
          json += (first ? "" : ",") + std::string(keys[k]) + ":" +
                  (k == 0 ? commands[pick(10)] : shortcuts[pick(10)]);
          first = false;
        }
        json += s > 1 ? "}," : "}";
      }
      json += "]";
    }
    json += "}";
    TKzEditKeyStrokes t;
    Defaults(t);
    const std::vector<std::string> before = Rows(t);
    try {
      Apply(t, json);
      ++applied;
    } catch (const EKzStoredKeystrokeError &) {
      ++refused;
      EXPECT_EQ(Rows(t), before) << json;
    } catch (const EKzKeyError &) {
      ++refused;
      EXPECT_EQ(Rows(t), before) << json;
    }
  }
  EXPECT_GT(applied, 100);
  EXPECT_GT(refused, 100);
}
