#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <utility>

#include "device/Protocol.h"
#include "session/MouseSession.h"
#include "settings/SettingsBlock.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"

namespace lark::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Direction = VirtualMouse::Direction;

const std::string kConfigPath = VirtualMouse::pathOf(VirtualMouse::Collection::Config);

// Settings that differ from the factory ones, with bytes the tool never shows.
MouseSettings storedSettings()
{
    MouseSettings s;
    setDefaults(s);
    for (int i = 0; i < kOpaque0FSize; ++i)
        s.opaque0F[i] = static_cast<std::uint8_t>(0x40 + i);
    s.cpiLevels[0] = CpiLevel{0, 800, 800};
    s.angleSnapping = 1;
    s.pollingInterval = 2;
    return s;
}

SettingsBlock encoded(const MouseSettings& s)
{
    SettingsBlock block{};
    encodeSettings(s, block);
    return block;
}

MouseSettings decoded(const SettingsBlock& block)
{
    MouseSettings s;
    decodeSettings(block, s);
    return s;
}

// The session on the virtual mouse, with recorded waits and the frame log on their clock.
class SessionTest : public ::testing::Test {
protected:
    SessionTest() { mouse.setStoredBlock(encoded(storedSettings())); }

    void startConnected()
    {
        ASSERT_EQ(session.start(), SessionOutcome::Connected);
        mouse.clearFrameLog();
        sleeper.clear();
    }

    // Commands (byte 1) of the requests sent, in order: settings writes show as 0x11.
    std::vector<int> commandsSent() const
    {
        std::vector<int> out;
        for (const auto& f : mouse.frameLog())
            if (f.direction == Direction::Set && f.bytes.size() > 1)
                out.push_back(f.bytes[1]);
        return out;
    }

    // The block of the last settings write that reached the mouse.
    SettingsBlock lastWrittenBlock() const
    {
        SettingsBlock block{};
        for (const auto& f : mouse.frameLog())
            if (f.direction == Direction::Set && f.reportId == kSettingsReportId && f.bytes.size() > 1 &&
                f.bytes[1] == kCommandWriteSettings)
                std::copy_n(f.bytes.begin() + kSettingsBlockOffset, kSettingsBlockSize, block.begin());
        return block;
    }

    RecordingSleeper sleeper;
    VirtualMouse mouse{sleeper.clock()};
    MouseSession session{mouse, sleeper};
};

// --- start-up ---

TEST_F(SessionTest, StartUpReadsVersionAndSettingsAndTakesThemAsApplied)
{
    EXPECT_EQ(session.start(), SessionOutcome::Connected);
    EXPECT_THAT(commandsSent(), ElementsAre(kCommandReadVersion, kCommandReadSettings));
    EXPECT_THAT(sleeper.waits(), ElementsAre(50u, 80u));
    EXPECT_TRUE(session.isConnected());
    EXPECT_EQ(session.firmwareVersion(), std::optional<std::uint16_t>(0x0106));
    EXPECT_TRUE(session.settingsKnown());
    EXPECT_EQ(session.model().editedSettings, storedSettings());
    EXPECT_EQ(session.model().appliedSettings, storedSettings());
    EXPECT_FALSE(session.settingsDiffer());
}

TEST_F(SessionTest, StartUpOutcomes)
{
    struct Case {
        const char* name;
        std::function<void(VirtualMouse&)> fault;
        SessionOutcome outcome;
        bool connected;
        bool settingsKnown;
    };
    const Case cases[] = {
        {"no mouse", [](VirtualMouse& m) { m.unplug(); }, SessionOutcome::NotFound, false, false},
        {"not ours to open",
         [](VirtualMouse& m) {
             m.fail(VirtualMouse::Call::Open, HidError::PermissionDenied, VirtualMouse::kForever);
         },
         SessionOutcome::PermissionDenied, false, false},
        // Opened, but every answer is "not done": the controls stay off, and the settings
        // shown are not the mouse's.
        {"answers refused", [](VirtualMouse& m) { m.answerStatus(0, VirtualMouse::kForever); },
         SessionOutcome::SettingsNotRead, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSleeper s;
        VirtualMouse m{s.clock()};
        c.fault(m);
        MouseSession session{m, s};
        EXPECT_EQ(session.start(), c.outcome);
        EXPECT_EQ(session.isConnected(), c.connected);
        EXPECT_EQ(session.settingsKnown(), c.settingsKnown);
    }
}

// The virtual mouse, counting how often the interfaces are enumerated.
class CountingBackend : public HidBackend {
public:
    explicit CountingBackend(VirtualMouse& mouse) : mouse_(mouse) {}
    std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override
    {
        ++enumerations;
        return mouse_.enumerate(vendorId, productId);
    }
    std::unique_ptr<HidDevice> open(const std::string& path) override { return mouse_.open(path); }
    HidError lastOpenError() const override { return mouse_.lastOpenError(); }
    int enumerations = 0;

private:
    VirtualMouse& mouse_;
};

// Finding the mouse enumerates its interfaces once; the event reader opens its interface from
// that list (a second enumeration would hold up the first request), at start and at a plug.
TEST(SessionEnumeration, StartAndArrivalEnumerateOnceAndOpenTheEventReader)
{
    RecordingSleeper sleeper;
    VirtualMouse mouse{sleeper.clock()};
    CountingBackend backend{mouse};
    MouseSession session{backend, sleeper};
    ASSERT_EQ(session.start(), SessionOutcome::Connected);
    EXPECT_EQ(backend.enumerations, 1);
    EXPECT_EQ(mouse.openDeviceCount(), 2);  // the configuration interface and the event reader

    mouse.unplug();
    ASSERT_EQ(session.removal(kConfigPath), SessionOutcome::Unplugged);
    mouse.plug();
    backend.enumerations = 0;
    ASSERT_EQ(session.arrival(kConfigPath), SessionOutcome::Connected);
    EXPECT_EQ(backend.enumerations, 1);
    EXPECT_EQ(mouse.openDeviceCount(), 2);
}

// --- APPLY ---

TEST_F(SessionTest, ApplyWritesTheEditedBlockAndOnlyAcceptedSettingsCountAsApplied)
{
    struct Case {
        const char* name;
        int refusals;  // writes answered "not done" before the mouse accepts
        SessionOutcome outcome;
        std::vector<unsigned> waits;
        bool applied;
    };
    const Case cases[] = {
        // The read first (80 ms): nothing is written over settings the session has not seen.
        {"accepted at once", 0, SessionOutcome::Applied, {80, 300}, true},
        {"accepted on the second write", 1, SessionOutcome::Applied, {80, 300, 350}, true},
        {"refused three times", 3, SessionOutcome::Refused, {80, 300, 350, 400}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSleeper s;
        VirtualMouse m{s.clock()};
        m.setStoredBlock(encoded(storedSettings()));
        MouseSession session{m, s};
        ASSERT_EQ(session.start(), SessionOutcome::Connected);
        s.clear();
        m.clearFrameLog();
        m.refuseWrites(c.refusals);

        session.model().editedSettings.cpiLevels[1] = CpiLevel{1, 900, 1000};
        const MouseSettings edited = session.model().editedSettings;
        EXPECT_EQ(session.apply(), c.outcome);
        EXPECT_EQ(s.waits(), c.waits);
        EXPECT_EQ(session.settingsDiffer(), !c.applied);
        if (c.applied) {
            EXPECT_EQ(m.storedBlock(), encoded(edited));
            EXPECT_EQ(session.mouseBlock(), encoded(edited));
            EXPECT_EQ(session.model().appliedSettings, edited);
        } else {
            EXPECT_EQ(session.model().appliedSettings, storedSettings());
        }
    }
}

// APPLY or Factory Reset that miss the mouse (a failed open, or its removal notice not yet come)
// change nothing the window shows, so the user can try again; its removal and return still count.
TEST_F(SessionTest, MissingTheMouseOnApplyOrResetKeepsTheEditsAndCountsItsRemovalAndReturn)
{
    for (const bool reset : {false, true}) {
        SCOPED_TRACE(reset ? "factory reset" : "apply");
        VirtualMouse m;
        RecordingSleeper s;
        MouseSession ses(m, s);
        ASSERT_EQ(ses.start(), SessionOutcome::Connected);
        ses.model().editedSettings.rippleControl = 1;
        const MouseSettings edited = ses.model().editedSettings;
        const MouseSettings applied = ses.model().appliedSettings;
        m.unplug();
        EXPECT_EQ(reset ? ses.factoryReset() : ses.apply(), SessionOutcome::NotFound);
        EXPECT_TRUE(ses.isConnected());
        EXPECT_EQ(ses.firmwareVersion(), std::optional<std::uint16_t>(0x0106));
        EXPECT_EQ(ses.model().editedSettings, edited);
        EXPECT_EQ(ses.model().appliedSettings, applied);

        // Back (a failed open, not an unplug): the next APPLY writes the edits.
        m.plug();
        if (!reset) {
            EXPECT_EQ(ses.apply(), SessionOutcome::Applied);
            EXPECT_EQ(m.storedBlock(), encoded(edited));
        }
        // Gone for good: the removal notice still disconnects, and the return is an arrival.
        m.unplug();
        EXPECT_EQ(reset ? ses.factoryReset() : ses.apply(), SessionOutcome::NotFound);
        EXPECT_EQ(ses.removal(kConfigPath), SessionOutcome::Unplugged);
        EXPECT_FALSE(ses.isConnected());
        m.plug();
        EXPECT_EQ(ses.arrival(kConfigPath), SessionOutcome::Connected);
        EXPECT_TRUE(ses.isConnected());
    }
}

// F5 that misses the mouse says what it found: no mouse.
TEST_F(SessionTest, ReadingAgainWithoutTheMouseDisconnects)
{
    startConnected();
    mouse.unplug();
    EXPECT_EQ(session.readAgain(), SessionOutcome::NotFound);
    EXPECT_FALSE(session.isConnected());
    EXPECT_EQ(session.firmwareVersion(), std::nullopt);
    mouse.plug();
    EXPECT_EQ(session.arrival(kConfigPath), SessionOutcome::Connected);
}

TEST_F(SessionTest, ApplyAfterAnUnreadStartReadsFirstAndLaysTheEditsOverTheMouseSettings)
{
    mouse.answerStatus(0, VirtualMouse::kForever);
    ASSERT_EQ(session.start(), SessionOutcome::SettingsNotRead);
    mouse.clearFaults();
    mouse.clearFrameLog();

    session.model().editedSettings.rippleControl = 1;  // the user's one edit, on the defaults shown
    EXPECT_EQ(session.apply(), SessionOutcome::Applied);
    EXPECT_THAT(commandsSent(), ElementsAre(kCommandReadSettings, kCommandWriteSettings));

    MouseSettings expected = storedSettings();
    expected.rippleControl = 1;
    EXPECT_EQ(decoded(lastWrittenBlock()), expected);  // the unseen bytes and every other value kept
    EXPECT_EQ(session.model().editedSettings, expected);
    EXPECT_FALSE(session.settingsDiffer());
}

TEST_F(SessionTest, ApplyAfterAnUnreadStartWritesNothingWhenTheReadFailsAgain)
{
    mouse.answerStatus(0, VirtualMouse::kForever);
    ASSERT_EQ(session.start(), SessionOutcome::SettingsNotRead);
    mouse.clearFrameLog();

    session.model().editedSettings.rippleControl = 1;
    EXPECT_EQ(session.apply(), SessionOutcome::UnreadNotWritten);
    EXPECT_THAT(commandsSent(), ElementsAre(kCommandReadSettings));
    EXPECT_EQ(mouse.storedBlock(), encoded(storedSettings()));
    EXPECT_TRUE(session.settingsDiffer());  // the edit is still there to apply
}

// --- Factory Reset ---

TEST_F(SessionTest, FactoryResetCountsOnlyAConfirmedReset)
{
    struct Case {
        const char* name;
        std::function<void(VirtualMouse&)> fault;
        SessionOutcome outcome;
        bool reset;
    };
    const Case cases[] = {
        {"confirmed", [](VirtualMouse&) {}, SessionOutcome::ResetDone, true},
        {"refused", [](VirtualMouse& m) { m.refuse(kCommandFactoryReset, 1); },
         SessionOutcome::ResetNotConfirmed, false},
        // Done by the mouse, but its answer says otherwise: the read-back tells the truth.
        {"done, answered not done", [](VirtualMouse& m) { m.answerStatus(0, 1); }, SessionOutcome::ResetDone,
         true},
        {"no answer",
         [](VirtualMouse& m) {
             m.fail(VirtualMouse::Call::Get, HidError::DeviceGone, VirtualMouse::kForever);
         },
         SessionOutcome::ResetNotConfirmed, false},
        // The answer lost once, the reset done: the read-back tells.
        {"answer lost, mouse reset",
         [](VirtualMouse& m) { m.fail(VirtualMouse::Call::Get, HidError::Transient, 1); },
         SessionOutcome::ResetDone, true},
        {"not sent",
         [](VirtualMouse& m) {
             m.fail(VirtualMouse::Call::Set, HidError::DeviceGone, VirtualMouse::kForever);
         },
         SessionOutcome::ResetNotSent, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSleeper s;
        VirtualMouse m{s.clock()};
        m.setStoredBlock(encoded(storedSettings()));
        MouseSession session{m, s};
        ASSERT_EQ(session.start(), SessionOutcome::Connected);
        c.fault(m);
        EXPECT_EQ(session.factoryReset(), c.outcome);
        // A reset is read back: the applied copy is what the mouse holds, its unseen bytes too.
        MouseSettings held;
        decodeSettings(m.storedBlock(), held);
        const MouseSettings expected = c.reset ? held : storedSettings();
        EXPECT_EQ(session.model().editedSettings, expected);
        EXPECT_EQ(session.model().appliedSettings, expected);
    }
}

TEST_F(SessionTest, AValueSetBackAfterAFactoryResetCanBeAppliedAgain)
{
    startConnected();
    ASSERT_EQ(session.model().editedSettings.cpiLevels[0].x, 800);
    ASSERT_EQ(session.factoryReset(), SessionOutcome::ResetDone);
    ASSERT_NE(session.model().editedSettings.cpiLevels[0].x, 800);

    session.model().editedSettings.cpiLevels[0] = CpiLevel{0, 800, 800};
    EXPECT_TRUE(session.settingsDiffer());
    EXPECT_EQ(session.apply(), SessionOutcome::Applied);
    EXPECT_EQ(decoded(mouse.storedBlock()).cpiLevels[0].x, 800);
}

// --- arrival, removal, events ---

TEST_F(SessionTest, ArrivalReconnectsOncePerPlugAndFollowsWhatTheMouseNowHolds)
{
    startConnected();
    mouse.unplug();
    EXPECT_EQ(session.removal(kConfigPath), SessionOutcome::Unplugged);
    EXPECT_EQ(session.removal(kConfigPath), SessionOutcome::Nothing);  // another interface
    EXPECT_FALSE(session.isConnected());

    MouseSettings changedElsewhere = storedSettings();
    changedElsewhere.cpiLevelCount = 2;
    mouse.setStoredBlock(encoded(changedElsewhere));
    mouse.plug();
    sleeper.clear();
    EXPECT_EQ(session.arrival("/dev/other-vendor"), SessionOutcome::Nothing);
    EXPECT_EQ(session.arrival(kConfigPath), SessionOutcome::Connected);
    EXPECT_EQ(session.arrival(kConfigPath), SessionOutcome::Nothing);
    EXPECT_THAT(sleeper.waits(),
                ElementsAre(900u, 50u, 100u, 50u, 100u, 50u, 100u, 50u, 100u, 50u, 100u, 80u));
    EXPECT_EQ(session.model().editedSettings, changedElsewhere);
    EXPECT_EQ(session.model().appliedSettings, changedElsewhere);
    EXPECT_FALSE(session.settingsDiffer());
}

TEST_F(SessionTest, PollingRateEventsReachBothCopiesWhenTakenIn)
{
    startConnected();
    session.mouseEventArrived(kEventPollingRateChanged, 4);
    session.mouseEventArrived(0x7F, 1);  // not an event this tool knows: nothing changes
    EXPECT_EQ(session.model().editedSettings.pollingInterval, storedSettings().pollingInterval);
    EXPECT_EQ(session.takeMouseEvents().size(), 2u);
    EXPECT_EQ(session.model().editedSettings.pollingInterval, 4);
    EXPECT_EQ(session.model().appliedSettings.pollingInterval, 4);
    EXPECT_FALSE(session.settingsDiffer());
    EXPECT_TRUE(session.takeMouseEvents().empty());
}

// A sleeper that runs a step during its first wait of a given length: something that happens
// while APPLY waits.
class SteppingSleeper : public RecordingSleeper {
public:
    void sleepMs(unsigned milliseconds) override
    {
        RecordingSleeper::sleepMs(milliseconds);
        if (milliseconds == length_ && step_)
            std::exchange(step_, nullptr)();
    }
    void duringFirstWaitOf(unsigned length, std::function<void()> step)
    {
        length_ = length;
        step_ = std::move(step);
    }

private:
    unsigned length_ = 0;
    std::function<void()> step_;
};

// The polling-rate button pressed while APPLY waits for a refused write's answer: the next
// attempt writes the rate the button chose, and the mouse ends where both copies say.
TEST(SessionEvents, EachWriteAttemptWritesTheSettingsAsTheyAreAtThatAttempt)
{
    SteppingSleeper sleeper;
    VirtualMouse mouse{sleeper.clock()};
    mouse.setStoredBlock(encoded(storedSettings()));
    MouseSession session(mouse, sleeper);
    ASSERT_EQ(session.start(), SessionOutcome::Connected);
    session.model().editedSettings.rippleControl = 1;
    mouse.refuseWrites(1);
    mouse.clearFrameLog();
    // The first write's wait for its answer.
    sleeper.duringFirstWaitOf(300, [&] { session.mouseEventArrived(kEventPollingRateChanged, 8); });
    EXPECT_EQ(session.apply(), SessionOutcome::Applied);

    std::vector<std::uint8_t> intervals;
    for (const auto& frame : mouse.frameLog())
        if (frame.direction == Direction::Set && frame.reportId == kSettingsReportId &&
            frame.bytes.size() > 1 && frame.bytes[1] == kCommandWriteSettings) {
            SettingsBlock block{};
            std::copy_n(frame.bytes.begin() + kSettingsBlockOffset, kSettingsBlockSize, block.begin());
            intervals.push_back(decoded(block).pollingInterval);
        }
    EXPECT_THAT(intervals, ElementsAre(storedSettings().pollingInterval, 8));
    const MouseSettings held = decoded(mouse.storedBlock());
    EXPECT_EQ(held.pollingInterval, 8);
    EXPECT_EQ(held.rippleControl, 1);
    EXPECT_EQ(session.model().appliedSettings, held);
    EXPECT_FALSE(session.settingsDiffer());
}

TEST_F(SessionTest, AStoppedSessionSendsNothingMore)
{
    startConnected();
    session.requestStop();
    session.model().editedSettings.rippleControl = 1;
    EXPECT_EQ(session.apply(), SessionOutcome::Nothing);
    EXPECT_EQ(session.factoryReset(), SessionOutcome::Nothing);
    EXPECT_THAT(mouse.frameLog(), IsEmpty());
}

}  // namespace
}  // namespace lark::test
