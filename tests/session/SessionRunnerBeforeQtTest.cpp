// The window's program reads the mouse while Qt starts: the session is made and started before
// any QCoreApplication exists, and its reports reach the application once its loop runs.
#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>

#include "session/qt/SessionRunner.h"
#include "settings/SettingsBlock.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"

namespace lark::test {
namespace {

std::atomic<int> qtWarnings{0};

void countWarnings(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        ++qtWarnings;
}

TEST(SessionRunnerBeforeQt, ReadsTheMouseBeforeTheApplicationAndReportsToItsLoop)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr) << "this program must make its application itself";
    const QtMessageHandler previous = qInstallMessageHandler(countWarnings);

    VirtualMouse mouse;
    MouseSettings stored;
    setDefaults(stored);
    stored.cpiLevels[0].x = stored.cpiLevels[0].y = 1250;
    SettingsBlock block{};
    encodeSettings(stored, block);
    mouse.setStoredBlock(block);
    RecordingSleeper sleeper;

    std::optional<MouseSettings> shown;
    std::optional<bool> connected;
    QString firmware;
    bool busy = true;
    {
        SessionRunner session(mouse, sleeper);
        QObject::connect(&session, &SessionRunner::settingsReported,
                         [&](const SettingsReport& report) { shown = report.mouse; });
        QObject::connect(&session, &SessionRunner::connectedChanged, [&](bool c) { connected = c; });
        QObject::connect(&session, &SessionRunner::firmwareVersionChanged,
                         [&](const QString& t) { firmware = t; });
        QObject::connect(&session, &SessionRunner::busyChanged, [&](bool b, SessionOperation) { busy = b; });
        session.start();
        // The whole start-up exchange runs before Qt exists: waiting behind it returns.
        bool readBeforeQt = false;
        session.runOnWorker([&](MouseSession& s) { readBeforeQt = s.isConnected() && s.firmwareVersion(); });
        EXPECT_TRUE(readBeforeQt);
        EXPECT_FALSE(shown) << "reports wait for the application's loop";

        int argc = 1;
        char name[] = "session_before_qt_tests";
        char* argv[] = {name, nullptr};
        QCoreApplication app(argc, argv);
        QElapsedTimer deadline;
        deadline.start();
        while (busy && deadline.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);

        EXPECT_FALSE(busy);
        EXPECT_EQ(connected, std::optional<bool>(true));
        EXPECT_EQ(firmware, QStringLiteral("V1.06"));
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->cpiLevels[0].x, 1250);
        session.stop();
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(qtWarnings, 0) << "no warning such as an event loop used without the application";
}

}  // namespace
}  // namespace lark::test
