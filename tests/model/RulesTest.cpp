#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/Rules.h"

using namespace lark;

namespace {

MouseSettings defaults()
{
    MouseSettings settings;
    setDefaults(settings);
    return settings;
}

constexpr ButtonAction kCtrlA{2, 1, 4, 0};

TEST(Rules, LeftHandedIsSlotOneGivingTheLeftClickWhateverItsParameters)
{
    struct Case {
        ButtonAction right;
        bool leftHanded;
    };
    const Case cases[] = {
        {{0, 1, 0, 0}, true},   {{0, 1, 5, 0}, true},  {{0, 1, 0, 0x1234}, true},
        {{0, 2, 0, 0}, false},  {{2, 1, 0, 0}, false}, {{0, 3, 0, 0}, false},
    };
    for (const Case& c : cases) {
        MouseSettings settings = defaults();
        settings.buttons[RightSlot].action = c.right;
        EXPECT_EQ(isLeftHanded(settings), c.leftHanded) << int(c.right.type) << "," << int(c.right.code);
        EXPECT_EQ(configurableMainSlot(settings), c.leftHanded ? LeftSlot : RightSlot);
    }
}

TEST(Rules, LeftHandedMovesTheActionAndSwapsTheFilters)
{
    MouseSettings settings = defaults();
    settings.buttons[RightSlot] = {kCtrlA, 3};
    settings.buttons[LeftSlot].filter = 0xF1;

    setLeftHanded(settings, true);
    EXPECT_EQ(settings.buttons[LeftSlot], (ButtonSlot{kCtrlA, 3}));
    EXPECT_EQ(settings.buttons[RightSlot], (ButtonSlot{kLeftClickAction, 0xF1}));
    EXPECT_TRUE(isLeftHanded(settings));

    // Asking for the mode it is already in changes nothing.
    const MouseSettings before = settings;
    setLeftHanded(settings, true);
    EXPECT_EQ(settings, before);

    // And back: where it started.
    setLeftHanded(settings, false);
    EXPECT_EQ(settings.buttons[RightSlot], (ButtonSlot{kCtrlA, 3}));
    EXPECT_EQ(settings.buttons[LeftSlot], (ButtonSlot{kLeftClickAction, 0xF1}));
    EXPECT_FALSE(isLeftHanded(settings));
}

TEST(Rules, MotionSyncAnd8000HzNeverMeet)
{
    struct Case {
        std::uint8_t interval;
        bool on;
        std::uint8_t intervalAfter;
    };
    for (const Case c : {Case{1, true, 2}, Case{2, true, 2}, Case{8, true, 8}, Case{1, false, 1}}) {
        MouseSettings settings = defaults();
        settings.pollingInterval = c.interval;
        setMotionSync(settings, c.on);
        EXPECT_EQ(settings.motionSync, c.on ? 1 : 0);
        EXPECT_EQ(settings.pollingInterval, c.intervalAfter) << int(c.interval);
        EXPECT_FALSE(motionSyncClashes(settings));
    }
    MouseSettings synced = defaults();
    setMotionSync(synced, true);
    for (std::uint8_t interval : {8, 4, 2})
        EXPECT_TRUE(pollingRateOffered(synced, interval)) << int(interval);
    EXPECT_FALSE(pollingRateOffered(synced, 1));
    for (std::uint8_t notARate : {0, 3, 16})
        EXPECT_FALSE(pollingRateOffered(defaults(), notARate)) << int(notARate);
}

TEST(Rules, PollingHertzAndIntervalBothWays)
{
    for (const auto& [hz, interval] : {std::pair{1000u, 8}, {2000u, 4}, {4000u, 2}, {8000u, 1}}) {
        EXPECT_EQ(pollingHz(static_cast<std::uint8_t>(interval)), hz);
        EXPECT_EQ(pollingIntervalOfHz(hz), interval);
    }
    EXPECT_EQ(pollingHz(0), std::nullopt);
    EXPECT_EQ(pollingHz(3), std::nullopt);
    EXPECT_EQ(pollingIntervalOfHz(500), std::nullopt);
    EXPECT_EQ(pollingIntervalOfHz(8001), std::nullopt);
}

TEST(Rules, FiltersGiveWayToSpdtOnTheMainButtonsOnly)
{
    MouseSettings settings = defaults();
    settings.buttons[LeftSlot].filter = 0xF1;
    settings.buttons[RightSlot].filter = 0xF0;
    settings.buttons[MiddleSlot].filter = 0xF1;  // no SPDT there: a plain, if odd, filter byte
    EXPECT_FALSE(multiclickFilterInUse(settings, LeftSlot));
    EXPECT_FALSE(multiclickFilterInUse(settings, RightSlot));
    EXPECT_TRUE(multiclickFilterInUse(settings, MiddleSlot));
    settings.buttons[LeftSlot].filter = 25;
    EXPECT_TRUE(multiclickFilterInUse(settings, LeftSlot));
}

TEST(Rules, FixedCpiOnButtonsNotOnTheWheel)
{
    for (int slot : {LeftSlot, RightSlot, MiddleSlot, ForwardSlot, BackSlot})
        EXPECT_TRUE(fixedCpiOffered(slot)) << slot;
    for (int slot : {WheelUpSlot, WheelDownSlot})
        EXPECT_FALSE(fixedCpiOffered(slot)) << slot;
}

TEST(Rules, PollingRateEvent)
{
    struct Case {
        std::uint8_t value;
        std::uint8_t interval;
        std::uint8_t motionSync;
    };
    for (const Case c : {Case{8, 8, 1}, Case{4, 4, 1}, Case{2, 2, 1}, Case{1, 1, 0}, Case{7, 2, 1}, Case{0, 2, 1}}) {
        MouseSettings settings = defaults();
        settings.pollingInterval = 2;
        settings.motionSync = 1;
        applyPollingRateEvent(settings, c.value);
        EXPECT_EQ(settings.pollingInterval, c.interval) << int(c.value);
        EXPECT_EQ(settings.motionSync, c.motionSync) << int(c.value);
    }
}

}  // namespace
