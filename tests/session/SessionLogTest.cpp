// What a user's log shows of the session's flows: enough to tell from a bug report what went
// over the wire and why the session gave up.
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/Protocol.h"
#include "session/MouseSession.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"
#include "support/LogCapture.h"

namespace lark::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// The bytes of a logged frame ("sent [1041] a0 11 ... (+12 zero bytes)") read back.
std::vector<std::uint8_t> bytesOf(const std::string& line)
{
    std::istringstream in(line.substr(line.find(']') + 1));
    std::vector<std::uint8_t> bytes;
    std::string token;
    while (in >> token) {
        if (token.rfind("(+", 0) == 0) {
            bytes.resize(bytes.size() + std::stoul(token.substr(2)), 0);
            break;
        }
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
    }
    return bytes;
}

class SessionLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(session.start(), SessionOutcome::Connected);
        mouse.clearFrameLog();
        capture.clear();
    }

    RecordingSleeper sleeper;
    VirtualMouse mouse{sleeper.clock()};
    MouseSession session{mouse, sleeper};
    LogCapture capture{{LogCategory::Device, LogCategory::Hotplug, LogCategory::App}};
};

TEST_F(SessionLogTest, ARefusedWriteLogsItsThreeAttemptsWithTheFramesOfEach)
{
    mouse.refuseWrites(3);
    session.model().editedSettings.angleSnapping = 1;
    ASSERT_EQ(session.apply(), SessionOutcome::Refused);

    EXPECT_THAT(capture.texts(LogCategory::App), ElementsAre("write attempt 1 of 3 (300 ms): refused",
                                                             "write attempt 2 of 3 (350 ms): refused",
                                                             "write attempt 3 of 3 (400 ms): refused"));
    // Each attempt: the settings frame out, the status answer (not done) back, then the verdict.
    std::vector<std::string> sequence;
    for (const LogCapture::Line& line : capture.lines())
        if (line.text.rfind("sent [1041]", 0) == 0 || line.text.rfind("received [64]", 0) == 0 ||
            line.text.rfind("write attempt", 0) == 0)
            sequence.push_back(line.text.substr(0, 13));
    EXPECT_THAT(sequence, ElementsAre("sent [1041] a", "received [64]", "write attempt", "sent [1041] a",
                                      "received [64]", "write attempt", "sent [1041] a", "received [64]",
                                      "write attempt"));
    for (const std::string& answer : capture.texts(LogCategory::Device, "received [64]"))
        EXPECT_THAT(answer, StartsWith("received [64] a1 00"));
}

TEST_F(SessionLogTest, ALoggedSettingsFrameHoldsEveryByteSent)
{
    session.model().editedSettings.cpiLevels[3] = CpiLevel{1, 12000, 26000};
    session.model().editedSettings.rippleControl = 1;
    ASSERT_EQ(session.apply(), SessionOutcome::Applied);

    const auto logged = capture.texts(LogCategory::Device, "sent [1041]");
    ASSERT_EQ(logged.size(), 1u);
    std::vector<std::uint8_t> wire;
    for (const VirtualMouse::Frame& frame : mouse.frameLog())
        if (frame.direction == VirtualMouse::Direction::Set && frame.reportId == kSettingsReportId)
            wire = frame.bytes;
    ASSERT_EQ(wire.size(), kSettingsReportLength);
    EXPECT_EQ(bytesOf(logged[0]), wire);
}

TEST_F(SessionLogTest, HotplugNotificationsSayWhetherTheyAreTheMouse)
{
    const std::string mousePath = VirtualMouse::pathOf(VirtualMouse::Collection::Config);
    const std::string keyboard =
        "/sys/devices/pci0000:00/usb1/1-2/1-2:1.0/0003:046D:C31C.0001/hidraw/hidraw0";
    EXPECT_EQ(session.arrival(keyboard), SessionOutcome::Nothing);
    mouse.unplug();
    EXPECT_EQ(session.removal(mousePath), SessionOutcome::Unplugged);
    mouse.plug();
    EXPECT_EQ(session.arrival(mousePath), SessionOutcome::Connected);

    EXPECT_THAT(capture.texts(LogCategory::Hotplug),
                ElementsAre("arrival of " + keyboard + ": not the mouse, connected",
                            "removal of " + mousePath + ": the mouse, connected",
                            "arrival of " + mousePath + ": the mouse, not connected"));
    EXPECT_THAT(capture.texts(LogCategory::Device, "opened "), ElementsAre(HasSubstr(mousePath)));
}

}  // namespace
}  // namespace lark::test
