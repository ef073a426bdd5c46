// Reader for a window's stored form (resources/frmMain.json): the component settings that are
// fixed at design time, kept as JSON so they can be read without any toolkit.
//
// The file is one JSON object with one member per component, named like the component on the
// window ("editor", "CPS", ...), each an object of that component's stored properties:
//
//   { "editor": {
//       "RemovedKeystrokes": [ { "Command": "ecContextHelp", "ShortCut": "F1" } ],
//       "AddedKeystrokes":   [ { "Command": "ecContextHelp", "ShortCut": "Ctrl+F1" } ] } }
//
// A keystroke is an object with "Command" (the command's name such as "ecUndo", or its number),
// "ShortCut" and optionally "ShortCut2" (a 16-bit shortcut value, or its text: modifiers
// "Shift+", "Ctrl+", "Alt+" in any order before a key name such as "A", "5", "F1", "Up",
// "PgDn", "Ins", "Del", "BkSp", "Enter", "Tab", "Esc", "Space"). KzEditKeyCmds.h reads them.
//
// Values are objects (members kept in file order, names unique), arrays, strings (UTF-8, as
// in the file; \uXXXX escapes and surrogate pairs become UTF-8), numbers, true, false and null.
// Malformed input raises EStoredFormError naming the line and column.
#pragma once

#include "platform/Canvas.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kzp {

class EStoredFormError : public std::runtime_error {
public:
  EStoredFormError(const std::string &message, int line = 0, int column = 0)
      : std::runtime_error(message), Line(line), Column(column) {}
  int Line; // 1-based position of the fault; 0 when it is not about a place in the text
  int Column;
};

class TStoredValue {
public:
  enum class TKind : std::uint8_t { Null, Bool, Number, String, Array, Object };
  using TMember = std::pair<std::string, TStoredValue>;

  TStoredValue() = default;
  static TStoredValue MakeBool(bool b);
  static TStoredValue MakeNumber(double d);
  static TStoredValue MakeString(std::string s);
  static TStoredValue MakeArray(std::vector<TStoredValue> items = {});
  static TStoredValue MakeObject(std::vector<TMember> members = {});

  TKind Kind() const { return fKind; }
  bool IsNull() const { return fKind == TKind::Null; }
  bool IsBool() const { return fKind == TKind::Bool; }
  bool IsNumber() const { return fKind == TKind::Number; }
  bool IsString() const { return fKind == TKind::String; }
  bool IsArray() const { return fKind == TKind::Array; }
  bool IsObject() const { return fKind == TKind::Object; }

  // The typed accessors raise EStoredFormError when the value is of another kind; AsInt also
  // when the number is not a whole number within int's range. what is the property path used in
  // the message (e.g. "editor.AddedKeystrokes[0].ShortCut").
  bool AsBool(std::string_view what = {}) const;
  double AsNumber(std::string_view what = {}) const;
  int AsInt(std::string_view what = {}) const;
  const std::string &AsString(std::string_view what = {}) const;
  const std::vector<TStoredValue> &Items(std::string_view what = {}) const;
  const std::vector<TMember> &Members(std::string_view what = {}) const;

  // The member of that name, or null when this is no object or has no such member.
  const TStoredValue *Find(std::string_view name) const;
  // Same, but a missing member raises EStoredFormError.
  const TStoredValue &Get(std::string_view name, std::string_view what = {}) const;

private:
  TKind fKind = TKind::Null;
  bool fBool = false;
  double fNumber = 0;
  std::string fString;
  std::vector<TStoredValue> fItems;
  std::vector<TMember> fMembers;
};

// Parses a whole document; anything but white space after the value is an error. Nesting
// deeper than 200 levels is refused rather than risking the stack.
TStoredValue ParseStoredForm(std::string_view text);
// Reads and parses a file; a file that cannot be read raises EStoredFormError with the
// German file message ("Datei nicht gefunden", "Zugriff verweigert", "E/A-Fehler %d").
TStoredValue LoadStoredForm(const std::string &fileName);

// A stored font over `font`: { "Name": text, "Height": pixels (negative: character height),
// "Style": bits } with every member optional, so a form records only what differs from the
// default. Other members are left to the caller.
TFont ReadStoredFont(const TStoredValue &value, TFont font, const std::string &what);

} // namespace kzp
