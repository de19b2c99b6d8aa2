#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/MouseSettings.h"

namespace lark {

// What the keyboard key dialog hands to the mapping page. One instance lives as long as the
// page; decoding a caption writes it too, so it is not reset between openings.
struct KeyCaptureState {
    std::uint16_t capturedKeyCode = 0;   // usage ID on the HID Keyboard/Keypad page; 0 for none
    std::uint8_t capturedModifiers = 0;  // ModifierBit combination
    std::string capturedKeyText;         // UTF-8
};

// KeyboardKey action of the captured key; the key's own modifier bit is written back into
// capturedModifiers.
ButtonAction encodeKeyboardAction(KeyCaptureState& capture);

// Caption of a stored action, or nothing; a keyboard action also loads its modifiers and key
// into `capture`.
std::optional<std::string> actionCaption(const ButtonAction& action, KeyCaptureState& capture);

}  // namespace lark
