// Small value types the editor's parts share: commands, coordinates, modifier sets, selection
// modes, option and status-change sets.
#pragma once

#include "platform/Keys.h"

#include <cstdint>
#include <initializer_list>

// An editor command: 0 is no command, 1001 and above are the application's own commands.
using TKzEditorCommand = std::uint16_t;

// The modifier and mouse-button set of a key or mouse event, one byte. Shift, Alt and Ctrl
// hold the low three bits because that byte is what a keystroke stores; the same layout as
// kzp::TShiftBits of platform/Keys.h, so values pass between the two unchanged.
using TShiftState = std::uint8_t;
inline constexpr TShiftState ssNone = 0;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssLeft = 8;
inline constexpr TShiftState ssRight = 16;
inline constexpr TShiftState ssMiddle = 32;
inline constexpr TShiftState ssDouble = 64;
// The bits a keystroke compares; mouse buttons never take part in key lookups.
inline constexpr TShiftState ssModifierMask = ssShift | ssAlt | ssCtrl;
static_assert(ssShift == kzp::ShiftBit && ssAlt == kzp::AltBit && ssCtrl == kzp::CtrlBit &&
                  ssLeft == kzp::LeftButtonBit && ssRight == kzp::RightButtonBit &&
                  ssMiddle == kzp::MiddleButtonBit && ssDouble == kzp::DoubleClickBit,
              "the platform's key and button bits pass to the editor unchanged");

// A position in the text: Char is the 1-based column (1 = before the first character), Line
// the 1-based line number.
struct TBufferCoord {
  int Char = 1;
  int Line = 1;
  bool operator==(const TBufferCoord &) const = default;
};

// Ordering by line, then column.
inline bool operator<(TBufferCoord a, TBufferCoord b) {
  return a.Line < b.Line || (a.Line == b.Line && a.Char < b.Char);
}
inline TBufferCoord MinPoint(TBufferCoord a, TBufferCoord b) { return b < a ? b : a; }
inline TBufferCoord MaxPoint(TBufferCoord a, TBufferCoord b) { return a < b ? b : a; }

// A cell on the screen grid: Column counts cells after tab expansion, Row counts display rows;
// both 1-based.
struct TDisplayCoord {
  int Column = 1;
  int Row = 1;
  bool operator==(const TDisplayCoord &) const = default;
};

// How a selection is read and written: a character stream, whole lines or a rectangle.
enum TKzSelectionMode : std::uint8_t { smNormal = 0, smLine = 1, smColumn = 2 };

// A set of enumerators that are bit positions (at most 32), for option and status-change sets.
template <class E> class TKzSet {
public:
  constexpr TKzSet() = default;
  constexpr TKzSet(std::initializer_list<E> items) {
    for (E e : items)
      FBits |= Bit(e);
  }
  static constexpr TKzSet FromBits(std::uint32_t bits) {
    TKzSet s;
    s.FBits = bits;
    return s;
  }
  constexpr std::uint32_t Bits() const { return FBits; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TKzSet &Include(E e) {
    FBits |= Bit(e);
    return *this;
  }
  constexpr TKzSet &Exclude(E e) {
    FBits &= ~Bit(e);
    return *this;
  }
  constexpr TKzSet operator|(TKzSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TKzSet operator&(TKzSet o) const { return FromBits(FBits & o.FBits); }
  constexpr TKzSet operator-(TKzSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TKzSet &operator|=(TKzSet o) {
    FBits |= o.FBits;
    return *this;
  }
  constexpr bool operator==(const TKzSet &) const = default;

private:
  static constexpr std::uint32_t Bit(E e) { return std::uint32_t(1) << unsigned(e); }
  std::uint32_t FBits = 0;
};

// Editor options; the values are bit positions.
enum TKzEditorOption : std::uint8_t {
  eoAltSetsColumnMode = 0,
  eoAutoIndent = 1,
  eoAutoSizeMaxScrollWidth = 2,
  eoDisableScrollArrows = 3,
  eoDragDropEditing = 4,
  eoDropFiles = 5,
  eoEnhanceHomeKey = 6,
  eoGroupUndo = 7,
  eoHalfPageScroll = 8,
  eoHideShowScrollbars = 9,
  eoKeepCaretX = 10,
  eoNoCaret = 11,
  eoNoSelection = 12,
  eoRightMouseMovesCursor = 13,
  eoScrollByOneLess = 14,
  eoScrollHintFollows = 15,
  eoScrollPastEof = 16,
  eoScrollPastEol = 17,
  eoShowScrollHint = 18,
  eoShowSpecialChars = 19,
  eoSmartTabDelete = 20,
  eoSmartTabs = 21,
  eoSpecialLineDefaultFg = 22,
  eoTabIndent = 23,
  eoTabsToSpaces = 24,
  eoTrimTrailingSpaces = 25,
};
using TKzEditorOptions = TKzSet<TKzEditorOption>;
static_assert(eoTrimTrailingSpaces < 32, "every option is a bit of one set");

inline constexpr TKzEditorOptions KzEditDefaultOptions{
    eoAutoIndent,     eoDragDropEditing, eoGroupUndo,    eoScrollPastEol,     eoShowScrollHint,
    eoSmartTabDelete, eoSmartTabs,       eoTabsToSpaces, eoTrimTrailingSpaces};

// What changed since the last status-change event; the values are bit positions.
enum TKzStatusChange : std::uint8_t {
  scAll = 0,
  scCaretX = 1,
  scCaretY = 2,
  scLeftChar = 3,
  scTopLine = 4,
  scInsertMode = 5,
  scModified = 6,
  scSelection = 7,
  scReadOnly = 8,
};
using TKzStatusChanges = TKzSet<TKzStatusChange>;
static_assert(scReadOnly < 32, "every status change is a bit of one set");
