#pragma once

#include <QtGlobal>
#include <cstdint>

class QKeyEvent;

namespace lark {

// The usage ID on the HID Keyboard/Keypad page of the key behind a Qt key event: the key the
// mouse must send to stand for it. 0 when the key has no such usage (media and browser keys,
// Sleep, ...): it cannot be assigned, and no other key is ever offered in its place.
std::uint16_t keyUsageOf(const QKeyEvent& event);

// The same from the event's parts: qtKey is a Qt::Key, keypad says Qt::KeypadModifier was set,
// nativeScanCode is the X11 / Wayland key code (evdev code + 8), nativeKeysym the keysym.
std::uint16_t keyUsageOf(int qtKey, bool keypad, quint32 nativeScanCode, quint32 nativeKeysym);

}  // namespace lark
