#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/MouseSettings.h"

namespace lark {

// How a setting's value is written: in words on the command line, and as this JSON type in
// `show --json` and in profiles.
enum class ValueType {
    Switch,  // on / off; JSON true / false
    Number,  // decimal; JSON number
    Word,    // one of a few words; JSON string
    Cpi,     // XxY or one number; JSON {"x": .., "y": ..}
    Action,  // a caption or key; JSON string
};

// One value of a setting that takes one of a few: the word larkctl and profiles use, the window's
// caption for it (its list entry), and the byte stored in the settings block.
struct Choice {
    std::string_view word;
    std::string_view caption;
    std::uint8_t stored;
};

struct Setting;
using SettingReader = std::string (*)(const Setting&, const MouseSettings&);
// Writes canonical words into the settings through the rules; an error when the rules refuse.
using SettingWriter = bool (*)(const Setting&, MouseSettings&, const std::string& words, std::string& error);

// One setting: every front end reads its name, caption, help and domain here.
struct Setting {
    std::string_view name;     // larkctl and profiles
    std::string_view caption;  // the window's label of its control
    std::string_view help;     // tooltip, larkctl set --help and the manual; %1 is `subject`
    std::string_view subject;  // the button or level the help speaks of
    ValueType type;
    std::string_view values;  // what it takes, in words, for help texts and errors
    std::span<const Choice> choices;
    int min = 0;  // a Number's range
    int max = 0;
    int index = 0;  // the button slot or the CPI level (0-based)
    SettingReader read = nullptr;
    SettingWriter write = nullptr;
};

// Every setting, in the order they are shown and applied (those that others depend on first).
std::span<const Setting> allSettings();
const Setting* findSetting(std::string_view name);

// The help text with its subject filled in.
std::string helpText(const Setting& setting);

// The value in words as `show` prints it and `set` takes it back. "-" for a multiclick filter
// that its button's SPDT mode replaces.
std::string settingText(const Setting& setting, const MouseSettings& settings);

// The choice a stored byte shows, if it is one of the setting's.
const Choice* choiceOfStored(const Setting& setting, std::uint8_t stored);

// Assignments gathered from the command line or a profile, checked and then applied together,
// in the table's order whatever order they came in, so that "left-spdt=off left-multiclick-
// filter=3" and its reverse mean the same.
class SettingsEdit {
public:
    // False with `error` set for an unknown name or a value the setting never takes.
    bool assign(std::string_view name, std::string_view value, std::string& error);

    // Applies the assignments to `settings` through the rules between settings. False with
    // `error` and `settings` unchanged when the assignments contradict each other or the
    // settings they meet.
    bool applyTo(MouseSettings& settings, std::string& error) const;

    bool empty() const { return values_.empty(); }

private:
    struct Value {
        const Setting* setting;
        std::string text;
    };
    const Value* find(std::string_view name) const;

    std::vector<Value> values_;
};

// The settings whose words differ between two sets of settings, in table order.
std::vector<const Setting*> changedSettings(const MouseSettings& before, const MouseSettings& after);

}  // namespace lark
