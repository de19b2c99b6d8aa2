#pragma once

#include <QtGlobal>
#include <cstdint>

class QKeyEvent;

namespace lark {

// The Windows virtual-key code of a Qt key event, as the key name table and the usage
// conversion expect it; 0 when the key has no such code. Left and right Shift, Ctrl, Alt and
// Win are told apart by the native keysym, then by the native scan code; when neither tells,
// the left key is taken.
std::uint16_t virtualKeyOf(const QKeyEvent& event);

// The same from the event's parts (qtKey is a Qt::Key, keypad says Qt::KeypadModifier was set).
std::uint16_t virtualKeyOf(int qtKey, bool keypad, quint32 nativeScanCode, quint32 nativeVirtualKey);

}  // namespace lark
