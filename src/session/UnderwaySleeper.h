#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "device/Sleeper.h"

namespace lark {

// Passes every wait on to the session's sleeper and marks the first one: a request is then out
// and the mouse takes its time, so a program may start its heavier work without delaying the
// mouse's first request. A start that ends without any wait (no mouse) marks it too.
class UnderwaySleeper : public Sleeper {
public:
    explicit UnderwaySleeper(Sleeper& inner) : inner_(inner) {}

    void sleepMs(unsigned milliseconds) override;
    void interrupt() override { inner_.interrupt(); }

    void markUnderway();
    // True once under way; false when `limit` passed first.
    bool waitUntilUnderway(std::chrono::milliseconds limit);

private:
    Sleeper& inner_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool underway_ = false;
};

}  // namespace lark
