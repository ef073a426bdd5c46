// Qt key codes to virtual-key codes. Qt reports printable keys as the character they type,
// so symbols reached with Shift are mapped back to the key that carries them.
#include "platform/qt/QtKeys.h"

#include "platform/VirtualKeys.h"

#include <QKeyEvent>

namespace kzp {

// Letters and digits map straight through; the switch below relies on it.
static_assert(Qt::Key_A == VK_A && Qt::Key_Z == VK_Z && Qt::Key_0 == VK_0 && Qt::Key_9 == VK_9);

namespace {

// X11 (evdev) scan codes of the digit row: 10 is "1" ... 18 is "9", 19 is "0".
std::uint16_t DigitFromScanCode(quint32 scan) {
  if (scan >= 10 && scan <= 18)
    return static_cast<std::uint16_t>(VK_0 + 1 + (scan - 10));
  if (scan == 19)
    return VK_0;
  return 0;
}

} // namespace

std::uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
  const bool keypad = modifiers & Qt::KeypadModifier;
  if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return static_cast<std::uint16_t>(VK_NUMPAD0 + (qtKey - Qt::Key_0));
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return static_cast<std::uint16_t>(qtKey); // VK_0..VK_9 and VK_A..VK_Z are the characters
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
    return static_cast<std::uint16_t>(VK_F1 + (qtKey - Qt::Key_F1));
  if (std::uint16_t digit = DigitFromScanCode(nativeScanCode))
    return digit;
  switch (qtKey) {
  case Qt::Key_Backspace: return VK_BACK;
  case Qt::Key_Tab:
  case Qt::Key_Backtab: return VK_TAB;
  case Qt::Key_Clear: return VK_CLEAR;
  case Qt::Key_Return:
  case Qt::Key_Enter: return VK_RETURN;
  case Qt::Key_Shift: return VK_SHIFT;
  case Qt::Key_Control: return VK_CONTROL;
  case Qt::Key_Alt:
  case Qt::Key_AltGr: return VK_MENU;
  case Qt::Key_Pause: return VK_PAUSE;
  case Qt::Key_CapsLock: return VK_CAPITAL;
  case Qt::Key_Escape: return VK_ESCAPE;
  case Qt::Key_Space: return VK_SPACE;
  case Qt::Key_PageUp: return VK_PRIOR;
  case Qt::Key_PageDown: return VK_NEXT;
  case Qt::Key_End: return VK_END;
  case Qt::Key_Home: return VK_HOME;
  case Qt::Key_Left: return VK_LEFT;
  case Qt::Key_Up: return VK_UP;
  case Qt::Key_Right: return VK_RIGHT;
  case Qt::Key_Down: return VK_DOWN;
  case Qt::Key_Print: return VK_SNAPSHOT;
  case Qt::Key_Insert: return VK_INSERT;
  case Qt::Key_Delete: return VK_DELETE;
  case Qt::Key_Meta:
  case Qt::Key_Super_L: return VK_LWIN;
  case Qt::Key_Super_R: return VK_RWIN;
  case Qt::Key_Menu: return VK_APPS;
  case Qt::Key_Asterisk:
    return keypad ? VK_MULTIPLY : VK_OEM_PLUS; // "*" sits on the "+" key in German
  case Qt::Key_Plus: return keypad ? VK_ADD : VK_OEM_PLUS;
  case Qt::Key_Minus: return keypad ? VK_SUBTRACT : VK_OEM_MINUS;
  case Qt::Key_Underscore: return VK_OEM_MINUS;
  case Qt::Key_Period: return keypad ? VK_DECIMAL : VK_OEM_PERIOD;
  case Qt::Key_Colon: return VK_OEM_PERIOD;
  case Qt::Key_Slash: return keypad ? VK_DIVIDE : VK_0 + 7; // Shift+7 in German
  case Qt::Key_Comma: return keypad ? VK_DECIMAL : VK_OEM_COMMA;
  case Qt::Key_Semicolon: return VK_OEM_COMMA;
  case Qt::Key_NumLock: return VK_NUMLOCK;
  case Qt::Key_ScrollLock: return VK_SCROLL;
  case Qt::Key_Udiaeresis: return VK_OEM_1;
  case Qt::Key_NumberSign:
  case Qt::Key_Apostrophe: return VK_OEM_2;
  case Qt::Key_Odiaeresis: return VK_OEM_3;
  case Qt::Key_ssharp:
  case Qt::Key_Question: return VK_OEM_4;
  case Qt::Key_AsciiCircum:
  case Qt::Key_Dead_Circumflex:
  case Qt::Key_degree: return VK_OEM_5;
  case Qt::Key_acute:
  case Qt::Key_Dead_Acute:
  case Qt::Key_Dead_Grave: return VK_OEM_6;
  case Qt::Key_Adiaeresis: return VK_OEM_7;
  case Qt::Key_Less:
  case Qt::Key_Greater:
  case Qt::Key_Bar: return VK_OEM_102;
  // Shifted digits of the German layout, for events without a scan code.
  case Qt::Key_Exclam: return VK_0 + 1;
  case Qt::Key_QuoteDbl: return VK_0 + 2;
  case Qt::Key_section: return VK_0 + 3;
  case Qt::Key_Dollar: return VK_0 + 4;
  case Qt::Key_Percent: return VK_0 + 5;
  case Qt::Key_Ampersand: return VK_0 + 6;
  case Qt::Key_ParenLeft: return VK_0 + 8;
  case Qt::Key_ParenRight: return VK_9;
  case Qt::Key_Equal: return VK_0;
  default: return 0;
  }
}

TShiftBits ShiftBitsFromQt(Qt::KeyboardModifiers modifiers) {
  TShiftBits bits = 0;
  if (modifiers & Qt::ShiftModifier)
    bits |= ShiftBit;
  if (modifiers & Qt::AltModifier)
    bits |= AltBit;
  if (modifiers & Qt::ControlModifier)
    bits |= CtrlBit;
  return bits;
}

TShiftBits ButtonBitsFromQt(Qt::MouseButtons buttons) {
  TShiftBits bits = 0;
  if (buttons & Qt::LeftButton)
    bits |= LeftButtonBit;
  if (buttons & Qt::RightButton)
    bits |= RightButtonBit;
  if (buttons & Qt::MiddleButton)
    bits |= MiddleButtonBit;
  return bits;
}

TVirtualKey VirtualKeyOf(const QKeyEvent &event) {
  TVirtualKey k;
  k.Key = VirtualKeyFromQt(event.key(), event.modifiers(), event.nativeScanCode());
  k.Shift = ShiftBitsFromQt(event.modifiers());
  return k;
}

} // namespace kzp
