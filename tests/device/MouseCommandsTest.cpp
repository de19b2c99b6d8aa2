#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/MouseCommands.h"
#include "device/MouseFixture.h"
#include "settings/SettingsBlock.h"

namespace lark::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A block that differs from the defaults in every field the codec knows.
SettingsBlock distinctiveBlock()
{
    SettingsBlock block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return block;
}

MouseSettings decoded(const SettingsBlock& block)
{
    MouseSettings settings;
    decodeSettings(block, settings);
    return settings;
}

class CommandsTest : public MouseFixture {
protected:
    void SetUp() override { connect(); }
};

// --- frames, byte for byte ---

TEST_F(CommandsTest, RequestFramesCarryTheCommandAndNothingElse)
{
    std::uint16_t version = 0;
    SettingsModel model;
    readFirmwareVersion(link, version);
    readSettings(link, model);
    sendFactoryReset(link);

    const auto sets = frames(Direction::Set);
    ASSERT_EQ(sets.size(), 3u);
    const std::uint8_t commands[] = {kCommandReadVersion, kCommandReadSettings, kCommandFactoryReset};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto expected = request(commands[i]);
        EXPECT_EQ(sets[i].bytes, std::vector<std::uint8_t>(expected.begin(), expected.end())) << i;
    }
    const auto gets = frames(Direction::Get);
    ASSERT_EQ(gets.size(), 3u);
    EXPECT_EQ(gets[0].reportId, kCommandReportId);
    EXPECT_EQ(gets[1].reportId, kSettingsReportId);
    EXPECT_EQ(gets[1].bytes.size(), kSettingsReportLength);
    EXPECT_EQ(gets[2].reportId, kCommandReportId);
}

TEST_F(CommandsTest, WriteFrameHoldsTheEncodedBlockBetweenZeros)
{
    MouseSettings edited = decoded(distinctiveBlock());
    ASSERT_EQ(writeSettings(link, edited, 300), CommandResult::Done);

    const auto sets = frames(Direction::Set);
    ASSERT_EQ(sets.size(), 1u);
    const std::vector<std::uint8_t>& frame = sets[0].bytes;
    ASSERT_EQ(frame.size(), kSettingsReportLength);
    EXPECT_EQ(frame[0], kSettingsReportId);
    EXPECT_EQ(frame[1], kCommandWriteSettings);
    for (std::size_t i = 2; i < 16; ++i)
        EXPECT_EQ(frame[i], 0) << i;
    EXPECT_EQ(frame[1040], 0);

    SettingsBlock expected{};
    encodeSettings(edited, expected);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), frame.begin() + 16));
    // Bytes the encoder does not write are zero, not what the mouse sent before.
    EXPECT_EQ(frame[16 + 1], 0);
    EXPECT_EQ(frame[16 + 0x6F], 0);
    EXPECT_EQ(frame[16 + 1023], 0);
    EXPECT_EQ(mouse.storedBlock(), expected);
}

// --- result codes ---

enum class Command { Version, Settings, Write, Reset };

struct ResultCase {
    const char* name;
    Command command;
    std::function<void(VirtualMouse&)> setup;
    CommandResult expected;
    std::vector<unsigned> waits;
};

CommandResult run(Command command, DeviceLink& link, SettingsModel& model)
{
    std::uint16_t version = 0;
    switch (command) {
    case Command::Version:
        return readFirmwareVersion(link, version);
    case Command::Settings:
        return readSettings(link, model);
    case Command::Write:
        return writeSettings(link, model.editedSettings, 300);
    case Command::Reset:
        return sendFactoryReset(link);
    }
    return CommandResult::NotSent;
}

void noFault(VirtualMouse&) {}
void setsGone(VirtualMouse& m)
{
    m.fail(VirtualMouse::Call::Set, HidError::DeviceGone, VirtualMouse::kForever);
}
void getsGone(VirtualMouse& m)
{
    m.fail(VirtualMouse::Call::Get, HidError::DeviceGone, VirtualMouse::kForever);
}
void getsTransientOnce(VirtualMouse& m)
{
    m.fail(VirtualMouse::Call::Get, HidError::Transient, 1);
}
void status2(VirtualMouse& m)
{
    m.answerStatus(2, 1);
}
void busyForever(VirtualMouse& m)
{
    m.answerBusy(VirtualMouse::kForever);
}
void status0Once(VirtualMouse& m)
{
    m.answerStatus(0, 1);
}
void status7Once(VirtualMouse& m)
{
    m.answerStatus(7, 1);
}

const std::vector<unsigned> kBusyWaits{100, 200, 300, 400, 500, 600, 700, 800, 900};

std::vector<unsigned> concat(std::vector<unsigned> a, const std::vector<unsigned>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const ResultCase kResultCases[] = {
    {"VersionRead", Command::Version, noFault, CommandResult::Done, {50}},
    {"VersionNotSent", Command::Version, setsGone, CommandResult::NotSent, {50}},
    {"VersionNoAnswer", Command::Version, getsGone, CommandResult::NoAnswer, {50}},
    {"VersionStatus2", Command::Version, status2, CommandResult::NoAnswer, {50}},
    {"VersionBusyForever", Command::Version, busyForever, CommandResult::NoAnswer, concat({50}, kBusyWaits)},
    {"VersionTransientGetRetried", Command::Version, getsTransientOnce, CommandResult::Done, {50}},
    {"SettingsRead", Command::Settings, noFault, CommandResult::Done, {80}},
    {"SettingsNotSent", Command::Settings, setsGone, CommandResult::NotSent, {80}},
    {"SettingsNoAnswer", Command::Settings, getsGone, CommandResult::NoAnswer, {80}},
    {"SettingsStatus2", Command::Settings, status2, CommandResult::NoAnswer, {80}},
    {"SettingsBusyForever", Command::Settings, busyForever, CommandResult::NoAnswer,
     concat({80}, kBusyWaits)},
    {"WriteAccepted", Command::Write, noFault, CommandResult::Done, {300}},
    {"WriteNotSent", Command::Write, setsGone, CommandResult::NotSent, {300}},
    {"WriteStatusNotFetched", Command::Write, getsGone, CommandResult::StatusNotFetched, {300}},
    {"WriteStatusFetchTransientNotRetried",
     Command::Write,
     getsTransientOnce,
     CommandResult::StatusNotFetched,
     {300}},
    {"WriteAnsweredZero", Command::Write, status0Once, CommandResult::Refused, {300}},
    {"WriteAnsweredOtherStatus", Command::Write, status7Once, CommandResult::Refused, {300}},
    {"WriteAnsweredBusyIsNotPolled", Command::Write, busyForever, CommandResult::Refused, {300}},
    {"ResetSent", Command::Reset, noFault, CommandResult::Done, {200}},
    {"ResetSentWithoutAnswer", Command::Reset, getsGone, CommandResult::NoAnswer, {200}},
    {"ResetAnsweredNotDone", Command::Reset, status2, CommandResult::NoAnswer, {200}},
    {"ResetNotSent", Command::Reset, setsGone, CommandResult::NotSent, {}},
};

class ResultCodeTest : public CommandsTest, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(ResultCodeTest, ResultAndWaits)
{
    const ResultCase& c = GetParam();
    SettingsModel model;
    c.setup(mouse);
    EXPECT_EQ(run(c.command, link, model), c.expected);
    EXPECT_EQ(sleeper.waits(), c.waits);
}

INSTANTIATE_TEST_SUITE_P(Table, ResultCodeTest, ::testing::ValuesIn(kResultCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, WithoutAHandleEveryCommandFailsToSend)
{
    link.closeDevice();
    mouse.clearFrameLog();
    SettingsModel model;
    for (Command command : {Command::Version, Command::Settings, Command::Write, Command::Reset})
        EXPECT_EQ(run(command, link, model), CommandResult::NotSent);
    EXPECT_THAT(mouse.frameLog(), IsEmpty());
    // Only the fixed waits that follow a send attempt; the reset waits nothing.
    EXPECT_THAT(sleeper.waits(), ElementsAre(50, 80, 300));
}

// --- what the commands leave behind ---

TEST_F(CommandsTest, VersionComesFromBytes17And18)
{
    mouse.setFirmwareVersion(0x0230);
    std::uint16_t version = 0;
    ASSERT_EQ(readFirmwareVersion(link, version), CommandResult::Done);
    EXPECT_EQ(version, 0x0230);
}

TEST_F(CommandsTest, FailedVersionReadLeavesTheVersionAlone)
{
    std::uint16_t version = 0x1234;
    mouse.answerStatus(2, 1);
    ASSERT_EQ(readFirmwareVersion(link, version), CommandResult::NoAnswer);
    EXPECT_EQ(version, 0x1234);
}

TEST_F(CommandsTest, SettingsKeepTheWholeBlockAndDecodeIt)
{
    mouse.setStoredBlock(distinctiveBlock());
    SettingsModel model;
    model.setDefaults();
    const MouseSettings applied = model.appliedSettings;
    ASSERT_EQ(readSettings(link, model), CommandResult::Done);
    EXPECT_EQ(model.lastBlock, distinctiveBlock());
    EXPECT_EQ(model.editedSettings, decoded(distinctiveBlock()));
    EXPECT_EQ(model.appliedSettings, applied);
}

TEST_F(CommandsTest, SettingsAfterTwoBusyAnswersAreDecoded)
{
    mouse.setStoredBlock(distinctiveBlock());
    mouse.answerBusy(2);
    SettingsModel model;
    ASSERT_EQ(readSettings(link, model), CommandResult::Done);
    EXPECT_EQ(model.editedSettings, decoded(distinctiveBlock()));
    EXPECT_EQ(count(Direction::Get), 3u);
    EXPECT_THAT(sleeper.waits(), ElementsAre(80));
}

class UnacceptedSettingsTest : public CommandsTest,
                               public ::testing::WithParamInterface<std::function<void(VirtualMouse&)>> {};

TEST_P(UnacceptedSettingsTest, ModelIsLeftUntouched)
{
    mouse.setStoredBlock(distinctiveBlock());
    GetParam()(mouse);
    SettingsModel model;
    model.setDefaults();
    model.editedSettings.liftOffDistance = 9;  // an edit in progress
    model.lastBlock.fill(0x42);
    const SettingsModel before = model;
    EXPECT_NE(readSettings(link, model), CommandResult::Done);
    EXPECT_EQ(model.editedSettings, before.editedSettings);
    EXPECT_EQ(model.lastBlock, before.lastBlock);
}

INSTANTIATE_TEST_SUITE_P(Failures, UnacceptedSettingsTest,
                         ::testing::Values(status2, busyForever, getsGone, setsGone));

TEST_F(CommandsTest, FactoryResetRestoresTheFactoryBlockWithItsOpaqueBytes)
{
    std::array<std::uint8_t, kOpaque0FSize> opaque{};
    opaque.fill(0x5C);
    mouse.setFactoryOpaque(opaque);
    mouse.setStoredBlock(distinctiveBlock());
    ASSERT_EQ(sendFactoryReset(link), CommandResult::Done);
    EXPECT_EQ(mouse.storedBlock(), mouse.factoryBlock());
    MouseSettings expected;
    expected.opaque0F = opaque;
    setDefaults(expected);
    EXPECT_EQ(decoded(mouse.storedBlock()), expected);
}

TEST_F(CommandsTest, FactoryResetThatCannotBeSentNeitherWaitsNorFetches)
{
    mouse.fail(VirtualMouse::Call::Set, HidError::Other, 1);
    EXPECT_EQ(sendFactoryReset(link), CommandResult::NotSent);
    EXPECT_EQ(count(Direction::Get), 0u);
    EXPECT_THAT(sleeper.waits(), IsEmpty());
}

TEST_F(CommandsTest, WriteThenReadGivesBackWhatWasWritten)
{
    MouseSettings edited = decoded(distinctiveBlock());
    ASSERT_EQ(writeSettings(link, edited, 350), CommandResult::Done);
    SettingsModel model;
    ASSERT_EQ(readSettings(link, model), CommandResult::Done);
    EXPECT_EQ(model.editedSettings, edited);
}

// --- the device lock ---

// A sleeper that checks, during each wait, whether another thread could take the lock.
class LockProbe : public Sleeper {
public:
    explicit LockProbe(std::mutex& lock) : lock_(lock) {}
    void sleepMs(unsigned) override
    {
        std::thread other([this] {
            if (lock_.try_lock()) {
                lock_.unlock();
                freeDuringWait = true;
            }
        });
        other.join();
    }
    bool freeDuringWait = false;

private:
    std::mutex& lock_;
};

TEST(DeviceLockTest, CommandsHoldTheLockThroughTheirWaitsAndReleaseIt)
{
    VirtualMouse mouse;
    // The probe is the link's own sleeper and watches that link's lock.
    std::mutex* lockOfLink = nullptr;
    struct Forward : Sleeper {
        Sleeper* to = nullptr;
        void sleepMs(unsigned ms) override { to->sleepMs(ms); }
    } forward;
    DeviceLink watched(mouse, forward);
    lockOfLink = &watched.deviceLock();
    LockProbe watching(*lockOfLink);
    forward.to = &watching;
    ASSERT_TRUE(watched.findMouse(kProductId));
    SettingsModel model;
    std::uint16_t version = 0;
    EXPECT_EQ(readFirmwareVersion(watched, version), CommandResult::Done);
    EXPECT_EQ(readSettings(watched, model), CommandResult::Done);
    EXPECT_EQ(writeSettings(watched, model.editedSettings, 300), CommandResult::Done);
    EXPECT_EQ(sendFactoryReset(watched), CommandResult::Done);
    EXPECT_FALSE(watching.freeDuringWait);
    // Released on return: another thread can take it now.
    std::atomic<bool> taken = false;
    std::thread other([&] {
        if (watched.deviceLock().try_lock()) {
            taken = true;
            watched.deviceLock().unlock();
        }
    });
    other.join();
    EXPECT_TRUE(taken);
}

// --- version text ---

struct VersionTextCase {
    std::uint16_t version;
    const char* text;
};

class VersionTextTest : public ::testing::TestWithParam<VersionTextCase> {};

TEST_P(VersionTextTest, HexDigitsReadAsHundredths)
{
    EXPECT_EQ(firmwareVersionText(GetParam().version), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, VersionTextTest,
                         ::testing::Values(VersionTextCase{0x0106, "V1.06"}, VersionTextCase{0x0230, "V2.30"},
                                           VersionTextCase{0x010A, "V0.10"}, VersionTextCase{0x0000, "V0.00"},
                                           VersionTextCase{0x0005, "V0.05"}, VersionTextCase{0xA123, "V0.00"},
                                           VersionTextCase{0x9999, "V99.99"},
                                           VersionTextCase{0x1A00, "V0.01"},
                                           VersionTextCase{0x0999, "V9.99"}));

}  // namespace
}  // namespace lark::test
