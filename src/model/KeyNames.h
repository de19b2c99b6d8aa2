#pragma once

#include <cstdint>
#include <string>

namespace lark {

// Display name of a Windows virtual-key code (UTF-8); empty for a code without a name.
// Two names end in a blank ("Up Arrow ", "Volume Up "): the blank belongs to the name.
std::string keyName(std::uint16_t virtualKey);

// Virtual-key code to a usage ID of the HID Keyboard/Keypad page; 0 for a code without one.
// A code is never passed through as a usage: the mouse would send an unrelated key.
std::uint16_t virtualKeyToUsage(std::uint16_t virtualKey);

// Usage ID back to a virtual-key code: the inverse of the table; 0 for a usage without one.
std::uint16_t usageToVirtualKey(std::uint16_t usage);

}  // namespace lark
