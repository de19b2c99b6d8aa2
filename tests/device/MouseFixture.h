#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "device/DeviceIds.h"
#include "device/DeviceLink.h"
#include "device/Protocol.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"

namespace lark::test {

// The virtual mouse behind the real DeviceLink, with recorded waits and a frame log on the
// sleeper's clock.
class MouseFixture : public ::testing::Test {
protected:
    using Direction = VirtualMouse::Direction;

    MouseFixture() : mouse(sleeper.clock()), link(mouse, sleeper) {}

    void connect()
    {
        ASSERT_TRUE(link.findMouse(kProductId));
        mouse.clearFrameLog();
    }

    std::vector<VirtualMouse::Frame> frames(Direction direction) const
    {
        std::vector<VirtualMouse::Frame> out;
        for (const auto& frame : mouse.frameLog())
            if (frame.direction == direction)
                out.push_back(frame);
        return out;
    }

    std::size_t count(Direction direction) const { return frames(direction).size(); }

    static std::array<std::uint8_t, kCommandReportLength> commandAnswer()
    {
        std::array<std::uint8_t, kCommandReportLength> frame{};
        frame[0] = kCommandReportId;
        return frame;
    }

    static std::array<std::uint8_t, kCommandReportLength> request(std::uint8_t command)
    {
        auto frame = commandAnswer();
        frame[1] = command;
        return frame;
    }

    RecordingSleeper sleeper;
    VirtualMouse mouse;
    DeviceLink link;
};

}  // namespace lark::test
