// The window under a flood of mouse events, a mouse unplugged and replugged fifty times in
// quick succession, and a configuration handle left stale by a removal.

#include <QComboBox>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <thread>

#include "FaultRig.h"
#include "device/MouseCommands.h"
#include "device/RealSleeper.h"

using namespace lark;
using namespace lark::test;

namespace {

const QString kUnplugged =
    QStringLiteral("The mouse was unplugged. Plug it in again and it will be found by itself.");

// Measures the longest pause of the window's event loop while it runs.
class LoopWatch {
public:
    explicit LoopWatch(QObject* context)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, context, [this] {
            longestGapMs_ = std::max(longestGapMs_, sinceTick_.restart());
            ++ticks_;
        });
        sinceTick_.start();
        timer_.start();
    }
    qint64 longestGapMs() const { return longestGapMs_; }
    int ticks() const { return ticks_; }

private:
    QTimer timer_;
    QElapsedTimer sinceTick_;
    qint64 longestGapMs_ = 0;
    int ticks_ = 0;
};

// One round of events: the three polling rates the list shows, then three the window must
// ignore (an accepted code, an unknown rate, an unknown code).
constexpr std::pair<std::uint8_t, std::uint8_t> kRound[] = {{6, 8},    {6, 4}, {6, 2},
                                                            {0xB4, 7}, {6, 3}, {0x33, 6}};
constexpr int kRounds = 834;  // 5004 events
// A window whose event loop stalls this long has stopped answering its user.
constexpr qint64 kResponsiveMs = 500;

int framesOf(const VirtualMouse& mouse, VirtualMouse::Direction direction)
{
    int n = 0;
    for (const auto& frame : mouse.frameLog())
        n += frame.direction == direction;
    return n;
}

template <class Rig> void pushStorm(Rig& rig)
{
    std::thread pusher([&rig] {
        for (int round = 0; round < kRounds; ++round)
            for (auto [code, value] : kRound)
                rig.mouse.pushEvent(code, value);
    });
    pusher.join();
}

}  // namespace

class DeviceStressTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        FaultRig rig;
        rig.start();
    }

    // With the recorded sleeper the reader's 80 ms pause costs no time, so every event reaches
    // the window at once: the harshest case for the window's own thread.
    void anEventStormIsHandledInOrderWithoutStallingTheWindow()
    {
        const int threadsBefore = threadCount();
        {
            FaultRig rig;
            rig.start();
            auto* polling = rig.find<QComboBox>(QStringLiteral("Polling Rate"));
            int selections = 0;
            connect(polling, &QComboBox::currentIndexChanged, this, [&selections] { ++selections; });
            const MouseSettings appliedBefore = rig.model.appliedSettings;
            rig.mouse.clearFrameLog();
            rig.sleeper.clear();

            LoopWatch watch(rig.window.get());
            QElapsedTimer elapsed;
            elapsed.start();
            pushStorm(rig);
            QVERIFY2(elapsed.elapsed() < 1000, "the storm took longer than a second to push");
            QTRY_COMPARE_WITH_TIMEOUT(framesOf(rig.mouse, VirtualMouse::Direction::Read), kRounds * 6, 30000);
            QTRY_COMPARE_WITH_TIMEOUT(selections, kRounds * 3, 30000);
            rig.settle();

            QVERIFY2(watch.longestGapMs() < kResponsiveMs, qPrintable(QString::number(watch.longestGapMs())));
            QVERIFY(eventLoopAnswers(rig.window.get()));
            QCOMPARE(polling->currentText(), QStringLiteral("4000Hz"));  // the last rate event, (6, 2)
            QCOMPARE(rig.model.editedSettings.pollingInterval, std::uint8_t(2));
            QCOMPARE(rig.model.appliedSettings.pollingInterval, std::uint8_t(2));
            MouseSettings expectedApplied = appliedBefore;
            expectedApplied.pollingInterval = 2;
            QVERIFY(rig.model.appliedSettings == expectedApplied);  // nothing else moved
            QVERIFY(!rig.applyButton()->isEnabled());
            // Every report paid its pause, through the sleeper.
            const auto waits = rig.sleeper.waits();
            QCOMPARE(static_cast<int>(std::count(waits.begin(), waits.end(), 80u)), kRounds * 6);
            QTRY_COMPARE(rig.mouse.openDeviceCount(), 2);
        }
        QTRY_COMPARE(threadCount(), threadsBefore);
    }

    // With real waits the 80 ms pause paces the reader at about 12 events a second: a storm
    // cannot flood the window, and closing the window is not held up by the backlog.
    void realPausesPaceTheStormAndShutdownStaysPrompt()
    {
        const int threadsBefore = threadCount();
        FaultRigOf<RealSleeper> rig;
        rig.start();
        rig.mouse.clearFrameLog();
        LoopWatch watch(rig.window.get());
        pushStorm(rig);
        QTest::qWait(1000);
        const int handled = framesOf(rig.mouse, VirtualMouse::Direction::Read);
        QVERIFY2(handled >= 5 && handled <= 20, qPrintable(QString::number(handled)));
        QVERIFY2(watch.longestGapMs() < kResponsiveMs, qPrintable(QString::number(watch.longestGapMs())));

        QElapsedTimer closing;
        closing.start();
        rig.window.reset();
        rig.session.stop();
        QVERIFY2(closing.elapsed() < 1000, qPrintable(QString::number(closing.elapsed())));
        QTRY_COMPARE(threadCount(), threadsBefore);
    }

    void fiftyQuickReplugs_data()
    {
        QTest::addColumn<bool>("handleEachNotification");
        QTest::addColumn<bool>("endPlugged");
        QTest::newRow("notifications queued, ends plugged") << false << true;
        QTest::newRow("notifications handled each time, ends plugged") << true << true;
        QTest::newRow("notifications queued, ends unplugged") << false << false;
        QTest::newRow("notifications handled each time, ends unplugged") << true << false;
    }

    void fiftyQuickReplugs()
    {
        QFETCH(bool, handleEachNotification);
        QFETCH(bool, endPlugged);
        const int threadsBefore = threadCount();
        const std::optional<int> fdsBefore = fdCount();
        {
            FaultRig rig;
            rig.start();
            for (int i = 0; i < 50; ++i) {
                rig.mouse.unplug();
                if (handleEachNotification) {
                    rig.settle();
                    QVERIFY(!rig.controlsEnabled());
                    QCOMPARE(rig.status(), kUnplugged);
                }
                if (i == 49 && !endPlugged)
                    break;
                rig.mouse.plug();
                if (handleEachNotification) {
                    rig.settle();
                    QVERIFY(rig.controlsEnabled());
                }
            }
            rig.settle();
            QVERIFY(eventLoopAnswers(rig.window.get()));

            if (endPlugged) {
                QVERIFY(rig.controlsEnabled());
                QCOMPARE(rig.firmware(), QStringLiteral("V1.06"));
                QCOMPARE(rig.status(), QString());
                QVERIFY(rig.mouseSettingsShown());
                QVERIFY(!rig.applyButton()->isEnabled());
                // One configuration handle and one reader, however many arrivals came before.
                QTRY_COMPARE(rig.mouse.openDeviceCount(), 2);
                QTRY_COMPARE(threadCount(), threadsBefore + 1);
                // The reader is the returned mouse's: its events arrive.
                rig.mouse.pushEvent(6, 4);
                QTRY_COMPARE(rig.find<QComboBox>(QStringLiteral("Polling Rate"))->currentText(),
                             QStringLiteral("2000Hz"));
            } else {
                QVERIFY(!rig.controlsEnabled());
                QCOMPARE(rig.firmware(), QString());
                // Queued arrivals that later notices overtook do nothing; one that still ran after
                // the mouse left found no mouse and said so. Either way the line says it is gone.
                const QStringList gone{kUnplugged, QStringLiteral("Mouse not found. Check that it is plugged in.")};
                QVERIFY2(handleEachNotification ? rig.status() == kUnplugged : gone.contains(rig.status()),
                         qPrintable(rig.status()));
                // At most the stale configuration handle, which the next discovery closes. The
                // reader closes its own handle as its thread ends, so wait for that as for the thread.
                QTRY_VERIFY(rig.mouse.openDeviceCount() <= 1);
                QTRY_COMPARE(threadCount(), threadsBefore);
            }
        }
        QTRY_COMPARE(threadCount(), threadsBefore);
        if (fdsBefore)
            QCOMPARE(*fdCount(), *fdsBefore);
    }

    // A removal leaves the configuration handle open; every command on it fails at once,
    // without retries, and the next arrival replaces it.
    void commandsOnAStaleHandleFailFastAndArrivalReplacesIt()
    {
        FaultRig rig;
        rig.start();
        rig.makeEdits();
        rig.mouse.unplug();
        rig.settle();
        rig.mouse.clearFrameLog();
        rig.sleeper.clear();
        const MouseSettings editedBefore = rig.model.editedSettings;

        bool hadHandle = false;
        bool connected = true;
        CommandResult results[4] = {};
        SettingsBlock block{};
        block.fill(0x42);
        rig.session.runOnWorker([&](MouseSession& session) {
            DeviceLink& link = session.link();
            hadHandle = link.hasHandle();
            connected = link.isConnected();
            std::uint16_t version = 0;
            results[0] = readFirmwareVersion(link, version);
            results[1] = readSettings(link, block);
            results[2] = writeSettings(link, session.model().editedSettings, 300);
            results[3] = sendFactoryReset(link);
        });
        QVERIFY(hadHandle);
        QVERIFY(!connected);
        for (CommandResult result : results)
            QCOMPARE(result, CommandResult::NotSent);
        // One attempt per request, no retry pauses: only the commands' own waits.
        QCOMPARE(rig.sleeper.waits(), (std::vector<unsigned>{50, 80, 300}));
        const auto frames = rig.mouse.frameLog();
        QCOMPARE(static_cast<int>(frames.size()), 4);
        for (const auto& frame : frames) {
            QCOMPARE(frame.direction, VirtualMouse::Direction::Set);
            QCOMPARE(frame.error, HidError::DeviceGone);
        }
        QVERIFY(rig.model.editedSettings == editedBefore);
        SettingsBlock untouched{};
        untouched.fill(0x42);
        QVERIFY(block == untouched);
        QVERIFY(rig.editsShown());

        rig.mouse.plug();
        rig.settle();
        int staleClosed = 0;
        for (const auto& frame : rig.mouse.frameLog())
            staleClosed += frame.direction == VirtualMouse::Direction::Close &&
                           frame.collection == VirtualMouse::Collection::Config;
        QCOMPARE(staleClosed, 1);
        QTRY_COMPARE(rig.mouse.openDeviceCount(), 2);
        std::uint16_t version = 0;
        CommandResult result = CommandResult::NotSent;
        rig.session.runOnWorker([&](MouseSession& session) { result = readFirmwareVersion(session.link(), version); });
        QCOMPARE(result, CommandResult::Done);
        QCOMPARE(version, VirtualMouse::kFactoryFirmwareVersion);
    }
};

QTEST_MAIN(DeviceStressTest)
#include "DeviceStressTest.moc"
