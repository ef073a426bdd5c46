// Qt key codes to virtual-key codes. Qt reports printable keys as the character they type,
// so symbols reached with Shift are mapped back to the key that carries them.
#include "platform/qt/QtKeys.h"

#include <QKeyEvent>

namespace kzp {

namespace {

// X11 (evdev) scan codes of the digit row: 10 is "1" ... 18 is "9", 19 is "0".
std::uint16_t DigitFromScanCode(quint32 scan) {
  if (scan >= 10 && scan <= 18)
    return static_cast<std::uint16_t>('1' + (scan - 10));
  if (scan == 19)
    return '0';
  return 0;
}

} // namespace

std::uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
  const bool keypad = modifiers & Qt::KeypadModifier;
  if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return static_cast<std::uint16_t>(96 + (qtKey - Qt::Key_0));
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return static_cast<std::uint16_t>(qtKey); // the same codes as the characters
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
    return static_cast<std::uint16_t>(112 + (qtKey - Qt::Key_F1));
  if (std::uint16_t digit = DigitFromScanCode(nativeScanCode))
    return digit;
  switch (qtKey) {
  case Qt::Key_Backspace: return 8;
  case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
  case Qt::Key_Clear: return 12;
  case Qt::Key_Return: case Qt::Key_Enter: return 13;
  case Qt::Key_Shift: return 16;
  case Qt::Key_Control: return 17;
  case Qt::Key_Alt: case Qt::Key_AltGr: return 18;
  case Qt::Key_Pause: return 19;
  case Qt::Key_CapsLock: return 20;
  case Qt::Key_Escape: return 27;
  case Qt::Key_Space: return 32;
  case Qt::Key_PageUp: return 33;
  case Qt::Key_PageDown: return 34;
  case Qt::Key_End: return 35;
  case Qt::Key_Home: return 36;
  case Qt::Key_Left: return 37;
  case Qt::Key_Up: return 38;
  case Qt::Key_Right: return 39;
  case Qt::Key_Down: return 40;
  case Qt::Key_Print: return 44;
  case Qt::Key_Insert: return 45;
  case Qt::Key_Delete: return 46;
  case Qt::Key_Meta: case Qt::Key_Super_L: return 91;
  case Qt::Key_Super_R: return 92;
  case Qt::Key_Menu: return 93;
  case Qt::Key_Asterisk: return keypad ? 106 : 187;  // "*" sits on the "+" key in German
  case Qt::Key_Plus: return keypad ? 107 : 187;
  case Qt::Key_Minus: return keypad ? 109 : 189;
  case Qt::Key_Underscore: return 189;
  case Qt::Key_Period: return keypad ? 110 : 190;
  case Qt::Key_Colon: return 190;
  case Qt::Key_Slash: return keypad ? 111 : 55;       // Shift+7 in German
  case Qt::Key_Comma: return keypad ? 110 : 188;
  case Qt::Key_Semicolon: return 188;
  case Qt::Key_NumLock: return 144;
  case Qt::Key_ScrollLock: return 145;
  case Qt::Key_Udiaeresis: return 186;
  case Qt::Key_NumberSign: case Qt::Key_Apostrophe: return 191;
  case Qt::Key_Odiaeresis: return 192;
  case Qt::Key_ssharp: case Qt::Key_Question: return 219;
  case Qt::Key_AsciiCircum: case Qt::Key_Dead_Circumflex: case Qt::Key_degree: return 220;
  case Qt::Key_acute: case Qt::Key_Dead_Acute: case Qt::Key_Dead_Grave: return 221;
  case Qt::Key_Adiaeresis: return 222;
  case Qt::Key_Less: case Qt::Key_Greater: case Qt::Key_Bar: return 226;
  // Shifted digits of the German layout, for events without a scan code.
  case Qt::Key_Exclam: return '1';
  case Qt::Key_QuoteDbl: return '2';
  case Qt::Key_section: return '3';
  case Qt::Key_Dollar: return '4';
  case Qt::Key_Percent: return '5';
  case Qt::Key_Ampersand: return '6';
  case Qt::Key_ParenLeft: return '8';
  case Qt::Key_ParenRight: return '9';
  case Qt::Key_Equal: return '0';
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
