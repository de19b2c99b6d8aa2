#include "cli/ActionText.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "cli/TextRules.h"
#include "rules/ActionEncoding.h"
#include "rules/KeyUsageTable.h"

namespace lark::cli {

namespace {

constexpr std::uint8_t kKeyboardType = static_cast<std::uint8_t>(ActionKind::KeyboardKey);

void addUnique(std::vector<ButtonAction>& actions, const ButtonAction& action)
{
    if (std::find(actions.begin(), actions.end(), action) == actions.end())
        actions.push_back(action);
}

std::string collapseBlanks(std::string_view text)
{
    std::string result;
    for (char c : trim(text)) {
        if (c == ' ' && !result.empty() && result.back() == ' ')
            continue;
        result += c;
    }
    return result;
}

// Folded caption -> every action that shows it; folded key name -> every usage it names.
// Built once from the window's own caption functions.
struct Tables {
    // Captions as shown (blanks trimmed): the case tells "BACK", the button, from "Back", the key.
    std::map<std::string, std::vector<ButtonAction>> exactCaptions;
    std::map<std::string, std::vector<ButtonAction>> captions;
    std::map<std::string, std::vector<std::uint16_t>> keyUsages;

    Tables()
    {
        for (const PlainMenuEntry& entry : plainMenuEntries()) {
            add(entry.text, entry.action);
            KeyCaptureState capture;
            if (const std::optional<std::string> caption = actionCaption(entry.action, capture))
                add(*caption, entry.action);
        }
        for (std::uint16_t usage = 1; usage <= 0xFF; ++usage) {
            const std::string name = usageName(usage);
            if (name.empty())
                continue;
            std::vector<std::uint16_t>& usages = keyUsages[foldName(name)];
            if (std::find(usages.begin(), usages.end(), usage) == usages.end())
                usages.push_back(usage);
            for (std::uint8_t modifiers = 0; modifiers <= 0x0F; ++modifiers) {
                KeyCaptureState capture{usage, modifiers, {}};
                const ButtonAction action = encodeKeyboardAction(capture);
                KeyCaptureState shown;
                if (const std::optional<std::string> caption = actionCaption(action, shown))
                    add(*caption, action);
            }
        }
    }

    void add(std::string_view caption, const ButtonAction& action)
    {
        addUnique(exactCaptions[collapseBlanks(caption)], action);
        addUnique(captions[foldName(caption)], action);
    }
};

const Tables& tables()
{
    static const Tables instance;
    return instance;
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

ActionParse fixedCpi(std::uint16_t x, std::uint16_t y)
{
    return encodeFixedCpiAction(x, y);
}

// "cpi: 800" and "x: 800, y: 1600", the fixed CPI captions.
std::optional<ActionParse> parseFixedCpiCaption(const std::string& folded)
{
    std::string error;
    if (startsWith(folded, "cpi:")) {
        const std::optional<std::uint16_t> both = parseCpi(folded.substr(4), error);
        if (!both)
            return ActionParse{ActionParseError{error}};
        return fixedCpi(*both, *both);
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
    return fixedCpi(*x, *y);
}

std::uint8_t modifierBitOf(std::string_view name)
{
    if (name == "ctrl" || name == "control")
        return CtrlBit;
    if (name == "shift")
        return ShiftBit;
    if (name == "alt")
        return AltBit;
    if (name == "win")
        return WinBit;
    return 0;
}

ButtonAction keyAction(std::uint16_t usage, std::uint8_t modifiers)
{
    // The window's encoder, so a modifier key carries its own bit as it does there.
    KeyCaptureState capture{usage, modifiers, {}};
    return encodeKeyboardAction(capture);
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
    const std::string key = foldName(rest);
    if (startsWith(key, "key ")) {
        const std::optional<std::uint32_t> usage = parseHex(trim(key.substr(4)), 0xFFFF);
        if (!usage || *usage == 0)
            return ActionParseError{"'" + original + "': a key by usage is Key 0x04 .. Key 0xFFFF"};
        return keyAction(static_cast<std::uint16_t>(*usage), modifiers);
    }
    const auto found = tables().keyUsages.find(key);
    if (found == tables().keyUsages.end())
        return ActionParseError{"'" + original +
                                "' is no action or key (see larkctl set --help for the action names)"};
    if (found->second.size() > 1) {
        std::string choices;
        for (std::uint16_t usage : found->second)
            choices += (choices.empty() ? "" : " or ") + std::string("Key ") + hex2(usage);
        return ActionParseError{"'" + original + "' names more than one key: write " + choices};
    }
    return keyAction(found->second.front(), modifiers);
}

// The fallback for a key whose caption is missing or shared: every modifier, then the key's
// name where it names one key only, else its usage.
std::string keyUsageText(const ButtonAction& action, bool byName = false)
{
    std::string text;
    if (action.code & CtrlBit)
        text += "Ctrl+";
    if (action.code & ShiftBit)
        text += "Shift+";
    if (action.code & AltBit)
        text += "Alt+";
    if (action.code & WinBit)
        text += "Win+";
    if (byName) {
        const std::string name = trim(usageName(action.param1));
        const auto found = tables().keyUsages.find(foldName(name));
        if (!name.empty() && found != tables().keyUsages.end() && found->second.size() == 1)
            return text + name;
    }
    return text + "Key " + hex2(action.param1);
}

// How the one action among several that share a caption is written.
std::string alternativeText(const ButtonAction& action)
{
    if (action.type == kKeyboardType)
        return keyUsageText(action);
    for (const PlainMenuEntry& entry : plainMenuEntries())
        if (entry.action == action)
            return entry.text;
    return rawText(action);
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
        return fixedCpi(pair->x, pair->y);
    }
    const auto exact = tables().exactCaptions.find(collapseBlanks(original));
    if (exact != tables().exactCaptions.end() && exact->second.size() == 1)
        return exact->second.front();
    const auto found = tables().captions.find(folded);
    if (found != tables().captions.end()) {
        const std::vector<ButtonAction>& candidates = found->second;
        if (candidates.size() == 1)
            return candidates.front();
        // Captions in capitals name actions first; a key is then written as the window shows it.
        const auto plain = std::count_if(candidates.begin(), candidates.end(),
                                         [](const ButtonAction& a) { return a.type != kKeyboardType; });
        if (plain == 1)
            return *std::find_if(candidates.begin(), candidates.end(),
                                 [](const ButtonAction& a) { return a.type != kKeyboardType; });
        // A caption that leaves out modifiers: the keys and modifiers as written decide.
        const ActionParse asWritten = parseKey(folded, original);
        if (const ButtonAction* key = std::get_if<ButtonAction>(&asWritten))
            if (std::find(candidates.begin(), candidates.end(), *key) != candidates.end())
                return *key;
        std::string choices;
        for (const ButtonAction& action : candidates)
            choices += (choices.empty() ? "" : " or ") + alternativeText(action);
        return ActionParseError{"'" + original + "' stands for more than one action: write " + choices};
    }
    if (std::optional<ActionParse> cpi = parseFixedCpiCaption(folded))
        return *cpi;
    return parseKey(folded, original);
}

std::string actionText(const ButtonAction& action)
{
    KeyCaptureState capture;
    if (const std::optional<std::string> caption = actionCaption(action, capture)) {
        const std::string shown = trim(*caption);
        if (readsBackAs(shown, action))
            return shown;
    }
    if (action.type == kKeyboardType && action.param2 == 0) {
        for (bool byName : {true, false}) {
            const std::string text = keyUsageText(action, byName);
            if (readsBackAs(text, action))
                return text;
        }
    }
    return rawText(action);
}

}  // namespace lark::cli
