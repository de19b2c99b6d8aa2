#include "session/UnderwaySleeper.h"

namespace lark {

void UnderwaySleeper::sleepMs(unsigned milliseconds)
{
    markUnderway();
    inner_.sleepMs(milliseconds);
}

void UnderwaySleeper::markUnderway()
{
    {
        std::lock_guard lock(mutex_);
        if (underway_)
            return;
        underway_ = true;
    }
    changed_.notify_all();
}

bool UnderwaySleeper::waitUntilUnderway(std::chrono::milliseconds limit)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [this] { return underway_; });
}

}  // namespace lark
