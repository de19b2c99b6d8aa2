// The core's diagnostic lines in Qt's logging: off unless the rules or --verbose turn them on.
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMutex>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>

#include <unistd.h>

#include "app/LogRouting.h"
#include "device/DeviceIds.h"
#include "device/DeviceLink.h"
#include "device/Log.h"
#include "device/MouseCommands.h"
#include "session/qt/SessionRunner.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"

namespace lark::test {

namespace {

struct Message {
    QString category;
    QtMsgType type;
    QString text;
};

QMutex messagesMutex;
QList<Message> messages;
QtMessageHandler previousHandler = nullptr;

void capture(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    const QString category = QString::fromUtf8(context.category ? context.category : "");
    if (!category.startsWith(QLatin1String("lark."))) {
        previousHandler(type, context, text);
        return;
    }
    QMutexLocker lock(&messagesMutex);
    messages.append({category, type, text});
}

QStringList captured(const QString& category)
{
    QMutexLocker lock(&messagesMutex);
    QStringList out;
    for (const Message& m : messages)
        if (m.category == category && m.type == QtDebugMsg)
            out.append(m.text);
    return out;
}

int capturedCount()
{
    QMutexLocker lock(&messagesMutex);
    return int(messages.size());
}

// One version request over the real link: a frame out and its answer back.
void exchangeOneFrame()
{
    RecordingSleeper sleeper;
    VirtualMouse mouse{sleeper.clock()};
    DeviceLink link(mouse, sleeper);
    QVERIFY(link.findMouse(kProductId));
    std::uint16_t version = 0;
    QCOMPARE(readFirmwareVersion(link, version), CommandResult::Done);
}

}  // namespace

class LogRoutingTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QLoggingCategory::setFilterRules(QString());
        {
            QMutexLocker lock(&messagesMutex);
            messages.clear();
        }
        previousHandler = qInstallMessageHandler(capture);
    }

    void cleanup()
    {
        qInstallMessageHandler(previousHandler);
        QLoggingCategory::setFilterRules(QString());
    }

    void silentByDefault()
    {
        setUpDiagnostics({QStringLiteral("lark-config")});
        QVERIFY(!logging::isEnabled(LogCategory::Device));
        QVERIFY(!logging::isEnabled(LogCategory::Hotplug));
        QVERIFY(!logging::isEnabled(LogCategory::App));
        exchangeOneFrame();
        QCOMPARE(capturedCount(), 0);
    }

    void rulesTurnOnTheFramesInLarkDeviceAndBackOff()
    {
        setUpDiagnostics({QStringLiteral("lark-config")});
        QLoggingCategory::setFilterRules(QStringLiteral("lark.device.debug=true"));
        QVERIFY(logging::isEnabled(LogCategory::Device));
        QVERIFY(!logging::isEnabled(LogCategory::App));

        exchangeOneFrame();
        const QStringList device = captured(QStringLiteral("lark.device"));
        QVERIFY2(!device
                      .filter(QRegularExpression(QStringLiteral(
                          R"(^\d\d:\d\d:\d\d\.\d\d\d sent \[64\] a1 02 \(\+62 zero bytes\)$)")))
                      .isEmpty(),
                 qPrintable(device.join(QLatin1Char('\n'))));
        QVERIFY(!device.filter(QStringLiteral("received [64] a1 01")).isEmpty());
        QVERIFY(captured(QStringLiteral("lark.app")).isEmpty());

        // Rules changed later are followed too.
        QLoggingCategory::setFilterRules(QStringLiteral("lark.device.debug=false"));
        QVERIFY(!logging::isEnabled(LogCategory::Device));
        const int before = capturedCount();
        exchangeOneFrame();
        QCOMPARE(capturedCount(), before);
    }

    void verboseTurnsOnEveryCategory()
    {
        setUpDiagnostics({QStringLiteral("lark-config"), QStringLiteral("--verbose")});
        QVERIFY(logging::isEnabled(LogCategory::Device));
        QVERIFY(logging::isEnabled(LogCategory::Hotplug));
        QVERIFY(logging::isEnabled(LogCategory::App));

        // The session's worker thread logs the operation and its frames.
        RecordingSleeper sleeper;
        VirtualMouse mouse{sleeper.clock()};
        SessionRunner runner(mouse, sleeper);
        runner.start();
        QTRY_VERIFY(
            !captured(QStringLiteral("lark.app")).filter(QStringLiteral("start: connected")).isEmpty());
        QVERIFY(!captured(QStringLiteral("lark.device")).filter(QStringLiteral("sent [64] a1 12")).isEmpty());
        runner.arrival(QString::fromStdString(VirtualMouse::pathOf(VirtualMouse::Collection::Config)));
        QTRY_VERIFY(!captured(QStringLiteral("lark.hotplug"))
                         .filter(QStringLiteral(": the mouse, connected"))
                         .isEmpty());
        runner.stop();
    }

    // --verbose on a window program without a console (Windows): the lines go to stderr, which
    // the user redirects to a file, in Qt's own format.
    void verboseLinesCanGoToStderr()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        std::fflush(stderr);
        const int saved = ::dup(STDERR_FILENO);
        QVERIFY(saved >= 0);
        QVERIFY(::dup2(file.handle(), STDERR_FILENO) >= 0);
        sendMessagesToStderr();
        setUpDiagnostics({QStringLiteral("lark-config"), QStringLiteral("--verbose")});
        exchangeOneFrame();
        std::fflush(stderr);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);

        file.seek(0);
        const QStringList lines = QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'));
        QVERIFY2(!lines
                      .filter(QRegularExpression(
                          QStringLiteral(R"(^lark\.device: \d\d:\d\d:\d\d\.\d\d\d sent \[64\] a1 02)")))
                      .isEmpty(),
                 qPrintable(lines.join(QLatin1Char('\n'))));
        // Nothing reached the handler installed before.
        QCOMPARE(capturedCount(), 0);
    }
};

}  // namespace lark::test

int main(int argc, char* argv[])
{
    // The test decides the rules and the format; a developer's own must not turn categories on.
    qunsetenv("QT_LOGGING_RULES");
    qunsetenv("QT_MESSAGE_PATTERN");
    QCoreApplication app(argc, argv);
    lark::test::LogRoutingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LogRoutingTest.moc"
