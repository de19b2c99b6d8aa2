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

// What the keyboard key dialog hands to the mapping page. One instance lives as long as the
// page; the caption decoder writes it too, so it is not reset between openings.
struct KeyCaptureState {
    std::uint16_t capturedKeyCode = 0;   // usage ID on the HID Keyboard/Keypad page; 0 for none
    std::uint8_t capturedModifiers = 0;  // ModifierBit combination
    std::string capturedKeyText;         // UTF-8
};

// Command identifiers of the action menu's entries.
enum MenuCommand : int {
    CmdLeftClick = 8001,
    CmdRightClick = 8002,
    CmdMiddleClick = 8003,
    CmdForward = 8004,
    CmdBack = 8005,
    CmdScrollUp = 8006,
    CmdScrollDown = 8007,
    CmdPlayPause = 8021,
    CmdNext = 8022,
    CmdPrevious = 8023,
    CmdMute = 8024,
    CmdVolumeUp = 8025,
    CmdVolumeDown = 8026,
    CmdBrowser = 8027,
    CmdExplorer = 8028,
    CmdKeyboardKey = 8040,
    CmdCpiLoop = 8051,
    CmdFixedCpi = 8052,
    CmdDisable = 8060,
};

// A menu entry that assigns a fixed action: its command, its text (also the caption it
// leaves on the row button) and the action written into the slot.
struct PlainMenuEntry {
    int command;
    const char* text;
    ButtonAction action;
};

// Every entry that needs no dialog, in command order.
std::span<const PlainMenuEntry> plainMenuEntries();

// The plain entry of `command`, or nullptr for a dialog entry or an unknown command.
const PlainMenuEntry* findPlainMenuEntry(int command);

// KeyboardKey action of the captured key: the modifier bits of the dialog plus the bit of the
// key itself when it is a modifier key (written back into capturedModifiers), and the key's usage
// exactly as captured.
ButtonAction encodeKeyboardAction(KeyCaptureState& capture);

ButtonAction encodeFixedCpiAction(std::uint32_t x, std::uint32_t y);

// "CPI: x" when both axes agree, else "X: x, Y: y".
std::string fixedCpiCaption(std::uint32_t x, std::uint32_t y);

// Caption of a stored action, or nothing (the caller then keeps the text it shows). A keyboard
// action also loads its modifiers and key into `capture`.
std::optional<std::string> actionCaption(const ButtonAction& action, KeyCaptureState& capture);

// The prefix of a keyboard caption: every set modifier bit, in the order of the dialog's boxes
// ("Shift+Ctrl+Win+Alt+").
std::string dialogModifierPrefix(std::uint8_t modifierBits);

// Caption of a keyboard key with modifiers, the same right after the capture and when read back
// from the mouse: every modifier that is set except the one the key itself is ("Ctrl+Left Shift"),
// then the key's name, or its number for a usage the tool does not know.
std::string keyboardCaption(std::uint8_t modifierBits, std::uint16_t usage);

}  // namespace lark
