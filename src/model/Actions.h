#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "settings/MouseSettings.h"

namespace lark {

// Values of ButtonAction::type.
enum class ActionKind : std::uint8_t {
    MouseButton = 0,
    Wheel = 1,
    KeyboardKey = 2,
    CpiLoop = 9,
    FixedCpi = 12,
    Launch = 24,
    Media = 32,
    Disabled = 255,
};

// Modifier bits of a KeyboardKey action (bits 0..3 of the HID keyboard modifier byte).
enum ModifierBit : std::uint8_t {
    CtrlBit = 1,
    ShiftBit = 2,
    AltBit = 4,
    WinBit = 8,
};

// Where the window's action menu lists an action; larkctl's help groups them the same way.
enum class ActionGroup { Mouse, Cpi, Media, Other };

// An action that needs no further choice: its caption (the row button's text and larkctl's
// word) and what is written into the slot.
struct NamedAction {
    const char* caption;
    ButtonAction action;
    ActionGroup group;
};

// Every named action, in the menu's order within each group.
std::span<const NamedAction> namedActions();

// KeyboardKey action of a key: the modifier bits given plus the bit of the key itself when it is
// a modifier key, and the key's usage exactly as given.
ButtonAction keyboardAction(std::uint16_t usage, std::uint8_t modifierBits);

ButtonAction encodeFixedCpiAction(std::uint32_t x, std::uint32_t y);

// "CPI: x" when both axes agree, else "X: x, Y: y".
std::string fixedCpiCaption(std::uint32_t x, std::uint32_t y);

// Caption of a stored action, or nothing (the window then keeps the text it shows).
std::optional<std::string> actionCaption(const ButtonAction& action);

// The prefix of a keyboard caption: every set modifier bit, in the order of the key dialog's boxes
// ("Shift+Ctrl+Win+Alt+"). The one way modifiers are written, in the window and in larkctl.
std::string modifierPrefix(std::uint8_t modifierBits);

// Caption of a keyboard key with modifiers, the same right after the capture and when read back
// from the mouse: every modifier that is set except the one the key itself is ("Ctrl+Left Shift"),
// then the key's name, or its number for a usage the tool does not know.
std::string keyboardCaption(std::uint8_t modifierBits, std::uint16_t usage);

}  // namespace lark
