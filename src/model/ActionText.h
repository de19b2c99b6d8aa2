#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "settings/MouseSettings.h"

namespace lark {

// A button action in words, both ways. The words are the captions the window shows, parsed
// back through a table built from the very functions that make the captions, so whatever the
// captions say, they read back as the action they were made from. Where a caption stands for
// more than one action (a key on the keypad and on the main block share a name) or there is
// none, the text falls back to a form that names the key's usage ("Ctrl+Key 0x57") or the raw
// bytes ("raw:03,00,0000,0000").
struct ActionParseError {
    std::string message;
};
using ActionParse = std::variant<ButtonAction, ActionParseError>;

// Accepted: a caption ("LEFT CLICK", "VOLUME UP", "CPI: 800", "X: 800, Y: 1600"), keys by name
// with modifiers in any order ("Ctrl+Shift+A", "shift+page up"), "Key 0xNN" for a key by its
// usage, "fixed-cpi:800x1600" (or one number), "raw:TT,CC,PPPP,PPPP". Case and the blanks
// around names do not matter. CPI values follow the CPI rules: 50..26000, put on the grid of 50.
ActionParse parseAction(std::string_view text);

// The words for an action: the window's caption when it reads back as this action, else the
// fallback form.
std::string actionText(const ButtonAction& action);

}  // namespace lark
