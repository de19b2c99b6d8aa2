#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/Vocabulary.h"
#include "settings/MouseSettings.h"

namespace lark::cli {

// Version of the JSON that `show --json`, `list --json`, `watch --json` and profiles carry.
// Raised only when a reader of the old form would misread the new one; adding a field is not
// such a change.
constexpr int kJsonFormatVersion = 1;
constexpr std::string_view kProfileFormatName = "larkctl-profile";

// Every setting under its name, with the JSON type of its ValueType.
nlohmann::ordered_json settingsJson(const MouseSettings& settings);

// The bytes of a block the tool does not interpret but a write carries, by name, in hex.
nlohmann::ordered_json opaqueJson(const MouseSettings& settings);

// A profile: format name and version, the firmware version text, every setting, the opaque bytes.
nlohmann::ordered_json makeProfile(const MouseSettings& settings,
                                   std::optional<std::uint16_t> firmwareVersion);

// A profile read and checked whole; applying it cannot fail on its own values.
class Profile {
public:
    // Applies the settings and the opaque bytes onto what the mouse holds (settings a profile
    // leaves out keep the mouse's values). False with `error` when they contradict each other.
    bool applyTo(MouseSettings& settings, std::string& error) const;

private:
    friend std::variant<Profile, std::string> readProfile(std::string_view text, std::string_view source);

    SettingsEdit edit_;
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> opaque_;
};

// Reads a profile, checking all of it before anything is used: JSON syntax, the format
// version (a newer one is refused), every name, type and range. The error is one line naming
// the source, the line and the field: "backup.json:7: settings.polling-rate: ...".
std::variant<Profile, std::string> readProfile(std::string_view text, std::string_view source);

}  // namespace lark::cli
