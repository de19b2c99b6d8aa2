#include "session/SerialWorker.h"

#include <utility>

#include "device/ThreadName.h"

namespace lark {

SerialWorker::SerialWorker(const char* threadName) : thread_([this, threadName] { run(threadName); }) {}

SerialWorker::~SerialWorker()
{
    stop();
}

void SerialWorker::post(std::function<void()> job)
{
    enqueue({std::move(job), nullptr});
}

void SerialWorker::postAndWait(const std::function<void()>& job)
{
    const auto waiter = std::make_shared<Waiter>();
    enqueue({job, waiter});
    std::unique_lock lock(mutex_);
    // A stop drops the job unless it is the one running, which it lets end.
    wake_.wait(lock, [&] { return waiter->done || (stopping_ && !waiter->started); });
}

void SerialWorker::enqueue(Job job)
{
    {
        const std::lock_guard lock(mutex_);
        if (stopping_)
            return;
        jobs_.push_back(std::move(job));
    }
    wake_.notify_all();
}

void SerialWorker::stop()
{
    std::deque<Job> dropped;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        dropped.swap(jobs_);
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void SerialWorker::run(const char* threadName)
{
    nameThisThread(threadName);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (stopping_)
            return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        if (job.waiter)
            job.waiter->started = true;
        lock.unlock();
        job.work();
        job.work = nullptr;  // what it holds goes on this thread, before the next job
        lock.lock();
        if (job.waiter) {
            job.waiter->done = true;
            wake_.notify_all();
        }
    }
}

}  // namespace lark
