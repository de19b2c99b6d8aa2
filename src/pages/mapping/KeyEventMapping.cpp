#include "pages/mapping/KeyEventMapping.h"

#include <QKeyEvent>

#include <array>

namespace lark {

namespace {

// The native scan code is the X11 / Wayland key code: the Linux input event code plus 8. Linux
// names keys by their position on the board, as HID usages do.
constexpr quint32 kScanCodeOffset = 8;

struct ScanUsage {
    quint32 scanCode;
    std::uint16_t usage;
};

// Positions of a full-size keyboard, as Linux input event codes, with their usages.
constexpr auto kPositions = std::to_array<ScanUsage>({
    {1, 0x29},   {2, 0x1E},   {3, 0x1F},   {4, 0x20},   {5, 0x21},   {6, 0x22},   {7, 0x23},   {8, 0x24},
    {9, 0x25},   {10, 0x26},  {11, 0x27},  {12, 0x2D},  {13, 0x2E},  {14, 0x2A},  {15, 0x2B},  {16, 0x14},
    {17, 0x1A},  {18, 0x08},  {19, 0x15},  {20, 0x17},  {21, 0x1C},  {22, 0x18},  {23, 0x0C},  {24, 0x12},
    {25, 0x13},  {26, 0x2F},  {27, 0x30},  {28, 0x28},  {29, 0xE0},  {30, 0x04},  {31, 0x16},  {32, 0x07},
    {33, 0x09},  {34, 0x0A},  {35, 0x0B},  {36, 0x0D},  {37, 0x0E},  {38, 0x0F},  {39, 0x33},  {40, 0x34},
    {41, 0x35},  {42, 0xE1},  {43, 0x31},  {44, 0x1D},  {45, 0x1B},  {46, 0x06},  {47, 0x19},  {48, 0x05},
    {49, 0x11},  {50, 0x10},  {51, 0x36},  {52, 0x37},  {53, 0x38},  {54, 0xE5},  {55, 0x55},  {56, 0xE2},
    {57, 0x2C},  {58, 0x39},  {59, 0x3A},  {60, 0x3B},  {61, 0x3C},  {62, 0x3D},  {63, 0x3E},  {64, 0x3F},
    {65, 0x40},  {66, 0x41},  {67, 0x42},  {68, 0x43},  {69, 0x53},  {70, 0x47},  {71, 0x5F},  {72, 0x60},
    {73, 0x61},  {74, 0x56},  {75, 0x5C},  {76, 0x5D},  {77, 0x5E},  {78, 0x57},  {79, 0x59},  {80, 0x5A},
    {81, 0x5B},  {82, 0x62},  {83, 0x63},  {85, 0x94},  {86, 0x64},  {87, 0x44},  {88, 0x45},  {89, 0x87},
    {90, 0x92},  {91, 0x93},  {92, 0x8A},  {93, 0x88},  {94, 0x8B},  {95, 0x8C},  {96, 0x58},  {97, 0xE4},
    {98, 0x54},  {99, 0x46},  {100, 0xE6}, {102, 0x4A}, {103, 0x52}, {104, 0x4B}, {105, 0x50}, {106, 0x4F},
    {107, 0x4D}, {108, 0x51}, {109, 0x4E}, {110, 0x49}, {111, 0x4C}, {113, 0x7F}, {114, 0x81}, {115, 0x80},
    {116, 0x66}, {117, 0x67}, {119, 0x48}, {121, 0x85}, {122, 0x90}, {123, 0x91}, {124, 0x89}, {125, 0xE3},
    {126, 0xE7}, {127, 0x65}, {128, 0x78}, {129, 0x79}, {130, 0x76}, {131, 0x7A}, {132, 0x77}, {133, 0x7C},
    {134, 0x74}, {135, 0x7D}, {136, 0x7E}, {137, 0x7B}, {138, 0x75}, {183, 0x68}, {184, 0x69}, {185, 0x6A},
    {186, 0x6B}, {187, 0x6C}, {188, 0x6D}, {189, 0x6E}, {190, 0x6F}, {191, 0x70}, {192, 0x71}, {193, 0x72},
    {194, 0x73},
});

std::uint16_t usageAtPosition(quint32 nativeScanCode)
{
    if (nativeScanCode < kScanCodeOffset)
        return 0;
    for (const ScanUsage& position : kPositions) {
        if (position.scanCode + kScanCodeOffset == nativeScanCode)
            return position.usage;
    }
    return 0;
}

struct KeyUsage {
    int qtKey;
    std::uint16_t usage;
};

// Keys of the main block and the function and editing keys. Punctuation is listed under both its
// unshifted and its shifted symbol of the US layout: the mouse sends the key, not the character.
constexpr auto kKeys = std::to_array<KeyUsage>({
    {Qt::Key_Return, 0x28},
    {Qt::Key_Enter, 0x58},  // Qt's name for the keypad's Enter
    {Qt::Key_Escape, 0x29},
    {Qt::Key_Backspace, 0x2A},
    {Qt::Key_Tab, 0x2B},
    {Qt::Key_Backtab, 0x2B},
    {Qt::Key_Space, 0x2C},
    {Qt::Key_Exclam, 0x1E},
    {Qt::Key_At, 0x1F},
    {Qt::Key_NumberSign, 0x20},
    {Qt::Key_Dollar, 0x21},
    {Qt::Key_Percent, 0x22},
    {Qt::Key_AsciiCircum, 0x23},
    {Qt::Key_Ampersand, 0x24},
    {Qt::Key_Asterisk, 0x25},
    {Qt::Key_ParenLeft, 0x26},
    {Qt::Key_ParenRight, 0x27},
    {Qt::Key_Minus, 0x2D},
    {Qt::Key_Underscore, 0x2D},
    {Qt::Key_Equal, 0x2E},
    {Qt::Key_Plus, 0x2E},
    {Qt::Key_BracketLeft, 0x2F},
    {Qt::Key_BraceLeft, 0x2F},
    {Qt::Key_BracketRight, 0x30},
    {Qt::Key_BraceRight, 0x30},
    {Qt::Key_Backslash, 0x31},
    {Qt::Key_Bar, 0x31},
    {Qt::Key_Semicolon, 0x33},
    {Qt::Key_Colon, 0x33},
    {Qt::Key_Apostrophe, 0x34},
    {Qt::Key_QuoteDbl, 0x34},
    {Qt::Key_QuoteLeft, 0x35},
    {Qt::Key_AsciiTilde, 0x35},
    {Qt::Key_Comma, 0x36},
    {Qt::Key_Less, 0x36},
    {Qt::Key_Period, 0x37},
    {Qt::Key_Greater, 0x37},
    {Qt::Key_Slash, 0x38},
    {Qt::Key_Question, 0x38},
    {Qt::Key_CapsLock, 0x39},
    {Qt::Key_Print, 0x46},
    {Qt::Key_SysReq, 0x46},  // Alt+Print Screen
    {Qt::Key_ScrollLock, 0x47},
    {Qt::Key_Pause, 0x48},
    {Qt::Key_Cancel, 0x48},  // Ctrl+Break, on the Pause key
    {Qt::Key_Insert, 0x49},
    {Qt::Key_Home, 0x4A},
    {Qt::Key_PageUp, 0x4B},
    {Qt::Key_Delete, 0x4C},
    {Qt::Key_End, 0x4D},
    {Qt::Key_PageDown, 0x4E},
    {Qt::Key_Right, 0x4F},
    {Qt::Key_Left, 0x50},
    {Qt::Key_Down, 0x51},
    {Qt::Key_Up, 0x52},
    {Qt::Key_NumLock, 0x53},
    // Only keypad 5 without Num Lock reports Clear on a PC keyboard.
    {Qt::Key_Clear, 0x5D},
    {Qt::Key_Menu, 0x65},
    {Qt::Key_PowerOff, 0x66},
    {Qt::Key_Execute, 0x74},
    {Qt::Key_Help, 0x75},
    {Qt::Key_Select, 0x77},
    {Qt::Key_Stop, 0x78},
    {Qt::Key_Redo, 0x79},  // the Again key
    {Qt::Key_Undo, 0x7A},
    {Qt::Key_Cut, 0x7B},
    {Qt::Key_Copy, 0x7C},
    {Qt::Key_Paste, 0x7D},
    {Qt::Key_Find, 0x7E},
    {Qt::Key_VolumeMute, 0x7F},
    {Qt::Key_VolumeUp, 0x80},
    {Qt::Key_VolumeDown, 0x81},
    {Qt::Key_yen, 0x89},
    {Qt::Key_Hiragana_Katakana, 0x88},
    {Qt::Key_Henkan, 0x8A},
    {Qt::Key_Muhenkan, 0x8B},
    {Qt::Key_Hangul, 0x90},
    {Qt::Key_Hangul_Hanja, 0x91},
    {Qt::Key_Katakana, 0x92},
    {Qt::Key_Hiragana, 0x93},
    {Qt::Key_Zenkaku_Hankaku, 0x94},
    {Qt::Key_Zenkaku, 0x94},
    {Qt::Key_Hankaku, 0x94},
    {Qt::Key_Super_L, 0xE3},
    {Qt::Key_Super_R, 0xE7},
    {Qt::Key_AltGr, 0xE6},
});

// Keys that report Qt::KeypadModifier. Without Num Lock the keypad reports the editing keys; the
// mouse sends the physical key and the host applies its own Num Lock, so those map by position
// too: keypad 7 is keypad 7 (0x5F) whether Qt said 7 or Home, keypad 5 is 0x5D, never "I".
constexpr auto kKeypadKeys = std::to_array<KeyUsage>({
    {Qt::Key_Slash, 0x54}, {Qt::Key_Asterisk, 0x55}, {Qt::Key_Minus, 0x56},  {Qt::Key_Plus, 0x57},
    {Qt::Key_Enter, 0x58}, {Qt::Key_1, 0x59},        {Qt::Key_2, 0x5A},      {Qt::Key_3, 0x5B},
    {Qt::Key_4, 0x5C},     {Qt::Key_5, 0x5D},        {Qt::Key_6, 0x5E},      {Qt::Key_7, 0x5F},
    {Qt::Key_8, 0x60},     {Qt::Key_9, 0x61},        {Qt::Key_0, 0x62},      {Qt::Key_Period, 0x63},
    {Qt::Key_Comma, 0x63},  // the decimal key of layouts with a decimal comma
    {Qt::Key_Equal, 0x67}, {Qt::Key_End, 0x59},      {Qt::Key_Down, 0x5A},   {Qt::Key_PageDown, 0x5B},
    {Qt::Key_Left, 0x5C},  {Qt::Key_Clear, 0x5D},    {Qt::Key_Right, 0x5E},  {Qt::Key_Home, 0x5F},
    {Qt::Key_Up, 0x60},    {Qt::Key_PageUp, 0x61},   {Qt::Key_Insert, 0x62}, {Qt::Key_Delete, 0x63},
});

struct OtherPosition {
    int qtKey;
    bool keypad;
    quint32 scanCode;  // native scan code
    std::uint16_t usage;
};

// Symbols that other layouts put on other keys: where the scan code names one of these keys, it
// is that key, not the US key of the symbol. A scan code outside this list changes nothing, so a
// platform with other scan codes gets the US keys.
constexpr auto kOtherPositions = std::to_array<OtherPosition>({
    {Qt::Key_Less, false, 94, 0x64},  // the key left of Z on ISO boards
    {Qt::Key_Greater, false, 94, 0x64},
    {Qt::Key_Backslash, false, 94, 0x64},
    {Qt::Key_Bar, false, 94, 0x64},
    {Qt::Key_NumberSign, false, 51, 0x32},  // the key left of Enter on ISO boards
    {Qt::Key_AsciiTilde, false, 51, 0x32},
    {Qt::Key_Backslash, false, 97, 0x87},  // Japanese Ro
    {Qt::Key_Underscore, false, 97, 0x87},
    {Qt::Key_Backslash, false, 132, 0x89},  // Japanese Yen
    {Qt::Key_Bar, false, 132, 0x89},
    {Qt::Key_Zenkaku_Hankaku, false, 49, 0x35},  // Japanese boards put it where ` is
    {Qt::Key_Zenkaku, false, 49, 0x35},
    {Qt::Key_Hankaku, false, 49, 0x35},
    {Qt::Key_Cancel, false, 136, 0x78},  // the Stop key
    {Qt::Key_Menu, false, 147, 0x76},    // a Menu key apart from Application
    {Qt::Key_Comma, true, 129, 0x85},    // keypad comma
    {Qt::Key_Comma, true, 103, 0x8C},    // Japanese keypad comma
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

// Native scan codes of the modifier keys.
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

// The keysym tells first (it follows remapped keys), then the scan code; when neither does, the
// left key is taken.
Side modifierSide(quint32 nativeScanCode, quint32 nativeKeysym)
{
    const Side bySym = sideIn(kKeysymSides, nativeKeysym);
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
    {Qt::Key_Shift, 0xE1, 0xE5},
    {Qt::Key_Control, 0xE0, 0xE4},
    {Qt::Key_Alt, 0xE2, 0xE6},
    {Qt::Key_Meta, 0xE3, 0xE7},
});

template <std::size_t N> std::uint16_t usageIn(const std::array<KeyUsage, N>& table, int qtKey)
{
    for (const KeyUsage& entry : table) {
        if (entry.qtKey == qtKey)
            return entry.usage;
    }
    return 0;
}

std::uint16_t usageByQtKey(int qtKey, bool keypad)
{
    if (keypad)
        return usageIn(kKeypadKeys, qtKey);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<std::uint16_t>(0x04 + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_1 && qtKey <= Qt::Key_9)
        return static_cast<std::uint16_t>(0x1E + (qtKey - Qt::Key_1));
    if (qtKey == Qt::Key_0)
        return 0x27;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return static_cast<std::uint16_t>(0x3A + (qtKey - Qt::Key_F1));
    if (qtKey >= Qt::Key_F13 && qtKey <= Qt::Key_F24)
        return static_cast<std::uint16_t>(0x68 + (qtKey - Qt::Key_F13));
    return usageIn(kKeys, qtKey);
}

}  // namespace

std::uint16_t keyUsageOf(int qtKey, bool keypad, quint32 nativeScanCode, quint32 nativeKeysym)
{
    for (const SidedModifier& modifier : kSidedModifiers) {
        if (modifier.qtKey == qtKey)
            return modifierSide(nativeScanCode, nativeKeysym) == Side::Right ? modifier.right : modifier.left;
    }
    for (const OtherPosition& other : kOtherPositions) {
        if (other.qtKey == qtKey && other.keypad == keypad && other.scanCode == nativeScanCode)
            return other.usage;
    }
    if (const std::uint16_t usage = usageByQtKey(qtKey, keypad); usage != 0)
        return usage;
    // A key Qt has no name for (a dead key, a letter of another alphabet, a keysym of a second
    // level) is still a key at a known place on the board.
    return usageAtPosition(nativeScanCode);
}

std::uint16_t keyUsageOf(const QKeyEvent& event)
{
    return keyUsageOf(event.key(), event.modifiers().testFlag(Qt::KeypadModifier), event.nativeScanCode(),
                      event.nativeVirtualKey());
}

}  // namespace lark
