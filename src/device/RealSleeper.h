#pragma once

#include "device/Sleeper.h"

namespace lark {

// Waits for real: the production Sleeper.
class RealSleeper : public Sleeper {
public:
    void sleepMs(unsigned milliseconds) override;
};

}  // namespace lark
