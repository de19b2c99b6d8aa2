#include <gtest/gtest.h>

#include <optional>

#include "settings/SettingsModel.h"

using namespace lark;

namespace {

struct ModelWithButton : ::testing::Test {
    SettingsModel model;
    std::optional<bool> applyEnabled;
    int calls = 0;

    void SetUp() override
    {
        model.setApplyListener([this](bool on) {
            applyEnabled = on;
            ++calls;
        });
        model.setDefaults();
    }
};

}  // namespace

TEST_F(ModelWithButton, EqualAfterDefaults)
{
    model.updateApplyButton();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(applyEnabled, false);
}

TEST_F(ModelWithButton, EveryCarriedFieldCounts)
{
    // One change per kind of field, opaque ones included; each must enable APPLY.
    const std::vector<std::function<void(MouseSettings&)>> edits = {
        [](MouseSettings& s) { s.opaque0F[7] ^= 1; },
        [](MouseSettings& s) { s.opaqueAt00 = 9; },
        [](MouseSettings& s) { s.opaqueAt08 = 9; },
        [](MouseSettings& s) { s.cpiLevels[3].y = 3250; },
        [](MouseSettings& s) { s.cpiLevels[1].xySeparate = 1; },
        [](MouseSettings& s) { s.buttons[SixthSlot].action.param2 = 1; },
        [](MouseSettings& s) { s.buttons[WheelDownSlot].filter = 3; },
        [](MouseSettings& s) { s.motionSync = 1; },
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        model.setDefaults();
        edits[i](model.appliedSettings);
        model.updateApplyButton();
        EXPECT_EQ(applyEnabled, true) << "edit " << i;
    }
}

TEST_F(ModelWithButton, ChangeAndUndoDisablesAgain)
{
    model.editedSettings.cpiLevels[0].x = 450;
    model.updateApplyButton();
    EXPECT_EQ(applyEnabled, true);
    model.editedSettings.cpiLevels[0].x = 400;
    model.updateApplyButton();
    EXPECT_EQ(applyEnabled, false);
}

TEST_F(ModelWithButton, CopyEditedToAppliedMakesThemEqual)
{
    model.editedSettings.pollingInterval = 4;
    model.editedSettings.opaque0F[0] = 0x42;
    model.copyEditedToApplied();
    EXPECT_FALSE(model.settingsDiffer());
    EXPECT_EQ(model.appliedSettings.opaque0F[0], 0x42);
}

TEST(SettingsDefaults, KeepOpaqueBytesOfAnInstanceReadFromTheMouse)
{
    MouseSettings fresh;
    setDefaults(fresh);
    EXPECT_EQ(fresh.opaque0F, (std::array<std::uint8_t, kOpaque0FSize>{}));

    SettingsBlock block;
    block.fill(0x3C);
    MouseSettings read;
    decodeSettings(block, read);
    setDefaults(read);
    for (auto b : read.opaque0F)
        EXPECT_EQ(b, 0x3C);
    read.opaque0F = {};
    EXPECT_EQ(read, fresh);
}
