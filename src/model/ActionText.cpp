#include "model/ActionText.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "model/Text.h"
#include "model/Actions.h"
#include "model/KeyUsages.h"

namespace lark {

namespace {

constexpr std::uint8_t kKeyboardType = static_cast<std::uint8_t>(ActionKind::KeyboardKey);

// Folded caption -> the action it names, for every action that needs no key: built once from the
// window's own captions.
const std::map<std::string, ButtonAction>& plainCaptions()
{
    static const std::map<std::string, ButtonAction> table = [] {
        std::map<std::string, ButtonAction> captions;
        for (const NamedAction& named : namedActions())
            captions.emplace(foldName(named.caption), named.action);
        return captions;
    }();
    return table;
}

std::string hex2(std::uint32_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value));
    return text;
}

std::string rawText(const ButtonAction& action)
{
    char text[32];
    std::snprintf(text, sizeof text, "raw:%02x,%02x,%04x,%04x", action.type, action.code, action.param1,
                  action.param2);
    return text;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

ActionParse parseRaw(std::string_view body, const std::string& original)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = body.find(',', start);
        parts.push_back(
            trim(body.substr(start, comma == std::string_view::npos ? body.npos : comma - start)));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    const ActionParseError bad{"'" + original +
                               "' is not raw:TT,CC,PPPP,PPPP (hexadecimal type, code, two parameters)"};
    if (parts.size() != 4)
        return bad;
    const auto type = parseHex(parts[0], 0xFF);
    const auto code = parseHex(parts[1], 0xFF);
    const auto param1 = parseHex(parts[2], 0xFFFF);
    const auto param2 = parseHex(parts[3], 0xFFFF);
    if (!type || !code || !param1 || !param2)
        return bad;
    return ButtonAction{static_cast<std::uint8_t>(*type), static_cast<std::uint8_t>(*code),
                        static_cast<std::uint16_t>(*param1), static_cast<std::uint16_t>(*param2)};
}

// "cpi: 800" and "x: 800, y: 1600", the fixed CPI captions.
std::optional<ActionParse> parseFixedCpiCaption(const std::string& folded)
{
    std::string error;
    if (startsWith(folded, "cpi:")) {
        const std::optional<std::uint16_t> both = parseCpi(folded.substr(4), error);
        if (!both)
            return ActionParse{ActionParseError{error}};
        return encodeFixedCpiAction(*both, *both);
    }
    const std::size_t comma = folded.find(',');
    if (!startsWith(folded, "x:") || comma == std::string::npos)
        return std::nullopt;
    const std::string yPart = trim(std::string_view(folded).substr(comma + 1));
    if (!startsWith(yPart, "y:"))
        return std::nullopt;
    const std::optional<std::uint16_t> x = parseCpi(folded.substr(2, comma - 2), error);
    const std::optional<std::uint16_t> y = x ? parseCpi(yPart.substr(2), error) : std::nullopt;
    if (!x || !y)
        return ActionParse{ActionParseError{error}};
    return encodeFixedCpiAction(*x, *y);
}

std::uint8_t modifierBitOf(std::string_view name)
{
    if (name == "ctrl" || name == "control")
        return CtrlBit;
    if (name == "shift")
        return ShiftBit;
    if (name == "alt")
        return AltBit;
    if (name == "win" || name == "super" || name == "meta" || name == "gui")
        return WinBit;
    return 0;
}

// Modifier names joined by '+', then a key name or "Key 0xNN".
ActionParse parseKey(const std::string& folded, const std::string& original)
{
    std::uint8_t modifiers = 0;
    std::string_view rest = folded;
    while (true) {
        const std::size_t plus = rest.find('+');
        if (plus == std::string_view::npos || plus + 1 >= rest.size())
            break;
        const std::uint8_t bit = modifierBitOf(trim(rest.substr(0, plus)));
        if (!bit)
            break;
        modifiers |= bit;
        rest.remove_prefix(plus + 1);
    }
    std::string key = foldName(rest);
    if (startsWith(key, "key:"))
        key = foldName(std::string_view(key).substr(4));
    if (startsWith(key, "key ")) {
        const std::optional<std::uint32_t> usage = parseHex(trim(key.substr(4)), 0xFFFF);
        if (!usage || *usage == 0)
            return ActionParseError{"'" + original + "': a key by usage is Key 0x04 .. Key 0xFFFF"};
        return keyboardAction(static_cast<std::uint16_t>(*usage), modifiers);
    }
    const std::optional<std::uint16_t> usage = usageOfName(key);
    if (!usage)
        return ActionParseError{"'" + original +
                                "' is no action or key (see larkctl set --help for the action names)"};
    return keyboardAction(*usage, modifiers);
}

// The fallback for a key whose caption is missing or names another key: every modifier, then the
// key's usage.
std::string keyUsageText(const ButtonAction& action)
{
    return modifierPrefix(action.code) + "Key " + hex2(action.param1);
}

bool readsBackAs(const std::string& text, const ButtonAction& action)
{
    const ActionParse parsed = parseAction(text);
    const ButtonAction* back = std::get_if<ButtonAction>(&parsed);
    return back && *back == action;
}

}  // namespace

ActionParse parseAction(std::string_view text)
{
    const std::string original = trim(text);
    const std::string folded = foldName(original);
    if (folded.empty())
        return ActionParseError{
            "an empty action (write a caption such as \"LEFT CLICK\" or a key such as Ctrl+A)"};
    if (startsWith(folded, "raw:"))
        return parseRaw(std::string_view(folded).substr(4), original);
    if (startsWith(folded, "fixed-cpi:")) {
        std::string error;
        const std::optional<CpiPair> pair = parseCpiPair(std::string_view(folded).substr(10), error);
        if (!pair)
            return ActionParseError{error};
        return encodeFixedCpiAction(pair->x, pair->y);
    }
    // A key is written key:NAME where its name is also an action's ("key:Back" is Backspace).
    if (startsWith(folded, "key:"))
        return parseKey(foldName(std::string_view(folded).substr(4)), original);
    // The action wins over a key of the same name, whatever the case.
    if (const auto found = plainCaptions().find(folded); found != plainCaptions().end())
        return found->second;
    if (std::optional<ActionParse> cpi = parseFixedCpiCaption(folded))
        return *cpi;
    return parseKey(folded, original);
}

std::string actionText(const ButtonAction& action)
{
    if (const std::optional<std::string> caption = actionCaption(action)) {
        const std::string shown = trim(*caption);
        if (readsBackAs(shown, action))
            return shown;
        if (action.type == kKeyboardType && readsBackAs("key:" + shown, action))
            return "key:" + shown;
    }
    if (action.type == kKeyboardType && action.param2 == 0 && readsBackAs(keyUsageText(action), action))
        return keyUsageText(action);
    return rawText(action);
}

}  // namespace lark
