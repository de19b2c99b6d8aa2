#include <numeric>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/FakeHid.h"
#include "device/MouseFixture.h"

namespace lark::test {
namespace {

using Collection = VirtualMouse::Collection;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TransportTest : public MouseFixture {
protected:
    void SetUp() override
    {
        connect();
        // A version request leaves a done answer waiting, so gets have something to fetch.
        auto frame = request(kCommandReadVersion);
        ASSERT_TRUE(link.sendFeature(frame.data(), kCommandReportLength));
        mouse.clearFrameLog();
    }

    bool get(std::array<std::uint8_t, kCommandReportLength>& answer)
    {
        answer = commandAnswer();
        return link.getFeature(answer.data(), kCommandReportLength);
    }
};

// --- getFeature busy polling ---

class BusyForeverTest : public TransportTest, public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(BusyForeverTest, StopsAfterElevenGetsAndFourAndAHalfSecondsWithTheBusyStatusLeft)
{
    mouse.answerBusy(VirtualMouse::kForever, GetParam());
    std::array<std::uint8_t, kCommandReportLength> answer{};
    EXPECT_TRUE(get(answer));
    EXPECT_EQ(answer[1], GetParam());
    EXPECT_EQ(count(Direction::Get), 11u);
    EXPECT_THAT(sleeper.waits(), ElementsAre(100, 200, 300, 400, 500, 600, 700, 800, 900));
    EXPECT_EQ(sleeper.totalMs(), 4500u);
}

INSTANTIATE_TEST_SUITE_P(BothBusyStatuses, BusyForeverTest, ::testing::Values(3, 4));

TEST_F(TransportTest, BusyThenDoneNeedsOneExtraGetAndNoWait)
{
    mouse.answerBusy(1);
    std::array<std::uint8_t, kCommandReportLength> answer{};
    EXPECT_TRUE(get(answer));
    EXPECT_EQ(answer[1], kStatusDone);
    EXPECT_EQ(answer[kVersionLowByte], 0x06);
    EXPECT_EQ(count(Direction::Get), 2u);
    EXPECT_THAT(sleeper.waits(), IsEmpty());
}

TEST_F(TransportTest, BusyPollTimesFollowTheGrowingWaits)
{
    mouse.answerBusy(4);
    std::array<std::uint8_t, kCommandReportLength> answer{};
    EXPECT_TRUE(get(answer));
    EXPECT_EQ(answer[1], kStatusDone);
    std::vector<std::uint64_t> times;
    for (const auto& frame : frames(Direction::Get))
        times.push_back(frame.timeMs);
    // Gets 1 and 2 back to back, then 100, 200 and 300 ms between polls.
    EXPECT_THAT(times, ElementsAre(0, 0, 0, 100, 300));
}

TEST_F(TransportTest, OtherStatusIsReturnedAtOnceForTheCallerToJudge)
{
    mouse.answerStatus(2, 1);
    std::array<std::uint8_t, kCommandReportLength> answer{};
    EXPECT_TRUE(get(answer));
    EXPECT_EQ(answer[1], 2);
    EXPECT_EQ(count(Direction::Get), 1u);
}

// --- getFeature error path ---

TEST_F(TransportTest, TransientGetFailureIsRetriedTwoGetsAtATimeUpToSevenGets)
{
    mouse.fail(VirtualMouse::Call::Get, HidError::Transient, VirtualMouse::kForever);
    std::array<std::uint8_t, kCommandReportLength> answer{};
    EXPECT_FALSE(get(answer));
    EXPECT_EQ(count(Direction::Get), 7u);
    EXPECT_THAT(sleeper.waits(), ElementsAre(50, 50, 50));
}

TEST_F(TransportTest, OnlyTheSecondGetOfARetryCounts)
{
    // First get fails, the retry's first get fails too, its second succeeds.
    mouse.fail(VirtualMouse::Call::Get, HidError::Transient, 2);
    std::array<std::uint8_t, kCommandReportLength> answer{};
    EXPECT_TRUE(get(answer));
    EXPECT_EQ(count(Direction::Get), 3u);
    EXPECT_THAT(sleeper.waits(), IsEmpty());

    // First get fails, the retry's second get fails, the next retry's second get succeeds.
    mouse.clearFrameLog();
    sleeper.clear();
    mouse.fail(VirtualMouse::Call::Get, HidError::Transient, 3);
    EXPECT_TRUE(get(answer));
    EXPECT_EQ(count(Direction::Get), 5u);
    EXPECT_THAT(sleeper.waits(), ElementsAre(50));
}

TEST_F(TransportTest, BusyAnswerOnTheErrorPathIsNotPolled)
{
    mouse.fail(VirtualMouse::Call::Get, HidError::Transient, 1);
    mouse.answerBusy(VirtualMouse::kForever);
    std::array<std::uint8_t, kCommandReportLength> answer{};
    EXPECT_TRUE(get(answer));
    EXPECT_EQ(answer[1], kStatusBusy);
    EXPECT_EQ(count(Direction::Get), 3u);
}

// --- sendFeature retries ---

TEST_F(TransportTest, SetFailingTwiceThenSucceedingTakesThreeAttemptsAndOneWait)
{
    mouse.fail(VirtualMouse::Call::Set, HidError::Transient, 2);
    auto frame = request(kCommandReadVersion);
    EXPECT_TRUE(link.sendFeature(frame.data(), kCommandReportLength));
    EXPECT_EQ(count(Direction::Set), 3u);
    EXPECT_THAT(sleeper.waits(), ElementsAre(50));
}

TEST_F(TransportTest, SetFailingForeverGivesUpAfterFourAttemptsAnd150Ms)
{
    mouse.fail(VirtualMouse::Call::Set, HidError::Transient, VirtualMouse::kForever);
    auto frame = request(kCommandReadVersion);
    EXPECT_FALSE(link.sendFeature(frame.data(), kCommandReportLength));
    EXPECT_EQ(count(Direction::Set), 4u);
    EXPECT_EQ(sleeper.totalMs(), 150u);
}

class NonRetryableTest : public TransportTest, public ::testing::WithParamInterface<HidError> {};

TEST_P(NonRetryableTest, SetFailsAtOnce)
{
    mouse.fail(VirtualMouse::Call::Set, GetParam(), VirtualMouse::kForever);
    auto frame = request(kCommandReadVersion);
    EXPECT_FALSE(link.sendFeature(frame.data(), kCommandReportLength));
    EXPECT_EQ(count(Direction::Set), 1u);
    EXPECT_THAT(sleeper.waits(), IsEmpty());
}

TEST_P(NonRetryableTest, GetFailsAtOnce)
{
    mouse.fail(VirtualMouse::Call::Get, GetParam(), VirtualMouse::kForever);
    std::array<std::uint8_t, kCommandReportLength> answer{};
    EXPECT_FALSE(get(answer));
    EXPECT_EQ(count(Direction::Get), 1u);
    EXPECT_THAT(sleeper.waits(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(AllButTransient, NonRetryableTest,
                         ::testing::Values(HidError::DeviceGone, HidError::Other,
                                           HidError::PermissionDenied));

TEST_F(TransportTest, UnpluggedMouseFailsWithoutRetries)
{
    mouse.unplug();
    auto frame = request(kCommandReadVersion);
    EXPECT_FALSE(link.sendFeature(frame.data(), kCommandReportLength));
    std::array<std::uint8_t, kCommandReportLength> answer{};
    EXPECT_FALSE(get(answer));
    EXPECT_EQ(count(Direction::Set), 1u);
    EXPECT_EQ(count(Direction::Get), 1u);
    EXPECT_THAT(sleeper.waits(), IsEmpty());
}

// --- what the platform is handed (scripted device) ---

class ScriptedLinkTest : public ::testing::Test {
protected:
    ScriptedLinkTest()
    {
        auto owned = std::make_unique<FakeDevice>();
        device = owned.get();
        backend = std::make_unique<FakeBackend>(std::move(owned));
        link = std::make_unique<DeviceLink>(*backend, sleeper);
        EXPECT_TRUE(link->findMouse(kProductId));
    }

    RecordingSleeper sleeper;
    FakeDevice* device = nullptr;
    std::unique_ptr<FakeBackend> backend;
    std::unique_ptr<DeviceLink> link;
};

TEST_F(ScriptedLinkTest, EverySetRetrySendsTheOriginalFrame)
{
    int calls = 0;
    device->onSet = [&](std::uint8_t* data, std::size_t length) {
        std::fill(data, data + length, 0xEE);  // the platform rewrites the buffer
        return ++calls < 4 ? FakeDevice::Answer{-1, HidError::Transient}
                           : FakeDevice::Answer{static_cast<int>(length), HidError::None};
    };
    std::array<std::uint8_t, 64> frame{0xA1, 0x12, 0x33};
    const auto original = frame;
    EXPECT_TRUE(link->sendFeature(frame.data(), 64));
    ASSERT_EQ(device->setsSeen.size(), 4u);
    for (const auto& seen : device->setsSeen)
        EXPECT_TRUE(std::equal(seen.begin(), seen.end(), original.begin()));
}

TEST_F(ScriptedLinkTest, EveryBusyPollAsksWithTheCallersFrame)
{
    device->onGet = [](std::uint8_t* data, std::size_t length) {
        std::fill(data + 1, data + length, 0x5A);
        data[1] = kStatusBusy;
        return FakeDevice::Answer{static_cast<int>(length), HidError::None};
    };
    auto frame = std::array<std::uint8_t, 64>{0xA1};
    EXPECT_TRUE(link->getFeature(frame.data(), 64));
    ASSERT_EQ(device->getsSeen.size(), 11u);
    for (const auto& seen : device->getsSeen) {
        EXPECT_EQ(seen[0], 0xA1);
        EXPECT_TRUE(std::all_of(seen.begin() + 1, seen.end(), [](std::uint8_t b) { return b == 0; }));
    }
}

TEST_F(ScriptedLinkTest, ErrorPathRetriesReuseTheBufferWithoutRestoring)
{
    int calls = 0;
    device->onGet = [&](std::uint8_t* data, std::size_t) {
        data[5] = static_cast<std::uint8_t>(++calls);
        return FakeDevice::Answer{-1, HidError::Transient};
    };
    auto frame = std::array<std::uint8_t, 64>{0xA1};
    EXPECT_FALSE(link->getFeature(frame.data(), 64));
    ASSERT_EQ(device->getsSeen.size(), 7u);
    for (std::size_t i = 1; i < 7; ++i)
        EXPECT_EQ(device->getsSeen[i][5], i);
}

TEST_F(ScriptedLinkTest, ShortAnswerIsAFailedGetNotAnAnswer)
{
    device->onGet = [](std::uint8_t* data, std::size_t) {
        data[1] = kStatusDone;
        return FakeDevice::Answer{10, HidError::None};
    };
    auto frame = std::array<std::uint8_t, 64>{0xA1};
    EXPECT_FALSE(link->getFeature(frame.data(), 64));
    EXPECT_EQ(device->getsSeen.size(), 1u);
    EXPECT_THAT(sleeper.waits(), IsEmpty());
}

TEST_F(ScriptedLinkTest, ShortAnswersDuringBusyPollingCountAsFailedPolls)
{
    int calls = 0;
    device->onGet = [&](std::uint8_t* data, std::size_t length) {
        data[1] = kStatusBusy;
        return FakeDevice::Answer{++calls == 1 ? static_cast<int>(length) : 1, HidError::None};
    };
    auto frame = std::array<std::uint8_t, 64>{0xA1};
    EXPECT_FALSE(link->getFeature(frame.data(), 64));
    EXPECT_EQ(device->getsSeen.size(), 11u);
    EXPECT_THAT(sleeper.waits(), IsEmpty());
}

// --- discovery ---

class DiscoveryTest : public MouseFixture {};

TEST_F(DiscoveryTest, OtherCollectionsOfTheMouseArePassedOver)
{
    mouse.setEnumerationOrder({Collection::Event, Collection::Mouse, Collection::Config});
    EXPECT_TRUE(link.findMouse(kProductId));
    EXPECT_TRUE(link.isConnected());
    EXPECT_TRUE(link.hasHandle());
    const auto opens = frames(Direction::Open);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].collection, Collection::Config);

    auto frame = request(kCommandReadVersion);
    EXPECT_TRUE(link.sendFeature(frame.data(), kCommandReportLength));
    EXPECT_EQ(frames(Direction::Set).at(0).collection, Collection::Config);
}

TEST_F(DiscoveryTest, NoMouseMeansNoHandleAndExchangesThatTouchNothing)
{
    mouse.unplug();
    EXPECT_FALSE(link.findMouse(kProductId));
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(link.hasHandle());
    EXPECT_EQ(link.lastOpenError(), HidError::None);

    auto frame = request(kCommandReadVersion);
    EXPECT_FALSE(link.sendFeature(frame.data(), kCommandReportLength));
    auto answer = commandAnswer();
    EXPECT_FALSE(link.getFeature(answer.data(), kCommandReportLength));
    EXPECT_EQ(link.getFeaturePlain(answer.data(), kCommandReportLength), -1);
    EXPECT_THAT(mouse.frameLog(), IsEmpty());
    EXPECT_THAT(sleeper.waits(), IsEmpty());
}

TEST_F(DiscoveryTest, MouseWithoutTheConfigurationCollectionIsNotFound)
{
    mouse.setEnumerationOrder({Collection::Mouse, Collection::Event});
    EXPECT_FALSE(link.findMouse(kProductId));
    EXPECT_FALSE(link.hasHandle());
    EXPECT_EQ(mouse.openDeviceCount(), 0);
}

TEST_F(DiscoveryTest, AnotherProductIdIsNotThisMouse)
{
    EXPECT_FALSE(link.findMouse(kProductId + 1));
    EXPECT_FALSE(link.isConnected());
}

TEST_F(DiscoveryTest, OldHandleIsClosedBeforeTheNextOpen)
{
    ASSERT_TRUE(link.findMouse(kProductId));
    ASSERT_TRUE(link.findMouse(kProductId));
    std::vector<Direction> order;
    for (const auto& frame : mouse.frameLog())
        order.push_back(frame.direction);
    EXPECT_THAT(order, ElementsAre(Direction::Open, Direction::Close, Direction::Open));
    EXPECT_EQ(mouse.openDeviceCount(), 1);

    mouse.unplug();
    EXPECT_FALSE(link.findMouse(kProductId));
    EXPECT_EQ(mouse.openDeviceCount(), 0);
}

TEST_F(DiscoveryTest, PermissionDeniedIsReportedAndClearedByTheNextSuccess)
{
    mouse.fail(VirtualMouse::Call::Open, HidError::PermissionDenied, 1);
    EXPECT_FALSE(link.findMouse(kProductId));
    EXPECT_FALSE(link.isConnected());
    EXPECT_EQ(link.lastOpenError(), HidError::PermissionDenied);

    EXPECT_TRUE(link.findMouse(kProductId));
    EXPECT_EQ(link.lastOpenError(), HidError::None);
}

TEST_F(DiscoveryTest, StaleHandleAfterReplugFailsUntilRediscovered)
{
    ASSERT_TRUE(link.findMouse(kProductId));
    mouse.unplug();
    mouse.plug();
    auto frame = request(kCommandReadVersion);
    EXPECT_FALSE(link.sendFeature(frame.data(), kCommandReportLength));
    EXPECT_EQ(frames(Direction::Set).back().error, HidError::DeviceGone);
    ASSERT_TRUE(link.findMouse(kProductId));
    EXPECT_TRUE(link.sendFeature(frame.data(), kCommandReportLength));
}

}  // namespace
}  // namespace lark::test
