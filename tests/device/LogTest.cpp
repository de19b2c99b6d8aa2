#include <regex>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/Log.h"
#include "device/MouseFixture.h"
#include "support/LogCapture.h"

namespace lark::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using Collection = VirtualMouse::Collection;

// Counts how often it is formatted, to show that an off category costs no formatting.
struct Counted {
    int* formatted;
};
std::ostream& operator<<(std::ostream& out, const Counted& c)
{
    ++*c.formatted;
    return out << "counted";
}

TEST(LogTest, OnlyEnabledCategoriesAreFormattedAndDelivered)
{
    int formatted = 0;
    log(LogCategory::Device, Counted{&formatted});  // no sink, nothing on
    EXPECT_EQ(formatted, 0);

    LogCapture capture({LogCategory::Device});
    log(LogCategory::Hotplug, Counted{&formatted});
    log(LogCategory::App, Counted{&formatted});
    EXPECT_EQ(formatted, 0);
    log(LogCategory::Device, "a ", Counted{&formatted}, ' ', 7);
    EXPECT_EQ(formatted, 1);
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_EQ(capture.lines()[0].category, LogCategory::Device);
    EXPECT_EQ(capture.lines()[0].text, "a counted 7");
}

TEST(LogTest, EachLineStartsWithAMillisecondTimeOfDay)
{
    LogCapture capture({LogCategory::App});
    log(LogCategory::App, "x");
    ASSERT_EQ(capture.stamps().size(), 1u);
    EXPECT_TRUE(std::regex_match(capture.stamps()[0], std::regex(R"(\d\d:\d\d:\d\d\.\d\d\d)")))
        << capture.stamps()[0];
}

TEST(LogTest, LinesFromManyThreadsArriveWholeAndAllOfThem)
{
    LogCapture capture({LogCategory::Device});
    constexpr int kThreads = 4;
    constexpr int kLines = 300;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i)
                log(LogCategory::Device, "thread ", t, " line ", i);
        });
    for (std::thread& thread : threads)
        thread.join();
    const auto lines = capture.texts(LogCategory::Device);
    ASSERT_EQ(lines.size(), std::size_t(kThreads * kLines));
    std::vector<int> next(kThreads, 0);
    for (const std::string& line : lines) {
        int t = -1;
        int i = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "thread %d line %d", &t, &i), 2) << line;
        ASSERT_TRUE(t >= 0 && t < kThreads) << line;
        EXPECT_EQ(i, next[t]++) << "each thread's lines in its order";
    }
}

TEST(HexFrameTest, TrailingZerosOfLongFramesAreCountedOtherBytesShown)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::string text;
    };
    std::vector<std::uint8_t> command(64, 0);
    command[0] = 0xA1;
    command[1] = 0x02;
    std::vector<std::uint8_t> lastByteSet(1041, 0);
    lastByteSet[0] = 0xA0;
    lastByteSet[1040] = 0x5C;
    std::string lastByteSetText = "[1041] a0";
    for (int i = 1; i < 1040; ++i)
        lastByteSetText += " 00";
    lastByteSetText += " 5c";
    const Case cases[] = {
        {"empty", {}, "[0] "},
        {"short frame stays whole", {0xA1, 0x01, 0x00, 0x00}, "[4] a1 01 00 00"},
        {"command frame", command, "[64] a1 02 (+62 zero bytes)"},
        {"zeros inside are kept",
         {0xA0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         "[18] a0 00 00 ff (+14 zero bytes)"},
        // The report ID and the status byte show even when zero.
        {"all zero", std::vector<std::uint8_t>(20, 0), "[20] 00 00 (+18 zero bytes)"},
        {"status not done",
         {0xA1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         "[20] a1 00 (+18 zero bytes)"},
        {"a settings frame ending in data is whole", lastByteSet, lastByteSetText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ostringstream out;
        out << HexFrame{c.bytes.data(), c.bytes.size()};
        EXPECT_EQ(out.str(), c.text);
    }
}

// The link tells each frame, each retry with its reason and each busy poll.
class LinkLogTest : public MouseFixture {
protected:
    void SetUp() override
    {
        connect();
        EXPECT_THAT(capture.texts(LogCategory::Device, "opened "),
                    ElementsAre(StartsWith("opened " + mouse.pathOf(Collection::Config))));
        capture.clear();
    }

    bool sendVersionRequest()
    {
        auto frame = request(kCommandReadVersion);
        return link.sendFeature(frame.data(), kCommandReportLength);
    }

    bool getAnswer()
    {
        auto answer = commandAnswer();
        return link.getFeature(answer.data(), kCommandReportLength);
    }

    LogCapture capture{LogCategory::Device};
};

TEST_F(LinkLogTest, TransientSendFailuresLogEachRetryWithItsReason)
{
    mouse.fail(VirtualMouse::Call::Set, HidError::Transient, 2);
    ASSERT_TRUE(sendVersionRequest());
    EXPECT_THAT(capture.texts(LogCategory::Device),
                ElementsAre("send failed (transient error) [64] a1 02 (+62 zero bytes)",
                            "send retry 1 of 3 (transient error)",
                            "send failed (transient error) [64] a1 02 (+62 zero bytes)",
                            "send retry 2 of 3 (transient error)", "sent [64] a1 02 (+62 zero bytes)"));
}

TEST_F(LinkLogTest, AGoneDeviceIsNotRetried)
{
    mouse.fail(VirtualMouse::Call::Set, HidError::DeviceGone, 1);
    EXPECT_FALSE(sendVersionRequest());
    EXPECT_THAT(capture.texts(LogCategory::Device),
                ElementsAre("send failed (device gone) [64] a1 02 (+62 zero bytes)"));
}

TEST_F(LinkLogTest, BusyAnswersLogEachPollAndTheAnswers)
{
    ASSERT_TRUE(sendVersionRequest());
    mouse.answerBusy(2);
    ASSERT_TRUE(getAnswer());
    const auto lines = capture.texts(LogCategory::Device);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_THAT(lines[1], StartsWith("received [64] a1 03"));
    EXPECT_EQ(lines[2], "busy poll 1 of 10");
    EXPECT_THAT(lines[3], StartsWith("received [64] a1 03"));
    EXPECT_EQ(lines[4], "busy poll 2 of 10");
    // The version answer: status done, version 0x0106 in bytes 17 and 18.
    EXPECT_THAT(lines[5], StartsWith("received [64] a1 01"));
    EXPECT_THAT(lines[5], ::testing::HasSubstr(" 06 01"));
}

TEST_F(LinkLogTest, TransientGetFailuresLogTheRetryAndItsReason)
{
    ASSERT_TRUE(sendVersionRequest());
    mouse.fail(VirtualMouse::Call::Get, HidError::Transient, 1);
    ASSERT_TRUE(getAnswer());
    const auto lines = capture.texts(LogCategory::Device);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "get failed (transient error) report [1] a1");
    EXPECT_EQ(lines[2], "get retry 1 of 3 (transient error)");
    EXPECT_THAT(capture.texts(LogCategory::Device, "received [64] a1 01"), ::testing::Not(IsEmpty()));
}

}  // namespace
}  // namespace lark::test
