// One copy of the window per session: the platform's guard, in this process and across processes
// (GoogleTest's death tests start the other copy: a fork on Linux, the program again on Windows).
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/SingleInstance.h"

namespace lark::test {
namespace {

// A name of this test alone, so that a copy of the window running beside it is not disturbed.
std::string guardName()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("lark-config test ") + test->name();
}

TEST(SingleInstanceTest, ASecondGuardIsRefusedUntilTheFirstGoes)
{
    const std::string name = guardName();
    auto first = std::make_unique<SingleInstance>(name.c_str());
    ASSERT_TRUE(first->acquire());
    {
        SingleInstance second(name.c_str());
        EXPECT_FALSE(second.acquire());
    }
    // The refused one took nothing away from the holder.
    SingleInstance third(name.c_str());
    EXPECT_FALSE(third.acquire());

    first.reset();
    SingleInstance after(name.c_str());
    EXPECT_TRUE(after.acquire());
}

TEST(SingleInstanceTest, OtherNamesAreNotHeld)
{
    const std::string name = guardName();
    SingleInstance held(name.c_str());
    ASSERT_TRUE(held.acquire());
    SingleInstance other((name + " 2").c_str());
    EXPECT_TRUE(other.acquire());
}

TEST(SingleInstanceTest, AnotherProcessIsRefusedWhileThisOneHolds)
{
    const std::string name = guardName();
    SingleInstance held(name.c_str());
    // Where the other process is this program started again (Windows), it runs this line too
    // and is refused here: only the parent's answer is checked.
    const bool holding = held.acquire();
    EXPECT_EXIT(
        {
            SingleInstance second(name.c_str());
            std::_Exit(second.acquire() ? 0 : 3);
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_TRUE(holding);
}

TEST(SingleInstanceTest, ACopyThatEndedWithoutLettingGoDoesNotBlockTheNext)
{
    const std::string name = guardName();
    // The other copy takes the guard and ends without its destructor, as a crash would.
    EXPECT_EXIT(
        {
            auto* copy = new SingleInstance(name.c_str());
            std::_Exit(copy->acquire() ? 1 : 2);
        },
        ::testing::ExitedWithCode(1), "");
    SingleInstance next(name.c_str());
    EXPECT_TRUE(next.acquire());
}

}  // namespace
}  // namespace lark::test
