#include "model/KeyNames.h"

#include <array>
#include <utility>

#include "model/Words.h"

namespace lark {

namespace {

struct NamedKey {
    std::uint16_t virtualKey;
    const char* name;
};

// Keys whose names are not part of a run (letters, digits, function keys are computed).
constexpr auto kNamedKeys = std::to_array<NamedKey>({
    {0x01, LARK_WORDS("Keys", "Left Button")},
    {0x02, LARK_WORDS("Keys", "Right Button")},
    {0x04, LARK_WORDS("Keys", "Middle Button")},
    {0x08, LARK_WORDS("Keys", "Back")},
    {0x09, LARK_WORDS("Keys", "Tab")},
    {0x0C, LARK_WORDS("Keys", "Clear")},
    {0x0D, LARK_WORDS("Keys", "Enter")},
    {0x13, LARK_WORDS("Keys", "Pause")},
    {0x14, LARK_WORDS("Keys", "Caps Lock")},
    {0x1B, LARK_WORDS("Keys", "Esc")},
    {0x20, LARK_WORDS("Keys", "Space")},
    {0x21, LARK_WORDS("Keys", "Page Up")},
    {0x22, LARK_WORDS("Keys", "Page Down")},
    {0x23, LARK_WORDS("Keys", "End")},
    {0x24, LARK_WORDS("Keys", "Home")},
    {0x25, LARK_WORDS("Keys", "Left Arrow")},
    {0x26, LARK_WORDS("Keys", "Up Arrow ")},
    {0x27, LARK_WORDS("Keys", "Right Arrow")},
    {0x28, LARK_WORDS("Keys", "Down Arrow")},
    {0x29, LARK_WORDS("Keys", "Select")},
    {0x2A, LARK_WORDS("Keys", "Print")},
    {0x2B, LARK_WORDS("Keys", "Execute")},
    {0x2C, LARK_WORDS("Keys", "Print Screen")},
    {0x2D, LARK_WORDS("Keys", "Ins")},
    {0x2E, LARK_WORDS("Keys", "Del")},
    {0x2F, LARK_WORDS("Keys", "Help")},
    {0x5B, LARK_WORDS("Keys", "Left Window")},
    {0x5C, LARK_WORDS("Keys", "Right Window")},
    {0x5D, LARK_WORDS("Keys", "Application")},
    {0x6A, "*"},
    {0x6B, "+"},
    {0x6D, "-"},
    {0x6E, "."},
    {0x6F, "/"},
    {0x90, LARK_WORDS("Keys", "Num Lock")},
    {0x91, LARK_WORDS("Keys", "Scroll Lock")},
    {0xA0, LARK_WORDS("Keys", "Left Shift")},
    {0xA1, LARK_WORDS("Keys", "Right Shift")},
    {0xA2, LARK_WORDS("Keys", "Left Control")},
    {0xA3, LARK_WORDS("Keys", "Right Control")},
    {0xA4, LARK_WORDS("Keys", "Left Alt")},
    {0xA5, LARK_WORDS("Keys", "Right Alt")},
    {0xA6, LARK_WORDS("Keys", "Browser Back")},
    {0xA7, LARK_WORDS("Keys", "Browser Forward")},
    {0xA8, LARK_WORDS("Keys", "Browser Refresh")},
    {0xAE, LARK_WORDS("Keys", "Volume Down")},
    {0xAF, LARK_WORDS("Keys", "Volume Up ")},
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
    {0xFF, LARK_WORDS("Keys", "Fn")},
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
