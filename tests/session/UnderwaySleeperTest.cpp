// The program loads the window once the session's first request is out: the mark that says so,
// and the runner that waits for it while its worker is still in that first wait.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "device/Protocol.h"
#include "session/UnderwaySleeper.h"
#include "session/qt/SessionRunner.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"

namespace lark::test {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

// Long enough never to be reached when the mark comes; a test that reaches it fails.
constexpr auto kNever = 60s;

class InterruptCounter : public RecordingSleeper {
public:
    void interrupt() override { ++interrupts; }
    int interrupts = 0;
};

TEST(UnderwaySleeper, TheFirstWaitMarksItAndEveryWaitPassesThroughUnchanged)
{
    InterruptCounter inner;
    UnderwaySleeper sleeper(inner);
    EXPECT_FALSE(sleeper.waitUntilUnderway(0ms));
    sleeper.sleepMs(50);
    sleeper.sleepMs(80);
    EXPECT_TRUE(sleeper.waitUntilUnderway(0ms));
    EXPECT_THAT(inner.waits(), ElementsAre(50u, 80u));
    sleeper.interrupt();
    EXPECT_EQ(inner.interrupts, 1);
}

TEST(UnderwaySleeper, AWaitOnAnotherThreadWakesTheOneWaitingForIt)
{
    RecordingSleeper inner;
    UnderwaySleeper sleeper(inner);
    std::thread session([&] { sleeper.sleepMs(50); });
    EXPECT_TRUE(sleeper.waitUntilUnderway(kNever));
    session.join();
}

// Holds the session's worker inside its first wait until released.
class FirstWaitGate : public RecordingSleeper {
public:
    void sleepMs(unsigned milliseconds) override
    {
        RecordingSleeper::sleepMs(milliseconds);
        std::unique_lock lock(mutex_);
        if (passed_)
            return;
        passed_ = true;
        released_.wait(lock, [this] { return open_; });
    }
    void release()
    {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        released_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool passed_ = false;
    bool open_ = false;
};

TEST(SessionRunnerUnderway, TheStartIsUnderWayOnceItsFirstRequestIsOutNotWhenItEnds)
{
    FirstWaitGate sleeper;
    VirtualMouse mouse{sleeper.clock()};
    SessionRunner session(mouse, sleeper);
    struct Release {
        FirstWaitGate& gate;
        ~Release() { gate.release(); }  // before the runner stops, whatever failed
    } release{sleeper};
    EXPECT_FALSE(session.waitForStartUnderway(0ms)) << "not started";
    session.start();
    // The worker is held in the version read's wait: only the mark can end this wait.
    EXPECT_TRUE(session.waitForStartUnderway(kNever));
    // The version request is out, its answer not yet fetched.
    std::vector<int> exchanged;
    for (const VirtualMouse::Frame& f : mouse.frameLog())
        if (f.direction == VirtualMouse::Direction::Set || f.direction == VirtualMouse::Direction::Get)
            exchanged.push_back(f.bytes.size() > 1 ? f.bytes[1] : -1);
    EXPECT_THAT(exchanged, ElementsAre(kCommandReadVersion));
}

// Without the mouse the reads still wait their time, as with it: the start is under way alike.
// A runner stopped before its start leaves no one waiting either.
TEST(SessionRunnerUnderway, NoMouseOrAStoppedRunnerLeavesNoOneWaiting)
{
    {
        RecordingSleeper sleeper;
        VirtualMouse mouse{sleeper.clock()};
        mouse.unplug();
        SessionRunner session(mouse, sleeper);
        session.start();
        EXPECT_TRUE(session.waitForStartUnderway(kNever));
    }
    {
        RecordingSleeper sleeper;
        VirtualMouse mouse{sleeper.clock()};
        SessionRunner session(mouse, sleeper);
        session.start();
        session.stop();
        EXPECT_TRUE(session.waitForStartUnderway(kNever));
    }
}

}  // namespace
}  // namespace lark::test
