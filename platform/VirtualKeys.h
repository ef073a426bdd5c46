// Virtual-key codes: the numbers the keystroke table speaks in. Each platform maps its own key
// events onto these (platform/qt/QtKeys.cpp for Qt), so the editor sees the same numbers on
// every system.
#pragma once

#include <cstdint>

namespace kzp {

inline constexpr std::uint16_t VK_BACK = 8;
inline constexpr std::uint16_t VK_TAB = 9;
inline constexpr std::uint16_t VK_CLEAR = 12;
inline constexpr std::uint16_t VK_RETURN = 13;
inline constexpr std::uint16_t VK_SHIFT = 16;
inline constexpr std::uint16_t VK_CONTROL = 17;
inline constexpr std::uint16_t VK_MENU = 18; // Alt
inline constexpr std::uint16_t VK_PAUSE = 19;
inline constexpr std::uint16_t VK_CAPITAL = 20;
inline constexpr std::uint16_t VK_ESCAPE = 27;
inline constexpr std::uint16_t VK_SPACE = 32;
inline constexpr std::uint16_t VK_PRIOR = 33; // Page Up
inline constexpr std::uint16_t VK_NEXT = 34;  // Page Down
inline constexpr std::uint16_t VK_END = 35;
inline constexpr std::uint16_t VK_HOME = 36;
inline constexpr std::uint16_t VK_LEFT = 37;
inline constexpr std::uint16_t VK_UP = 38;
inline constexpr std::uint16_t VK_RIGHT = 39;
inline constexpr std::uint16_t VK_DOWN = 40;
inline constexpr std::uint16_t VK_SELECT = 41;
inline constexpr std::uint16_t VK_PRINT = 42;
inline constexpr std::uint16_t VK_EXECUTE = 43;
inline constexpr std::uint16_t VK_SNAPSHOT = 44;
inline constexpr std::uint16_t VK_INSERT = 45;
inline constexpr std::uint16_t VK_DELETE = 46;
inline constexpr std::uint16_t VK_HELP = 47;
// Digits and letters are their upper-case character codes: '0'..'9' = 48..57, 'A'..'Z' = 65..90.
inline constexpr std::uint16_t VK_0 = 48;
inline constexpr std::uint16_t VK_9 = 57;
inline constexpr std::uint16_t VK_A = 65;
inline constexpr std::uint16_t VK_Z = 90;
inline constexpr std::uint16_t VK_LWIN = 91;
inline constexpr std::uint16_t VK_RWIN = 92;
inline constexpr std::uint16_t VK_APPS = 93; // context-menu key
inline constexpr std::uint16_t VK_NUMPAD0 = 96;
inline constexpr std::uint16_t VK_NUMPAD9 = 105;
inline constexpr std::uint16_t VK_MULTIPLY = 106;
inline constexpr std::uint16_t VK_ADD = 107;
inline constexpr std::uint16_t VK_SEPARATOR = 108;
inline constexpr std::uint16_t VK_SUBTRACT = 109;
inline constexpr std::uint16_t VK_DECIMAL = 110;
inline constexpr std::uint16_t VK_DIVIDE = 111;
inline constexpr std::uint16_t VK_F1 = 112; // F1..F24 are 112..135
inline constexpr std::uint16_t VK_F2 = 113;
inline constexpr std::uint16_t VK_F3 = 114;
inline constexpr std::uint16_t VK_F4 = 115;
inline constexpr std::uint16_t VK_F5 = 116;
inline constexpr std::uint16_t VK_F6 = 117;
inline constexpr std::uint16_t VK_F7 = 118;
inline constexpr std::uint16_t VK_F8 = 119;
inline constexpr std::uint16_t VK_F9 = 120;
inline constexpr std::uint16_t VK_F10 = 121;
inline constexpr std::uint16_t VK_F11 = 122;
inline constexpr std::uint16_t VK_F12 = 123;
inline constexpr std::uint16_t VK_F24 = 135;
inline constexpr std::uint16_t VK_NUMLOCK = 144;
inline constexpr std::uint16_t VK_SCROLL = 145;
// Punctuation keys of a US layout; other layouts put other characters on the same codes.
inline constexpr std::uint16_t VK_OEM_1 = 186;      // ;:
inline constexpr std::uint16_t VK_OEM_PLUS = 187;   // =+
inline constexpr std::uint16_t VK_OEM_COMMA = 188;  // ,<
inline constexpr std::uint16_t VK_OEM_MINUS = 189;  // -_
inline constexpr std::uint16_t VK_OEM_PERIOD = 190; // .>
inline constexpr std::uint16_t VK_OEM_2 = 191;      // /?
inline constexpr std::uint16_t VK_OEM_3 = 192;      // `~
inline constexpr std::uint16_t VK_OEM_4 = 219;      // [{
inline constexpr std::uint16_t VK_OEM_5 = 220;      // \|
inline constexpr std::uint16_t VK_OEM_6 = 221;      // ]}
inline constexpr std::uint16_t VK_OEM_7 = 222;      // '"
inline constexpr std::uint16_t VK_OEM_102 = 226;    // <> of European keyboards

} // namespace kzp
