// Editor commands, their names, and the keystroke table that maps keys (and two-key
// sequences) to commands, with the defaults and the stored adjustments of a window.
#pragma once

#include "editor/KzEditTypes.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kzp {
class TStoredValue;
}
class TCustomKzEdit;

// ---- command codes ----
inline constexpr TKzEditorCommand ecNone = 0;
inline constexpr TKzEditorCommand ecLeft = 1;
inline constexpr TKzEditorCommand ecRight = 2;
inline constexpr TKzEditorCommand ecUp = 3;
inline constexpr TKzEditorCommand ecDown = 4;
inline constexpr TKzEditorCommand ecWordLeft = 5;
inline constexpr TKzEditorCommand ecWordRight = 6;
inline constexpr TKzEditorCommand ecLineStart = 7;
inline constexpr TKzEditorCommand ecLineEnd = 8;
inline constexpr TKzEditorCommand ecPageUp = 9;
inline constexpr TKzEditorCommand ecPageDown = 10;
inline constexpr TKzEditorCommand ecPageLeft = 11;
inline constexpr TKzEditorCommand ecPageRight = 12;
inline constexpr TKzEditorCommand ecPageTop = 13;
inline constexpr TKzEditorCommand ecPageBottom = 14;
inline constexpr TKzEditorCommand ecEditorTop = 15;
inline constexpr TKzEditorCommand ecEditorBottom = 16;
inline constexpr TKzEditorCommand ecGotoXY = 17;
// The selecting twins of the movements are the movement's code + 100.
inline constexpr TKzEditorCommand ecSelLeft = 101;
inline constexpr TKzEditorCommand ecSelRight = 102;
inline constexpr TKzEditorCommand ecSelUp = 103;
inline constexpr TKzEditorCommand ecSelDown = 104;
inline constexpr TKzEditorCommand ecSelWordLeft = 105;
inline constexpr TKzEditorCommand ecSelWordRight = 106;
inline constexpr TKzEditorCommand ecSelLineStart = 107;
inline constexpr TKzEditorCommand ecSelLineEnd = 108;
inline constexpr TKzEditorCommand ecSelPageUp = 109;
inline constexpr TKzEditorCommand ecSelPageDown = 110;
inline constexpr TKzEditorCommand ecSelPageLeft = 111;
inline constexpr TKzEditorCommand ecSelPageRight = 112;
inline constexpr TKzEditorCommand ecSelPageTop = 113;
inline constexpr TKzEditorCommand ecSelPageBottom = 114;
inline constexpr TKzEditorCommand ecSelEditorTop = 115;
inline constexpr TKzEditorCommand ecSelEditorBottom = 116;
inline constexpr TKzEditorCommand ecSelGotoXY = 117;
inline constexpr TKzEditorCommand ecSelectAll = 199;
inline constexpr TKzEditorCommand ecCopy = 201;
inline constexpr TKzEditorCommand ecScrollUp = 211;
inline constexpr TKzEditorCommand ecScrollDown = 212;
inline constexpr TKzEditorCommand ecScrollLeft = 213;
inline constexpr TKzEditorCommand ecScrollRight = 214;
inline constexpr TKzEditorCommand ecInsertMode = 221;
inline constexpr TKzEditorCommand ecOverwriteMode = 222;
inline constexpr TKzEditorCommand ecToggleMode = 223;
inline constexpr TKzEditorCommand ecNormalSelect = 231;
inline constexpr TKzEditorCommand ecColumnSelect = 232;
inline constexpr TKzEditorCommand ecLineSelect = 233;
inline constexpr TKzEditorCommand ecMatchBracket = 250;
inline constexpr TKzEditorCommand ecCommentBlock = 251;
inline constexpr TKzEditorCommand ecGotoMarker0 = 301;
inline constexpr TKzEditorCommand ecGotoMarker1 = 302;
inline constexpr TKzEditorCommand ecGotoMarker2 = 303;
inline constexpr TKzEditorCommand ecGotoMarker3 = 304;
inline constexpr TKzEditorCommand ecGotoMarker4 = 305;
inline constexpr TKzEditorCommand ecGotoMarker5 = 306;
inline constexpr TKzEditorCommand ecGotoMarker6 = 307;
inline constexpr TKzEditorCommand ecGotoMarker7 = 308;
inline constexpr TKzEditorCommand ecGotoMarker8 = 309;
inline constexpr TKzEditorCommand ecGotoMarker9 = 310;
inline constexpr TKzEditorCommand ecSetMarker0 = 351;
inline constexpr TKzEditorCommand ecSetMarker1 = 352;
inline constexpr TKzEditorCommand ecSetMarker2 = 353;
inline constexpr TKzEditorCommand ecSetMarker3 = 354;
inline constexpr TKzEditorCommand ecSetMarker4 = 355;
inline constexpr TKzEditorCommand ecSetMarker5 = 356;
inline constexpr TKzEditorCommand ecSetMarker6 = 357;
inline constexpr TKzEditorCommand ecSetMarker7 = 358;
inline constexpr TKzEditorCommand ecSetMarker8 = 359;
inline constexpr TKzEditorCommand ecSetMarker9 = 360;
// Sent through the command processor when the editor gains / loses the input focus; they have
// no name and the editor itself does nothing with them.
inline constexpr TKzEditorCommand ecFocusEnter = 480;
inline constexpr TKzEditorCommand ecFocusExit = 481;
inline constexpr TKzEditorCommand ecContextHelp = 490;
inline constexpr TKzEditorCommand ecDeleteLastChar = 501;
inline constexpr TKzEditorCommand ecDeleteChar = 502;
inline constexpr TKzEditorCommand ecDeleteWord = 503;
inline constexpr TKzEditorCommand ecDeleteLastWord = 504;
inline constexpr TKzEditorCommand ecDeleteBOL = 505;
inline constexpr TKzEditorCommand ecDeleteEOL = 506;
inline constexpr TKzEditorCommand ecDeleteLine = 507;
inline constexpr TKzEditorCommand ecClearAll = 508;
inline constexpr TKzEditorCommand ecLineBreak = 509;
inline constexpr TKzEditorCommand ecInsertLine = 510;
inline constexpr TKzEditorCommand ecChar = 511;
inline constexpr TKzEditorCommand ecImeStr = 550;
inline constexpr TKzEditorCommand ecUndo = 601;
inline constexpr TKzEditorCommand ecRedo = 602;
inline constexpr TKzEditorCommand ecCut = 603;
inline constexpr TKzEditorCommand ecPaste = 604;
inline constexpr TKzEditorCommand ecBlockIndent = 610;
inline constexpr TKzEditorCommand ecBlockUnindent = 611;
inline constexpr TKzEditorCommand ecTab = 612;
inline constexpr TKzEditorCommand ecShiftTab = 613;
inline constexpr TKzEditorCommand ecUpperCase = 620;
inline constexpr TKzEditorCommand ecLowerCase = 621;
inline constexpr TKzEditorCommand ecToggleCase = 622;
inline constexpr TKzEditorCommand ecTitleCase = 623;
inline constexpr TKzEditorCommand ecUpperCaseBlock = 625;
inline constexpr TKzEditorCommand ecLowerCaseBlock = 626;
inline constexpr TKzEditorCommand ecToggleCaseBlock = 627;
inline constexpr TKzEditorCommand ecString = 630;
inline constexpr TKzEditorCommand ecAutoCompletion = 650;
inline constexpr TKzEditorCommand ecUserFirst = 1001;

// ---- command names ----
struct TKzCommandName {
  TKzEditorCommand Command;
  const char *Name;
};
// The 100 named commands in their table order.
const std::vector<TKzCommandName> &EditorCommandNames();
// Name -> code and code -> name; false when the table has no such entry.
bool IdentToEditorCommand(std::string_view ident, TKzEditorCommand &command);
bool EditorCommandToIdent(TKzEditorCommand command, std::string &ident);
// A stored command: the name, or the decimal number for a code without one.
std::string EditorCommandToString(TKzEditorCommand command);
// The inverse: a known name or a decimal number 0..65535; false for anything else.
bool StringToEditorCommand(std::string_view text, TKzEditorCommand &command);

// ---- shortcuts ----
// A key and its modifiers in 16 bits: the key code in the low 13 bits (codes above 255 are not
// encodable and give 0), plus 8192 Shift, 16384 Ctrl, 32768 Alt.
using TShortCut = std::uint16_t;
inline constexpr TShortCut ShortCutShift = 0x2000;
inline constexpr TShortCut ShortCutCtrl = 0x4000;
inline constexpr TShortCut ShortCutAlt = 0x8000;
TShortCut ShortCut(std::uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, std::uint16_t &key, TShiftState &shift);
// Readable form for stored tables and messages: "Ctrl+Alt+C", "Shift+F1", "Ctrl+Up", "Del";
// 0 gives the empty text. TextToShortCut also takes a plain number; false when unreadable.
std::string ShortCutToText(TShortCut shortCut);
bool TextToShortCut(std::string_view text, TShortCut &shortCut);

// Raised when a shortcut pair would occur twice in one table ("Shortcut already exists").
class EKzKeyError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A stored keystroke list could not be read (an unknown command name, a malformed stroke).
class EKzStoredKeystrokeError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class TKzEditKeyStrokes;

// One key or two-key sequence and its command.
class TKzEditKeyStroke {
public:
  std::uint16_t Key() const { return FKey; }
  TShiftState Shift() const { return FShift; }
  std::uint16_t Key2() const { return FKey2; } // 0: a single key
  TShiftState Shift2() const { return FShift2; }
  TKzEditorCommand Command() const { return FCommand; }
  // Plain stores, no duplicate check.
  void SetKey(std::uint16_t k) { FKey = k; }
  void SetShift(TShiftState s) { FShift = s; }
  void SetKey2(std::uint16_t k) { FKey2 = k; }
  void SetShift2(TShiftState s) { FShift2 = s; }
  void SetCommand(TKzEditorCommand c) { FCommand = c; }

  TShortCut ShortCut() const;
  TShortCut ShortCut2() const;
  // Raise EKzKeyError, changing nothing, when the value is non-zero and another stroke of the
  // same table already has the resulting pair of shortcuts.
  void SetShortCut(TShortCut value);
  void SetShortCut2(TShortCut value);

  TKzEditKeyStrokes *Collection() const { return FOwner; }

private:
  friend class TKzEditKeyStrokes;
  explicit TKzEditKeyStroke(TKzEditKeyStrokes *owner) : FOwner(owner) {}

  TKzEditKeyStrokes *FOwner;
  std::uint16_t FKey = 0;
  TShiftState FShift = 0;
  std::uint16_t FKey2 = 0;
  TShiftState FShift2 = 0;
  TKzEditorCommand FCommand = ecNone;
};

// The pending first key of a two-key sequence, kept by the editor between key-downs.
struct TKzPendingKey {
  std::uint16_t Key = 0; // 0: none
  TShiftState Shift = 0;
};

// An ordered table of keystrokes. Lookups compare the modifier bits only (mouse buttons in a
// shift state are ignored).
class TKzEditKeyStrokes {
public:
  explicit TKzEditKeyStrokes(TCustomKzEdit *owner = nullptr) : FOwner(owner) {}
  TKzEditKeyStrokes(const TKzEditKeyStrokes &) = delete;
  TKzEditKeyStrokes &operator=(const TKzEditKeyStrokes &) = delete;

  TCustomKzEdit *Owner() const { return FOwner; } // null for temporary tables

  int Count() const { return int(FItems.size()); }
  TKzEditKeyStroke &operator[](int i) { return *FItems[std::size_t(i)]; }
  const TKzEditKeyStroke &operator[](int i) const { return *FItems[std::size_t(i)]; }

  // A new empty stroke at the end.
  TKzEditKeyStroke &Add();
  // Appends a stroke without the duplicate check.
  void AddKey(TKzEditorCommand command, std::uint16_t key, TShiftState shift,
              std::uint16_t key2 = 0, TShiftState shift2 = 0);
  void Delete(int i);
  void Clear();

  int FindKey(std::uint16_t key, TShiftState shift) const;
  int FindKeySequence(std::uint16_t key, TShiftState shift, std::uint16_t key2,
                      TShiftState shift2) const;
  int FindShortcuts(TShortCut shortCut, TShortCut shortCut2) const;
  // The index of the first stroke of the command, -1 when none.
  int FindCommand(TKzEditorCommand command) const;

  // Clears and adds the 83 default strokes in their order.
  void ResetDefaults();
  // Clears and copies every stroke of the other table.
  void Assign(const TKzEditKeyStrokes &other);

  // One key-down: the command of the sequence pending+key, else of key alone, else ecNone.
  // Afterwards the pending key is cleared when a command was found or the key is outside
  // 30..145 (so modifier keys alone clear it), otherwise key becomes the pending key.
  TKzEditorCommand TranslateKey(std::uint16_t key, TShiftState shift, TKzPendingKey &pending) const;

private:
  TCustomKzEdit *FOwner;
  std::vector<std::unique_ptr<TKzEditKeyStroke>> FItems;
};

// The stored adjustments of a window's editor. component is the editor's object in the stored
// form; its members RemovedKeystrokes and AddedKeystrokes are applied in the order they are
// stored: each removed stroke deletes the first stroke of the table with the same shortcut pair
// when its command is the stored one; each added stroke is appended as it is. A stroke is
// { "Command": name or number, "ShortCut": text or number, "ShortCut2": text or number }
// (ShortCut2 optional). Raises EKzStoredKeystrokeError for an unknown command or a malformed
// stroke, and EKzKeyError for a pair given twice within one list; the table is unchanged then.
void ApplyStoredKeystrokes(TKzEditKeyStrokes &table, const kzp::TStoredValue &component);
// Reads one stored list into a temporary table (no owner), for callers that apply it their way.
void ReadStoredKeystrokes(const kzp::TStoredValue &list, TKzEditKeyStrokes &into);
