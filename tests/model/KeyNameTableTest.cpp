#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/KeyNames.h"
#include "model/KeyUsages.h"

using namespace lark;

namespace {

// Every named key, written out independently of the table under test.
std::map<std::uint16_t, std::string> expectedNames()
{
    std::map<std::uint16_t, std::string> names = {
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
        {0xC0, "\x60"},
        {0xDB, "["},
        {0xDC, "\x5C"},
        {0xDD, "]"},
        {0xDE, "'"},
        {0xFF, "Fn"},
    };
    const char* digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (int i = 0; i < 10; ++i) {
        names[static_cast<std::uint16_t>(0x30 + i)] = digits[i];
        names[static_cast<std::uint16_t>(0x60 + i)] = digits[i];
    }
    for (char c = 'A'; c <= 'Z'; ++c)
        names[static_cast<std::uint16_t>(c)] = std::string(1, c);
    const char* functionKeys[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                  "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                  "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
    for (int i = 0; i < 24; ++i)
        names[static_cast<std::uint16_t>(0x70 + i)] = functionKeys[i];
    return names;
}

}  // namespace

TEST(KeyName, EveryCodeHasExactlyTheListedName)
{
    const auto expected = expectedNames();
    ASSERT_EQ(expected.size(), 129u);
    int named = 0;
    for (int code = 0; code <= 0xFFFF; ++code) {
        const auto vk = static_cast<std::uint16_t>(code);
        const auto it = expected.find(vk);
        const std::string name = keyName(vk);
        if (it == expected.end()) {
            EXPECT_EQ(name, "") << "code 0x" << std::hex << code;
        } else {
            EXPECT_EQ(name, it->second) << "code 0x" << std::hex << code;
            ++named;
        }
    }
    EXPECT_EQ(named, 129);
}

TEST(KeyName, BlanksAndSingleCharacterNamesAreExact)
{
    EXPECT_EQ(keyName(0x26).size(), 9u);
    EXPECT_EQ(keyName(0xAF).size(), 10u);
    EXPECT_EQ(keyName(0xC0), "`");
    EXPECT_EQ(keyName(0xDC), "\\");
    EXPECT_EQ(keyName(0x10), "");  // generic Shift: only the sided codes have names
    EXPECT_EQ(keyName(0x88), "");  // one past F24
    EXPECT_EQ(keyName(0x6C), "");  // keypad separator is not named
}

namespace {

struct Conversion {
    std::uint16_t virtualKey;
    std::uint16_t usage;
};

// Both ends of every range, a point inside each, and all single pairs.
const Conversion kTwoWay[] = {
    {0x41, 4},
    {0x4D, 16},
    {0x5A, 29},
    {0x31, 30},
    {0x35, 34},
    {0x39, 38},
    {0x30, 39},
    {0x70, 58},
    {0x75, 63},
    {0x7B, 69},
    {0x61, 89},
    {0x65, 93},
    {0x69, 97},
    {0x60, 98},
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
    // F13..F24 and the keys beyond the classic board (HID 0x68..0x73, Execute, Help, Select, Mute).
    {0x7C, 0x68},
    {0x80, 0x6C},
    {0x87, 0x73},
    {0x2B, 0x74},
    {0x2F, 0x75},
    {0x29, 0x77},
    {0xAD, 0x7F},
};

}  // namespace

TEST(KeyConversion, RangesAndPairsConvertBothWays)
{
    EXPECT_EQ(std::size(kTwoWay), 14u + 47u + 7u);
    for (const Conversion& c : kTwoWay) {
        EXPECT_EQ(virtualKeyToUsage(c.virtualKey), c.usage) << "vk 0x" << std::hex << c.virtualKey;
        EXPECT_EQ(usageToVirtualKey(c.usage), c.virtualKey) << "usage " << c.usage;
    }
}

TEST(KeyConversion, CtrlBreakConvertsOneWayOnly)
{
    EXPECT_EQ(virtualKeyToUsage(0x03), 72);
    EXPECT_EQ(usageToVirtualKey(72), 0x13);
    EXPECT_EQ(usageToVirtualKey(3), 0);
}

TEST(KeyConversion, UnknownValuesHaveNoCounterpart)
{
    // Codes just outside the ranges, and codes with a name but no usage: never passed through,
    // since the number would stand for another key on the other side.
    for (std::uint16_t vk : {0x00, 0x2A, 0x3A, 0x40, 0x5E, 0x5F, 0x6C, 0x88, 0x0C, 0xA6, 0xFF, 0xFFFF})
        EXPECT_EQ(virtualKeyToUsage(vk), 0) << "vk 0x" << std::hex << vk;
    for (std::uint16_t usage : {0, 1, 3, 99 + 1, 0x76, 0x9C, 173, 232, 0xFFFF})
        EXPECT_EQ(usageToVirtualKey(usage), 0) << "usage " << usage;
}

TEST(KeyConversion, KeysThatUsedToPassThroughNowConvertToThemselves)
{
    // F13 is usage 0x68, not the Copy key's 124; Select is 0x77, not Esc's 41.
    EXPECT_EQ(virtualKeyToUsage(0x7C), 0x68);
    EXPECT_EQ(keyName(usageToVirtualKey(virtualKeyToUsage(0x7C))), "F13");
    EXPECT_EQ(virtualKeyToUsage(0x29), 0x77);
    EXPECT_EQ(keyName(usageToVirtualKey(virtualKeyToUsage(0x29))), "Select");
    EXPECT_EQ(usageToVirtualKey(41), 0x1B);
    // Mute converts, though the name table has no name for it.
    EXPECT_EQ(virtualKeyToUsage(0xAD), 0x7F);
    EXPECT_EQ(keyName(usageToVirtualKey(virtualKeyToUsage(0xAD))), "");
}

namespace {

struct UsageCaptionCase {
    std::uint16_t usage;
    const char* caption;
};

const UsageCaptionCase kUsageCaptions[] = {
    {0x04, "A"},
    {0x27, "0"},
    {0x28, "Enter"},
    {0x58, "Enter"},  // keypad Enter
    {0x5F, "7"},
    {0x62, "0"},
    {0x46, "Print Screen"},
    {0x52, "Up Arrow "},
    {0x68, "F13"},
    {0x73, "F24"},
    {0x74, "Execute"},
    {0x75, "Help"},
    {0x77, "Select"},
    {0x7F, "Mute"},
    {0x80, "Volume Up "},
    {0x64, "Non-US \\"},
    {0x67, "="},
    {0x87, "Ro"},
    {0x94, "Zenkaku/Hankaku"},
    {0xE0, "Left Control"},
    {0xE7, "Right Window"},
    // Usages the tool does not know show their number, upper-case, never another key's name.
    {0x00, "Key 0x00"},
    {0x03, "Key 0x03"},
    {0x8D, "Key 0x8D"},
    {0x9C, "Key 0x9C"},
    {0xA5, "Key 0xA5"},
    {0xE8, "Key 0xE8"},
    {0x0100, "Key 0x100"},
    {0xFFFF, "Key 0xFFFF"},
};

}  // namespace

TEST(UsageCaption, NamesOrNumbers)
{
    for (const UsageCaptionCase& c : kUsageCaptions) {
        EXPECT_EQ(usageCaption(c.usage), c.caption) << "usage 0x" << std::hex << c.usage;
        EXPECT_EQ(usageName(c.usage).empty(), std::string(c.caption).rfind("Key 0x", 0) == 0)
            << "usage 0x" << std::hex << c.usage;
    }
}

TEST(UsageCaption, ModifierKeysCarryTheirHidBit)
{
    const std::pair<std::uint16_t, std::uint8_t> bits[] = {{0xE0, 1}, {0xE1, 2}, {0xE2, 4}, {0xE3, 8},
                                                           {0xE4, 1}, {0xE5, 2}, {0xE6, 4}, {0xE7, 8}};
    for (const auto& [usage, bit] : bits)
        EXPECT_EQ(usageModifierBit(usage), bit) << "usage 0x" << std::hex << usage;
    for (std::uint16_t usage : {0x00, 0x04, 0xDF, 0xE8, 0x1E0})
        EXPECT_EQ(usageModifierBit(usage), 0) << "usage 0x" << std::hex << usage;
}
