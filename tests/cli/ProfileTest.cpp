#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "model/Profile.h"

using namespace lark;

namespace {

// Settings with every kind of field away from the defaults, the bytes no page shows included.
MouseSettings unusualSettings()
{
    MouseSettings s;
    setDefaults(s);
    s.opaqueAt00 = 0x5A;
    s.opaqueAt0D = 0x07;
    s.opaqueAt07 = 0xC3;
    s.opaqueAt08 = 0x11;
    for (std::size_t i = 0; i < s.opaque0F.size(); ++i)
        s.opaque0F[i] = static_cast<std::uint8_t>(0xF0 - i * 7);
    s.pollingInterval = 4;
    s.motionSync = 1;
    s.slamClickFilter = 0;
    s.cpiLevelCount = 3;
    s.cpiLevels[1] = CpiLevel{1, 800, 1650};
    s.liftOffDistance = 2;
    s.angleSnapping = 1;
    s.buttons[0] = ButtonSlot{ButtonAction{2, 3, 4, 0}, 0xF0};
    s.buttons[1] = ButtonSlot{ButtonAction{0, 1, 0, 0}, 25};
    s.buttons[3].action = ButtonAction{12, 0, 26000, 50};
    s.buttons[5] = ButtonSlot{ButtonAction{32, 0xE9, 0x1234, 0xABCD}, 0x77};
    s.buttons[6] = ButtonSlot{ButtonAction{3, 9, 1, 2}, 0x42};
    s.buttons[7].filter = 0;
    return s;
}

TEST(Profile, RestoresEverySettingAndByteOntoAnotherMouse)
{
    const MouseSettings source = unusualSettings();
    const std::string text = makeProfile(source, "V1.06").dump(2);

    auto read = readProfile(text, "profile.json");
    ASSERT_TRUE(std::holds_alternative<Profile>(read)) << std::get<std::string>(read);

    MouseSettings target;
    setDefaults(target);
    std::string error;
    ASSERT_TRUE(std::get<Profile>(read).applyTo(target, error)) << error;
    EXPECT_EQ(target, source);
}

TEST(Profile, CarriesFormatVersionFirmwareAndReadableNames)
{
    MouseSettings settings;
    setDefaults(settings);
    const nlohmann::ordered_json profile = makeProfile(settings, "V1.06");
    EXPECT_EQ(profile["format"], "larkctl-profile");
    EXPECT_EQ(profile["version"], 1);
    EXPECT_EQ(profile["firmware"], "V1.06");
    EXPECT_EQ(profile["settings"]["polling-rate"], 8000);
    EXPECT_EQ(profile["settings"]["motion-sync"], false);
    EXPECT_EQ(profile["settings"]["cpi2"], (nlohmann::ordered_json{{"x", 800}, {"y", 800}}));
    EXPECT_EQ(profile["settings"]["right-button"], "RIGHT CLICK");
    EXPECT_EQ(profile["opaque"]["sixth-slot"], "09f10000000008");
    EXPECT_EQ(profile["opaque"]["block-0d"], "02");
}

TEST(Profile, LeavesOutSettingsItDoesNotName)
{
    const std::string text =
        R"({"format": "larkctl-profile", "version": 1, "settings": {"cpi1": {"x": 900, "y": 900}}})";
    auto read = readProfile(text, "-");
    ASSERT_TRUE(std::holds_alternative<Profile>(read)) << std::get<std::string>(read);
    MouseSettings settings = unusualSettings();
    MouseSettings expected = settings;
    expected.cpiLevels[0] = CpiLevel{0, 900, 900};
    std::string error;
    ASSERT_TRUE(std::get<Profile>(read).applyTo(settings, error)) << error;
    EXPECT_EQ(settings, expected);
}

struct BadProfile {
    const char* label;
    std::string text;
    const char* message;  // the start of the one-line error, or a part of it
};

std::string validWith(const std::string& from, const std::string& to)
{
    MouseSettings settings;
    setDefaults(settings);
    std::string text = makeProfile(settings, "V1.06").dump(2);
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

class BadProfiles : public testing::TestWithParam<BadProfile> {};

TEST_P(BadProfiles, AreRefusedWithOneLineNamingTheField)
{
    auto read = readProfile(GetParam().text, "backup.json");
    ASSERT_TRUE(std::holds_alternative<std::string>(read)) << "accepted: " << GetParam().text;
    const std::string& error = std::get<std::string>(read);
    EXPECT_NE(error.find(GetParam().message), std::string::npos) << error;
    EXPECT_EQ(error.rfind("backup.json", 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

const std::string kTruncated = validWith("", "").substr(0, 300);

INSTANTIATE_TEST_SUITE_P(
    Table, BadProfiles,
    testing::Values(
        BadProfile{"empty", "", "backup.json: the profile is empty"},
        BadProfile{"blank", " \n\t\n", "the profile is empty"},
        BadProfile{"malformed", "{\n  \"version\": 1,\n  oops\n}", "backup.json:3: malformed JSON"},
        BadProfile{"truncated", kTruncated, "malformed JSON"},
        BadProfile{"not_an_object", "[1, 2]", "a profile is a JSON object"},
        BadProfile{"not_a_profile", R"({"version": 1})", "not a larkctl profile"},
        BadProfile{"newer_format", validWith("\"version\": 1", "\"version\": 2"),
                   "backup.json:3: version: the profile has format 2, newer than this larkctl reads (1)"},
        BadProfile{"version_missing", validWith("\"version\": 1", "\"versio\": 1"), "unknown field 'versio'"},
        BadProfile{"version_not_a_number", validWith("\"version\": 1", "\"version\": \"1\""),
                   "version: missing"},
        BadProfile{"unknown_setting", validWith("\"cpi1\"", "\"cpi0\""), "settings.cpi0: unknown setting"},
        BadProfile{"wrong_type_number", validWith("\"polling-rate\": 8000", "\"polling-rate\": \"8000\""),
                   "settings.polling-rate: expected a number, found string \"8000\""},
        BadProfile{"wrong_type_switch", validWith("\"motion-sync\": false", "\"motion-sync\": 0"),
                   "settings.motion-sync: expected true or false"},
        BadProfile{"wrong_type_cpi", validWith("\"cpi2\": {", "\"cpi2\": {\"z\": 1, "),
                   "settings.cpi2: expected an object {\"x\": number, \"y\": number}"},
        BadProfile{"fractional", validWith("\"cpi-levels\": 4", "\"cpi-levels\": 2.5"),
                   "settings.cpi-levels: expected a number"},
        BadProfile{"out_of_range_filter",
                   validWith("\"middle-multiclick-filter\": 8", "\"middle-multiclick-filter\": 30"),
                   "settings.middle-multiclick-filter: '30' is not one of: 0 to 25"},
        BadProfile{"negative", validWith("\"back-multiclick-filter\": 8", "\"back-multiclick-filter\": -1"),
                   "0 to 25"},
        BadProfile{"out_of_range_cpi", validWith("\"x\": 400", "\"x\": 40"),
                   "settings.cpi1: CPI 40 is out of range"},
        BadProfile{"unknown_action", validWith("\"MIDDLE CLICK\"", "\"TELEPORT\""), "settings.middle-button"},
        BadProfile{"contradiction",
                   validWith("\"left-multiclick-filter\": 8", "\"left-multiclick-filter\": null"),
                   "only while left-spdt"},
        BadProfile{"opaque_length", validWith("\"block-0d\": \"02\"", "\"block-0d\": \"0002\""),
                   "opaque.block-0d: expected a string of 2 hex digits"},
        BadProfile{"opaque_not_hex", validWith("\"block-00\": \"00\"", "\"block-00\": \"zz\""),
                   "opaque.block-00"},
        BadProfile{"unknown_opaque", validWith("\"block-00\"", "\"block-01\""),
                   "opaque.block-01: unknown field"},
        BadProfile{"unknown_top_level", validWith("\"settings\"", "\"setting\""), "unknown field 'setting'"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Profile, NamesTheLineOfTheBadField)
{
    const std::string text = validWith("\"polling-rate\": 8000", "\"polling-rate\": 3000");
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.find("\"polling-rate\""); ++i)
        line += text[i] == '\n';
    auto read = readProfile(text, "p.json");
    ASSERT_TRUE(std::holds_alternative<std::string>(read));
    EXPECT_EQ(
        std::get<std::string>(read).rfind("p.json:" + std::to_string(line) + ": settings.polling-rate", 0),
        0u)
        << std::get<std::string>(read);
}

}  // namespace
