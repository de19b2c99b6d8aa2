#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace lark {

// A thread of its own that runs the jobs given to it one at a time, in the order given. It has
// no event loop, so it can run before the program's QApplication exists: the window's program
// starts reading the mouse while Qt starts.
class SerialWorker {
public:
    // `threadName`: at most 15 characters.
    explicit SerialWorker(const char* threadName);
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    // Runs `job` after those given before; dropped once stop() was asked.
    void post(std::function<void()> job);
    // Runs `job` after those given before and returns when it has run; returns at once, without
    // running it, once stop() was asked. Never from a job.
    void postAndWait(const std::function<void()>& job);
    // Lets the running job end, drops the ones still queued and joins the thread. Idempotent;
    // never from a job.
    void stop();

private:
    // What postAndWait() waits on; changed under the mutex.
    struct Waiter {
        bool started = false;
        bool done = false;
    };
    struct Job {
        std::function<void()> work;
        std::shared_ptr<Waiter> waiter;
    };

    void enqueue(Job job);
    void run(const char* threadName);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace lark
