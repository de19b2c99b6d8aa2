// The event reader thread against the virtual mouse: what it hands on, how it ends, and that
// there is never more than one of it.
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <future>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/DeviceEventListener.h"
#include "device/DeviceIds.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"

namespace lark::test {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Pair;
using Collection = VirtualMouse::Collection;
using Direction = VirtualMouse::Direction;
using namespace std::chrono_literals;

// Collects what the handler is given, from whichever thread calls it.
class EventSink {
public:
    DeviceEventListener::Handler handler()
    {
        return [this](std::uint8_t code, std::uint8_t value) {
            std::lock_guard lock(mutex_);
            events_.emplace_back(code, value);
            changed_.notify_all();
        };
    }

    bool waitForCount(std::size_t count, std::chrono::milliseconds timeout = 3s)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return events_.size() >= count; });
    }

    std::vector<std::pair<int, int>> events() const
    {
        std::lock_guard lock(mutex_);
        return events_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::pair<int, int>> events_;
};

// Polls `condition` for up to `timeout`; the listener gives no signal of its own ending.
template <class Condition> bool eventually(Condition condition, std::chrono::milliseconds timeout = 3s)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

// Passes the virtual mouse through and watches the reader's reads: how many were entered,
// with which timeouts, and when it was interrupted. A closed gate holds reads before they
// reach the mouse.
class WatchedBackend : public HidBackend {
public:
    explicit WatchedBackend(HidBackend& inner) : inner_(inner) {}

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override
    {
        return inner_.enumerate(vendorId, productId);
    }
    std::unique_ptr<HidDevice> open(const std::string& path) override
    {
        auto device = inner_.open(path);
        return device ? std::make_unique<Device>(*this, std::move(device)) : nullptr;
    }
    HidError lastOpenError() const override { return inner_.lastOpenError(); }

    bool waitForReadsEntered(int count, std::chrono::milliseconds timeout = 3s)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return static_cast<int>(timeouts_.size()) >= count; });
    }
    bool waitForInterrupt(std::chrono::milliseconds timeout = 3s)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return interrupts_ > 0; });
    }
    std::vector<int> readTimeouts() const
    {
        std::lock_guard lock(mutex_);
        return timeouts_;
    }
    void setGateOpen(bool open)
    {
        std::lock_guard lock(mutex_);
        gateOpen_ = open;
        changed_.notify_all();
    }

private:
    class Device : public HidDevice {
    public:
        Device(WatchedBackend& owner, std::unique_ptr<HidDevice> inner)
            : owner_(owner), inner_(std::move(inner))
        {
        }
        int sendFeatureReport(const std::uint8_t* d, std::size_t n) override
        {
            return inner_->sendFeatureReport(d, n);
        }
        int getFeatureReport(std::uint8_t* d, std::size_t n) override
        {
            return inner_->getFeatureReport(d, n);
        }
        int read(std::uint8_t* d, std::size_t n, int timeoutMs) override
        {
            {
                std::unique_lock lock(owner_.mutex_);
                owner_.timeouts_.push_back(timeoutMs);
                owner_.changed_.notify_all();
                owner_.changed_.wait(lock, [&] { return owner_.gateOpen_; });
            }
            return inner_->read(d, n, timeoutMs);
        }
        void interruptRead() override
        {
            {
                std::lock_guard lock(owner_.mutex_);
                ++owner_.interrupts_;
                owner_.changed_.notify_all();
            }
            inner_->interruptRead();
        }
        HidError lastError() const override { return inner_->lastError(); }

    private:
        WatchedBackend& owner_;
        std::unique_ptr<HidDevice> inner_;
    };

    HidBackend& inner_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> timeouts_;
    int interrupts_ = 0;
    bool gateOpen_ = true;
};

double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

class DeviceEventListenerTest : public ::testing::Test {
protected:
    // Reads of the event collection in the frame log, failed ones included.
    int eventReads(bool failed) const
    {
        int n = 0;
        for (const auto& f : mouse.frameLog())
            n += f.direction == Direction::Read && f.collection == Collection::Event &&
                 (f.result < 0) == failed;
        return n;
    }

    RecordingSleeper sleeper;
    VirtualMouse mouse{sleeper.clock()};
    WatchedBackend watched{mouse};
    DeviceEventListener listener{watched, sleeper};
    EventSink sink;
};

TEST_F(DeviceEventListenerTest, HandsOnPollingRateAndAcceptedEventsOnlyAndWaitsAfterEveryReport)
{
    ASSERT_TRUE(listener.start(sink.handler()));
    EXPECT_TRUE(listener.isReading());

    mouse.pushEvent(kEventPollingRateChanged, 1);
    mouse.pushEvent(kEventAcceptedWithoutAction, 0x7F);
    mouse.pushEvent(0x05, 2);  // unknown code: read and dropped
    mouse.pushEvent(kEventPollingRateChanged, 4);
    ASSERT_TRUE(sink.waitForCount(3));
    listener.stop();

    EXPECT_THAT(sink.events(), ElementsAre(Pair(6, 1), Pair(0xB4, 0x7F), Pair(6, 4)));
    EXPECT_EQ(eventReads(false), 4);
    EXPECT_EQ(sleeper.waits(), (std::vector<unsigned>{80, 80, 80, 80}));
}

TEST_F(DeviceEventListenerTest, DoesNotStartWithoutAnOpenableEventInterface)
{
    mouse.setEnumerationOrder({Collection::Mouse, Collection::Config});
    EXPECT_FALSE(listener.start(sink.handler()));
    EXPECT_FALSE(listener.isReading());

    mouse.setEnumerationOrder({Collection::Mouse, Collection::Config, Collection::Event});
    mouse.failOpens(HidError::PermissionDenied, 1);
    EXPECT_FALSE(listener.start(sink.handler()));
    EXPECT_FALSE(listener.isReading());
    EXPECT_EQ(mouse.openDeviceCount(), 0);
}

TEST_F(DeviceEventListenerTest, AfterUnplugTheReaderEndsAtOnceAndDispatchesNothing)
{
    ASSERT_TRUE(listener.start(sink.handler()));
    ASSERT_TRUE(watched.waitForReadsEntered(1));
    mouse.unplug();

    ASSERT_TRUE(eventually([&] { return !listener.isReading(); }));
    EXPECT_EQ(mouse.openDeviceCount(), 0);  // it let go of the gone device
    // One failed read told it the device was gone; it did not go on trying.
    EXPECT_EQ(eventReads(true), 1);
    EXPECT_EQ(watched.readTimeouts().size(), 1u);
    EXPECT_TRUE(sleeper.waits().empty());

    mouse.plug();
    mouse.pushEvent(kEventPollingRateChanged, 2);
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(sink.events().empty());
}

TEST_F(DeviceEventListenerTest, TransientReadErrorsAreWaitedOutWithoutDispatching)
{
    mouse.failReads(HidError::Transient, 3);
    ASSERT_TRUE(listener.start(sink.handler()));
    mouse.pushEvent(kEventPollingRateChanged, 8);
    ASSERT_TRUE(sink.waitForCount(1));
    listener.stop();

    EXPECT_THAT(sink.events(), ElementsAre(Pair(6, 8)));
    EXPECT_EQ(eventReads(true), 3);
    EXPECT_EQ(sleeper.waits(), (std::vector<unsigned>{80, 80, 80, 80}));
}

TEST_F(DeviceEventListenerTest, AnotherReadErrorEndsTheReader)
{
    mouse.failReads(HidError::Other, 1);
    ASSERT_TRUE(listener.start(sink.handler()));
    ASSERT_TRUE(eventually([&] { return !listener.isReading(); }));
    EXPECT_EQ(mouse.openDeviceCount(), 0);
    EXPECT_TRUE(sink.events().empty());
}

// Each case ends with the listener started again; afterwards every event must be handled
// exactly once, by exactly one reader.
struct RestartCase {
    const char* name;
    bool unplugFirst;
    int extraStarts;
};

void PrintTo(const RestartCase& c, std::ostream* out)
{
    *out << c.name;
}

class ListenerRestartTest : public DeviceEventListenerTest,
                            public ::testing::WithParamInterface<RestartCase> {};

TEST_P(ListenerRestartTest, ExactlyOneReaderDeliversEachEventOnce)
{
    ASSERT_TRUE(listener.start(sink.handler()));
    ASSERT_TRUE(watched.waitForReadsEntered(1));
    if (GetParam().unplugFirst) {
        mouse.unplug();
        mouse.plug();
    }
    for (int i = 0; i < 1 + GetParam().extraStarts; ++i)
        ASSERT_TRUE(listener.start(sink.handler()));
    EXPECT_TRUE(listener.isReading());
    EXPECT_EQ(mouse.openDeviceCount(), 1);

    constexpr int kEvents = 5;
    for (int i = 0; i < kEvents; ++i)
        mouse.pushEvent(kEventPollingRateChanged, static_cast<std::uint8_t>(1 << (i % 4)));
    ASSERT_TRUE(sink.waitForCount(kEvents));
    std::this_thread::sleep_for(100ms);  // room for a second reader to show itself
    listener.stop();

    EXPECT_EQ(sink.events().size(), static_cast<std::size_t>(kEvents));
    EXPECT_EQ(eventReads(false), kEvents);
    EXPECT_EQ(mouse.openDeviceCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Restarts, ListenerRestartTest,
                         ::testing::Values(RestartCase{"AfterReplug", true, 0},
                                           RestartCase{"WhileRunning", false, 0},
                                           RestartCase{"AfterReplugTwice", true, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceEventListenerTest, StopEndsABlockedReadPromptly)
{
    ASSERT_TRUE(listener.start(sink.handler()));
    ASSERT_TRUE(watched.waitForReadsEntered(1));
    const auto before = std::chrono::steady_clock::now();
    listener.stop();
    const auto took = std::chrono::steady_clock::now() - before;

    EXPECT_FALSE(listener.isReading());
    EXPECT_EQ(mouse.openDeviceCount(), 0);
    // Well under 100 ms in practice; the bound only has to tell an interrupt from a lost one.
    EXPECT_LT(took, 1s);
    EXPECT_TRUE(sleeper.waits().empty());
    listener.stop();  // again: nothing to join
}

TEST_F(DeviceEventListenerTest, StopBeforeTheReaderReachesItsReadStillEndsIt)
{
    watched.setGateOpen(false);
    ASSERT_TRUE(listener.start(sink.handler()));
    ASSERT_TRUE(watched.waitForReadsEntered(1));  // held at the gate, not yet in the mouse
    auto stopping = std::async(std::launch::async, [&] { listener.stop(); });
    ASSERT_TRUE(watched.waitForInterrupt());
    watched.setGateOpen(true);  // the read reaches the mouse after the interrupt

    ASSERT_EQ(stopping.wait_for(3s), std::future_status::ready);
    EXPECT_FALSE(listener.isReading());
    EXPECT_EQ(mouse.openDeviceCount(), 0);
    EXPECT_EQ(watched.readTimeouts().size(), 1u);
}

TEST_F(DeviceEventListenerTest, DestructionJoinsAReaderThatIsStillWaiting)
{
    auto own = std::make_unique<DeviceEventListener>(mouse, sleeper);
    ASSERT_TRUE(own->start(sink.handler()));
    own.reset();
    EXPECT_EQ(mouse.openDeviceCount(), 0);
}

TEST_F(DeviceEventListenerTest, AnIdleMouseKeepsTheReaderInOneReadWithoutTimeout)
{
    ASSERT_TRUE(listener.start(sink.handler()));
    ASSERT_TRUE(watched.waitForReadsEntered(1));
    const double before = processCpuMs();
    // A window for a polling reader to show itself; a blocked one passes however slow the machine.
    std::this_thread::sleep_for(1s);
    const double used = processCpuMs() - before;
    EXPECT_TRUE(listener.isReading());
    EXPECT_EQ(watched.readTimeouts(), (std::vector<int>{-1}));
    EXPECT_LT(used, 20.0);
    EXPECT_TRUE(sleeper.waits().empty());

    // After an event it goes back to one unbounded read.
    mouse.pushEvent(kEventPollingRateChanged, 1);
    ASSERT_TRUE(sink.waitForCount(1));
    ASSERT_TRUE(watched.waitForReadsEntered(2));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(watched.readTimeouts(), (std::vector<int>{-1, -1}));
}

}  // namespace
}  // namespace lark::test
