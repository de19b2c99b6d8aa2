// Runs inside `hidemu run`: the production hidapi backend against an emulated mouse that the
// system's hidapi and libudev see as real hidraw nodes. The emulator is driven through its
// control socket ($HIDEMU_CTL).
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/DeviceEventListener.h"
#include "device/DeviceIds.h"
#include "device/DeviceLink.h"
#include "device/MouseCommands.h"
#include "device/Protocol.h"
#include "platform/linux/HidapiBackend.h"
#include "settings/SettingsBlock.h"
#include "support/HidemuTier.h"
#include "support/HidemuControl.h"

namespace lark::test {
namespace {

using ::testing::ElementsAre;

int loggedFrames(const std::string& direction, int reportId)
{
    const auto log = hidemuControl("log");
    return log ? countLoggedFrames(*log, direction, reportId) : -1;
}

class HidrawFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("HIDEMU_CTL"))
            GTEST_SKIP() << "runs only under hidemu";
        ASSERT_TRUE(hidemuControl("fault clear"));
        ASSERT_TRUE(link.findMouse(kProductId)) << "the emulated mouse was not found";
        ASSERT_TRUE(hidemuControl("log clear"));
    }

    void ctl(const std::string& command) { ASSERT_TRUE(hidemuControl(command)) << command; }

    HidapiBackend backend;
    RealRecordingSleeper sleeper;
    DeviceLink link{backend, sleeper};
};

// --- discovery, run once per interface layout ---

using HidrawDiscovery = HidrawFixture;

TEST_F(HidrawDiscovery, FindsTheConfigurationCollectionAmongAllCollections)
{
    const auto interfaces = backend.enumerate(kVendorId, kProductId);
    bool config = false, events = false, other = false;
    for (const auto& info : interfaces) {
        config = config || (info.usagePage == kConfigUsagePage && info.usage == kConfigUsage);
        events = events || (info.usagePage == kEventUsagePage && info.usage == kEventUsage);
        other = other || info.usagePage == 0x0001;
        EXPECT_GE(info.interfaceNumber, 0);
    }
    EXPECT_TRUE(config && events && other);
    EXPECT_TRUE(link.isConnected());
    std::uint16_t version = 0;
    EXPECT_EQ(readFirmwareVersion(link, version), CommandResult::Done);
    EXPECT_EQ(firmwareVersionText(version), "V1.06");
}

TEST_F(HidrawDiscovery, UnpluggedMouseIsNotFoundAndNothingIsSent)
{
    ctl("unplug");
    EXPECT_FALSE(link.findMouse(kProductId));
    EXPECT_FALSE(link.hasHandle());
    std::uint16_t version = 0;
    EXPECT_EQ(readFirmwareVersion(link, version), CommandResult::NotSent);
    EXPECT_EQ(loggedFrames("set", kCommandReportId), 0);
    ctl("plug");
    EXPECT_TRUE(link.findMouse(kProductId));
}

// --- commands through the real classification ---

using HidrawCommands = HidrawFixture;

TEST_F(HidrawCommands, ReadsVersionAndTheStoredBlock)
{
    ctl("fw 0x0230");
    std::uint16_t version = 0;
    ASSERT_EQ(readFirmwareVersion(link, version), CommandResult::Done);
    EXPECT_EQ(version, 0x0230);
    ctl("fw 0x0106");

    SettingsModel model;
    ASSERT_EQ(readSettings(link, model), CommandResult::Done);
    const auto stored = hidemuControl("settings");
    ASSERT_TRUE(stored);
    EXPECT_EQ(hex(model.lastBlock) + "\n", *stored);
    EXPECT_THAT(sleeper.waits, ElementsAre(50, 80));
}

TEST_F(HidrawCommands, WriteThenReadBack)
{
    expectWriteReadBackAndReset(link, [](const std::string& command) { return hidemuControl(command); });
}

TEST_F(HidrawCommands, BusyAnswersArePolled)
{
    ctl("busy 0xa1 2");
    std::uint16_t version = 0;
    EXPECT_EQ(readFirmwareVersion(link, version), CommandResult::Done);
    EXPECT_EQ(version, 0x0106);
    EXPECT_EQ(loggedFrames("get", kCommandReportId), 3);
    EXPECT_THAT(sleeper.waits, ElementsAre(50));
}

TEST_F(HidrawCommands, MouseThatStaysBusyGivesNoAnswer)
{
    ctl("busy 0xa1 forever 4");
    std::uint16_t version = 0;
    EXPECT_EQ(readFirmwareVersion(link, version), CommandResult::NoAnswer);
    EXPECT_EQ(loggedFrames("get", kCommandReportId), 11);
    EXPECT_THAT(sleeper.waits, ElementsAre(50, 100, 200, 300, 400, 500, 600, 700, 800, 900));
}

class HidrawTransientErrno : public HidrawFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(HidrawTransientErrno, SetIsRetried)
{
    ctl(std::string("fault set 0xa1 2 errno=") + GetParam());
    std::uint16_t version = 0;
    EXPECT_EQ(readFirmwareVersion(link, version), CommandResult::Done);
    EXPECT_EQ(loggedFrames("set", kCommandReportId), 3);
    EXPECT_THAT(sleeper.waits, ElementsAre(50, 50));
}

TEST_P(HidrawTransientErrno, GetIsRetriedTwoGetsAtATime)
{
    ctl(std::string("fault get 0xa1 forever errno=") + GetParam());
    std::uint16_t version = 0;
    EXPECT_EQ(readFirmwareVersion(link, version), CommandResult::NoAnswer);
    EXPECT_EQ(loggedFrames("get", kCommandReportId), 7);
    EXPECT_THAT(sleeper.waits, ElementsAre(50, 50, 50, 50));
}

INSTANTIATE_TEST_SUITE_P(UsbTrouble, HidrawTransientErrno, ::testing::Values("EIO", "EPIPE", "ETIMEDOUT"));

TEST_F(HidrawCommands, NoSuchDeviceIsNotRetried)
{
    ctl("fault set 0xa1 1 errno=ENODEV");
    std::uint16_t version = 0;
    EXPECT_EQ(readFirmwareVersion(link, version), CommandResult::NotSent);
    EXPECT_EQ(loggedFrames("set", kCommandReportId), 1);
    EXPECT_THAT(sleeper.waits, ElementsAre(50));
}

TEST_F(HidrawCommands, UnplugBetweenCommandsFailsAtOnceUntilRediscovered)
{
    std::uint16_t version = 0;
    ASSERT_EQ(readFirmwareVersion(link, version), CommandResult::Done);
    ctl("unplug");
    ctl("log clear");
    sleeper.waits.clear();
    SettingsModel model;
    EXPECT_EQ(readSettings(link, model), CommandResult::NotSent);
    // The removed node fails with "no such device": no retry waits, only the command's own.
    EXPECT_THAT(sleeper.waits, ElementsAre(80));

    ctl("plug");
    // The old handle belongs to the removed node; only a new discovery reaches the mouse.
    EXPECT_EQ(readFirmwareVersion(link, version), CommandResult::NotSent);
    ASSERT_TRUE(link.findMouse(kProductId));
    EXPECT_EQ(readSettings(link, model), CommandResult::Done);
}

TEST_F(HidrawCommands, EventReportsAreReadAndAnUnplugEndsTheReader)
{
    std::string path;
    for (const auto& info : backend.enumerate(kVendorId, kProductId))
        if (info.usagePage == kEventUsagePage && info.usage == kEventUsage)
            path = info.path;
    ASSERT_FALSE(path.empty());
    auto events = backend.open(path);
    ASSERT_NE(events, nullptr);

    ctl("event 6 4");
    std::array<std::uint8_t, kEventReportLength> report{};
    ASSERT_GT(events->read(report.data(), report.size(), 2000), 2);
    EXPECT_EQ(report[1], kEventPollingRateChanged);
    EXPECT_EQ(report[2], 4);

    ctl("unplug");
    EXPECT_EQ(events->read(report.data(), report.size(), 2000), -1);
    EXPECT_EQ(events->lastError(), HidError::DeviceGone);
    ctl("plug");
}

// --- the event listener on the production backend ---

class HidrawListener : public HidrawFixture {
protected:
    // Events handed on by the reader thread.
    bool waitForEvents(std::size_t count)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(3), [&] { return events.size() >= count; });
    }
    DeviceEventListener::Handler handler()
    {
        return [this](std::uint8_t code, std::uint8_t value) {
            std::lock_guard lock(mutex);
            events.emplace_back(code, value);
            changed.notify_all();
        };
    }
    // The reader gives no signal of its own ending.
    bool readerEnds()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (listener.isReading()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<int, int>> events;
    DeviceEventListener listener{backend, sleeper};
};

TEST_F(HidrawListener, HandsOnEventsAndStopsAtOnceWhileTheMouseIsSilent)
{
    ASSERT_TRUE(listener.start(handler()));
    ctl("event 6 4");
    ctl("event 0xb4 1");
    ASSERT_TRUE(waitForEvents(2));

    // Now blocked in an unbounded read of a silent mouse.
    const auto before = std::chrono::steady_clock::now();
    listener.stop();
    const auto took = std::chrono::steady_clock::now() - before;
    EXPECT_FALSE(listener.isReading());
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_THAT(events, ElementsAre(std::make_pair(6, 4), std::make_pair(0xB4, 1)));
    EXPECT_THAT(sleeper.waits, ElementsAre(80, 80));
}

TEST_F(HidrawListener, AnUnplugEndsTheReader)
{
    ASSERT_TRUE(listener.start(handler()));
    ctl("event 6 2");
    ASSERT_TRUE(waitForEvents(1));  // reading for sure
    ctl("unplug");
    EXPECT_TRUE(readerEnds());
    ctl("plug");
    listener.stop();
    EXPECT_THAT(sleeper.waits, ElementsAre(80));  // no retries against the gone node
}

}  // namespace
}  // namespace lark::test
