// The session's worker thread: jobs in order on a thread of their own, and a stop that lets the
// running job end while nothing queued behind it runs.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "session/SerialWorker.h"

namespace lark::test {
namespace {

TEST(SerialWorker, RunsJobsInOrderOnItsOwnThreadAndWaitsForThoseBefore)
{
    SerialWorker worker("test-worker");
    std::vector<int> order;  // touched only by the worker until postAndWait returns
    std::thread::id ranOn;
    for (int i = 0; i < 100; ++i)
        worker.post([&order, i] { order.push_back(i); });
    bool waited = false;
    worker.postAndWait([&] {
        ranOn = std::this_thread::get_id();
        waited = true;
    });
    ASSERT_TRUE(waited);
    EXPECT_NE(ranOn, std::this_thread::get_id());
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(order[i], i);
}

TEST(SerialWorker, StopLetsTheRunningJobEndAndRunsNothingQueuedOrLater)
{
    SerialWorker worker("test-worker");
    std::promise<void> running;
    std::promise<void> gate;
    std::atomic<bool> firstEnded{false};
    std::atomic<bool> queuedRan{false};
    std::atomic<bool> laterRan{false};
    worker.post([&] {
        running.set_value();
        gate.get_future().wait();
        firstEnded = true;
    });
    running.get_future().wait();

    // Waits behind the held job; it returns without running once the stop is under way.
    std::thread waiter([&] { worker.postAndWait([&] { queuedRan = true; }); });
    std::thread stopper([&] { worker.stop(); });
    waiter.join();
    EXPECT_FALSE(firstEnded) << "the stop must not wait for the queued job's waiter";
    gate.set_value();
    stopper.join();

    EXPECT_TRUE(firstEnded);
    EXPECT_FALSE(queuedRan);
    worker.post([&] { laterRan = true; });
    worker.postAndWait([&] { laterRan = true; });
    worker.stop();
    EXPECT_FALSE(laterRan);
}

}  // namespace
}  // namespace lark::test
