#include "model/Profile.h"

#include <array>
#include <functional>
#include <istream>

#include "model/Text.h"

namespace lark {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

// The bytes of the block a write carries that no setting shows: the opaque fields, the sixth
// slot that no page edits (its block layout: type, code, param1, param2 little-endian,
// filter) and the filters of the wheel directions.
struct OpaqueField {
    const char* name;
    std::size_t size;
    std::function<std::vector<std::uint8_t>(const MouseSettings&)> get;
    std::function<void(MouseSettings&, const std::vector<std::uint8_t>&)> set;
};

std::vector<std::uint8_t> slotBytes(const ButtonSlot& slot)
{
    const ButtonAction& a = slot.action;
    return {a.type,
            a.code,
            static_cast<std::uint8_t>(a.param1 & 0xFF),
            static_cast<std::uint8_t>(a.param1 >> 8),
            static_cast<std::uint8_t>(a.param2 & 0xFF),
            static_cast<std::uint8_t>(a.param2 >> 8),
            slot.filter};
}

void setSlotBytes(ButtonSlot& slot, const std::vector<std::uint8_t>& b)
{
    slot.action = ButtonAction{b[0], b[1], static_cast<std::uint16_t>(b[2] | (b[3] << 8)),
                               static_cast<std::uint16_t>(b[4] | (b[5] << 8))};
    slot.filter = b[6];
}

OpaqueField byteField(const char* name, std::uint8_t MouseSettings::*field)
{
    return {name, 1, [field](const MouseSettings& s) { return std::vector<std::uint8_t>{s.*field}; },
            [field](MouseSettings& s, const std::vector<std::uint8_t>& b) { s.*field = b[0]; }};
}

OpaqueField filterField(const char* name, int slot)
{
    const auto index = static_cast<std::size_t>(slot);
    return {
        name, 1,
        [index](const MouseSettings& s) { return std::vector<std::uint8_t>{s.buttons[index].filter}; },
        [index](MouseSettings& s, const std::vector<std::uint8_t>& b) { s.buttons[index].filter = b[0]; }};
}

const std::vector<OpaqueField>& opaqueFields()
{
    static const std::vector<OpaqueField> fields = {
        byteField("block-00", &MouseSettings::opaqueAt00),
        byteField("block-0d", &MouseSettings::opaqueAt0D),
        byteField("block-07", &MouseSettings::opaqueAt07),
        byteField("block-08", &MouseSettings::opaqueAt08),
        {"block-0f", kOpaque0FSize,
         [](const MouseSettings& s) {
             return std::vector<std::uint8_t>(s.opaque0F.begin(), s.opaque0F.end());
         },
         [](MouseSettings& s, const std::vector<std::uint8_t>& b) {
             std::copy(b.begin(), b.end(), s.opaque0F.begin());
         }},
        {"sixth-slot", 7, [](const MouseSettings& s) { return slotBytes(s.buttons[SixthSlot]); },
         [](MouseSettings& s, const std::vector<std::uint8_t>& b) { setSlotBytes(s.buttons[SixthSlot], b); }},
        filterField("wheel-up-filter", WheelUpSlot),
        filterField("wheel-down-filter", WheelDownSlot),
    };
    return fields;
}

const OpaqueField* findOpaque(std::string_view name)
{
    for (const OpaqueField& field : opaqueFields())
        if (name == field.name)
            return &field;
    return nullptr;
}

std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text, std::size_t size)
{
    if (text.size() != size * 2)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < size; ++i) {
        const std::optional<std::uint32_t> byte = parseHex(text.substr(i * 2, 2), 0xFF);
        if (!byte)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(*byte));
    }
    return bytes;
}

std::size_t lineAt(std::string_view text, std::size_t offset)
{
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n')
            ++line;
    return line;
}

// Where the first `"key":` after `from` begins: JSON values carry no positions, and a profile
// names each field once.
std::size_t keyOffset(std::string_view text, std::string_view key, std::size_t from = 0)
{
    // Appended rather than concatenated: GCC 12 at -O3 reads a false overlap into the latter.
    std::string quoted = "\"";
    quoted.append(key).append("\"");
    for (std::size_t at = text.find(quoted, from); at != std::string_view::npos;
         at = text.find(quoted, at + 1)) {
        std::size_t after = at + quoted.size();
        while (after < text.size() &&
               (text[after] == ' ' || text[after] == '\t' || text[after] == '\n' || text[after] == '\r'))
            ++after;
        if (after < text.size() && text[after] == ':')
            return at;
    }
    return std::string_view::npos;
}

// The line of the first `"key":` after `from`; 0 when there is none.
std::size_t lineOfKey(std::string_view text, std::string_view key, std::size_t from = 0)
{
    const std::size_t at = keyOffset(text, key, from);
    return at == std::string_view::npos ? 0 : lineAt(text, at);
}

// The line of the second `"key":` after `from`, for a name given twice.
std::size_t lineOfSecondKey(std::string_view text, std::string_view key, std::size_t from)
{
    const std::size_t first = keyOffset(text, key, from);
    return first == std::string_view::npos ? 0 : lineOfKey(text, key, first + 1);
}

// No profile nests deeper than its settings' CPI objects.
constexpr std::size_t kDepthLimit = 16;

// Builds the document as json::parse does and refuses what json::parse lets through or throws
// from: a name twice in one object (the last one would silently win), a number beyond a double
// (json::parse throws instead of reporting it) and nesting deeper than any profile.
class CheckedDocument : public nlohmann::json_sax<json> {
public:
    json root;
    std::string error;              // empty while the document is fine
    std::size_t errorByte = 0;      // where the parser stopped, 0 when not known
    std::string duplicateKey;       // set for a name given twice
    std::vector<std::string> path;  // the names leading to the value being read

    std::string pathText(std::string_view last = {}) const
    {
        std::string text;
        for (const std::string& name : path)
            text += (text.empty() ? "" : ".") + name;
        if (!last.empty())
            text += (text.empty() ? "" : ".") + std::string(last);
        return text;
    }

    bool null() override { return put(json(nullptr)); }
    bool boolean(bool value) override { return put(json(value)); }
    bool number_integer(number_integer_t value) override { return put(json(value)); }
    bool number_unsigned(number_unsigned_t value) override { return put(json(value)); }
    bool number_float(number_float_t value, const string_t&) override { return put(json(value)); }
    bool string(string_t& value) override { return put(json(std::move(value))); }
    bool binary(binary_t& value) override { return put(json::binary(std::move(value))); }

    bool start_object(std::size_t) override { return open(json::object()); }
    bool start_array(std::size_t) override { return open(json::array()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t& name) override
    {
        if (containers_.back()->contains(name)) {
            duplicateKey = name;
            error = pathText(name) + ": given twice (a profile names each field once)";
            return false;
        }
        key_ = name;
        return true;
    }

    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& exception) override
    {
        errorByte = position;
        std::string message = exception.what();
        // "[json.exception.parse_error.101] parse error at line 3, column 5: ..." without the tag.
        if (const std::size_t tag = message.find("] "); tag != std::string::npos)
            message = message.substr(tag + 2);
        const std::string where =
            pathText(containers_.empty() || !containers_.back()->is_object() ? "" : key_);
        if (exception.id == 406)  // a number that overflows a double
            error = (where.empty() ? "" : where + ": ") + "a number out of any range (" + message + ")";
        else
            error = "malformed JSON: " + message;
        return false;
    }

private:
    // Adds a finished value to the container being read, or makes it the document.
    json* put(json value)
    {
        if (containers_.empty()) {
            root = std::move(value);
            return &root;
        }
        json& container = *containers_.back();
        if (container.is_array()) {
            container.push_back(std::move(value));
            return &container.back();
        }
        return &(container[key_] = std::move(value));
    }

    bool open(json container)
    {
        if (containers_.size() >= kDepthLimit) {
            error = "nested deeper than " + std::to_string(kDepthLimit) + " levels, which no profile is";
            return false;
        }
        const bool inObject = !containers_.empty() && containers_.back()->is_object();
        if (inObject)
            path.push_back(key_);
        pathPushed_.push_back(inObject);
        containers_.push_back(put(std::move(container)));
        return true;
    }

    bool close()
    {
        containers_.pop_back();
        if (pathPushed_.back())
            path.pop_back();
        pathPushed_.pop_back();
        return true;
    }

    std::vector<json*> containers_;
    std::vector<bool> pathPushed_;
    std::string key_;
};

const char* typeName(const json& value)
{
    return value.type_name();
}

// A setting's JSON value as the words the command line takes; nothing for the wrong type.
std::optional<std::string> valueWords(const Setting& setting, const json& value, std::string& expected)
{
    switch (setting.type) {
    case ValueType::Switch:
        expected = "true or false";
        if (value.is_boolean())
            return value.get<bool>() ? "on" : "off";
        return std::nullopt;
    case ValueType::Number:
        expected = "a number";
        if (value.is_number_unsigned() || value.is_number_integer())
            return value.dump();
        if (value.is_null() &&
            (setting.name == "left-multiclick-filter" || setting.name == "right-multiclick-filter"))
            return "-";
        return std::nullopt;
    case ValueType::Word:
    case ValueType::Action:
        expected = "a string";
        if (value.is_string())
            return value.get<std::string>();
        return std::nullopt;
    case ValueType::Cpi: {
        expected = "an object {\"x\": number, \"y\": number}";
        if (!value.is_object() || value.size() != 2 || !value.contains("x") || !value.contains("y"))
            return std::nullopt;
        const json& x = value["x"];
        const json& y = value["y"];
        if (!(x.is_number_unsigned() || x.is_number_integer()) ||
            !(y.is_number_unsigned() || y.is_number_integer()))
            return std::nullopt;
        return x.dump() + "x" + y.dump();
    }
    }
    return std::nullopt;
}

ordered_json settingValueJson(const Setting& setting, const std::string& words)
{
    switch (setting.type) {
    case ValueType::Switch:
        if (words == "on" || words == "off")
            return words == "on";
        return words;
    case ValueType::Number:
        if (words == "-")
            return nullptr;
        if (const std::optional<std::uint32_t> number = parseUnsigned(words))
            return *number;
        return words;
    case ValueType::Cpi: {
        std::string ignored;
        const std::size_t cross = words.find('x');
        return ordered_json{{"x", *parseUnsigned(words.substr(0, cross))},
                            {"y", *parseUnsigned(words.substr(cross + 1))}};
    }
    case ValueType::Word:
    case ValueType::Action:
        break;
    }
    return words;
}

}  // namespace

ordered_json settingsJson(const MouseSettings& settings)
{
    ordered_json object = ordered_json::object();
    for (const Setting& setting : allSettings())
        object[std::string(setting.name)] = settingValueJson(setting, settingText(setting, settings));
    return object;
}

ordered_json opaqueJson(const MouseSettings& settings)
{
    ordered_json object = ordered_json::object();
    for (const OpaqueField& field : opaqueFields()) {
        const std::vector<std::uint8_t> bytes = field.get(settings);
        object[field.name] = hexBytes(bytes.data(), bytes.size());
    }
    return object;
}

ordered_json makeProfile(const MouseSettings& settings, const std::optional<std::string>& firmwareVersion)
{
    ordered_json profile = ordered_json::object();
    profile["format"] = kProfileFormatName;
    profile["version"] = kJsonFormatVersion;
    profile["firmware"] = firmwareVersion ? ordered_json(*firmwareVersion) : ordered_json(nullptr);
    profile["settings"] = settingsJson(settings);
    profile["opaque"] = opaqueJson(settings);
    return profile;
}

bool Profile::applyTo(MouseSettings& settings, std::string& error, bool withOpaque) const
{
    MouseSettings result = settings;
    if (withOpaque)
        for (const auto& [name, bytes] : opaque_)
            findOpaque(name)->set(result, bytes);
    if (!edit_.applyTo(result, error))
        return false;
    settings = result;
    return true;
}

bool Profile::fromOtherFirmware(const std::string& mouseFirmware) const
{
    return firmware_ && *firmware_ != mouseFirmware;
}

std::string Profile::otherFirmwareError(const std::string& mouseFirmware) const
{
    return firmwareWhere_ + ": the profile comes from firmware " + firmware_.value_or("-") +
           ", the mouse runs " + mouseFirmware;
}

bool readProfileText(std::istream& stream, std::string_view source, std::string& text, std::string& error)
{
    text.clear();
    std::array<char, 16384> chunk{};
    while (stream) {
        stream.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        text.append(chunk.data(), static_cast<std::size_t>(stream.gcount()));
        if (text.size() > kProfileSizeLimit) {
            error = std::string(source) + ": more than " + std::to_string(kProfileSizeLimit >> 20) +
                    " MiB, which no profile is (nothing imported)";
            return false;
        }
    }
    if (stream.bad()) {
        error = "cannot read " + std::string(source);
        return false;
    }
    return true;
}

std::variant<Profile, std::string> readProfile(std::string_view text, std::string_view source)
{
    const std::string where(source);
    auto fail = [&](std::size_t line, const std::string& message) {
        return where + (line ? ":" + std::to_string(line) : std::string()) + ": " + message;
    };
    if (trim(text).empty())
        return fail(0, "the profile is empty (nothing to import)");

    CheckedDocument checked;
    if (!json::sax_parse(text, &checked) || !checked.error.empty()) {
        if (!checked.duplicateKey.empty()) {
            // The object the name is in starts at its own name's first occurrence.
            std::size_t from = 0;
            for (const std::string& name : checked.path)
                if (const std::size_t at = keyOffset(text, name, from); at != std::string_view::npos)
                    from = at;
            return fail(lineOfSecondKey(text, checked.duplicateKey, from), checked.error);
        }
        return fail(checked.errorByte ? lineAt(text, checked.errorByte - 1) : 0, checked.error);
    }
    json document = std::move(checked.root);
    if (!document.is_object())
        return fail(1, "a profile is a JSON object, not " + std::string(typeName(document)));

    for (const auto& [key, value] : document.items())
        if (key != "format" && key != "version" && key != "firmware" && key != "settings" && key != "opaque")
            return fail(lineOfKey(text, key), "unknown field '" + key + "'");

    if (!document.contains("format") || document["format"] != kProfileFormatName)
        return fail(lineOfKey(text, "format"), "format: not a larkctl profile (\"format\" must be \"" +
                                                   std::string(kProfileFormatName) + "\")");
    if (!document.contains("version") || !document["version"].is_number_integer())
        return fail(lineOfKey(text, "version"), "version: missing or not a whole number");
    const auto version = document["version"].get<long long>();
    if (version > kJsonFormatVersion)
        return fail(lineOfKey(text, "version"), "version: the profile has format " + std::to_string(version) +
                                                    ", newer than this larkctl reads (" +
                                                    std::to_string(kJsonFormatVersion) + "); update larkctl");
    if (version < 1)
        return fail(lineOfKey(text, "version"),
                    "version: " + std::to_string(version) + " is no profile format");
    if (document.contains("firmware") && !document["firmware"].is_string() && !document["firmware"].is_null())
        return fail(lineOfKey(text, "firmware"),
                    "firmware: expected a string, found " + std::string(typeName(document["firmware"])));

    Profile profile;
    if (document.contains("firmware") && document["firmware"].is_string()) {
        profile.firmware_ = document["firmware"].get<std::string>();
        profile.firmwareWhere_ = fail(lineOfKey(text, "firmware"), "firmware");
    }
    if (document.contains("settings")) {
        const json& settings = document["settings"];
        const std::size_t from = text.find("\"settings\"");
        if (!settings.is_object())
            return fail(lineOfKey(text, "settings"),
                        "settings: expected an object, found " + std::string(typeName(settings)));
        for (const auto& [name, value] : settings.items()) {
            const std::size_t line = lineOfKey(text, name, from);
            const Setting* setting = findSetting(name);
            if (!setting || setting->name != name)
                return fail(line, "settings." + name + ": unknown setting");
            std::string expected;
            const std::optional<std::string> words = valueWords(*setting, value, expected);
            if (!words)
                return fail(line, "settings." + name + ": expected " + expected + ", found " +
                                      std::string(typeName(value)) + " " + value.dump());
            std::string error;
            if (!profile.edit_.assign(name, *words, error))
                return fail(line, "settings." + error);
        }
    }
    if (document.contains("opaque")) {
        const json& opaque = document["opaque"];
        const std::size_t from = text.find("\"opaque\"");
        if (!opaque.is_object())
            return fail(lineOfKey(text, "opaque"),
                        "opaque: expected an object, found " + std::string(typeName(opaque)));
        for (const auto& [name, value] : opaque.items()) {
            const std::size_t line = lineOfKey(text, name, from);
            const OpaqueField* field = findOpaque(name);
            if (!field)
                return fail(line, "opaque." + name + ": unknown field");
            const std::optional<std::vector<std::uint8_t>> bytes =
                value.is_string() ? parseHexBytes(value.get<std::string>(), field->size) : std::nullopt;
            if (!bytes)
                return fail(line, "opaque." + name + ": expected a string of " +
                                      std::to_string(field->size * 2) + " hex digits, found " + value.dump());
            profile.opaque_.emplace_back(name, *bytes);
        }
    }

    // Settings that only contradict each other show up when applied: try them on defaults now,
    // so a bad profile is refused before the mouse is touched.
    MouseSettings trial;
    setDefaults(trial);
    std::string error;
    if (!profile.applyTo(trial, error))
        return fail(lineOfKey(text, "settings"), error);
    return profile;
}

}  // namespace lark
