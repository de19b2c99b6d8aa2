#pragma once

// What the hidemu tiers (Linux hidraw and Wine) share: real waits that are still counted, the
// emulator's frame log read back, and the checks both backends must pass alike.
#include <chrono>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "device/DeviceLink.h"
#include "device/MouseCommands.h"
#include "device/Sleeper.h"
#include "settings/SettingsBlock.h"
#include "settings/SettingsModel.h"

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

// Writes a few changed settings, reads them back, then restores the factory settings: the block
// the emulator stores follows every step. `control` sends one command to the emulator (each
// tier reaches it its own way) and gives its answer.
template <class Control> void expectWriteReadBackAndReset(DeviceLink& link, Control control)
{
    SettingsModel model;
    ASSERT_EQ(readSettings(link, model), CommandResult::Done);
    MouseSettings edited = model.editedSettings;
    edited.pollingInterval = 2;
    edited.cpiLevels[1].x = 1600;
    edited.liftOffDistance = 2;
    ASSERT_EQ(writeSettings(link, edited, 300), CommandResult::Done);

    SettingsBlock expected{};
    encodeSettings(edited, expected);
    EXPECT_EQ(control("settings"), std::optional<std::string>(hex(expected) + "\n"));
    SettingsModel again;
    ASSERT_EQ(readSettings(link, again), CommandResult::Done);
    EXPECT_EQ(again.editedSettings, edited);

    ASSERT_EQ(sendFactoryReset(link), CommandResult::Done);
    EXPECT_EQ(control("settings"), control("settings factory"));
}

}  // namespace lark::test
