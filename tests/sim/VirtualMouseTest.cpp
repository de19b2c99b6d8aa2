#include <chrono>
#include <future>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/DeviceIds.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"

namespace lark::test {
namespace {

using Collection = VirtualMouse::Collection;
using Direction = VirtualMouse::Direction;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class VirtualMouseTest : public ::testing::Test {
protected:
    VirtualMouseTest() : mouse(sleeper.clock()) {}

    std::unique_ptr<HidDevice> openCollection(Collection collection)
    {
        return mouse.open(VirtualMouse::pathOf(collection));
    }

    RecordingSleeper sleeper;
    VirtualMouse mouse;
};

TEST_F(VirtualMouseTest, EnumeratesThreeCollectionsInTheChosenOrderWithSysfsLikePaths)
{
    auto interfaces = mouse.enumerate(kVendorId, kProductId);
    ASSERT_EQ(interfaces.size(), 3u);
    EXPECT_EQ(interfaces[0].usagePage, 0x0001);
    EXPECT_EQ(interfaces[1].usagePage, kConfigUsagePage);
    EXPECT_EQ(interfaces[1].usage, kConfigUsage);
    EXPECT_EQ(interfaces[2].usagePage, kEventUsagePage);
    EXPECT_EQ(interfaces[2].usage, kEventUsage);
    for (const auto& info : interfaces) {
        EXPECT_THAT(info.path, HasSubstr("F1A5"));
        EXPECT_THAT(info.path, HasSubstr("2B7E"));
        EXPECT_THAT(info.path, HasSubstr("/hidraw/hidraw"));
    }

    mouse.setEnumerationOrder({Collection::Event, Collection::Config});
    interfaces = mouse.enumerate(kVendorId, kProductId);
    ASSERT_EQ(interfaces.size(), 2u);
    EXPECT_EQ(interfaces[0].usagePage, kEventUsagePage);
    // A collection left out cannot be opened either.
    EXPECT_EQ(openCollection(Collection::Mouse), nullptr);

    EXPECT_TRUE(mouse.enumerate(0x1234, kProductId).empty());
}

TEST_F(VirtualMouseTest, FactoryBlockIsTheDefaultsWithTheChosenOpaqueBytes)
{
    MouseSettings defaults;
    setDefaults(defaults);
    SettingsBlock expected{};
    encodeSettings(defaults, expected);
    EXPECT_EQ(mouse.storedBlock(), expected);

    std::array<std::uint8_t, kOpaque0FSize> opaque{};
    opaque[0] = 0x11;
    opaque[19] = 0x99;
    mouse.setFactoryOpaque(opaque);
    MouseSettings decoded;
    decodeSettings(mouse.factoryBlock(), decoded);
    EXPECT_EQ(decoded.opaque0F, opaque);
    mouse.restoreFactoryBlock();
    EXPECT_EQ(mouse.storedBlock(), mouse.factoryBlock());
}

TEST_F(VirtualMouseTest, SettingsAreOfferedOnlyAfterTheReadRequest)
{
    auto device = openCollection(Collection::Config);
    std::vector<std::uint8_t> frame(kSettingsReportLength, 0);
    frame[0] = kSettingsReportId;
    ASSERT_EQ(device->getFeatureReport(frame.data(), frame.size()), static_cast<int>(kSettingsReportLength));
    EXPECT_NE(frame[1], kStatusDone);

    std::array<std::uint8_t, kCommandReportLength> request{kCommandReportId, kCommandReadSettings};
    ASSERT_EQ(device->sendFeatureReport(request.data(), request.size()), 64);
    std::fill(frame.begin() + 1, frame.end(), 0);
    ASSERT_EQ(device->getFeatureReport(frame.data(), frame.size()), static_cast<int>(kSettingsReportLength));
    EXPECT_EQ(frame[1], kStatusDone);
    const SettingsBlock stored = mouse.storedBlock();
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), frame.begin() + 16));
}

TEST_F(VirtualMouseTest, ReportsOfTheWrongLengthOrOnTheWrongCollectionStall)
{
    auto config = openCollection(Collection::Config);
    std::array<std::uint8_t, 63> shortRequest{kCommandReportId, kCommandReadVersion};
    EXPECT_EQ(config->sendFeatureReport(shortRequest.data(), shortRequest.size()), -1);
    EXPECT_EQ(config->lastError(), HidError::Transient);

    auto plain = openCollection(Collection::Mouse);
    std::array<std::uint8_t, kCommandReportLength> request{kCommandReportId, kCommandReadVersion};
    EXPECT_EQ(plain->sendFeatureReport(request.data(), request.size()), -1);
    EXPECT_EQ(plain->lastError(), HidError::Transient);
}

TEST_F(VirtualMouseTest, StatusOnceThenNormalAnswers)
{
    auto device = openCollection(Collection::Config);
    std::array<std::uint8_t, kCommandReportLength> request{kCommandReportId, kCommandReadVersion};
    device->sendFeatureReport(request.data(), request.size());
    mouse.answerStatus(0, 1);
    std::array<std::uint8_t, kCommandReportLength> answer{kCommandReportId};
    device->getFeatureReport(answer.data(), answer.size());
    EXPECT_EQ(answer[1], 0);
    answer = {kCommandReportId};
    device->getFeatureReport(answer.data(), answer.size());
    EXPECT_EQ(answer[1], kStatusDone);
    EXPECT_EQ(answer[17] | answer[18] << 8, 0x0106);
}

TEST_F(VirtualMouseTest, FrameLogStampsFramesWithTheInjectedClock)
{
    auto device = openCollection(Collection::Config);
    std::array<std::uint8_t, kCommandReportLength> request{kCommandReportId, kCommandReadVersion};
    device->sendFeatureReport(request.data(), request.size());
    sleeper.sleepMs(50);
    std::array<std::uint8_t, kCommandReportLength> answer{kCommandReportId};
    device->getFeatureReport(answer.data(), answer.size());

    const auto log = mouse.frameLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].direction, Direction::Open);
    EXPECT_EQ(log[1].direction, Direction::Set);
    EXPECT_EQ(log[1].reportId, kCommandReportId);
    EXPECT_EQ(log[1].bytes, std::vector<std::uint8_t>(request.begin(), request.end()));
    EXPECT_EQ(log[1].timeMs, 0u);
    EXPECT_EQ(log[2].direction, Direction::Get);
    EXPECT_EQ(log[2].result, 64);
    EXPECT_EQ(log[2].timeMs, 50u);
}

// --- events ---

TEST_F(VirtualMouseTest, EventsReachOpenEventDevicesOnly)
{
    auto config = openCollection(Collection::Config);
    auto events = openCollection(Collection::Event);
    mouse.pushEvent(kEventPollingRateChanged, 4);

    std::array<std::uint8_t, 8> report{};
    EXPECT_EQ(config->read(report.data(), report.size(), 0), 0);
    ASSERT_EQ(events->read(report.data(), report.size(), 0), 8);
    EXPECT_THAT(report, ElementsAre(VirtualMouse::kEventReportId, 6, 4, 0, 0, 0, 0, 0));
    EXPECT_EQ(events->read(report.data(), report.size(), 0), 0);  // consumed

    // A shorter buffer gets the start of the report.
    mouse.pushEvent(kEventAcceptedWithoutAction, 9);
    std::array<std::uint8_t, 2> head{};
    EXPECT_EQ(events->read(head.data(), head.size(), 0), 2);
    EXPECT_EQ(head[1], kEventAcceptedWithoutAction);
}

TEST_F(VirtualMouseTest, BlockedReadWakesForAnEventFromAnotherThread)
{
    auto events = openCollection(Collection::Event);
    auto reader = std::async(std::launch::async, [&] {
        std::array<std::uint8_t, 8> report{};
        const int n = events->read(report.data(), report.size(), 5000);
        return std::make_pair(n, report[2]);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    mouse.pushEvent(kEventPollingRateChanged, 2);
    const auto [n, value] = reader.get();
    EXPECT_EQ(n, 8);
    EXPECT_EQ(value, 2);
}

TEST_F(VirtualMouseTest, InterruptEndsABlockedReadAndEveryLaterReadOfThatDeviceOnly)
{
    auto events = openCollection(Collection::Event);
    auto other = openCollection(Collection::Event);
    auto reader = std::async(std::launch::async, [&] {
        std::array<std::uint8_t, 8> report{};
        return events->read(report.data(), report.size(), -1);
    });
    events->interruptRead();  // before or during the read: either way it returns
    EXPECT_EQ(reader.get(), 0);
    EXPECT_EQ(events->lastError(), HidError::None);

    mouse.pushEvent(kEventPollingRateChanged, 2);
    std::array<std::uint8_t, 8> report{};
    EXPECT_EQ(events->read(report.data(), report.size(), -1), 0);  // sticks, even with a report queued
    EXPECT_EQ(other->read(report.data(), report.size(), -1), 8);
    EXPECT_EQ(report[2], 2);
}

TEST_F(VirtualMouseTest, UnplugEndsABlockedReadAndEveryLaterCall)
{
    auto config = openCollection(Collection::Config);
    auto events = openCollection(Collection::Event);
    auto reader = std::async(std::launch::async, [&] {
        std::array<std::uint8_t, 8> report{};
        return events->read(report.data(), report.size(), -1);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    mouse.unplug();
    EXPECT_EQ(reader.get(), -1);
    EXPECT_EQ(events->lastError(), HidError::DeviceGone);

    std::array<std::uint8_t, 8> report{};
    EXPECT_EQ(events->read(report.data(), report.size(), 0), -1);
    std::array<std::uint8_t, kCommandReportLength> request{kCommandReportId, kCommandReadVersion};
    EXPECT_EQ(config->sendFeatureReport(request.data(), request.size()), -1);
    EXPECT_EQ(config->lastError(), HidError::DeviceGone);
    EXPECT_TRUE(mouse.enumerate(kVendorId, kProductId).empty());
    EXPECT_EQ(openCollection(Collection::Config), nullptr);
    EXPECT_EQ(mouse.lastOpenError(), HidError::DeviceGone);

    // Handles from before the unplug stay dead after the replug; new ones work.
    mouse.plug();
    EXPECT_EQ(config->sendFeatureReport(request.data(), request.size()), -1);
    auto fresh = openCollection(Collection::Config);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->sendFeatureReport(request.data(), request.size()), 64);
}

TEST_F(VirtualMouseTest, HotplugIsAnnouncedOncePerInterface)
{
    std::vector<std::pair<bool, std::string>> seen;
    mouse.setHotplugCallback(
        [&](bool arrival, const std::string& path) { seen.emplace_back(arrival, path); });
    mouse.unplug();
    mouse.unplug();  // already gone: nothing new
    mouse.plug();
    ASSERT_EQ(seen.size(), 6u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(seen[i].first);
        EXPECT_TRUE(seen[i + 3].first);
    }
    EXPECT_EQ(seen[1].second, VirtualMouse::pathOf(Collection::Config));
}

TEST_F(VirtualMouseTest, StoredBlockSurvivesAReplug)
{
    SettingsBlock block{};
    block[5] = 2;
    mouse.setStoredBlock(block);
    mouse.unplug();
    mouse.plug();
    EXPECT_EQ(mouse.storedBlock(), block);
}

TEST_F(VirtualMouseTest, DevicesOutlivingTheMouseFailQuietly)
{
    std::unique_ptr<HidDevice> device;
    {
        VirtualMouse shortLived;
        device = shortLived.open(VirtualMouse::pathOf(Collection::Event));
        ASSERT_NE(device, nullptr);
    }
    std::array<std::uint8_t, 8> report{};
    EXPECT_EQ(device->read(report.data(), report.size(), 0), -1);
    EXPECT_EQ(device->lastError(), HidError::DeviceGone);
}

TEST_F(VirtualMouseTest, ListenerReadsWhileFeatureExchangesRun)
{
    auto config = openCollection(Collection::Config);
    auto events = openCollection(Collection::Event);
    constexpr int kEvents = 200;
    auto reader = std::async(std::launch::async, [&] {
        int received = 0;
        std::array<std::uint8_t, 8> report{};
        while (received < kEvents && events->read(report.data(), report.size(), 2000) > 0)
            ++received;
        return received;
    });
    std::array<std::uint8_t, kCommandReportLength> request{kCommandReportId, kCommandReadVersion};
    for (int i = 0; i < kEvents; ++i) {
        mouse.pushEvent(kEventPollingRateChanged, 8);
        EXPECT_EQ(config->sendFeatureReport(request.data(), request.size()), 64);
    }
    EXPECT_EQ(reader.get(), kEvents);
}

}  // namespace
}  // namespace lark::test
