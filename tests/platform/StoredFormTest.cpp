// The stored-form reader: values, order, escapes and the errors for malformed input.
#include "platform/StoredForm.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

using kzp::EStoredFormError;
using kzp::ParseStoredForm;
using kzp::TStoredValue;

namespace {

// "line:column: message" of the error a text raises, or "ok".
std::string ErrorOf(const std::string &text) {
  try {
    ParseStoredForm(text);
  } catch (const EStoredFormError &e) {
    return std::to_string(e.Line) + ":" + std::to_string(e.Column) + ": " + e.what();
  }
  return "ok";
}

} // namespace

TEST(StoredForm, ValuesAndMemberOrder) {
  const TStoredValue v = ParseStoredForm(R"( {
    "z": 1, "a": [true, false, null, -2.5e1, 0, "s"],
    "o": {} , "e": []
  } )");
  ASSERT_TRUE(v.IsObject());
  const auto &m = v.Members();
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m[0].first, "z"); // file order, not sorted
  EXPECT_EQ(m[1].first, "a");
  EXPECT_EQ(v.Get("z").AsInt(), 1);
  const auto &a = v.Get("a").Items();
  ASSERT_EQ(a.size(), 6u);
  EXPECT_TRUE(a[0].AsBool());
  EXPECT_FALSE(a[1].AsBool());
  EXPECT_TRUE(a[2].IsNull());
  EXPECT_DOUBLE_EQ(a[3].AsNumber(), -25.0);
  EXPECT_EQ(a[4].AsInt(), 0);
  EXPECT_EQ(a[5].AsString(), "s");
  EXPECT_TRUE(v.Get("o").Members().empty());
  EXPECT_TRUE(v.Get("e").Items().empty());
  EXPECT_EQ(v.Find("missing"), nullptr);
  EXPECT_EQ(a[0].Find("x"), nullptr); // not an object
}

TEST(StoredForm, StringEscapesAndUtf8) {
  const TStoredValue v =
      ParseStoredForm(R"(["a\"b\\c\/d\n\t\r\b\f", "\u00e4\u20ac", "\ud83d\ude00", "Größe"])");
  const auto &s = v.Items();
  EXPECT_EQ(s[0].AsString(), "a\"b\\c/d\n\t\r\b\f");
  EXPECT_EQ(s[1].AsString(), "\xC3\xA4\xE2\x82\xAC");
  EXPECT_EQ(s[2].AsString(), "\xF0\x9F\x98\x80");
  EXPECT_EQ(s[3].AsString(), "Gr\xC3\xB6\xC3\x9F"
                             "e");
}

TEST(StoredForm, MalformedInputNamesThePlace) {
  EXPECT_EQ(ErrorOf("{\n  \"a\": 1,\n}"),
            "3:1: Gespeichertes Formular fehlerhaft: Name in Anführungszeichen erwartet "
            "(Zeile 3, Spalte 1)");
  EXPECT_EQ(ErrorOf("{\"a\" 1}"),
            "1:6: Gespeichertes Formular fehlerhaft: ':' erwartet (Zeile 1, Spalte 6)");
  EXPECT_EQ(ErrorOf("[1 2]"),
            "1:4: Gespeichertes Formular fehlerhaft: ',' oder ']' erwartet (Zeile 1, Spalte 4)");
  EXPECT_EQ(ErrorOf("{\"a\":1,\"a\":2}"),
            "1:8: Gespeichertes Formular fehlerhaft: Name \"a\" kommt doppelt vor "
            "(Zeile 1, Spalte 8)");
  EXPECT_EQ(ErrorOf("{} x"), "1:4: Gespeichertes Formular fehlerhaft: Unerwartete Zeichen nach "
                             "dem Ende des Formulars (Zeile 1, Spalte 4)");
  EXPECT_EQ(ErrorOf(""),
            "1:1: Gespeichertes Formular fehlerhaft: Wert erwartet, Ende gefunden (Zeile 1, "
            "Spalte 1)");
  // Each of these is refused; the message is checked above for the common kinds.
  for (const char *bad : {"\"open",
                          "[\"a\x01\"]",
                          "\"\\x\"",
                          "\"\\u12G4\"",
                          "\"\\ud800\"",
                          "\"\\udc00\"",
                          "01",
                          "1.",
                          "-",
                          "1e",
                          "1e999",
                          "tru",
                          "truex",
                          "nul",
                          "[",
                          "{\"a\":}",
                          "\"\xC3\"",
                          "\"\xC0\xAF\"",
                          "\"\xED\xA0\x80\"",
                          "[1,]"})
    EXPECT_NE(ErrorOf(bad), "ok") << bad;
  // Deep nesting is refused instead of exhausting the stack.
  EXPECT_NE(ErrorOf(std::string(5000, '[')), "ok");
  EXPECT_EQ(ErrorOf(std::string(150, '[') + std::string(150, ']')), "ok");
}

TEST(StoredForm, TypedAccessRefusesOtherKinds) {
  const TStoredValue v = ParseStoredForm(R"({"n": 1.5, "s": "x"})");
  try {
    v.Get("s").AsInt("editor.s");
    FAIL() << "no error";
  } catch (const EStoredFormError &e) {
    EXPECT_STREQ(e.what(), "Gespeichertes Formular: editor.s: Zahl erwartet, Text gefunden");
  }
  try {
    v.Get("n").AsInt("editor.n");
    FAIL() << "no error";
  } catch (const EStoredFormError &e) {
    EXPECT_STREQ(e.what(), "Gespeichertes Formular: editor.n: ganze Zahl erwartet");
  }
  try {
    v.Get("gone", "editor");
    FAIL() << "no error";
  } catch (const EStoredFormError &e) {
    EXPECT_STREQ(e.what(), "Gespeichertes Formular: editor: Eigenschaft \"gone\" fehlt");
  }
  EXPECT_THROW(v.Items(), EStoredFormError);
  EXPECT_THROW(v.Get("n").AsString(), EStoredFormError);
}

TEST(StoredForm, LoadingAFile) {
  try {
    kzp::LoadStoredForm("/nonexistent-dir/frmMain.json");
    FAIL() << "no error";
  } catch (const EStoredFormError &e) {
    EXPECT_STREQ(e.what(), "Datei nicht gefunden");
  }
  const TStoredValue form = kzp::LoadStoredForm(KZ_PROJECT_DIR "/resources/frmMain.json");
  EXPECT_TRUE(form.Get("editor").IsObject());
}

// Hostile forms: every truncation and thousands of random byte changes of the studio's own form
// either parse or raise the reader's own error; a very wide object and the nesting limit are
// handled without running away.
TEST(StoredForm, DamagedAndHugeFormsFailCleanly) {
  std::string text;
  {
    std::ifstream in(std::string(KZ_PROJECT_DIR) + "/resources/frmMain.json", std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  ASSERT_FALSE(text.empty());
  int parsed = 0, refused = 0;
  auto attempt = [&](const std::string &t) {
    try {
      ParseStoredForm(t);
      ++parsed;
    } catch (const EStoredFormError &e) {
      ++refused;
      EXPECT_GE(e.Line, 1);
    }
  };
  // No prefix short of the closing brace is a whole document.
  const std::size_t close = text.rfind('}');
  for (std::size_t n = 0; n <= close; ++n)
    attempt(text.substr(0, n));
  EXPECT_EQ(parsed, 0);
  EXPECT_EQ(refused, static_cast<int>(close) + 1);
  std::mt19937 rng(99);
  for (int round = 0; round < 3000; ++round) {
    std::string t = text;
    for (int k = 0; k < 3; ++k)
      t[rng() % t.size()] = static_cast<char>(rng() % 256);
    attempt(t);
  }
  EXPECT_GT(refused, static_cast<int>(close) + 1000); // most damage is noticed

  std::string wide = "{";
  for (int i = 0; i < 50000; ++i)
    wide += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":" + std::to_string(i);
  const TStoredValue w = ParseStoredForm(wide + "}");
  ASSERT_EQ(w.Members().size(), 50000u);
  EXPECT_EQ(w.Get("k49999").AsInt(), 49999);
  EXPECT_EQ(ErrorOf(wide + ",\"k17\":1}").substr(0, 2), "1:");

  EXPECT_EQ(ErrorOf(std::string(200, '[') + std::string(200, ']')), "ok");
  EXPECT_NE(ErrorOf(std::string(100000, '[') + std::string(100000, ']')), "ok");
}
