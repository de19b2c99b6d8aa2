#include <random>

#include <gtest/gtest.h>

#include "device/DeviceLink.h"
#include "device/FakeHid.h"
#include "device/MouseCommands.h"
#include "sim/RecordingSleeper.h"

namespace lark::test {
namespace {

// Whatever a broken or hostile device answers - any status, any bytes, short or overlong
// counts, failures of any class - every command ends with one of its result codes, never
// reads outside its frames (AddressSanitizer watches), and a failed read keeps the model.
TEST(BadAnswerTest, RandomAnswersAlwaysYieldAResultCode)
{
    std::mt19937 random(20240611);
    const HidError errors[] = {HidError::Transient, HidError::DeviceGone, HidError::Other,
                               HidError::PermissionDenied};
    auto answer = [&](std::uint8_t* data, std::size_t length) {
        const int kind = static_cast<int>(random() % 10);
        if (kind < 3)
            return FakeDevice::Answer{-1, errors[random() % 4]};
        // Byte counts from nothing to more than asked; only `length` bytes may be written.
        const int count = static_cast<int>(random() % (length + 8));
        const std::size_t written = std::min<std::size_t>(static_cast<std::size_t>(count), length);
        for (std::size_t i = 1; i < written; ++i)
            data[i] = static_cast<std::uint8_t>(random());
        if (written > 1 && kind < 7)
            data[1] = static_cast<std::uint8_t>(1 + random() % 4);  // statuses that matter most
        return FakeDevice::Answer{count, HidError::None};
    };

    for (int round = 0; round < 400; ++round) {
        auto owned = std::make_unique<FakeDevice>();
        owned->onSet = answer;
        owned->onGet = answer;
        FakeBackend backend(std::move(owned));
        RecordingSleeper sleeper;
        DeviceLink link(backend, sleeper);
        ASSERT_TRUE(link.findMouse(kProductId));

        std::uint16_t version = 0x7777;
        const CommandResult v = readFirmwareVersion(link, version);
        EXPECT_TRUE(v == CommandResult::Done || v == CommandResult::NotSent || v == CommandResult::NoAnswer)
            << int(v);
        if (v != CommandResult::Done) {
            EXPECT_EQ(version, 0x7777);
        }

        SettingsModel model;
        model.setDefaults();
        model.lastBlock.fill(0x42);
        const SettingsModel before = model;
        const CommandResult s = readSettings(link, model);
        EXPECT_TRUE(s == CommandResult::Done || s == CommandResult::NotSent || s == CommandResult::NoAnswer)
            << int(s);
        if (s != CommandResult::Done) {
            EXPECT_EQ(model.editedSettings, before.editedSettings);
            EXPECT_EQ(model.lastBlock, before.lastBlock);
        }

        const CommandResult w = writeSettings(link, model.editedSettings, 300);
        EXPECT_NE(w, CommandResult::NoAnswer) << int(w);
        const CommandResult r = sendFactoryReset(link);
        EXPECT_TRUE(r == CommandResult::Done || r == CommandResult::NotSent || r == CommandResult::NoAnswer)
            << int(r);
        // Every exchange stays within its bounds: at most 150 ms of retries or 4.5 s of polling
        // per exchange, and the fixed waits.
        EXPECT_LE(sleeper.totalMs(), 50u + 80u + 300u + 200u + 4u * 4500u);
    }
}

}  // namespace
}  // namespace lark::test
