// Reading and writing attribute colours in a settings store, and importing old colour schemes.
#include "highlight/KzEditHighlighter.h"

#include <cstdlib>
#include <optional>

#include "platform/Hex.h"
#include "platform/SettingsStore.h"

namespace {

std::string Lower(std::string s) {
  for (char &c : s) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
  }
  return s;
}

// Reads a whole integer the way colour numbers were written: optional blanks and sign,
// decimal, or hexadecimal after "$" or "0x".
std::optional<std::int64_t> ParseInteger(const std::string &text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ')
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size())
    return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    const int d = kzp::HexDigitValue(c);
    if (d < 0 || d >= base)
      return std::nullopt;
    value = value * base + d;
    if (value > 0xFFFFFFFFLL)
      return std::nullopt;
  }
  return negative ? -value : value;
}

struct TNamedColor {
  const char *Name;
  TColor Value;
};

const TNamedColor NamedColors[] = {
    {"clBlack", kzp::clBlack},
    {"clMaroon", kzp::clMaroon},
    {"clGreen", kzp::clGreen},
    {"clOlive", kzp::clOlive},
    {"clNavy", kzp::clNavy},
    {"clPurple", kzp::clPurple},
    {"clTeal", kzp::clTeal},
    {"clGray", kzp::clGray},
    {"clSilver", kzp::clSilver},
    {"clRed", kzp::clRed},
    {"clLime", kzp::clLime},
    {"clYellow", kzp::clYellow},
    {"clBlue", kzp::clBlue},
    {"clFuchsia", kzp::clFuchsia},
    {"clAqua", kzp::clAqua},
    {"clWhite", kzp::clWhite},
    {"clNone", kzp::clNone},
    {"clDefault", kzp::clDefault},
    {"clScrollBar", kzp::clScrollBar},
    {"clBackground", kzp::clBackground},
    {"clActiveCaption", kzp::clActiveCaption},
    {"clInactiveCaption", kzp::clInactiveCaption},
    {"clMenu", kzp::clMenu},
    {"clWindow", kzp::clWindow},
    {"clWindowFrame", kzp::clWindowFrame},
    {"clMenuText", kzp::clMenuText},
    {"clWindowText", kzp::clWindowText},
    {"clCaptionText", kzp::clCaptionText},
    {"clActiveBorder", kzp::clActiveBorder},
    {"clInactiveBorder", kzp::clInactiveBorder},
    {"clAppWorkSpace", kzp::clAppWorkSpace},
    {"clHighlight", kzp::clHighlight},
    {"clHighlightText", kzp::clHighlightText},
    {"clBtnFace", kzp::clBtnFace},
    {"clBtnShadow", kzp::clBtnShadow},
    {"clGrayText", kzp::clGrayText},
    {"clBtnText", kzp::clBtnText},
    {"clInactiveCaptionText", kzp::clInactiveCaptionText},
    {"clBtnHighlight", kzp::clBtnHighlight},
    {"cl3DDkShadow", kzp::cl3DDkShadow},
    {"cl3DLight", kzp::cl3DLight},
    {"clInfoText", kzp::clInfoText},
    {"clInfoBk", kzp::clInfoBk},
};

// A colour written as a name ("clRed", any letter case) or as a number.
std::optional<TColor> StringToColor(const std::string &text) {
  const std::string lower = Lower(text);
  for (const auto &nc : NamedColors) {
    if (Lower(nc.Name) == lower)
      return nc.Value;
  }
  const auto n = ParseInteger(text);
  if (!n)
    return std::nullopt;
  return static_cast<TColor>(*n);
}

std::optional<TColor> PaletteColor(std::int64_t index) {
  // Schemes only ever held the sixteen standard colours; anything else is a damaged entry.
  if (index < 0 || index > 15)
    return std::nullopt;
  return LegacyPalette[index];
}

std::optional<TColor> PaletteColorOfField(const std::string &field) {
  const auto n = ParseInteger(field);
  if (!n)
    return std::nullopt;
  return PaletteColor(*n);
}

bool FlagIsTrue(const std::string &text) { return Lower(text) != "false" && text != "0"; }

// One colour of the newer scheme layout: a palette index, else a colour text. nullopt with
// failed = false when neither value exists, failed = true when a value does not read.
std::optional<TColor> ReadSchemeColor(TSettingsStore &store, const std::string &indexName,
                                      const std::string &textName, bool &failed) {
  failed = false;
  if (store.ValueExists(indexName)) {
    std::int64_t index = 0;
    std::optional<TColor> c;
    if (store.ReadInteger(indexName, index))
      c = PaletteColor(index);
    if (!c)
      failed = true;
    return c;
  }
  std::string text;
  if (store.ReadString(textName, text)) {
    const auto c = StringToColor(text);
    if (!c)
      failed = true;
    return c;
  }
  return std::nullopt;
}

} // namespace

bool TKzHighlighterAttributes::ImportLegacyScheme(TSettingsStore &root,
                                                  const std::string &schemeKey,
                                                  const std::string &attributeName,
                                                  bool oldLayout) {
  // Key paths are taken from the store's root, whatever key a previous use left open.
  root.CloseKey();
  if (oldLayout) {
    if (!root.OpenKeyReadOnly(schemeKey))
      return false;
    std::string entry;
    if (!root.ReadString(attributeName, entry))
      return false;
    std::string fields[7];
    std::size_t f = 0;
    for (char c : entry) {
      if (c == ',') {
        if (++f == 7)
          break;
      } else {
        fields[f] += c;
      }
    }
    if (fields[4] == "1") {
      SetBackground(clWindow);
    } else {
      const auto c = PaletteColorOfField(fields[6]);
      if (!c)
        return false;
      SetBackground(*c);
    }
    if (fields[3] == "1") {
      SetForeground(clWindowText);
    } else {
      const auto c = PaletteColorOfField(fields[5]);
      if (!c)
        return false;
      SetForeground(*c);
    }
    TFontStyles style = 0;
    if (fields[2].find('B') != std::string::npos)
      style |= fsBold;
    if (fields[2].find('I') != std::string::npos)
      style |= fsItalic;
    if (fields[2].find('U') != std::string::npos)
      style |= fsUnderline;
    SetStyle(style);
    return true;
  }

  if (!root.OpenKeyReadOnly(schemeKey) || !root.OpenKeyReadOnly(attributeName))
    return false;
  bool failed = false;
  const auto foreground = ReadSchemeColor(root, "Foreground Color", "Foreground Color New", failed);
  if (!foreground)
    return false;
  const auto background = ReadSchemeColor(root, "Background Color", "Background Color New", failed);
  if (!background)
    return false;
  std::string bold, italic, underline, defaultFg, defaultBg;
  if (!root.ReadString("Bold", bold) || !root.ReadString("Italic", italic) ||
      !root.ReadString("Underline", underline) ||
      !root.ReadString("Default Foreground", defaultFg) ||
      !root.ReadString("Default Background", defaultBg))
    return false;
  SetBackground(FlagIsTrue(defaultBg) ? clWindow : *background);
  SetForeground(FlagIsTrue(defaultFg) ? clWindowText : *foreground);
  TFontStyles style = 0;
  if (FlagIsTrue(bold))
    style |= fsBold;
  if (FlagIsTrue(italic))
    style |= fsItalic;
  if (FlagIsTrue(underline))
    style |= fsUnderline;
  SetStyle(style);
  return true;
}

bool TKzCustomHighlighter::ReadRegistrySettings(TSettingsStore &root, const std::string &keyPath) {
  root.CloseKey();
  if (!root.OpenKeyReadOnly(keyPath))
    return false;
  bool all = true;
  for (const auto &a : FAttributes) {
    const std::string remembered = root.CurrentPath();
    if (!root.OpenKeyReadOnly(a->Name())) {
      all = false;
    } else {
      std::int64_t v = 0;
      if (root.ReadInteger("Background", v))
        a->SetBackground(static_cast<TColor>(v));
      if (root.ReadInteger("Foreground", v))
        a->SetForeground(static_cast<TColor>(v));
      if (root.ReadInteger("Style", v))
        a->SetStyle(static_cast<TFontStyles>(v & fsAllStyles));
    }
    root.OpenKeyReadOnly("\\" + remembered);
  }
  return all;
}

bool TKzCustomHighlighter::WriteRegistrySettings(TSettingsStore &root, const std::string &keyPath) {
  root.CloseKey();
  if (!root.OpenKey(keyPath, true))
    return false;
  bool all = true;
  for (const auto &a : FAttributes) {
    const std::string remembered = root.CurrentPath();
    if (!root.OpenKey(a->Name(), true)) {
      all = false;
    } else {
      // Colours go out as the signed 32-bit numbers a registry holds; reading takes the
      // low 32 bits back, so system colours survive the round trip.
      root.WriteInteger("Background", static_cast<std::int32_t>(a->Background()));
      root.WriteInteger("Foreground", static_cast<std::int32_t>(a->Foreground()));
      root.WriteInteger("Style", a->Style() & fsAllStyles);
    }
    root.OpenKey("\\" + remembered, true);
  }
  return all;
}
