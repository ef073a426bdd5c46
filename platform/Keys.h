// Keyboard and mouse state in the platform-neutral form the editor works with: virtual-key
// codes (Up 38, F1 112, letters and digits by their upper-case character codes) and the
// modifier and button set as one byte.
#pragma once

#include <cstdint>

namespace kzp {

// Modifier and button bits. Shift, Alt and Ctrl occupy the low three bits, which is the byte
// the keystroke table stores for a shortcut's modifiers.
using TShiftBits = std::uint8_t;
inline constexpr TShiftBits ShiftBit = 1;
inline constexpr TShiftBits AltBit = 2;
inline constexpr TShiftBits CtrlBit = 4;
inline constexpr TShiftBits LeftButtonBit = 8;
inline constexpr TShiftBits RightButtonBit = 16;
inline constexpr TShiftBits MiddleButtonBit = 32;
inline constexpr TShiftBits DoubleClickBit = 64;

// A key as the editor sees it.
struct TVirtualKey {
  std::uint16_t Key = 0; // 0 when the platform key has no virtual-key code
  TShiftBits Shift = 0;
};

} // namespace kzp
