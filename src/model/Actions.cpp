#include "model/Actions.h"

#include <array>

#include "model/KeyNames.h"
#include "model/KeyUsages.h"

namespace lark {

namespace {

constexpr ButtonAction action(ActionKind kind, std::uint8_t code, std::uint16_t param1 = 0)
{
    return ButtonAction{static_cast<std::uint8_t>(kind), code, param1, 0};
}

constexpr auto kPlainEntries = std::to_array<PlainMenuEntry>({
    {CmdLeftClick, "LEFT CLICK", action(ActionKind::MouseButton, 1)},
    {CmdRightClick, "RIGHT CLICK", action(ActionKind::MouseButton, 2)},
    {CmdMiddleClick, "MIDDLE CLICK", action(ActionKind::MouseButton, 4)},
    // Forward is the higher button bit although the menu lists it first.
    {CmdForward, "FORWARD", action(ActionKind::MouseButton, 16)},
    {CmdBack, "BACK", action(ActionKind::MouseButton, 8)},
    {CmdScrollUp, "SCROLL UP", action(ActionKind::Wheel, 1)},
    {CmdScrollDown, "SCROLL DOWN", action(ActionKind::Wheel, 0xFF)},
    {CmdPlayPause, "PLAY/PAUSE", action(ActionKind::Media, 0xCD)},
    {CmdNext, "NEXT", action(ActionKind::Media, 0xB5)},
    {CmdPrevious, "PREVIOUS", action(ActionKind::Media, 0xB6)},
    {CmdMute, "MUTE", action(ActionKind::Media, 0xE2)},
    {CmdVolumeUp, "VOLUME UP", action(ActionKind::Media, 0xE9)},
    {CmdVolumeDown, "VOLUME DOWN", action(ActionKind::Media, 0xEA)},
    // Consumer-page usages 0x196 and 0x194: low byte in code, high byte in param1.
    {CmdBrowser, "BROWSER", action(ActionKind::Launch, 0x96, 1)},
    {CmdExplorer, "EXPLORER", action(ActionKind::Launch, 0x94, 1)},
    {CmdCpiLoop, "CPI LOOP", action(ActionKind::CpiLoop, 0xF1)},
    {CmdDisable, "DISABLE", action(ActionKind::Disabled, 0)},
});

struct CodeCaption {
    std::uint8_t code;
    const char* caption;
};

constexpr auto kMouseButtonCaptions = std::to_array<CodeCaption>({
    {1, "LEFT CLICK"},
    {2, "RIGHT CLICK"},
    {4, "MIDDLE CLICK"},
    {8, "BACK"},
    {16, "FORWARD"},
});

constexpr auto kWheelCaptions = std::to_array<CodeCaption>({{1, "SCROLL UP"}, {0xFF, "SCROLL DOWN"}});

constexpr auto kCpiLoopCaptions = std::to_array<CodeCaption>({{0xF1, "CPI LOOP"}});

constexpr auto kLaunchCaptions = std::to_array<CodeCaption>({{0x96, "BROWSER"}, {0x94, "EXPLORER"}});

constexpr auto kMediaCaptions = std::to_array<CodeCaption>({
    {0xB5, "NEXT"},
    {0xB6, "PREVIOUS"},
    {0xCD, "PLAY/PAUSE"},
    {0xE2, "MUTE"},
    {0xE9, "VOLUME UP"},
    {0xEA, "VOLUME DOWN"},
});

template <std::size_t N>
std::optional<std::string> captionOf(const std::array<CodeCaption, N>& table, std::uint8_t code)
{
    for (const CodeCaption& entry : table) {
        if (entry.code == code)
            return std::string(entry.caption);
    }
    return std::nullopt;
}

std::string keyCaption(const ButtonAction& action, KeyCaptureState& capture)
{
    capture.capturedModifiers = action.code;
    capture.capturedKeyCode = action.param1;
    return keyboardCaption(action.code, action.param1);
}

}  // namespace

std::span<const PlainMenuEntry> plainMenuEntries()
{
    return kPlainEntries;
}

const PlainMenuEntry* findPlainMenuEntry(int command)
{
    for (const PlainMenuEntry& entry : kPlainEntries) {
        if (entry.command == command)
            return &entry;
    }
    return nullptr;
}

ButtonAction encodeKeyboardAction(KeyCaptureState& capture)
{
    capture.capturedModifiers =
        static_cast<std::uint8_t>(capture.capturedModifiers | usageModifierBit(capture.capturedKeyCode));
    return ButtonAction{static_cast<std::uint8_t>(ActionKind::KeyboardKey), capture.capturedModifiers,
                        capture.capturedKeyCode, 0};
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

std::optional<std::string> actionCaption(const ButtonAction& action, KeyCaptureState& capture)
{
    switch (static_cast<ActionKind>(action.type)) {
    case ActionKind::MouseButton:
        return captionOf(kMouseButtonCaptions, action.code);
    case ActionKind::Wheel:
        return captionOf(kWheelCaptions, action.code);
    case ActionKind::KeyboardKey:
        return keyCaption(action, capture);
    case ActionKind::CpiLoop:
        return captionOf(kCpiLoopCaptions, action.code);
    case ActionKind::FixedCpi:
        return fixedCpiCaption(action.param1, action.param2);
    case ActionKind::Launch:
        return captionOf(kLaunchCaptions, action.code);
    case ActionKind::Media:
        return captionOf(kMediaCaptions, action.code);
    case ActionKind::Disabled:
        return std::string("DISABLE");
    }
    return std::nullopt;
}

std::string dialogModifierPrefix(std::uint8_t modifierBits)
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
    return dialogModifierPrefix(others) + usageCaption(usage);
}

}  // namespace lark
