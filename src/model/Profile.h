#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/Vocabulary.h"
#include "settings/MouseSettings.h"

namespace lark {

// Version of the JSON that `show --json`, `list --json`, `watch --json` and profiles carry.
// Raised only when a reader of the old form would misread the new one; adding a field is not
// such a change.
constexpr int kJsonFormatVersion = 1;
constexpr std::string_view kProfileFormatName = "larkctl-profile";
// Far above any profile (about 2 KiB): more is not a profile, and reading stops there.
constexpr std::size_t kProfileSizeLimit = std::size_t{1} << 20;

// The text of a profile from `stream`, read up to the size limit. False with `error` set (naming
// `source`) when reading fails or the text is longer than the limit.
bool readProfileText(std::istream& stream, std::string_view source, std::string& text, std::string& error);

// Every setting under its name, with the JSON type of its ValueType.
nlohmann::ordered_json settingsJson(const MouseSettings& settings);

// The bytes of a block the tool does not interpret but a write carries, by name, in hex.
nlohmann::ordered_json opaqueJson(const MouseSettings& settings);

// A profile: format name and version, the firmware version text ("V1.06"), every setting, the
// opaque bytes.
nlohmann::ordered_json makeProfile(const MouseSettings& settings,
                                   const std::optional<std::string>& firmwareVersion);

// A profile read and checked whole; applying it cannot fail on its own values.
class Profile {
public:
    // Applies the settings and, with `withOpaque`, the opaque bytes onto what the mouse holds
    // (settings a profile leaves out keep the mouse's values). False with `error` when they
    // contradict each other.
    bool applyTo(MouseSettings& settings, std::string& error, bool withOpaque = true) const;

    // The firmware version the profile was exported from, when it names one.
    const std::optional<std::string>& firmware() const { return firmware_; }
    // "backup.json:3: firmware" (the line where known), for a message about that field.
    const std::string& firmwareWhere() const { return firmwareWhere_; }
    // Whether the profile names a firmware other than the mouse's: its opaque bytes may mean
    // something else there, so both programs refuse it as it is.
    bool fromOtherFirmware(const std::string& mouseFirmware) const;
    // "backup.json:3: firmware: the profile comes from firmware V1.05, the mouse runs V1.06".
    std::string otherFirmwareError(const std::string& mouseFirmware) const;

private:
    friend std::variant<Profile, std::string> readProfile(std::string_view text, std::string_view source);

    SettingsEdit edit_;
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> opaque_;
    std::optional<std::string> firmware_;
    std::string firmwareWhere_;
};

// Reads a profile, checking all of it before anything is used: JSON syntax (a name given twice
// in one object, a number beyond a double and nesting no profile has are refused too), the
// format version (a newer one is refused), every name, type and range. The error is one line
// naming the source, the line and the field: "backup.json:7: settings.polling-rate: ...".
std::variant<Profile, std::string> readProfile(std::string_view text, std::string_view source);

}  // namespace lark
