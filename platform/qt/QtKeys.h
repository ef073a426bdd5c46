// The one translation from Qt key events to virtual-key codes and modifier bits.
#pragma once

#include "platform/Keys.h"

#include <Qt>
#include <QtGlobal>

class QKeyEvent;

namespace kzp {

// The virtual-key code of a Qt key; 0 when there is none. `nativeScanCode` (0 when unknown)
// lets the digit row keep its digit codes while Shift turns its characters into symbols.
std::uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers,
                               quint32 nativeScanCode = 0);
TShiftBits ShiftBitsFromQt(Qt::KeyboardModifiers modifiers);
TShiftBits ButtonBitsFromQt(Qt::MouseButtons buttons);
TVirtualKey VirtualKeyOf(const QKeyEvent &event);

} // namespace kzp
