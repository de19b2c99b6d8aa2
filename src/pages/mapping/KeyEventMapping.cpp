#include "pages/mapping/KeyEventMapping.h"

#include <QKeyEvent>

#include <array>

namespace lark {

namespace {

struct KeyPair {
    int qtKey;
    std::uint16_t virtualKey;
};

// Keys that mean the same with or without the keypad, and the main block's punctuation under
// both its unshifted and its shifted (US layout) symbol: Windows names the key, not the character.
constexpr auto kKeys = std::to_array<KeyPair>({
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},
    {Qt::Key_Select, 0x29},
    {Qt::Key_Printer, 0x2A},
    {Qt::Key_Execute, 0x2B},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_SysReq, 0x2C},
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
    {Qt::Key_Help, 0x2F},
    // Shifted digits of the main block.
    {Qt::Key_ParenRight, 0x30},
    {Qt::Key_Exclam, 0x31},
    {Qt::Key_At, 0x32},
    {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34},
    {Qt::Key_Percent, 0x35},
    {Qt::Key_AsciiCircum, 0x36},
    {Qt::Key_Ampersand, 0x37},
    {Qt::Key_Asterisk, 0x38},
    {Qt::Key_ParenLeft, 0x39},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_Sleep, 0x5F},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Back, 0xA6},
    {Qt::Key_Forward, 0xA7},
    {Qt::Key_Refresh, 0xA8},
    {Qt::Key_Stop, 0xA9},
    {Qt::Key_Search, 0xAA},
    {Qt::Key_Favorites, 0xAB},
    {Qt::Key_HomePage, 0xAC},
    {Qt::Key_VolumeMute, 0xAD},
    {Qt::Key_VolumeDown, 0xAE},
    {Qt::Key_VolumeUp, 0xAF},
    {Qt::Key_MediaNext, 0xB0},
    {Qt::Key_MediaPrevious, 0xB1},
    {Qt::Key_MediaStop, 0xB2},
    {Qt::Key_MediaPlay, 0xB3},
    {Qt::Key_MediaPause, 0xB3},
    {Qt::Key_MediaTogglePlayPause, 0xB3},
    {Qt::Key_LaunchMail, 0xB4},
    {Qt::Key_LaunchMedia, 0xB5},
    {Qt::Key_Launch0, 0xB6},
    {Qt::Key_Launch1, 0xB7},
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    // Modifier keys without a side to tell.
    {Qt::Key_AltGr, 0xA5},
    {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Super_R, 0x5C},
    // Ctrl+Break.
    {Qt::Key_Cancel, 0x03},
});

// Keys of the numeric keypad that Windows codes apart from the main block.
constexpr auto kKeypadKeys = std::to_array<KeyPair>({
    {Qt::Key_Asterisk, 0x6A},
    {Qt::Key_Plus, 0x6B},
    {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},
    {Qt::Key_Comma, 0x6E},
    {Qt::Key_Slash, 0x6F},
});

enum class Side { Unknown, Left, Right };

struct NativeSide {
    quint32 native;
    Side side;
};

// X11 / xkb keysyms of the modifier keys: Shift, Control, Meta, Alt, Super, Hyper (L, R).
constexpr auto kKeysymSides = std::to_array<NativeSide>({
    {0xffe1, Side::Left},
    {0xffe2, Side::Right},
    {0xffe3, Side::Left},
    {0xffe4, Side::Right},
    {0xffe7, Side::Left},
    {0xffe8, Side::Right},
    {0xffe9, Side::Left},
    {0xffea, Side::Right},
    {0xffeb, Side::Left},
    {0xffec, Side::Right},
    {0xffed, Side::Left},
    {0xffee, Side::Right},
    {0xfe03, Side::Right},  // ISO_Level3_Shift, the AltGr key
});

// X11 / Wayland key codes (evdev code + 8) of the modifier keys.
constexpr auto kScanCodeSides = std::to_array<NativeSide>({
    {50, Side::Left},    // Shift
    {62, Side::Right},   // Shift
    {37, Side::Left},    // Control
    {105, Side::Right},  // Control
    {64, Side::Left},    // Alt
    {108, Side::Right},  // Alt
    {133, Side::Left},   // Super
    {134, Side::Right},  // Super
});

template <std::size_t N> Side sideIn(const std::array<NativeSide, N>& table, quint32 native)
{
    for (const NativeSide& entry : table) {
        if (entry.native == native)
            return entry.side;
    }
    return Side::Unknown;
}

Side modifierSide(quint32 nativeScanCode, quint32 nativeVirtualKey)
{
    const Side bySym = sideIn(kKeysymSides, nativeVirtualKey);
    if (bySym != Side::Unknown)
        return bySym;
    return sideIn(kScanCodeSides, nativeScanCode);
}

struct SidedModifier {
    int qtKey;
    std::uint16_t left;
    std::uint16_t right;
};

constexpr auto kSidedModifiers = std::to_array<SidedModifier>({
    {Qt::Key_Shift, 0xA0, 0xA1},
    {Qt::Key_Control, 0xA2, 0xA3},
    {Qt::Key_Alt, 0xA4, 0xA5},
    {Qt::Key_Meta, 0x5B, 0x5C},
});

}  // namespace

std::uint16_t virtualKeyOf(int qtKey, bool keypad, quint32 nativeScanCode, quint32 nativeVirtualKey)
{
    for (const SidedModifier& modifier : kSidedModifiers) {
        if (modifier.qtKey == qtKey)
            return modifierSide(nativeScanCode, nativeVirtualKey) == Side::Right ? modifier.right
                                                                                 : modifier.left;
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<std::uint16_t>((keypad ? 0x60 : 0x30) + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<std::uint16_t>(0x41 + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<std::uint16_t>(0x70 + (qtKey - Qt::Key_F1));
    if (keypad) {
        for (const KeyPair& pair : kKeypadKeys) {
            if (pair.qtKey == qtKey)
                return pair.virtualKey;
        }
    }
    for (const KeyPair& pair : kKeys) {
        if (pair.qtKey == qtKey)
            return pair.virtualKey;
    }
    return 0;
}

std::uint16_t virtualKeyOf(const QKeyEvent& event)
{
    return virtualKeyOf(event.key(), event.modifiers().testFlag(Qt::KeypadModifier), event.nativeScanCode(),
                        event.nativeVirtualKey());
}

}  // namespace lark
