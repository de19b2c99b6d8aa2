// The poll-based input report reader on a pipe standing in for a hidraw node: reports,
// timeouts, a node that goes away, and an interrupt from another thread.
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <future>
#include <memory>

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/linux/HidrawReader.h"

namespace lark::test {
namespace {

using namespace std::chrono_literals;

std::size_t openFileDescriptors()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

class HidrawReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        writeEnd = fds[1];
        HidError error = HidError::Other;
        reader = HidrawReader::adopt(fds[0], error);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(error, HidError::None);
    }
    void TearDown() override { closeWriteEnd(); }

    void send(std::array<std::uint8_t, 8> report)
    {
        ASSERT_EQ(::write(writeEnd, report.data(), report.size()), 8);
    }
    void closeWriteEnd()
    {
        if (writeEnd >= 0)
            ::close(writeEnd);
        writeEnd = -1;
    }
    int read(int timeoutMs)
    {
        report.fill(0);
        return reader->read(report.data(), report.size(), timeoutMs, error);
    }

    int writeEnd = -1;
    std::unique_ptr<HidrawReader> reader;
    std::array<std::uint8_t, 8> report{};
    HidError error = HidError::Other;
};

TEST_F(HidrawReaderTest, ReadsAQueuedReportAndTimesOutWhenNothingCame)
{
    send({6, 6, 4});
    EXPECT_EQ(read(-1), 8);
    EXPECT_EQ(error, HidError::None);
    EXPECT_EQ(report[1], 6);
    EXPECT_EQ(report[2], 4);

    for (int timeoutMs : {0, 20}) {
        error = HidError::Other;
        EXPECT_EQ(read(timeoutMs), 0) << timeoutMs;
        EXPECT_EQ(error, HidError::None) << timeoutMs;
    }
}

TEST_F(HidrawReaderTest, ANodeThatGoesAwayEndsReadsAfterWhatWasQueued)
{
    send({6, 0xB4, 1});
    closeWriteEnd();
    EXPECT_EQ(read(-1), 8);  // still delivered
    EXPECT_EQ(report[1], 0xB4);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(read(-1), -1);
        EXPECT_EQ(error, HidError::DeviceGone);
    }
}

TEST_F(HidrawReaderTest, InterruptEndsABlockedReadAndEveryLaterOne)
{
    auto blocked = std::async(std::launch::async, [&] {
        std::array<std::uint8_t, 8> own{};
        HidError ownError = HidError::Other;
        const int n = reader->read(own.data(), own.size(), -1, ownError);
        return std::make_pair(n, ownError);
    });
    reader->interrupt();  // before or during the read: either way it returns
    ASSERT_EQ(blocked.wait_for(3s), std::future_status::ready);
    EXPECT_EQ(blocked.get(), std::make_pair(0, HidError::None));

    send({6, 6, 2});  // a report does not undo the interrupt
    EXPECT_EQ(read(-1), 0);
    EXPECT_EQ(error, HidError::None);
    reader->interrupt();  // twice is harmless
    EXPECT_EQ(read(-1), 0);
}

TEST(HidrawReaderOpenTest, AMissingNodeIsGoneAndNothingIsLeftOpen)
{
    const std::size_t before = openFileDescriptors();
    HidError error = HidError::None;
    EXPECT_EQ(HidrawReader::open("/dev/lark-no-such-hidraw", error), nullptr);
    EXPECT_EQ(error, HidError::DeviceGone);

    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[1]);
    error = HidError::Other;
    auto reader = HidrawReader::adopt(fds[0], error);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(openFileDescriptors(), before + 2);  // the node's descriptor and the wake-up one
    reader.reset();
    EXPECT_EQ(openFileDescriptors(), before);
}

}  // namespace
}  // namespace lark::test
