// A small strict JSON reader for the windows' stored forms.
#include "platform/StoredForm.h"

#include "platform/FileErrors.h"
#include "platform/Hex.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

namespace kzp {

namespace {

constexpr int kMaxDepth = 200;

const char *KindName(TStoredValue::TKind k) {
  switch (k) {
  case TStoredValue::TKind::Null: return "null";
  case TStoredValue::TKind::Bool: return "Wahrheitswert";
  case TStoredValue::TKind::Number: return "Zahl";
  case TStoredValue::TKind::String: return "Text";
  case TStoredValue::TKind::Array: return "Liste";
  case TStoredValue::TKind::Object: return "Objekt";
  }
  return "?";
}

[[noreturn]] void WrongKind(std::string_view what, TStoredValue::TKind want,
                            TStoredValue::TKind have) {
  std::string msg = "Gespeichertes Formular: ";
  if (!what.empty())
    msg += std::string(what) + ": ";
  msg += std::string(KindName(want)) + " erwartet, " + KindName(have) + " gefunden";
  throw EStoredFormError(msg);
}

class TParser {
public:
  explicit TParser(std::string_view text) : fText(text) {}

  TStoredValue ParseDocument() {
    SkipBlanks();
    TStoredValue v = ParseValue(0);
    SkipBlanks();
    if (fPos < fText.size())
      Fail("Unerwartete Zeichen nach dem Ende des Formulars");
    return v;
  }

private:
  [[noreturn]] void Fail(const std::string &what) const {
    // Line and column of the current position, counted in bytes from 1.
    int line = 1, col = 1;
    for (std::size_t i = 0; i < fPos && i < fText.size(); ++i) {
      if (fText[i] == '\n') {
        ++line;
        col = 1;
      } else {
        ++col;
      }
    }
    char where[64];
    std::snprintf(where, sizeof where, " (Zeile %d, Spalte %d)", line, col);
    throw EStoredFormError("Gespeichertes Formular fehlerhaft: " + what + where, line, col);
  }

  bool AtEnd() const { return fPos >= fText.size(); }
  char Peek() const { return AtEnd() ? '\0' : fText[fPos]; }

  void SkipBlanks() {
    while (!AtEnd()) {
      const char c = fText[fPos];
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
        break;
      ++fPos;
    }
  }

  void Expect(char c, const char *message) {
    SkipBlanks();
    if (Peek() != c)
      Fail(message);
    ++fPos;
  }

  TStoredValue ParseValue(int depth) {
    if (depth > kMaxDepth)
      Fail("Zu tief verschachtelt");
    SkipBlanks();
    if (AtEnd())
      Fail("Wert erwartet, Ende gefunden");
    const char c = fText[fPos];
    if (c == '{')
      return ParseObject(depth);
    if (c == '[')
      return ParseArray(depth);
    if (c == '"')
      return TStoredValue::MakeString(ParseString());
    if (c == '-' || (c >= '0' && c <= '9'))
      return TStoredValue::MakeNumber(ParseNumber());
    if (Literal("true"))
      return TStoredValue::MakeBool(true);
    if (Literal("false"))
      return TStoredValue::MakeBool(false);
    if (Literal("null"))
      return TStoredValue();
    Fail("Wert erwartet");
  }

  bool Literal(std::string_view word) {
    if (fText.substr(fPos, word.size()) != word)
      return false;
    const std::size_t after = fPos + word.size();
    if (after < fText.size()) {
      const char c = fText[after];
      if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
        return false;
    }
    fPos = after;
    return true;
  }

  TStoredValue ParseObject(int depth) {
    ++fPos; // {
    std::vector<TStoredValue::TMember> members;
    // Names seen so far, so a wide object costs no more than its size times a lookup.
    std::set<std::string> names;
    SkipBlanks();
    if (Peek() == '}') {
      ++fPos;
      return TStoredValue::MakeObject(std::move(members));
    }
    for (;;) {
      SkipBlanks();
      if (Peek() != '"')
        Fail("Name in Anführungszeichen erwartet");
      const std::size_t nameAt = fPos;
      std::string name = ParseString();
      if (!names.insert(name).second) {
        fPos = nameAt;
        Fail("Name \"" + name + "\" kommt doppelt vor");
      }
      Expect(':', "':' erwartet");
      TStoredValue v = ParseValue(depth + 1);
      members.emplace_back(std::move(name), std::move(v));
      SkipBlanks();
      if (Peek() == ',') {
        ++fPos;
        continue;
      }
      if (Peek() == '}') {
        ++fPos;
        return TStoredValue::MakeObject(std::move(members));
      }
      Fail("',' oder '}' erwartet");
    }
  }

  TStoredValue ParseArray(int depth) {
    ++fPos; // [
    std::vector<TStoredValue> items;
    SkipBlanks();
    if (Peek() == ']') {
      ++fPos;
      return TStoredValue::MakeArray(std::move(items));
    }
    for (;;) {
      items.push_back(ParseValue(depth + 1));
      SkipBlanks();
      if (Peek() == ',') {
        ++fPos;
        continue;
      }
      if (Peek() == ']') {
        ++fPos;
        return TStoredValue::MakeArray(std::move(items));
      }
      Fail("',' oder ']' erwartet");
    }
  }

  static void AppendUtf8(std::string &out, char32_t cp) {
    if (cp < 0x80) {
      out.push_back(char(cp));
    } else if (cp < 0x800) {
      out.push_back(char(0xC0 | (cp >> 6)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(char(0xE0 | (cp >> 12)));
      out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(char(0xF0 | (cp >> 18)));
      out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    }
  }

  unsigned Hex4() {
    if (fPos + 4 > fText.size())
      Fail("Vier Hexadezimalziffern erwartet");
    unsigned v = 0;
    for (int i = 0; i < 4; ++i) {
      const int d = HexDigitValue(fText[fPos++]);
      if (d < 0) {
        --fPos;
        Fail("Hexadezimalziffer erwartet");
      }
      v = v << 4 | unsigned(d);
    }
    return v;
  }

  // Length of a well-formed UTF-8 sequence starting at p, or 0.
  std::size_t Utf8Length(std::size_t p) const {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(fText[i]); };
    const unsigned char c = b(p);
    std::size_t n;
    char32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      n = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 4;
      cp = c & 0x07;
    } else {
      return 0;
    }
    if (p + n > fText.size())
      return 0;
    for (std::size_t i = 1; i < n; ++i) {
      if ((b(p + i) & 0xC0) != 0x80)
        return 0;
      cp = (cp << 6) | (b(p + i) & 0x3F);
    }
    const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return 0;
    return n;
  }

  std::string ParseString() {
    ++fPos; // opening quote
    std::string out;
    for (;;) {
      if (AtEnd())
        Fail("Text ohne schließendes Anführungszeichen");
      const unsigned char c = static_cast<unsigned char>(fText[fPos]);
      if (c == '"') {
        ++fPos;
        return out;
      }
      if (c < 0x20)
        Fail("Steuerzeichen im Text");
      if (c >= 0x80) {
        const std::size_t n = Utf8Length(fPos);
        if (n == 0)
          Fail("Ungültige UTF-8-Folge");
        out.append(fText.substr(fPos, n));
        fPos += n;
        continue;
      }
      if (c != '\\') {
        out.push_back(char(c));
        ++fPos;
        continue;
      }
      ++fPos;
      if (AtEnd())
        Fail("Unvollständige Escape-Folge");
      const char e = fText[fPos++];
      switch (e) {
      case '"':
      case '\\':
      case '/': out.push_back(e); break;
      case 'b': out.push_back('\b'); break;
      case 'f': out.push_back('\f'); break;
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case 't': out.push_back('\t'); break;
      case 'u': {
        char32_t cp = Hex4();
        if (cp >= 0xD800 && cp <= 0xDBFF) {
          if (fText.substr(fPos, 2) != "\\u")
            Fail("Zweite Hälfte eines Ersatzpaars erwartet");
          fPos += 2;
          const unsigned low = Hex4();
          if (low < 0xDC00 || low > 0xDFFF)
            Fail("Zweite Hälfte eines Ersatzpaars erwartet");
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
          Fail("Ersatzzeichen ohne erste Hälfte");
        }
        AppendUtf8(out, cp);
        break;
      }
      default: --fPos; Fail("Unbekannte Escape-Folge");
      }
    }
  }

  double ParseNumber() {
    const std::size_t start = fPos;
    if (Peek() == '-')
      ++fPos;
    if (Peek() == '0') {
      ++fPos;
    } else if (Peek() >= '1' && Peek() <= '9') {
      while (Peek() >= '0' && Peek() <= '9')
        ++fPos;
    } else {
      Fail("Ziffer erwartet");
    }
    if (Peek() == '.') {
      ++fPos;
      if (!(Peek() >= '0' && Peek() <= '9'))
        Fail("Ziffer nach dem Dezimalpunkt erwartet");
      while (Peek() >= '0' && Peek() <= '9')
        ++fPos;
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++fPos;
      if (Peek() == '+' || Peek() == '-')
        ++fPos;
      if (!(Peek() >= '0' && Peek() <= '9'))
        Fail("Ziffer im Exponenten erwartet");
      while (Peek() >= '0' && Peek() <= '9')
        ++fPos;
    }
    double v = 0;
    const auto [end, ec] = std::from_chars(fText.data() + start, fText.data() + fPos, v);
    if (ec != std::errc() || end != fText.data() + fPos || !std::isfinite(v)) {
      fPos = start;
      Fail("Zahl außerhalb des darstellbaren Bereichs");
    }
    return v;
  }

  std::string_view fText;
  std::size_t fPos = 0;
};

} // namespace

TStoredValue TStoredValue::MakeBool(bool b) {
  TStoredValue v;
  v.fKind = TKind::Bool;
  v.fBool = b;
  return v;
}

TStoredValue TStoredValue::MakeNumber(double d) {
  TStoredValue v;
  v.fKind = TKind::Number;
  v.fNumber = d;
  return v;
}

TStoredValue TStoredValue::MakeString(std::string s) {
  TStoredValue v;
  v.fKind = TKind::String;
  v.fString = std::move(s);
  return v;
}

TStoredValue TStoredValue::MakeArray(std::vector<TStoredValue> items) {
  TStoredValue v;
  v.fKind = TKind::Array;
  v.fItems = std::move(items);
  return v;
}

TStoredValue TStoredValue::MakeObject(std::vector<TMember> members) {
  TStoredValue v;
  v.fKind = TKind::Object;
  v.fMembers = std::move(members);
  return v;
}

bool TStoredValue::AsBool(std::string_view what) const {
  if (fKind != TKind::Bool)
    WrongKind(what, TKind::Bool, fKind);
  return fBool;
}

double TStoredValue::AsNumber(std::string_view what) const {
  if (fKind != TKind::Number)
    WrongKind(what, TKind::Number, fKind);
  return fNumber;
}

int TStoredValue::AsInt(std::string_view what) const {
  const double d = AsNumber(what);
  if (d < double(std::numeric_limits<int>::min()) || d > double(std::numeric_limits<int>::max()) ||
      d != std::floor(d)) {
    std::string msg = "Gespeichertes Formular: ";
    if (!what.empty())
      msg += std::string(what) + ": ";
    throw EStoredFormError(msg + "ganze Zahl erwartet");
  }
  return int(d);
}

const std::string &TStoredValue::AsString(std::string_view what) const {
  if (fKind != TKind::String)
    WrongKind(what, TKind::String, fKind);
  return fString;
}

const std::vector<TStoredValue> &TStoredValue::Items(std::string_view what) const {
  if (fKind != TKind::Array)
    WrongKind(what, TKind::Array, fKind);
  return fItems;
}

const std::vector<TStoredValue::TMember> &TStoredValue::Members(std::string_view what) const {
  if (fKind != TKind::Object)
    WrongKind(what, TKind::Object, fKind);
  return fMembers;
}

const TStoredValue *TStoredValue::Find(std::string_view name) const {
  if (fKind != TKind::Object)
    return nullptr;
  for (const auto &m : fMembers)
    if (m.first == name)
      return &m.second;
  return nullptr;
}

const TStoredValue &TStoredValue::Get(std::string_view name, std::string_view what) const {
  const TStoredValue *v = Find(name);
  if (!v) {
    std::string msg = "Gespeichertes Formular: ";
    if (!what.empty())
      msg += std::string(what) + ": ";
    throw EStoredFormError(msg + "Eigenschaft \"" + std::string(name) + "\" fehlt");
  }
  return *v;
}

TStoredValue ParseStoredForm(std::string_view text) { return TParser(text).ParseDocument(); }

TStoredValue LoadStoredForm(const std::string &fileName) {
  errno = 0;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) {
    throw EStoredFormError(FileErrorText(errno));
  }
  std::ostringstream data;
  data << in.rdbuf();
  if (in.bad())
    throw EStoredFormError(FileErrorText(EIO));
  return ParseStoredForm(data.str());
}

TFont ReadStoredFont(const TStoredValue &value, TFont font, const std::string &what) {
  if (const TStoredValue *name = value.Find("Name"))
    font.Name = name->AsString(what + ".Name");
  if (const TStoredValue *height = value.Find("Height"))
    font.Height = height->AsInt(what + ".Height");
  if (const TStoredValue *style = value.Find("Style"))
    font.Style = static_cast<TFontStyles>(style->AsInt(what + ".Style") & 15);
  return font;
}

} // namespace kzp
