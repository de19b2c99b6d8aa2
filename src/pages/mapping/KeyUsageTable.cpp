#include "pages/mapping/KeyUsageTable.h"

#include <array>
#include <cstdio>

#include "pages/mapping/KeyNameTable.h"

namespace lark {

namespace {

struct UsageName {
    std::uint16_t usage;
    const char* name;
};

// Keys without a virtual-key code of their own in the key name table. The keypad keys are
// named like their main-block twins, as the table does for the keypad digits.
constexpr auto kOwnNames = std::to_array<UsageName>({
    {0x32, "Non-US #"},
    {0x58, "Enter"},
    {0x64, "Non-US \\"},
    {0x66, "Power"},
    {0x67, "="},
    {0x76, "Menu"},
    {0x78, "Stop"},
    {0x79, "Again"},
    {0x7A, "Undo"},
    {0x7B, "Cut"},
    {0x7C, "Copy"},
    {0x7D, "Paste"},
    {0x7E, "Find"},
    {0x7F, "Mute"},
    {0x85, ","},
    {0x87, "Ro"},
    {0x88, "Katakana/Hiragana"},
    {0x89, "Yen"},
    {0x8A, "Henkan"},
    {0x8B, "Muhenkan"},
    {0x8C, ","},
    {0x90, "Hangul"},
    {0x91, "Hanja"},
    {0x92, "Katakana"},
    {0x93, "Hiragana"},
    {0x94, "Zenkaku/Hankaku"},
});

constexpr std::uint16_t kFirstModifier = 0xE0;  // left Ctrl; then Shift, Alt, GUI, and the right four
constexpr std::uint16_t kLastModifier = 0xE7;

}  // namespace

std::string usageName(std::uint16_t usage)
{
    if (const std::uint16_t virtualKey = usageToVirtualKey(usage); virtualKey != 0) {
        std::string name = keyName(virtualKey);
        if (!name.empty())
            return name;
    }
    for (const UsageName& entry : kOwnNames) {
        if (entry.usage == usage)
            return entry.name;
    }
    return {};
}

std::string usageCaption(std::uint16_t usage)
{
    std::string name = usageName(usage);
    if (!name.empty())
        return name;
    char number[16];
    std::snprintf(number, sizeof number, "Key 0x%02X", static_cast<unsigned>(usage));
    return number;
}

std::uint8_t usageModifierBit(std::uint16_t usage)
{
    if (usage < kFirstModifier || usage > kLastModifier)
        return 0;
    return static_cast<std::uint8_t>(1u << ((usage - kFirstModifier) % 4));
}

}  // namespace lark
