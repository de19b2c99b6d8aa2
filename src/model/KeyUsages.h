#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lark {

// Keys as the mouse sends them: usage IDs of the HID Keyboard/Keypad page (0x07).

// Name of a usage (UTF-8): the key name table's name for it where it has one, else a name of its
// own for the keys that table cannot tell apart (keypad Enter, the international keys, ...).
// Empty for a usage the tool does not know.
std::string usageName(std::uint16_t usage);

// What a caption shows for a usage: its name, or "Key 0x" and its number in upper-case hex (two
// digits at least) for a usage the tool does not know, so that it never reads as another key.
std::string usageCaption(std::uint16_t usage);

// The usage a key name stands for, compared without case or surrounding blanks: the names that
// usageName gives (a name several usages share, such as "Enter" or the digits, means the main
// block's key; the keypad's are written by usage) and the usual other spellings ("Escape",
// "Delete", "Super", "Return", "Backspace"). Nothing for an unknown name.
std::optional<std::uint16_t> usageOfName(std::string_view name);

// The HID modifier bit (1 Ctrl, 2 Shift, 4 Alt, 8 GUI) of a left or right modifier key; 0 for
// any other usage.
std::uint8_t usageModifierBit(std::uint16_t usage);

}  // namespace lark
