#include "model/KeyUsages.h"

#include <array>
#include <cstdio>
#include <map>
#include <string>

#include "model/KeyNames.h"
#include "model/Text.h"
#include "model/Words.h"

namespace lark {

namespace {

struct UsageName {
    std::uint16_t usage;
    const char* name;
};

// Keys without a virtual-key code of their own in the key name table. The keypad keys are
// named like their main-block twins, as the table does for the keypad digits.
constexpr auto kOwnNames = std::to_array<UsageName>({
    {0x32, LARK_WORDS("Keys", "Non-US #")},
    {0x58, LARK_WORDS("Keys", "Enter")},
    {0x64, LARK_WORDS("Keys", "Non-US \\")},
    {0x66, LARK_WORDS("Keys", "Power")},
    {0x67, "="},
    {0x76, LARK_WORDS("Keys", "Menu")},
    {0x78, LARK_WORDS("Keys", "Stop")},
    {0x79, LARK_WORDS("Keys", "Again")},
    {0x7A, LARK_WORDS("Keys", "Undo")},
    {0x7B, LARK_WORDS("Keys", "Cut")},
    {0x7C, LARK_WORDS("Keys", "Copy")},
    {0x7D, LARK_WORDS("Keys", "Paste")},
    {0x7E, LARK_WORDS("Keys", "Find")},
    {0x7F, LARK_WORDS("Keys", "Mute")},
    {0x85, ","},
    {0x87, LARK_WORDS("Keys", "Ro")},
    {0x88, LARK_WORDS("Keys", "Katakana/Hiragana")},
    {0x89, LARK_WORDS("Keys", "Yen")},
    {0x8A, LARK_WORDS("Keys", "Henkan")},
    {0x8B, LARK_WORDS("Keys", "Muhenkan")},
    {0x8C, ","},
    {0x90, LARK_WORDS("Keys", "Hangul")},
    {0x91, LARK_WORDS("Keys", "Hanja")},
    {0x92, LARK_WORDS("Keys", "Katakana")},
    {0x93, LARK_WORDS("Keys", "Hiragana")},
    {0x94, LARK_WORDS("Keys", "Zenkaku/Hankaku")},
});

// Other spellings of key names, as other systems print them.
constexpr auto kAliases = std::to_array<UsageName>({
    {0x28, "Return"},        {0x29, "Escape"},        {0x2A, "Backspace"},      {0x49, "Insert"},
    {0x4C, "Delete"},        {0x4F, "Right"},         {0x50, "Left"},           {0x51, "Down"},
    {0x52, "Up"},            {0x58, "Keypad Enter"},  {0xE0, "Left Ctrl"},      {0xE3, "Left Win"},
    {0xE3, "Left Super"},    {0xE3, "Super"},         {0xE4, "Right Ctrl"},     {0xE7, "Right Win"},
    {0xE7, "Right Super"},
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

std::optional<std::uint16_t> usageOfName(std::string_view name)
{
    static const std::map<std::string, std::uint16_t> table = [] {
        std::map<std::string, std::uint16_t> names;
        // Ascending usages: a shared name keeps the first, the main block's key.
        for (std::uint16_t usage = 1; usage <= 0xFF; ++usage)
            if (const std::string own = usageName(usage); !own.empty())
                names.emplace(foldName(own), usage);
        for (const UsageName& alias : kAliases)
            names.emplace(foldName(alias.name), alias.usage);
        return names;
    }();
    const auto found = table.find(foldName(name));
    if (found == table.end())
        return std::nullopt;
    return found->second;
}

std::uint8_t usageModifierBit(std::uint16_t usage)
{
    if (usage < kFirstModifier || usage > kLastModifier)
        return 0;
    return static_cast<std::uint8_t>(1u << ((usage - kFirstModifier) % 4));
}

}  // namespace lark
