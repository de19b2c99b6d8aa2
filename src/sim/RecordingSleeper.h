#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <numeric>
#include <vector>

#include "device/Sleeper.h"

namespace lark {

// Records every wait and returns at once; its clock advances by each recorded wait, so
// frame logs stamped with it show the protocol's timing without spending it.
class RecordingSleeper : public Sleeper {
public:
    void sleepMs(unsigned milliseconds) override
    {
        std::lock_guard lock(mutex_);
        waits_.push_back(milliseconds);
        nowMs_ += milliseconds;
    }

    std::vector<unsigned> waits() const
    {
        std::lock_guard lock(mutex_);
        return waits_;
    }

    unsigned totalMs() const
    {
        std::lock_guard lock(mutex_);
        return std::accumulate(waits_.begin(), waits_.end(), 0u);
    }

    std::uint64_t nowMs() const
    {
        std::lock_guard lock(mutex_);
        return nowMs_;
    }

    // Forgets the recorded waits; the clock keeps running.
    void clear()
    {
        std::lock_guard lock(mutex_);
        waits_.clear();
    }

    std::function<std::uint64_t()> clock() const
    {
        return [this] { return nowMs(); };
    }

private:
    mutable std::mutex mutex_;
    std::vector<unsigned> waits_;
    std::uint64_t nowMs_ = 0;
};

}  // namespace lark
