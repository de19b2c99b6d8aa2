#include "device/RealSleeper.h"

#include <chrono>

namespace lark {

void RealSleeper::sleepMs(unsigned milliseconds)
{
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return interrupted_; });
}

void RealSleeper::interrupt()
{
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    wake_.notify_all();
}

}  // namespace lark
