#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/Vocabulary.h"

using namespace lark;

namespace {

MouseSettings defaults()
{
    MouseSettings settings;
    setDefaults(settings);
    return settings;
}

std::string text(const MouseSettings& settings, const char* name)
{
    const Setting* setting = findSetting(name);
    EXPECT_NE(setting, nullptr) << name;
    return setting ? settingText(*setting, settings) : std::string();
}

TEST(SettingNames, DefaultsInWords)
{
    const MouseSettings settings = defaults();
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"cpi-levels", "4"},
        {"cpi1", "400x400"},
        {"cpi4", "3200x3200"},
        {"lift-off-distance", "1mm"},
        {"angle-snapping", "off"},
        {"ripple-control", "off"},
        {"motion-sync", "off"},
        {"polling-rate", "8000"},
        {"slam-click-filter", "on"},
        {"left-spdt", "off"},
        {"left-multiclick-filter", "8"},
        {"back-multiclick-filter", "8"},
        {"left-handed", "off"},
        {"left-button", "LEFT CLICK"},
        {"right-button", "RIGHT CLICK"},
        {"forward-button", "FORWARD"},
        {"wheel-down", "SCROLL DOWN"},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(text(settings, name), value) << name;
}

struct EditCase {
    const char* label;
    std::vector<std::pair<const char*, const char*>> assignments;
    std::function<void(MouseSettings&)> setup;   // the mouse's settings before
    std::function<void(MouseSettings&)> expect;  // defaults (after setup) with the expected changes
};

void none(MouseSettings&) {}

class SettingEdits : public testing::TestWithParam<EditCase> {};

TEST_P(SettingEdits, ChangeExactlyTheirFields)
{
    MouseSettings settings = defaults();
    GetParam().setup(settings);
    MouseSettings expected = settings;
    GetParam().expect(expected);

    SettingsEdit edit;
    std::string error;
    for (const auto& [name, value] : GetParam().assignments)
        ASSERT_TRUE(edit.assign(name, value, error)) << error;
    ASSERT_TRUE(edit.applyTo(settings, error)) << error;
    EXPECT_EQ(settings, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingEdits,
    testing::Values(EditCase{"cpi_pair",
                             {{"cpi2", "800x1600"}},
                             none,
                             [](MouseSettings& s) {
                                 s.cpiLevels[1] = CpiLevel{1, 800, 1600};
                             }},
                    EditCase{"cpi_one_number_on_the_grid",
                             {{"cpi1", "824"}},
                             none,
                             [](MouseSettings& s) {
                                 s.cpiLevels[0] = CpiLevel{0, 800, 800};
                             }},
                    EditCase{"cpi_rounds_25_up",
                             {{"cpi3", "825X26000"}},
                             none,
                             [](MouseSettings& s) {
                                 s.cpiLevels[2] = CpiLevel{1, 850, 26000};
                             }},
                    EditCase{"cpi_equal_axes_clear_the_differ_flag",
                             {{"cpi1", "900"}},
                             [](MouseSettings& s) {
                                 s.cpiLevels[0] = CpiLevel{1, 400, 800};
                             },
                             [](MouseSettings& s) {
                                 s.cpiLevels[0] = CpiLevel{0, 900, 900};
                             }},
                    EditCase{"levels_and_lod",
                             {{"cpi-levels", "2"}, {"lift-off-distance", "2MM"}},
                             none,
                             [](MouseSettings& s) {
                                 s.cpiLevelCount = 2;
                                 s.liftOffDistance = 2;
                             }},
                    EditCase{"polling_rates",
                             {{"polling-rate", "2000Hz"}},
                             none,
                             [](MouseSettings& s) { s.pollingInterval = 4; }},
                    EditCase{"motion_sync_takes_8000_away",
                             {{"motion-sync", "on"}},
                             none,
                             [](MouseSettings& s) {
                                 s.motionSync = 1;
                                 s.pollingInterval = 2;
                             }},
                    EditCase{"motion_sync_keeps_a_lower_rate",
                             {{"motion-sync", "on"}, {"polling-rate", "1000"}},
                             none,
                             [](MouseSettings& s) {
                                 s.motionSync = 1;
                                 s.pollingInterval = 8;
                             }},
                    EditCase{"8000_with_motion_sync_off",
                             {{"polling-rate", "8000"}, {"motion-sync", "off"}},
                             [](MouseSettings& s) {
                                 s.motionSync = 1;
                                 s.pollingInterval = 2;
                             },
                             [](MouseSettings& s) {
                                 s.motionSync = 0;
                                 s.pollingInterval = 1;
                             }},
                    EditCase{
                        "switches",
                        {{"angle-snapping", "on"}, {"ripple-control", "ON"}, {"slam-click-filter", "off"}},
                        none,
                        [](MouseSettings& s) {
                            s.angleSnapping = 1;
                            s.rippleControl = 1;
                            s.slamClickFilter = 0;
                        }},
                    EditCase{"spdt_mode",
                             {{"left-spdt", "speed"}, {"right-spdt", "safe"}},
                             none,
                             [](MouseSettings& s) {
                                 s.buttons[0].filter = 0xF1;
                                 s.buttons[1].filter = 0xF0;
                             }},
                    EditCase{"spdt_off_gives_8",
                             {{"right-spdt", "off"}},
                             [](MouseSettings& s) { s.buttons[1].filter = 0xF0; },
                             [](MouseSettings& s) { s.buttons[1].filter = 8; }},
                    // Order on the command line does not matter: SPDT first, then the filter.
                    EditCase{"filter_after_spdt_off",
                             {{"left-multiclick-filter", "3"}, {"left-spdt", "off"}},
                             [](MouseSettings& s) { s.buttons[0].filter = 0xF1; },
                             [](MouseSettings& s) { s.buttons[0].filter = 3; }},
                    EditCase{"filter_dash_keeps_the_mode",
                             {{"left-multiclick-filter", "-"}},
                             [](MouseSettings& s) { s.buttons[0].filter = 0xF0; },
                             none},
                    EditCase{"filters",
                             {{"middle-multiclick-filter", "0"}, {"back-multiclick-filter", "25"}},
                             none,
                             [](MouseSettings& s) {
                                 s.buttons[2].filter = 0;
                                 s.buttons[4].filter = 25;
                             }},
                    EditCase{"left_handed_moves_the_right_action",
                             {{"left-handed", "on"}},
                             [](MouseSettings& s) {
                                 s.buttons[1].action = ButtonAction{32, 0xE9, 0, 0};
                             },
                             [](MouseSettings& s) {
                                 s.buttons[0].action = ButtonAction{32, 0xE9, 0, 0};
                                 s.buttons[1].action = ButtonAction{0, 1, 0, 0};
                             }},
                    EditCase{"left_handed_off_moves_it_back",
                             {{"left-handed", "off"}},
                             [](MouseSettings& s) {
                                 s.buttons[0].action = ButtonAction{0, 2, 0, 0};
                                 s.buttons[1].action = ButtonAction{0, 1, 0, 0};
                             },
                             [](MouseSettings& s) {
                                 s.buttons[0].action = ButtonAction{0, 1, 0, 0};
                                 s.buttons[1].action = ButtonAction{0, 2, 0, 0};
                             }},
                    EditCase{"left_handed_with_its_actions",
                             {{"left-handed", "on"}, {"left-button", "MUTE"}, {"right-button", "LEFT CLICK"}},
                             none,
                             [](MouseSettings& s) {
                                 s.buttons[0].action = ButtonAction{32, 0xE2, 0, 0};
                                 s.buttons[1].action = ButtonAction{0, 1, 0, 0};
                             }},
                    EditCase{"actions",
                             {{"forward-button", "Ctrl+Shift+A"},
                              {"back-button", "fixed-cpi:800x1600"},
                              {"wheel-up", "DISABLE"}},
                             none,
                             [](MouseSettings& s) {
                                 s.buttons[3].action = ButtonAction{2, 3, 4, 0};
                                 s.buttons[4].action = ButtonAction{12, 0, 800, 1600};
                                 s.buttons[6].action = ButtonAction{255, 0, 0, 0};
                             }}),
    [](const auto& info) { return std::string(info.param.label); });

struct ErrorCase {
    const char* label;
    std::vector<std::pair<const char*, const char*>> assignments;
    std::function<void(MouseSettings&)> setup;
    const char* message;  // part of the one-line error
};

class SettingErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(SettingErrors, RefuseAndLeaveTheSettingsAlone)
{
    MouseSettings settings = defaults();
    GetParam().setup(settings);
    const MouseSettings before = settings;
    SettingsEdit edit;
    std::string error;
    bool ok = true;
    for (const auto& [name, value] : GetParam().assignments)
        ok = ok && edit.assign(name, value, error);
    if (ok)
        ok = edit.applyTo(settings, error);
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find(GetParam().message), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
    EXPECT_EQ(settings, before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingErrors,
    testing::Values(
        ErrorCase{"unknown_name", {{"dpi", "800"}}, none, "no setting is called 'dpi'"},
        ErrorCase{"cpi_below_range", {{"cpi1", "10"}}, none, "out of range (50 to 26000)"},
        ErrorCase{"cpi_above_range", {{"cpi1", "800x26050"}}, none, "out of range"},
        ErrorCase{"cpi_not_a_number", {{"cpi1", "fast"}}, none, "not a CPI value"},
        ErrorCase{"cpi_negative", {{"cpi1", "-800"}}, none, "not a CPI value"},
        ErrorCase{"level_count", {{"cpi-levels", "5"}}, none, "cpi-levels: '5' is not one of: 1 to 4"},
        ErrorCase{"level_count_zero", {{"cpi-levels", "0"}}, none, "1 to 4"},
        ErrorCase{"polling_rate_not_offered", {{"polling-rate", "3000"}}, none, "1000, 2000, 4000, 8000"},
        ErrorCase{"filter_above_25", {{"middle-multiclick-filter", "26"}}, none, "0 to 25"},
        ErrorCase{"filter_dash_on_middle", {{"middle-multiclick-filter", "-"}}, none, "0 to 25"},
        ErrorCase{"lod", {{"lift-off-distance", "3mm"}}, none, "1mm, 2mm"},
        ErrorCase{"switch_word", {{"angle-snapping", "yes"}}, none, "on, off"},
        ErrorCase{"spdt_word", {{"left-spdt", "fast"}}, none, "off, speed, safe"},
        ErrorCase{"action_unknown", {{"middle-button", "TELEPORT"}}, none, "middle-button: 'TELEPORT'"},
        ErrorCase{"fixed_cpi_on_the_wheel", {{"wheel-up", "fixed-cpi:800"}}, none, "not the wheel"},
        ErrorCase{"given_twice", {{"cpi1", "800"}, {"cpi1", "900"}}, none, "given twice"},
        ErrorCase{"8000_with_motion_sync",
                  {{"motion-sync", "on"}, {"polling-rate", "8000"}},
                  none,
                  "not offered while motion sync is on"},
        ErrorCase{"8000_while_motion_sync_is_on",
                  {{"polling-rate", "8000"}},
                  [](MouseSettings& s) {
                      s.motionSync = 1;
                      s.pollingInterval = 2;
                  },
                  "add motion-sync=off"},
        ErrorCase{"filter_under_spdt",
                  {{"left-multiclick-filter", "3"}},
                  [](MouseSettings& s) { s.buttons[0].filter = 0xF1; },
                  "add left-spdt=off"},
        ErrorCase{
            "filter_dash_without_spdt", {{"right-multiclick-filter", "-"}}, none, "only while right-spdt"},
        ErrorCase{"left_handed_contradicted",
                  {{"left-handed", "on"}, {"right-button", "BACK"}},
                  none,
                  "in left-handed mode the right button gives LEFT CLICK"},
        ErrorCase{"right_button_made_left_click_while_right_handed_stays_asked",
                  {{"left-handed", "off"}, {"right-button", "LEFT CLICK"}},
                  none,
                  "contradicts right-button"},
        // One of the two main buttons always keeps the primary click.
        ErrorCase{"left_button_only_in_left_handed_mode",
                  {{"left-button", "DISABLE"}},
                  none,
                  "add left-handed=on"}),
    [](const auto& info) { return std::string(info.param.label); });

// What show prints, set takes back without changing a thing.
TEST(SettingNames, EveryShownValueSetsBackToTheSameSettings)
{
    std::vector<MouseSettings> mice(5, defaults());
    mice[1].buttons[0].filter = 0xF1;
    mice[1].buttons[1].filter = 0xF0;
    mice[1].motionSync = 1;
    mice[1].pollingInterval = 8;
    mice[2].buttons[0].action = ButtonAction{0, 2, 0, 0};
    mice[2].buttons[1].action = ButtonAction{0, 1, 0, 0};
    mice[2].buttons[3].action = ButtonAction{2, 1, 0x57, 0};
    mice[3].cpiLevels[2] = CpiLevel{1, 850, 26000};
    mice[3].buttons[4].action = ButtonAction{12, 0, 800, 1600};
    mice[3].buttons[6].action = ButtonAction{3, 1, 2, 3};
    mice[4].buttons[2].filter = 0;
    mice[4].liftOffDistance = 2;
    mice[4].cpiLevelCount = 1;
    for (std::size_t i = 0; i < mice.size(); ++i) {
        MouseSettings settings = mice[i];
        SettingsEdit edit;
        std::string error;
        for (const Setting& setting : allSettings())
            ASSERT_TRUE(edit.assign(setting.name, settingText(setting, mice[i]), error))
                << i << ": " << error;
        ASSERT_TRUE(edit.applyTo(settings, error)) << i << ": " << error;
        EXPECT_EQ(settings, mice[i]) << "mouse " << i;
        EXPECT_TRUE(changedSettings(mice[i], settings).empty());
    }
}

}  // namespace
