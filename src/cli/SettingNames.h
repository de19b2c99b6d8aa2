#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/MouseSettings.h"

namespace lark::cli {

// How a setting's value is written: in words on the command line, and as this JSON type in
// `show --json` and in profiles.
enum class ValueType {
    Switch,  // on / off; JSON true / false
    Number,  // decimal; JSON number
    Word,    // one of a few words; JSON string
    Cpi,     // XxY or one number; JSON {"x": .., "y": ..}
    Action,  // a caption or key; JSON string
};

// Every setting larkctl reads and writes, under the name it has on the command line and in
// profiles, in the order they are shown and applied.
struct Setting {
    std::string_view name;
    ValueType type;
    std::string_view values;  // what it takes, for help texts and errors
};

std::span<const Setting> allSettings();
const Setting* findSetting(std::string_view name);

// The value in words as `show` prints it and `set` takes it back. "-" for a multiclick filter
// that its button's SPDT mode replaces.
std::string settingText(const Setting& setting, const MouseSettings& settings);

// Assignments gathered from the command line or a profile, checked and then applied together,
// in the table's order whatever order they came in, so that "left-spdt=off left-multiclick-
// filter=3" and its reverse mean the same.
class SettingsEdit {
public:
    // False with `error` set for an unknown name or a value the setting never takes.
    bool assign(std::string_view name, std::string_view value, std::string& error);

    // Applies the assignments to `settings`. The rules that tie settings together are those
    // of the pages: motion sync takes 8000 Hz away (turning it on at 8000 Hz gives 4000 Hz),
    // a multiclick filter is replaced by its button's SPDT mode, left-handed mode moves the
    // right button's action to the left button. A `restore` (a profile) takes a mouse's own
    // combination of motion sync and 8000 Hz as it is. False with `error` and `settings`
    // unchanged when the assignments contradict each other or the settings they meet.
    bool applyTo(MouseSettings& settings, bool restore, std::string& error) const;

    bool empty() const { return values_.empty(); }

private:
    struct Value {
        const Setting* setting;
        std::string text;
    };
    const Value* find(std::string_view name) const;

    std::vector<Value> values_;
};

// The names of settings whose words differ between two sets of settings, in table order.
std::vector<const Setting*> changedSettings(const MouseSettings& before, const MouseSettings& after);

}  // namespace lark::cli
