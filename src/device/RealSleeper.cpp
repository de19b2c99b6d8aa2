#include "device/RealSleeper.h"

#include <chrono>
#include <thread>

namespace lark {

void RealSleeper::sleepMs(unsigned milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace lark
