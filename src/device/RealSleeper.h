#pragma once

#include <condition_variable>
#include <mutex>

#include "device/Sleeper.h"

namespace lark {

// Waits for real: the production Sleeper. After interrupt() it no longer waits.
class RealSleeper : public Sleeper {
public:
    void sleepMs(unsigned milliseconds) override;
    void interrupt() override;

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool interrupted_ = false;
};

}  // namespace lark
