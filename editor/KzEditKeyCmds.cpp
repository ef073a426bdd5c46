// Command names, shortcut encoding, the keystroke table with its defaults, key translation and
// the stored keystroke adjustments.
#include "editor/KzEditKeyCmds.h"

#include "editor/KzEditKeyConst.h"
#include "editor/KzEditStrConst.h"
#include "platform/StoredForm.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

// ---- command names ----

const std::vector<TKzCommandName> &EditorCommandNames() {
  static const std::vector<TKzCommandName> names = {
      {ecNone, "ecNone"},
      {ecLeft, "ecLeft"},
      {ecRight, "ecRight"},
      {ecUp, "ecUp"},
      {ecDown, "ecDown"},
      {ecWordLeft, "ecWordLeft"},
      {ecWordRight, "ecWordRight"},
      {ecLineStart, "ecLineStart"},
      {ecLineEnd, "ecLineEnd"},
      {ecPageUp, "ecPageUp"},
      {ecPageDown, "ecPageDown"},
      {ecPageLeft, "ecPageLeft"},
      {ecPageRight, "ecPageRight"},
      {ecPageTop, "ecPageTop"},
      {ecPageBottom, "ecPageBottom"},
      {ecEditorTop, "ecEditorTop"},
      {ecEditorBottom, "ecEditorBottom"},
      {ecGotoXY, "ecGotoXY"},
      {ecSelLeft, "ecSelLeft"},
      {ecSelRight, "ecSelRight"},
      {ecSelUp, "ecSelUp"},
      {ecSelDown, "ecSelDown"},
      {ecSelWordLeft, "ecSelWordLeft"},
      {ecSelWordRight, "ecSelWordRight"},
      {ecSelLineStart, "ecSelLineStart"},
      {ecSelLineEnd, "ecSelLineEnd"},
      {ecSelPageUp, "ecSelPageUp"},
      {ecSelPageDown, "ecSelPageDown"},
      {ecSelPageLeft, "ecSelPageLeft"},
      {ecSelPageRight, "ecSelPageRight"},
      {ecSelPageTop, "ecSelPageTop"},
      {ecSelPageBottom, "ecSelPageBottom"},
      {ecSelEditorTop, "ecSelEditorTop"},
      {ecSelEditorBottom, "ecSelEditorBottom"},
      {ecSelGotoXY, "ecSelGotoXY"},
      {ecSelectAll, "ecSelectAll"},
      {ecDeleteLastChar, "ecDeleteLastChar"},
      {ecDeleteChar, "ecDeleteChar"},
      {ecDeleteWord, "ecDeleteWord"},
      {ecDeleteLastWord, "ecDeleteLastWord"},
      {ecDeleteBOL, "ecDeleteBOL"},
      {ecDeleteEOL, "ecDeleteEOL"},
      {ecDeleteLine, "ecDeleteLine"},
      {ecClearAll, "ecClearAll"},
      {ecLineBreak, "ecLineBreak"},
      {ecInsertLine, "ecInsertLine"},
      {ecChar, "ecChar"},
      {ecImeStr, "ecImeStr"},
      {ecUndo, "ecUndo"},
      {ecRedo, "ecRedo"},
      {ecCut, "ecCut"},
      {ecCopy, "ecCopy"},
      {ecPaste, "ecPaste"},
      {ecScrollUp, "ecScrollUp"},
      {ecScrollDown, "ecScrollDown"},
      {ecScrollLeft, "ecScrollLeft"},
      {ecScrollRight, "ecScrollRight"},
      {ecInsertMode, "ecInsertMode"},
      {ecOverwriteMode, "ecOverwriteMode"},
      {ecToggleMode, "ecToggleMode"},
      {ecBlockIndent, "ecBlockIndent"},
      {ecBlockUnindent, "ecBlockUnindent"},
      {ecTab, "ecTab"},
      {ecShiftTab, "ecShiftTab"},
      {ecMatchBracket, "ecMatchBracket"},
      {ecCommentBlock, "ecCommentBlock"},
      {ecNormalSelect, "ecNormalSelect"},
      {ecColumnSelect, "ecColumnSelect"},
      {ecLineSelect, "ecLineSelect"},
      {ecAutoCompletion, "ecAutoCompletion"},
      {ecUserFirst, "ecUserFirst"},
      {ecContextHelp, "ecContextHelp"},
      {ecGotoMarker0, "ecGotoMarker0"},
      {ecGotoMarker1, "ecGotoMarker1"},
      {ecGotoMarker2, "ecGotoMarker2"},
      {ecGotoMarker3, "ecGotoMarker3"},
      {ecGotoMarker4, "ecGotoMarker4"},
      {ecGotoMarker5, "ecGotoMarker5"},
      {ecGotoMarker6, "ecGotoMarker6"},
      {ecGotoMarker7, "ecGotoMarker7"},
      {ecGotoMarker8, "ecGotoMarker8"},
      {ecGotoMarker9, "ecGotoMarker9"},
      {ecSetMarker0, "ecSetMarker0"},
      {ecSetMarker1, "ecSetMarker1"},
      {ecSetMarker2, "ecSetMarker2"},
      {ecSetMarker3, "ecSetMarker3"},
      {ecSetMarker4, "ecSetMarker4"},
      {ecSetMarker5, "ecSetMarker5"},
      {ecSetMarker6, "ecSetMarker6"},
      {ecSetMarker7, "ecSetMarker7"},
      {ecSetMarker8, "ecSetMarker8"},
      {ecSetMarker9, "ecSetMarker9"},
      {ecUpperCase, "ecUpperCase"},
      {ecLowerCase, "ecLowerCase"},
      {ecToggleCase, "ecToggleCase"},
      {ecTitleCase, "ecTitleCase"},
      {ecUpperCaseBlock, "ecUpperCaseBlock"},
      {ecLowerCaseBlock, "ecLowerCaseBlock"},
      {ecToggleCaseBlock, "ecToggleCaseBlock"},
      {ecString, "ecString"},
  };
  return names;
}

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool ParseUnsigned(std::string_view s, unsigned max, unsigned &value) {
  if (s.empty())
    return false;
  unsigned v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v > max)
    return false;
  value = v;
  return true;
}

} // namespace

// Identifiers are matched without regard to case, as stored forms are.
bool IdentToEditorCommand(std::string_view ident, TKzEditorCommand &command) {
  for (const TKzCommandName &n : EditorCommandNames())
    if (EqualsNoCase(ident, n.Name)) {
      command = n.Command;
      return true;
    }
  return false;
}

bool EditorCommandToIdent(TKzEditorCommand command, std::string &ident) {
  for (const TKzCommandName &n : EditorCommandNames())
    if (n.Command == command) {
      ident = n.Name;
      return true;
    }
  return false;
}

std::string EditorCommandToString(TKzEditorCommand command) {
  std::string ident;
  if (EditorCommandToIdent(command, ident))
    return ident;
  return std::to_string(command);
}

bool StringToEditorCommand(std::string_view text, TKzEditorCommand &command) {
  if (IdentToEditorCommand(text, command))
    return true;
  unsigned v = 0;
  if (!ParseUnsigned(text, 0xFFFF, v))
    return false;
  command = TKzEditorCommand(v);
  return true;
}

// ---- shortcuts ----

TShortCut ShortCut(std::uint16_t key, TShiftState shift) {
  if (key > 0xFF)
    return 0;
  TShortCut sc = key;
  if (shift & ssShift)
    sc |= ShortCutShift;
  if (shift & ssCtrl)
    sc |= ShortCutCtrl;
  if (shift & ssAlt)
    sc |= ShortCutAlt;
  return sc;
}

void ShortCutToKey(TShortCut shortCut, std::uint16_t &key, TShiftState &shift) {
  key = shortCut & 0x1FFF;
  shift = 0;
  if (shortCut & ShortCutShift)
    shift |= ssShift;
  if (shortCut & ShortCutCtrl)
    shift |= ssCtrl;
  if (shortCut & ShortCutAlt)
    shift |= ssAlt;
}

namespace {

struct TKeyName {
  std::uint16_t Key;
  const char *Name;
};

// Names for the keys without a character of their own. Letters and digits are themselves,
// F-keys "F1".."F24", anything else "#code".
constexpr TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},      {VK_TAB, "Tab"},       {VK_CLEAR, "Clear"},    {VK_RETURN, "Enter"},
    {VK_PAUSE, "Pause"},    {VK_ESCAPE, "Esc"},    {VK_SPACE, "Space"},    {VK_PRIOR, "PgUp"},
    {VK_NEXT, "PgDn"},      {VK_END, "End"},       {VK_HOME, "Home"},      {VK_LEFT, "Left"},
    {VK_UP, "Up"},          {VK_RIGHT, "Right"},   {VK_DOWN, "Down"},      {VK_INSERT, "Ins"},
    {VK_DELETE, "Del"},     {VK_APPS, "Apps"},     {VK_MULTIPLY, "Num *"}, {VK_ADD, "Num +"},
    {VK_SUBTRACT, "Num -"}, {VK_DECIMAL, "Num ,"}, {VK_DIVIDE, "Num /"},
};

std::string KeyName(std::uint16_t key) {
  for (const TKeyName &k : kKeyNames)
    if (k.Key == key)
      return k.Name;
  if ((key >= VK_0 && key <= VK_9) || (key >= VK_A && key <= VK_Z))
    return std::string(1, char(key));
  // Built by appending: g++ 12 warns falsely about "literal" + std::to_string at -O3.
  std::string name;
  int number = key;
  if (key >= VK_F1 && key <= VK_F24) {
    name = "F";
    number = key - VK_F1 + 1;
  } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
    name = "Num ";
    number = key - VK_NUMPAD0;
  } else {
    name = "#";
  }
  name += std::to_string(number);
  return name;
}

bool KeyFromName(std::string_view name, std::uint16_t &key) {
  for (const TKeyName &k : kKeyNames)
    if (EqualsNoCase(name, k.Name)) {
      key = k.Key;
      return true;
    }
  if (name.size() == 1) {
    const char c = char(std::toupper(static_cast<unsigned char>(name[0])));
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) {
      key = std::uint16_t(c);
      return true;
    }
  }
  unsigned n = 0;
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f') &&
      ParseUnsigned(name.substr(1), 24, n) && n >= 1) {
    key = std::uint16_t(VK_F1 + n - 1);
    return true;
  }
  if (StartsWithNoCase(name, "Num ") && ParseUnsigned(name.substr(4), 9, n)) {
    key = std::uint16_t(VK_NUMPAD0 + n);
    return true;
  }
  if (name.size() >= 2 && name[0] == '#' && ParseUnsigned(name.substr(1), 0xFF, n)) {
    key = std::uint16_t(n);
    return true;
  }
  return false;
}

} // namespace

std::string ShortCutToText(TShortCut shortCut) {
  if (shortCut == 0)
    return {};
  std::uint16_t key;
  TShiftState shift;
  ShortCutToKey(shortCut, key, shift);
  std::string text;
  if (shift & ssShift)
    text += "Shift+";
  if (shift & ssCtrl)
    text += "Ctrl+";
  if (shift & ssAlt)
    text += "Alt+";
  return text + KeyName(key);
}

bool TextToShortCut(std::string_view text, TShortCut &shortCut) {
  unsigned v = 0;
  if (ParseUnsigned(text, 0xFFFF, v)) {
    shortCut = TShortCut(v);
    return true;
  }
  if (text.empty()) {
    shortCut = 0;
    return true;
  }
  TShiftState shift = 0;
  for (;;) {
    if (StartsWithNoCase(text, "Shift+") && text.size() > 6) {
      shift |= ssShift;
      text.remove_prefix(6);
    } else if (StartsWithNoCase(text, "Ctrl+") && text.size() > 5) {
      shift |= ssCtrl;
      text.remove_prefix(5);
    } else if (StartsWithNoCase(text, "Alt+") && text.size() > 4) {
      shift |= ssAlt;
      text.remove_prefix(4);
    } else {
      break;
    }
  }
  std::uint16_t key = 0;
  if (!KeyFromName(text, key))
    return false;
  shortCut = ShortCut(key, shift);
  return true;
}

// ---- keystrokes ----

TShortCut TKzEditKeyStroke::ShortCut() const { return ::ShortCut(FKey, FShift); }
TShortCut TKzEditKeyStroke::ShortCut2() const { return ::ShortCut(FKey2, FShift2); }

void TKzEditKeyStroke::SetShortCut(TShortCut value) {
  if (value != 0 && FOwner) {
    const TShortCut second = ShortCut2();
    for (int i = 0; i < FOwner->Count(); ++i) {
      const TKzEditKeyStroke &other = (*FOwner)[i];
      if (&other != this && other.ShortCut() == value && other.ShortCut2() == second)
        throw EKzKeyError(SKzEditDuplicateShortCut);
    }
  }
  ShortCutToKey(value, FKey, FShift);
}

void TKzEditKeyStroke::SetShortCut2(TShortCut value) {
  if (value != 0 && FOwner) {
    const TShortCut first = ShortCut();
    for (int i = 0; i < FOwner->Count(); ++i) {
      const TKzEditKeyStroke &other = (*FOwner)[i];
      if (&other != this && other.ShortCut() == first && other.ShortCut2() == value)
        throw EKzKeyError(SKzEditDuplicateShortCut);
    }
  }
  ShortCutToKey(value, FKey2, FShift2);
}

TKzEditKeyStroke &TKzEditKeyStrokes::Add() {
  FItems.push_back(std::unique_ptr<TKzEditKeyStroke>(new TKzEditKeyStroke(this)));
  return *FItems.back();
}

void TKzEditKeyStrokes::AddKey(TKzEditorCommand command, std::uint16_t key, TShiftState shift,
                               std::uint16_t key2, TShiftState shift2) {
  TKzEditKeyStroke &s = Add();
  s.FCommand = command;
  s.FKey = key;
  s.FShift = shift;
  s.FKey2 = key2;
  s.FShift2 = shift2;
}

void TKzEditKeyStrokes::Delete(int i) { FItems.erase(FItems.begin() + i); }

void TKzEditKeyStrokes::Clear() { FItems.clear(); }

int TKzEditKeyStrokes::FindKey(std::uint16_t key, TShiftState shift) const {
  shift &= ssModifierMask;
  for (int i = 0; i < Count(); ++i) {
    const TKzEditKeyStroke &s = *FItems[std::size_t(i)];
    if (s.FKey == key && (s.FShift & ssModifierMask) == shift && s.FKey2 == 0)
      return i;
  }
  return -1;
}

int TKzEditKeyStrokes::FindKeySequence(std::uint16_t key, TShiftState shift, std::uint16_t key2,
                                       TShiftState shift2) const {
  shift &= ssModifierMask;
  shift2 &= ssModifierMask;
  for (int i = 0; i < Count(); ++i) {
    const TKzEditKeyStroke &s = *FItems[std::size_t(i)];
    if (s.FKey == key && (s.FShift & ssModifierMask) == shift && s.FKey2 == key2 &&
        (s.FShift2 & ssModifierMask) == shift2)
      return i;
  }
  return -1;
}

int TKzEditKeyStrokes::FindShortcuts(TShortCut shortCut, TShortCut shortCut2) const {
  for (int i = 0; i < Count(); ++i) {
    const TKzEditKeyStroke &s = *FItems[std::size_t(i)];
    if (s.ShortCut() == shortCut && s.ShortCut2() == shortCut2)
      return i;
  }
  return -1;
}

int TKzEditKeyStrokes::FindCommand(TKzEditorCommand command) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[std::size_t(i)]->FCommand == command)
      return i;
  return -1;
}

void TKzEditKeyStrokes::ResetDefaults() {
  struct TDefault {
    TKzEditorCommand Command;
    std::uint16_t Key;
    TShiftState Shift;
  };
  constexpr TShiftState S = ssShift, C = ssCtrl, A = ssAlt, CS = ssCtrl | ssShift;
  static constexpr TDefault defaults[] = {
      {ecUp, VK_UP, 0},
      {ecSelUp, VK_UP, S},
      {ecScrollUp, VK_UP, C},
      {ecDown, VK_DOWN, 0},
      {ecSelDown, VK_DOWN, S},
      {ecScrollDown, VK_DOWN, C},
      {ecLeft, VK_LEFT, 0},
      {ecSelLeft, VK_LEFT, S},
      {ecWordLeft, VK_LEFT, C},
      {ecSelWordLeft, VK_LEFT, CS},
      {ecRight, VK_RIGHT, 0},
      {ecSelRight, VK_RIGHT, S},
      {ecWordRight, VK_RIGHT, C},
      {ecSelWordRight, VK_RIGHT, CS},
      {ecPageDown, VK_NEXT, 0},
      {ecSelPageDown, VK_NEXT, S},
      {ecPageBottom, VK_NEXT, C},
      {ecSelPageBottom, VK_NEXT, CS},
      {ecPageUp, VK_PRIOR, 0},
      {ecSelPageUp, VK_PRIOR, S},
      {ecPageTop, VK_PRIOR, C},
      {ecSelPageTop, VK_PRIOR, CS},
      {ecLineStart, VK_HOME, 0},
      {ecSelLineStart, VK_HOME, S},
      {ecEditorTop, VK_HOME, C},
      {ecSelEditorTop, VK_HOME, CS},
      {ecLineEnd, VK_END, 0},
      {ecSelLineEnd, VK_END, S},
      {ecEditorBottom, VK_END, C},
      {ecSelEditorBottom, VK_END, CS},
      {ecToggleMode, VK_INSERT, 0},
      {ecCopy, VK_INSERT, C},
      {ecCut, VK_DELETE, S},
      {ecPaste, VK_INSERT, S},
      {ecDeleteChar, VK_DELETE, 0},
      {ecDeleteLastChar, VK_BACK, 0},
      {ecDeleteLastChar, VK_BACK, S},
      {ecDeleteLastWord, VK_BACK, C},
      {ecUndo, VK_BACK, A},
      {ecRedo, VK_BACK, S | A},
      {ecLineBreak, VK_RETURN, 0},
      {ecLineBreak, VK_RETURN, S},
      {ecTab, VK_TAB, 0},
      {ecShiftTab, VK_TAB, S},
      {ecContextHelp, VK_F1, 0},
      {ecSelectAll, 'A', C},
      {ecCopy, 'C', C},
      {ecPaste, 'V', C},
      {ecCut, 'X', C},
      {ecBlockIndent, 'I', CS},
      {ecBlockUnindent, 'U', CS},
      {ecLineBreak, 'M', C},
      {ecInsertLine, 'N', C},
      {ecDeleteWord, 'T', C},
      {ecDeleteLine, 'Y', C},
      {ecDeleteEOL, 'Y', CS},
      {ecUndo, 'Z', C},
      {ecRedo, 'Z', CS},
      {ecGotoMarker0, '0', C},
      {ecGotoMarker1, '1', C},
      {ecGotoMarker2, '2', C},
      {ecGotoMarker3, '3', C},
      {ecGotoMarker4, '4', C},
      {ecGotoMarker5, '5', C},
      {ecGotoMarker6, '6', C},
      {ecGotoMarker7, '7', C},
      {ecGotoMarker8, '8', C},
      {ecGotoMarker9, '9', C},
      {ecSetMarker0, '0', CS},
      {ecSetMarker1, '1', CS},
      {ecSetMarker2, '2', CS},
      {ecSetMarker3, '3', CS},
      {ecSetMarker4, '4', CS},
      {ecSetMarker5, '5', CS},
      {ecSetMarker6, '6', CS},
      {ecSetMarker7, '7', CS},
      {ecSetMarker8, '8', CS},
      {ecSetMarker9, '9', CS},
      {ecNormalSelect, 'N', CS},
      {ecColumnSelect, 'C', CS},
      {ecLineSelect, 'L', CS},
      {ecMatchBracket, 'B', CS},
      {ecCommentBlock, 'C', C | A},
  };
  static_assert(sizeof defaults / sizeof defaults[0] == 83);
  Clear();
  for (const TDefault &d : defaults)
    AddKey(d.Command, d.Key, d.Shift);
}

void TKzEditKeyStrokes::Assign(const TKzEditKeyStrokes &other) {
  if (&other == this)
    return;
  Clear();
  for (const auto &s : other.FItems)
    AddKey(s->FCommand, s->FKey, s->FShift, s->FKey2, s->FShift2);
}

TKzEditorCommand TKzEditKeyStrokes::TranslateKey(std::uint16_t key, TShiftState shift,
                                                 TKzPendingKey &pending) const {
  shift &= ssModifierMask;
  int index = -1;
  if (pending.Key != 0)
    index = FindKeySequence(pending.Key, pending.Shift, key, shift);
  if (index < 0)
    index = FindKey(key, shift);
  const TKzEditorCommand command = index >= 0 ? (*this)[index].Command() : ecNone;
  if (command != ecNone || key < 30 || key > 145) {
    pending = TKzPendingKey{};
  } else {
    pending.Key = key;
    pending.Shift = shift;
  }
  return command;
}

// ---- stored adjustments ----

namespace {

[[noreturn]] void InvalidValue(const std::string &detail) {
  char buf[512];
  std::snprintf(buf, sizeof buf, SKzEditInvalidPropertyValue, detail.c_str());
  throw EKzStoredKeystrokeError(buf);
}

TShortCut ReadShortCut(const kzp::TStoredValue &v, const std::string &where) {
  TShortCut sc = 0;
  if (v.IsNumber()) {
    const double d = v.AsNumber();
    if (d < 0 || d > 0xFFFF || d != double(int(d)))
      InvalidValue(where);
    return TShortCut(int(d));
  }
  if (!v.IsString() || !TextToShortCut(v.AsString(), sc))
    InvalidValue(where);
  return sc;
}

void ReadList(const kzp::TStoredValue &list, TKzEditKeyStrokes &into, const std::string &name) {
  if (!list.IsArray())
    InvalidValue(name);
  const auto &items = list.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string where = name + "[" + std::to_string(i) + "]";
    if (!items[i].IsObject())
      InvalidValue(where);
    TKzEditKeyStroke &stroke = into.Add();
    // Properties are applied in the order they are stored, as they would be set one by one.
    for (const auto &[prop, value] : items[i].Members()) {
      const std::string path = where + "." + prop;
      if (prop == "Command") {
        TKzEditorCommand cmd = ecNone;
        if (value.IsNumber()) {
          const double d = value.AsNumber();
          if (d < 0 || d > 0xFFFF || d != double(int(d)))
            InvalidValue(path);
          cmd = TKzEditorCommand(int(d));
        } else if (!value.IsString() || !StringToEditorCommand(value.AsString(), cmd)) {
          InvalidValue((value.IsString() ? "\"" + value.AsString() + "\" " : std::string()) + "(" +
                       path + ")");
        }
        stroke.SetCommand(cmd);
      } else if (prop == "ShortCut") {
        stroke.SetShortCut(ReadShortCut(value, path));
      } else if (prop == "ShortCut2") {
        stroke.SetShortCut2(ReadShortCut(value, path));
      } else {
        InvalidValue(path);
      }
    }
  }
}

} // namespace

void ReadStoredKeystrokes(const kzp::TStoredValue &list, TKzEditKeyStrokes &into) {
  ReadList(list, into, "Keystrokes");
}

void ApplyStoredKeystrokes(TKzEditKeyStrokes &table, const kzp::TStoredValue &component) {
  if (!component.IsObject())
    InvalidValue("Komponente");
  // Both lists are read completely first, so a fault in either leaves the table untouched.
  struct TPending {
    bool Remove;
    std::unique_ptr<TKzEditKeyStrokes> Strokes;
  };
  std::vector<TPending> lists;
  for (const auto &[name, value] : component.Members()) {
    const bool removed = name == "RemovedKeystrokes";
    if (!removed && name != "AddedKeystrokes")
      continue; // the component's other properties are read by their owners
    auto strokes = std::make_unique<TKzEditKeyStrokes>();
    ReadList(value, *strokes, name);
    lists.push_back({removed, std::move(strokes)});
  }
  for (const TPending &p : lists) {
    const TKzEditKeyStrokes &strokes = *p.Strokes;
    for (int i = 0; i < strokes.Count(); ++i) {
      const TKzEditKeyStroke &s = strokes[i];
      if (p.Remove) {
        const int at = table.FindShortcuts(s.ShortCut(), s.ShortCut2());
        if (at >= 0 && table[at].Command() == s.Command())
          table.Delete(at);
      } else {
        table.AddKey(s.Command(), s.Key(), s.Shift(), s.Key2(), s.Shift2());
      }
    }
  }
}
