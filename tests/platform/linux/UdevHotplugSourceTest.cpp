// The libudev monitor on this machine: it may have no udev daemon, or no netlink at all; the
// source must then fail cleanly, never crash, and never report anything it did not see.
#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include "platform/linux/UdevHotplugSource.h"
#include "support/HidemuControl.h"

namespace lark::test {
namespace {

QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "udev_hotplug_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

TEST(UdevHotplugSourceTest, StartsOrFailsCleanlyAndStaysQuietWithoutEvents)
{
    application();
    int arrivals = 0;
    int removals = 0;
    {
        UdevHotplugSource source;
        QObject::connect(&source, &HotplugSource::deviceArrived, [&] { ++arrivals; });
        QObject::connect(&source, &HotplugSource::deviceRemoved, [&] { ++removals; });
        const bool started = source.start();
        // Starting twice keeps the one monitor, and says the same.
        EXPECT_EQ(source.start(), started);

        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 200)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    // Outside the emulator nothing is plugged; inside it nothing changes during this test.
    EXPECT_EQ(arrivals, 0);
    EXPECT_EQ(removals, 0);
}

// The window's program listens before Qt starts and delivers once its loop runs: a mouse that
// comes and goes in between is neither missed nor reported before the window can take it.
TEST(UdevHotplugUnderHidemu, WhatComesBetweenListeningAndStartingIsDeliveredAtStart)
{
    if (!underHidemu())
        GTEST_SKIP() << "runs only under hidemu";
    application();
    UdevHotplugSource source;
    int arrivals = 0;
    int removals = 0;
    QObject::connect(&source, &HotplugSource::deviceArrived, [&] { ++arrivals; });
    QObject::connect(&source, &HotplugSource::deviceRemoved, [&] { ++removals; });
    ASSERT_TRUE(source.listen());
    ASSERT_TRUE(hidemuControl("unplug"));
    ASSERT_TRUE(hidemuControl("plug"));
    QCoreApplication::processEvents();
    EXPECT_EQ(arrivals + removals, 0) << "nothing is delivered before start()";

    ASSERT_TRUE(source.start());
    QElapsedTimer deadline;
    deadline.start();
    while ((arrivals == 0 || removals == 0) && deadline.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    EXPECT_GE(removals, 1);
    EXPECT_GE(arrivals, 1);
}

}  // namespace
}  // namespace lark::test
