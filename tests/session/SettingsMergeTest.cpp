#include <gtest/gtest.h>

#include "session/SettingsMerge.h"

namespace lark::test {
namespace {

MouseSettings defaults()
{
    MouseSettings s;
    setDefaults(s);
    return s;
}

TEST(SettingsMerge, EachEditedFieldWinsAndEveryOtherFieldIsTheMouses)
{
    MouseSettings mouse = defaults();
    mouse.cpiLevelCount = 2;
    mouse.cpiLevels[2] = CpiLevel{1, 1000, 1200};
    mouse.buttons[MiddleSlot].action = ButtonAction{7, 3, 0, 0};
    mouse.opaque0F.fill(0x5A);

    const MouseSettings base = defaults();
    MouseSettings edited = base;
    edited.cpiLevels[0] = CpiLevel{0, 1600, 1600};
    edited.buttons[BackSlot].filter = 9;
    edited.motionSync = 1;

    MouseSettings expected = mouse;
    expected.cpiLevels[0] = edited.cpiLevels[0];
    expected.buttons[BackSlot].filter = 9;
    expected.motionSync = 1;
    EXPECT_EQ(mergeEdits(base, edited, mouse), expected);
}

TEST(SettingsMerge, NoEditsGiveTheMouseSettingsUnchanged)
{
    MouseSettings mouse = defaults();
    mouse.pollingInterval = 4;
    mouse.opaque0F[3] = 0x77;
    EXPECT_EQ(mergeEdits(defaults(), defaults(), mouse), mouse);
}

}  // namespace
}  // namespace lark::test
