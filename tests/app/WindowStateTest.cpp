#include <gtest/gtest.h>

#include <vector>

#include "app/WindowState.h"

namespace lark {
namespace {

using Op = SessionOperation;
using Out = SessionOutcome;
using Msg = StatusMessage;

MouseSettings edits(std::uint8_t cpiLevels = 4)
{
    MouseSettings settings;
    setDefaults(settings);
    settings.cpiLevelCount = cpiLevels;
    return settings;
}

// A connected window that has shown its settings: nothing on the line, APPLY off.
WindowState connected()
{
    WindowState state;
    state.busyChanged(true, Op::Start, edits());
    state.connectedChanged(true);
    state.outcome(Op::Start, Out::Connected, false, edits());
    state.busyChanged(false, Op::None, edits());
    return state;
}

TEST(WindowState, StartsDisconnectedWithEverythingOff)
{
    const WindowState state;
    EXPECT_FALSE(state.controlsEnabled());
    EXPECT_FALSE(state.applyEnabled());
    EXPECT_FALSE(state.resetEnabled());
    EXPECT_TRUE(state.readAgainEnabled());
    EXPECT_EQ(state.status(), Msg::None);
}

TEST(WindowState, EachOperationSaysWhatItDoesWhileItRuns)
{
    struct Case {
        Op operation;
        Msg shown;
    };
    for (const Case c : {Case{Op::Start, Msg::LookingForMouse}, Case{Op::Arrival, Msg::Connecting},
                         Case{Op::ReadAgain, Msg::Reading}, Case{Op::Apply, Msg::Applying},
                         Case{Op::FactoryReset, Msg::Resetting}, Case{Op::Removal, Msg::None},
                         Case{Op::MouseEvent, Msg::None}}) {
        WindowState state = connected();
        state.busyChanged(true, c.operation, edits());
        EXPECT_EQ(state.status(), c.shown) << int(c.operation);
        // Nothing writes or reads again while the session works.
        EXPECT_TRUE(state.busy());
        EXPECT_FALSE(state.applyEnabled());
        EXPECT_FALSE(state.resetEnabled());
        EXPECT_FALSE(state.readAgainEnabled());
        EXPECT_FALSE(state.mayWrite());
    }
}

// The line and APPLY after each outcome, with edits left (settingsDiffer) or not.
TEST(WindowState, OutcomesTable)
{
    struct Case {
        Op operation;
        Out outcome;
        bool differ;
        Msg status;
        bool apply;
    };
    const std::vector<Case> cases = {
        {Op::Start, Out::Connected, false, Msg::None, false},
        {Op::Start, Out::NotFound, false, Msg::Waiting, false},
        {Op::Arrival, Out::NotFound, false, Msg::NotFound, false},
        {Op::Arrival, Out::PermissionDenied, false, Msg::NoPermission, false},
        {Op::Arrival, Out::SettingsNotRead, false, Msg::SettingsNotRead, false},
        {Op::Apply, Out::Applied, false, Msg::Applied, false},
        // Edits made while the write ran keep APPLY on.
        {Op::Apply, Out::Applied, true, Msg::Applied, true},
        // A refused write leaves the edits to apply again.
        {Op::Apply, Out::Refused, true, Msg::Refused, true},
        {Op::Apply, Out::UnreadNotWritten, true, Msg::UnreadNotWritten, true},
        // Missing the mouse changes nothing but the line: APPLY can be pressed again.
        {Op::Apply, Out::NotFound, true, Msg::NotFoundNothingSent, true},
        {Op::FactoryReset, Out::NotFound, true, Msg::NotFoundNothingSent, true},
        {Op::ReadAgain, Out::NotFound, true, Msg::NotFound, true},
        {Op::FactoryReset, Out::ResetDone, false, Msg::ResetDone, false},
        {Op::FactoryReset, Out::ResetNotSent, true, Msg::ResetNotSent, true},
        {Op::FactoryReset, Out::ResetNotConfirmed, true, Msg::ResetNotConfirmed, true},
        {Op::ReadAgain, Out::Connected, true, Msg::None, true},
        {Op::ReadAgain, Out::Connected, false, Msg::None, false},
        {Op::Removal, Out::Unplugged, false, Msg::Unplugged, true},
    };
    for (const Case& c : cases) {
        WindowState state = connected();
        state.editsChanged(true, edits(2));  // an edit before the operation: APPLY on
        state.busyChanged(true, c.operation, edits(2));
        state.outcome(c.operation, c.outcome, c.differ, edits(2));
        state.busyChanged(false, Op::None, edits(2));
        EXPECT_EQ(state.status(), c.status) << int(c.operation) << " " << int(c.outcome);
        EXPECT_EQ(state.applyEnabled(), c.apply) << int(c.operation) << " " << int(c.outcome);
    }
}

TEST(WindowState, AnOperationThatCameToNothingLeavesTheLineAsItWas)
{
    WindowState state = connected();
    state.busyChanged(true, Op::Apply, edits());
    state.outcome(Op::Apply, Out::Refused, true, edits());
    state.busyChanged(false, Op::None, edits());
    // A notice for another device: the refusal still stands.
    state.busyChanged(true, Op::Arrival, edits());
    EXPECT_EQ(state.status(), Msg::Connecting);
    state.outcome(Op::Arrival, Out::Nothing, true, edits());
    EXPECT_EQ(state.status(), Msg::Refused);
}

TEST(WindowState, ARealEditBringsBackTheStandingStateAndACommitWithoutChangeDoesNot)
{
    struct Case {
        Op operation;
        Out outcome;
        Msg afterEdit;
    };
    for (const Case c : {Case{Op::Apply, Out::Applied, Msg::None}, Case{Op::Apply, Out::Refused, Msg::None},
                         Case{Op::ReadAgain, Out::SettingsNotRead, Msg::SettingsNotRead},
                         Case{Op::Apply, Out::UnreadNotWritten, Msg::SettingsNotRead}}) {
        WindowState state = connected();
        state.busyChanged(true, c.operation, edits());
        state.outcome(c.operation, c.outcome, false, edits());
        state.busyChanged(false, Op::None, edits());
        const Msg outcome = state.status();

        state.editsChanged(false, edits());  // the focus passed through an edit box
        EXPECT_EQ(state.status(), outcome);
        state.editsChanged(true, edits(3));
        EXPECT_EQ(state.status(), c.afterEdit) << int(c.outcome);
    }
}

TEST(WindowState, ADisconnectedWindowNeverWantsApply)
{
    WindowState state = connected();
    state.connectedChanged(false);
    state.editsChanged(true, edits(2));  // disabling commits a focused edit
    EXPECT_FALSE(state.applyEnabled());
    EXPECT_FALSE(state.resetEnabled());
    EXPECT_FALSE(state.mayWrite());
    // Enabling includes APPLY until the flow decides.
    state.connectedChanged(true);
    EXPECT_TRUE(state.applyEnabled());
}

TEST(WindowState, NotGatheredSaysSoUntilAValueChanges)
{
    WindowState state = connected();
    state.notGathered(edits());
    EXPECT_EQ(state.status(), Msg::NotGathered);
    state.editsChanged(true, edits(1));
    EXPECT_EQ(state.status(), Msg::None);
}

// The polling-rate button changes the mouse under the window: no outcome from before stays on
// the line as if it still described the mouse, and a later edit shows the standing state.
TEST(WindowState, AnEventFromTheMouseReplacesTheLastOutcome)
{
    struct Case {
        Op operation;
        Out outcome;
    };
    for (const Case c :
         {Case{Op::Apply, Out::Applied}, Case{Op::Apply, Out::Refused},
          Case{Op::FactoryReset, Out::ResetDone}, Case{Op::FactoryReset, Out::ResetNotConfirmed},
          Case{Op::ReadAgain, Out::Connected}, Case{Op::Apply, Out::UnreadNotWritten}}) {
        WindowState state = connected();
        state.busyChanged(true, c.operation, edits());
        state.outcome(c.operation, c.outcome, false, edits());
        state.busyChanged(false, Op::None, edits());

        state.pollingRateChangedOnMouse(edits());
        EXPECT_EQ(state.status(), Msg::PollingRateChangedOnMouse) << int(c.outcome);
        state.editsChanged(true, edits(3));
        EXPECT_EQ(state.status(), Msg::None) << int(c.outcome);
    }
}

TEST(WindowState, AnEventWhileAnOperationRunsStandsUntilItsOutcome)
{
    struct Case {
        Out outcome;
        Msg shown;
    };
    for (const Case c :
         {Case{Out::Applied, Msg::Applied}, Case{Out::Nothing, Msg::PollingRateChangedOnMouse}}) {
        WindowState state = connected();
        state.busyChanged(true, Op::Apply, edits());
        state.outcome(Op::Apply, Out::Applied, false, edits());
        state.busyChanged(false, Op::None, edits());
        state.busyChanged(true, Op::Apply, edits());
        state.pollingRateChangedOnMouse(edits());
        EXPECT_EQ(state.status(), Msg::Applying);
        state.outcome(Op::Apply, c.outcome, false, edits());
        state.busyChanged(false, Op::None, edits());
        EXPECT_EQ(state.status(), c.shown) << int(c.outcome);
    }
}

TEST(WindowState, ProfilesAreForAConnectedIdleWindowAndSayWhatTheyDid)
{
    WindowState state;
    EXPECT_FALSE(state.profilesEnabled());
    state = connected();
    EXPECT_TRUE(state.profilesEnabled());
    state.busyChanged(true, Op::ReadAgain, edits());
    EXPECT_FALSE(state.profilesEnabled());
    state.outcome(Op::ReadAgain, Out::Connected, false, edits());
    state.busyChanged(false, Op::None, edits());

    state.profileLoaded(true, edits(2));
    EXPECT_EQ(state.status(), Msg::ProfileLoaded);
    EXPECT_TRUE(state.applyEnabled());
    state.profileSaved(edits(2));
    EXPECT_EQ(state.status(), Msg::ProfileSaved);
    state.editsChanged(true, edits(1));
    EXPECT_EQ(state.status(), Msg::None);
}

}  // namespace
}  // namespace lark
