#include "model/Actions.h"

#include <array>

#include "model/KeyUsages.h"
#include "model/Words.h"

namespace lark {

namespace {

constexpr ButtonAction action(ActionKind kind, std::uint8_t code, std::uint16_t param1 = 0)
{
    return ButtonAction{static_cast<std::uint8_t>(kind), code, param1, 0};
}

// In the order the menu lists them.
constexpr auto kNamedActions = std::to_array<NamedAction>({
    {LARK_WORDS("Actions", "LEFT CLICK"), action(ActionKind::MouseButton, 1), ActionGroup::Mouse},
    {LARK_WORDS("Actions", "RIGHT CLICK"), action(ActionKind::MouseButton, 2), ActionGroup::Mouse},
    {LARK_WORDS("Actions", "MIDDLE CLICK"), action(ActionKind::MouseButton, 4), ActionGroup::Mouse},
    // Forward is the higher button bit although the menu lists it first.
    {LARK_WORDS("Actions", "FORWARD"), action(ActionKind::MouseButton, 16), ActionGroup::Mouse},
    {LARK_WORDS("Actions", "BACK"), action(ActionKind::MouseButton, 8), ActionGroup::Mouse},
    {LARK_WORDS("Actions", "SCROLL UP"), action(ActionKind::Wheel, 1), ActionGroup::Mouse},
    {LARK_WORDS("Actions", "SCROLL DOWN"), action(ActionKind::Wheel, 0xFF), ActionGroup::Mouse},
    {LARK_WORDS("Actions", "CPI LOOP"), action(ActionKind::CpiLoop, 0xF1), ActionGroup::Cpi},
    {LARK_WORDS("Actions", "PLAY/PAUSE"), action(ActionKind::Media, 0xCD), ActionGroup::Media},
    {LARK_WORDS("Actions", "NEXT"), action(ActionKind::Media, 0xB5), ActionGroup::Media},
    {LARK_WORDS("Actions", "PREVIOUS"), action(ActionKind::Media, 0xB6), ActionGroup::Media},
    {LARK_WORDS("Actions", "MUTE"), action(ActionKind::Media, 0xE2), ActionGroup::Media},
    {LARK_WORDS("Actions", "VOLUME UP"), action(ActionKind::Media, 0xE9), ActionGroup::Media},
    {LARK_WORDS("Actions", "VOLUME DOWN"), action(ActionKind::Media, 0xEA), ActionGroup::Media},
    // Consumer-page usages 0x196 and 0x194: low byte in code, high byte in param1.
    {LARK_WORDS("Actions", "BROWSER"), action(ActionKind::Launch, 0x96, 1), ActionGroup::Media},
    {LARK_WORDS("Actions", "EXPLORER"), action(ActionKind::Launch, 0x94, 1), ActionGroup::Media},
    {LARK_WORDS("Actions", "DISABLE"), action(ActionKind::Disabled, 0), ActionGroup::Other},
});

// The caption of a stored action of a named kind: type and code decide (any code is DISABLE);
// the parameters are not looked at, as the window never did.
std::optional<std::string> namedCaption(const ButtonAction& stored)
{
    const bool disabled = stored.type == static_cast<std::uint8_t>(ActionKind::Disabled);
    for (const NamedAction& named : kNamedActions)
        if (named.action.type == stored.type && (disabled || named.action.code == stored.code))
            return std::string(named.caption);
    return std::nullopt;
}

}  // namespace

std::span<const NamedAction> namedActions()
{
    return kNamedActions;
}

ButtonAction keyboardAction(std::uint16_t usage, std::uint8_t modifierBits)
{
    return ButtonAction{static_cast<std::uint8_t>(ActionKind::KeyboardKey),
                        static_cast<std::uint8_t>(modifierBits | usageModifierBit(usage)), usage, 0};
}

ButtonAction encodeFixedCpiAction(std::uint32_t x, std::uint32_t y)
{
    return ButtonAction{static_cast<std::uint8_t>(ActionKind::FixedCpi), 0, static_cast<std::uint16_t>(x),
                        static_cast<std::uint16_t>(y)};
}

std::string fixedCpiCaption(std::uint32_t x, std::uint32_t y)
{
    if (x == y)
        return "CPI: " + std::to_string(x);
    return "X: " + std::to_string(x) + ", Y: " + std::to_string(y);
}

std::optional<std::string> actionCaption(const ButtonAction& action)
{
    switch (static_cast<ActionKind>(action.type)) {
    case ActionKind::KeyboardKey:
        return keyboardCaption(action.code, action.param1);
    case ActionKind::FixedCpi:
        return fixedCpiCaption(action.param1, action.param2);
    case ActionKind::MouseButton:
    case ActionKind::Wheel:
    case ActionKind::CpiLoop:
    case ActionKind::Launch:
    case ActionKind::Media:
    case ActionKind::Disabled:
        return namedCaption(action);
    }
    return std::nullopt;
}

std::string modifierPrefix(std::uint8_t modifierBits)
{
    std::string prefix;
    if (modifierBits & ShiftBit)
        prefix += "Shift+";
    if (modifierBits & CtrlBit)
        prefix += "Ctrl+";
    if (modifierBits & WinBit)
        prefix += "Win+";
    if (modifierBits & AltBit)
        prefix += "Alt+";
    return prefix;
}

std::string keyboardCaption(std::uint8_t modifierBits, std::uint16_t usage)
{
    const auto others = static_cast<std::uint8_t>(modifierBits & ~usageModifierBit(usage));
    return modifierPrefix(others) + usageCaption(usage);
}

}  // namespace lark
