#include "model/KeyNames.h"

#include <array>
#include <utility>

namespace lark {

namespace {

struct NamedKey {
    std::uint16_t virtualKey;
    const char* name;
};

// Keys whose names are not part of a run (letters, digits, function keys are computed).
constexpr auto kNamedKeys = std::to_array<NamedKey>({
    {0x01, "Left Button"},
    {0x02, "Right Button"},
    {0x04, "Middle Button"},
    {0x08, "Back"},
    {0x09, "Tab"},
    {0x0C, "Clear"},
    {0x0D, "Enter"},
    {0x13, "Pause"},
    {0x14, "Caps Lock"},
    {0x1B, "Esc"},
    {0x20, "Space"},
    {0x21, "Page Up"},
    {0x22, "Page Down"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left Arrow"},
    {0x26, "Up Arrow "},
    {0x27, "Right Arrow"},
    {0x28, "Down Arrow"},
    {0x29, "Select"},
    {0x2A, "Print"},
    {0x2B, "Execute"},
    {0x2C, "Print Screen"},
    {0x2D, "Ins"},
    {0x2E, "Del"},
    {0x2F, "Help"},
    {0x5B, "Left Window"},
    {0x5C, "Right Window"},
    {0x5D, "Application"},
    {0x6A, "*"},
    {0x6B, "+"},
    {0x6D, "-"},
    {0x6E, "."},
    {0x6F, "/"},
    {0x90, "Num Lock"},
    {0x91, "Scroll Lock"},
    {0xA0, "Left Shift"},
    {0xA1, "Right Shift"},
    {0xA2, "Left Control"},
    {0xA3, "Right Control"},
    {0xA4, "Left Alt"},
    {0xA5, "Right Alt"},
    {0xA6, "Browser Back"},
    {0xA7, "Browser Forward"},
    {0xA8, "Browser Refresh"},
    {0xAE, "Volume Down"},
    {0xAF, "Volume Up "},
    {0xBA, ";"},
    {0xBB, "+"},
    {0xBC, ","},
    {0xBD, "-"},
    {0xBE, "."},
    {0xBF, "/"},
    {0xC0, "`"},
    {0xDB, "["},
    {0xDC, "\\"},
    {0xDD, "]"},
    {0xDE, "'"},
    {0xFF, "Fn"},
});

// A run of virtual-key codes that maps onto a run of usages by a fixed offset.
struct CodeRange {
    std::uint16_t firstKey;
    std::uint16_t lastKey;
    std::uint16_t firstUsage;
};

constexpr auto kRanges = std::to_array<CodeRange>({
    {0x41, 0x5A, 4},    // A..Z
    {0x31, 0x39, 30},   // 1..9
    {0x30, 0x30, 39},   // 0
    {0x70, 0x7B, 58},   // F1..F12
    {0x7C, 0x87, 104},  // F13..F24
    {0x61, 0x69, 89},   // keypad 1..9
    {0x60, 0x60, 98},   // keypad 0
});

struct CodePair {
    std::uint16_t virtualKey;
    std::uint16_t usage;
};

static_assert(kNamedKeys.size() == 59);

constexpr auto kPairs = std::to_array<CodePair>({
    {0x08, 42},
    {0x09, 43},
    {0x0D, 40},
    {0x13, 72},
    {0x14, 57},
    {0x1B, 41},
    {0x20, 44},
    {0x21, 75},
    {0x22, 78},
    {0x23, 77},
    {0x24, 74},
    {0x25, 80},
    {0x26, 82},
    {0x27, 79},
    {0x28, 81},
    {0x2C, 70},
    {0x2D, 73},
    {0x2E, 76},
    {0x5B, 227},
    {0x5C, 231},
    {0x5D, 101},
    {0x6A, 85},
    {0x6B, 87},
    {0x6D, 86},
    {0x6E, 99},
    {0x6F, 84},
    {0x90, 83},
    {0x91, 71},
    {0xA0, 225},
    {0xA1, 229},
    {0xA2, 224},
    {0xA3, 228},
    {0xA4, 226},
    {0xA5, 230},
    {0xAE, 129},
    {0xAF, 128},
    {0xBA, 51},
    {0xBB, 46},
    {0xBC, 54},
    {0xBD, 45},
    {0xBE, 55},
    {0xBF, 56},
    {0xC0, 53},
    {0xDB, 47},
    {0xDC, 49},
    {0xDD, 48},
    {0xDE, 52},
    // Keys whose usages lie beyond the classic PC keyboard.
    {0x2B, 116},
    {0x2F, 117},
    {0x29, 119},
    {0xAD, 127},
});

static_assert(kPairs.size() == 51);

// Ctrl+Break produces this code; it stands for the Pause key but is never produced back.
constexpr CodePair kCtrlBreak{0x03, 72};

}  // namespace

std::string keyName(std::uint16_t virtualKey)
{
    if (virtualKey >= 0x30 && virtualKey <= 0x39)
        return std::string(1, static_cast<char>('0' + (virtualKey - 0x30)));
    if (virtualKey >= 0x60 && virtualKey <= 0x69)
        return std::string(1, static_cast<char>('0' + (virtualKey - 0x60)));
    if (virtualKey >= 0x41 && virtualKey <= 0x5A)
        return std::string(1, static_cast<char>('A' + (virtualKey - 0x41)));
    if (virtualKey >= 0x70 && virtualKey <= 0x87) {
        // Appending rather than "F" + std::to_string(): GCC 12 at -O3 sees a false overlap in the
        // insert that operator+ does (-Wrestrict).
        std::string name = "F";
        name += std::to_string(virtualKey - 0x70 + 1);
        return name;
    }
    for (const NamedKey& key : kNamedKeys) {
        if (key.virtualKey == virtualKey)
            return key.name;
    }
    return {};
}

std::uint16_t virtualKeyToUsage(std::uint16_t virtualKey)
{
    for (const CodeRange& range : kRanges) {
        if (virtualKey >= range.firstKey && virtualKey <= range.lastKey)
            return static_cast<std::uint16_t>(range.firstUsage + (virtualKey - range.firstKey));
    }
    for (const CodePair& pair : kPairs) {
        if (pair.virtualKey == virtualKey)
            return pair.usage;
    }
    if (virtualKey == kCtrlBreak.virtualKey)
        return kCtrlBreak.usage;
    return 0;
}

std::uint16_t usageToVirtualKey(std::uint16_t usage)
{
    for (const CodeRange& range : kRanges) {
        const int lastUsage = range.firstUsage + (range.lastKey - range.firstKey);
        if (usage >= range.firstUsage && usage <= lastUsage)
            return static_cast<std::uint16_t>(range.firstKey + (usage - range.firstUsage));
    }
    for (const CodePair& pair : kPairs) {
        if (pair.usage == usage)
            return pair.virtualKey;
    }
    return 0;
}

}  // namespace lark
