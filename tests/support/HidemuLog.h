#pragma once

// What the hidemu tiers (Linux hidraw and Wine) share: real waits that are still counted, and
// the emulator's frame log read back.
#include <chrono>
#include <cstdint>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "device/Sleeper.h"
#include "settings/SettingsBlock.h"

namespace lark::test {

// Sleeps for real, as production does, and remembers each wait.
class RealRecordingSleeper : public Sleeper {
public:
    void sleepMs(unsigned milliseconds) override
    {
        waits.push_back(milliseconds);
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    std::vector<unsigned> waits;
};

// A block as hidemu's `settings` command prints it.
inline std::string hex(const SettingsBlock& block)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::uint8_t b : block) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// Frames in the emulator's log (the text of its `log` command) with this direction and report
// ID, errors included.
inline int countLoggedFrames(const std::string& log, const std::string& direction, int reportId)
{
    std::istringstream lines(log);
    std::string line;
    int count = 0;
    const std::string wantDirection = "\"dir\":\"" + direction + "\"";
    const std::string wantId = "\"id\":" + std::to_string(reportId) + ",";
    while (std::getline(lines, line))
        if (line.find(wantDirection) != std::string::npos && line.find(wantId) != std::string::npos)
            ++count;
    return count;
}

}  // namespace lark::test
