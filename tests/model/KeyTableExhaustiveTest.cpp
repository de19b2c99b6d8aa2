// The key tables and action captions over their whole input spaces: every 16-bit code and
// usage, every action type and code byte. Properties rather than single values, so a wrong
// or duplicated table entry anywhere shows.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "model/Actions.h"
#include "model/KeyNames.h"
#include "model/KeyUsages.h"

using namespace lark;

namespace {

constexpr std::uint32_t kSpace = 0x10000;
// Ctrl+Break's code: converted to the usage of Pause, one way only.
constexpr std::uint16_t kCtrlBreak = 0x03;
constexpr std::uint16_t kPause = 0x13;

bool isValidUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (c >= 0xF0 && c < 0xF8)
            extra = 3;
        else if (c >= 0xE0)
            extra = 2;
        else if (c >= 0xC0)
            extra = 1;
        else if (c >= 0x80)
            return false;
        if (c >= 0xF8 || i + extra >= text.size() + (extra == 0))
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += extra + 1;
    }
    return true;
}

}  // namespace

TEST(KeyTablesExhaustive, VirtualKeyToUsageIsInvertedByUsageToVirtualKeyForEveryTableCode)
{
    std::map<std::uint16_t, std::uint16_t> usageOwner;  // usage -> the code that produced it
    int converted = 0;
    for (std::uint32_t code = 0; code < kSpace; ++code) {
        const auto vk = static_cast<std::uint16_t>(code);
        const std::uint16_t usage = virtualKeyToUsage(vk);
        if (usage == 0)
            continue;  // not in the table
        ++converted;
        ASSERT_LE(vk, 0xFF) << "code " << code;
        ASSERT_LE(usage, 0xFF) << "code " << code;
        const std::uint16_t back = usageToVirtualKey(usage);
        ASSERT_EQ(back, vk == kCtrlBreak ? kPause : vk) << "code " << code << " usage " << usage;
        if (vk != kCtrlBreak) {
            ASSERT_TRUE(usageOwner.emplace(usage, vk).second) << "usage " << usage << " used twice";
        }
    }
    // Seven ranges (70 codes), 51 single pairs and Ctrl+Break.
    EXPECT_EQ(converted, 70 + 51 + 1);
}

TEST(KeyTablesExhaustive, UsageToVirtualKeyIsInvertedByVirtualKeyToUsageForEveryTableUsage)
{
    int converted = 0;
    for (std::uint32_t u = 0; u < kSpace; ++u) {
        const auto usage = static_cast<std::uint16_t>(u);
        const std::uint16_t vk = usageToVirtualKey(usage);
        if (vk == 0)
            continue;
        ++converted;
        ASSERT_EQ(virtualKeyToUsage(vk), usage) << "usage " << u;
        // Mute is the one code without a name; its caption has a name of its own.
        ASSERT_TRUE(!keyName(vk).empty() || vk == 0xAD)
            << "usage " << u << " decodes to a key without a name";
    }
    EXPECT_EQ(converted, 70 + 51);
}

TEST(KeyTablesExhaustive, ExactlyTheTableCodesHaveNamesAndEveryNameIsPrintableText)
{
    int named = 0;
    std::set<std::uint16_t> trailingBlank;
    for (std::uint32_t code = 0; code < kSpace; ++code) {
        const std::string name = keyName(static_cast<std::uint16_t>(code));
        if (name.empty())
            continue;
        ++named;
        ASSERT_LE(code, 0xFFu);
        ASSERT_LE(name.size(), 20u) << "code " << code;
        ASSERT_TRUE(isValidUtf8(name)) << "code " << code;
        for (char c : name)
            ASSERT_GE(static_cast<unsigned char>(c), 0x20) << "code " << code;
        ASSERT_NE(name.front(), ' ') << "code " << code;
        if (name.back() == ' ')
            trailingBlank.insert(static_cast<std::uint16_t>(code));
    }
    EXPECT_EQ(named, 129);
    // "Up Arrow " and "Volume Up " keep their blank; no other name has one.
    EXPECT_EQ(trailingBlank, (std::set<std::uint16_t>{0x26, 0xAF}));
}

TEST(ActionCaptionsExhaustive, EveryTypeAndCodeGivesAMenuTextOrNothing)
{
    std::set<std::string> menuTexts;
    for (const NamedAction& named : namedActions())
        menuTexts.insert(named.caption);

    const std::set<std::uint8_t> captionedWhateverTheCode{static_cast<std::uint8_t>(ActionKind::KeyboardKey),
                                                          static_cast<std::uint8_t>(ActionKind::FixedCpi),
                                                          static_cast<std::uint8_t>(ActionKind::Disabled)};
    std::map<std::uint8_t, int> captionedCodes;  // type -> how many codes give a caption
    for (int type = 0; type < 256; ++type) {
        for (int code = 0; code < 256; ++code) {
            for (std::uint16_t param : {0, 1, 800, 0xFFFF}) {
                const ButtonAction action{static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(code),
                                          param, static_cast<std::uint16_t>(param ^ 0x55)};
                const std::optional<std::string> caption = actionCaption(action);
                if (!caption)
                    continue;
                if (param == 0)
                    ++captionedCodes[static_cast<std::uint8_t>(type)];
                if (type == static_cast<int>(ActionKind::FixedCpi)) {
                    ASSERT_EQ(*caption, fixedCpiCaption(action.param1, action.param2));
                } else if (type != static_cast<int>(ActionKind::KeyboardKey)) {
                    ASSERT_TRUE(menuTexts.count(*caption))
                        << "type " << type << " code " << code << ": " << *caption;
                }
            }
        }
    }
    for (std::uint8_t type : captionedWhateverTheCode)
        EXPECT_EQ(captionedCodes[type], 256) << "type " << int(type);
    // Mouse buttons 5 codes, wheel 2, CPI loop 1, launch 2, media 6; no other type has a caption.
    EXPECT_EQ(captionedCodes[0], 5);
    EXPECT_EQ(captionedCodes[1], 2);
    EXPECT_EQ(captionedCodes[9], 1);
    EXPECT_EQ(captionedCodes[24], 2);
    EXPECT_EQ(captionedCodes[32], 6);
    EXPECT_EQ(captionedCodes.size(), 8u);

    // Every named action reads back as its own text.
    for (const NamedAction& named : namedActions())
        EXPECT_EQ(actionCaption(named.action), std::optional<std::string>(named.caption)) << named.caption;
}

TEST(ActionCaptionsExhaustive, EveryKeyboardUsageAndModifierByteNamesEveryModifierAndTheKey)
{
    // The modifier names in the dialog's box order, written out here.
    struct Modifier {
        std::uint8_t bit;
        const char* prefix;
    };
    const Modifier order[] = {{2, "Shift+"}, {1, "Ctrl+"}, {8, "Win+"}, {4, "Alt+"}};
    // The bit each modifier key carries itself.
    const std::map<std::uint16_t, std::uint8_t> ownBit{{0xE0, 1}, {0xE1, 2}, {0xE2, 4}, {0xE3, 8},
                                                       {0xE4, 1}, {0xE5, 2}, {0xE6, 4}, {0xE7, 8}};
    std::set<std::string> keyCaptions;
    int named = 0;
    auto check = [&](std::uint8_t modifiers, std::uint16_t usage) {
        const ButtonAction action{static_cast<std::uint8_t>(ActionKind::KeyboardKey), modifiers, usage, 0};
        const std::optional<std::string> caption = actionCaption(action);
        ASSERT_TRUE(caption.has_value());
        std::string prefix;
        const auto own = ownBit.find(usage);
        for (const Modifier& m : order) {
            if ((modifiers & m.bit) && (own == ownBit.end() || own->second != m.bit))
                prefix += m.prefix;
        }
        const std::string name = usageName(usage);
        const std::string key = name.empty() ? usageCaption(usage) : name;
        ASSERT_EQ(*caption, prefix + key) << "usage " << usage << " modifiers " << int(modifiers);
        if (name.empty()) {
            char number[16];
            std::snprintf(number, sizeof number, "Key 0x%02X", static_cast<unsigned>(usage));
            ASSERT_EQ(key, number);
        } else if (modifiers == 0) {
            ++named;
            keyCaptions.insert(key);
        }
    };
    // Every usage with every combination of the four modifier bits ...
    for (std::uint32_t usage = 0; usage < kSpace; ++usage)
        for (std::uint8_t modifiers = 0; modifiers < 16; ++modifiers)
            check(modifiers, static_cast<std::uint16_t>(usage));
    // ... and every modifier byte with every usage of the first 512.
    for (int modifiers = 16; modifiers < 256; ++modifiers)
        for (std::uint16_t usage = 0; usage < 512; ++usage)
            check(static_cast<std::uint8_t>(modifiers), usage);
    // Named usages: the 121 of the conversion table (Mute among them) and 25 more of their own.
    EXPECT_EQ(named, 121 + 25);
    // A number never looks like a key name.
    for (const std::string& name : keyCaptions)
        EXPECT_NE(name.rfind("Key 0x", 0), 0u) << name;
}
