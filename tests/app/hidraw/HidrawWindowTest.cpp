// Runs inside `hidemu run`: the real window on the production side (hidapi over hidraw, the
// libudev monitor, real waits) against the emulated mouse, driven through its control socket.
// The slots run in order on one window: events, unplug, replug, events again.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "app/MainWindow.h"
#include "platform/linux/HidapiBackend.h"
#include "platform/linux/UdevHotplugSource.h"
#include "session/qt/SessionRunner.h"
#include "settings/SettingsModel.h"
#include "support/HidemuControl.h"
#include "support/ModalHelpers.h"
#include "support/WidgetLookup.h"

using namespace lark;
using namespace lark::test;

namespace {

// Sleeps for real, as production does, and remembers each wait; the listener thread uses it too.
class RealRecordingSleeper : public Sleeper {
public:
    void sleepMs(unsigned milliseconds) override
    {
        {
            std::lock_guard lock(mutex_);
            waits_.push_back(milliseconds);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    std::vector<unsigned> waits() const
    {
        std::lock_guard lock(mutex_);
        return waits_;
    }
    void clear()
    {
        std::lock_guard lock(mutex_);
        waits_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::vector<unsigned> waits_;
};

// The emulator's frame log, one JSON object per entry.
QList<QJsonObject> frameLog()
{
    QList<QJsonObject> entries;
    const auto log = hidemuControl("log");
    if (!log)
        return entries;
    for (const QByteArray& line : QByteArray::fromStdString(*log).split('\n'))
        if (!line.isEmpty())
            entries << QJsonDocument::fromJson(line).object();
    return entries;
}

QList<QJsonObject> entriesWhere(const QString& dir, const QString& dataPrefix = {})
{
    QList<QJsonObject> out;
    for (const QJsonObject& e : frameLog())
        if (e.value("dir").toString() == dir && e.value("data").toString().startsWith(dataPrefix))
            out << e;
    return out;
}

double msBetween(const QJsonObject& earlier, const QJsonObject& later)
{
    return (later.value("t_us").toDouble() - earlier.value("t_us").toDouble()) / 1000.0;
}

std::vector<unsigned> arrivalWaits()
{
    std::vector<unsigned> waits{900};
    for (int i = 0; i < 5; ++i)
        waits.insert(waits.end(), {50, 100});
    waits.push_back(80);
    return waits;
}

}  // namespace

class HidrawWindowTest : public QObject {
    Q_OBJECT

    HidapiBackend backend_;
    RealRecordingSleeper sleeper_;
    std::unique_ptr<SessionRunner> session_;
    std::unique_ptr<UdevHotplugSource> hotplug_;
    std::unique_ptr<SettingsModel> model_;
    std::unique_ptr<MainWindow> window_;
    int nodes_ = 0;

    void ctl(const std::string& command) { QVERIFY2(hidemuControl(command), command.c_str()); }
    QComboBox* polling() const { return named<QComboBox>(window_.get(), QStringLiteral("Polling Rate")); }
    bool controlsEnabled() const
    {
        return window_->tabs()->tabBar()->isEnabled() && window_->factoryResetButton()->isEnabled() &&
               polling()->isEnabled();
    }

private slots:
    void initTestCase()
    {
        if (!underHidemu())
            QSKIP("runs only under hidemu");
        ctl("fault clear");
        nodes_ = int(QDir(QStringLiteral("/sys/class/hidraw"))
                         .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)
                         .size());
        QVERIFY(nodes_ >= 1);

        session_ = std::make_unique<SessionRunner>(backend_, sleeper_);
        hotplug_ = std::make_unique<UdevHotplugSource>();
        model_ = std::make_unique<SettingsModel>();
        window_ = std::make_unique<MainWindow>(*model_, DeviceContext{*session_, *hotplug_});
        window_->initialize();  // a failed udev monitor would show a box and hang here
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QTRY_VERIFY_WITH_TIMEOUT(!session_->isBusy(), 10000);
    }

    bool linkConnected()
    {
        bool connected = false;
        session_->runOnWorker([&connected](MouseSession& s) { connected = s.link().isConnected(); });
        return connected;
    }

    void cleanupTestCase()
    {
        window_.reset();
        session_.reset();
        hotplug_.reset();
        model_.reset();
    }

    void startsConnected()
    {
        QVERIFY(linkConnected());
        QCOMPARE(window_->firmwareLabel()->text(), QStringLiteral("V1.06"));
        QVERIFY(controlsEnabled());
        QVERIFY(!window_->applyButton()->isEnabled());
    }

    void pollingRateEventsReachTheAdvancedPage()
    {
        ctl("event 6 4");
        QTRY_COMPARE(polling()->currentText(), QStringLiteral("2000Hz"));
        QCOMPARE(model_->appliedSettings.pollingInterval, std::uint8_t{4});

        ctl("event 6 1");
        QTRY_COMPARE(polling()->currentText(), QStringLiteral("8000Hz"));
        QVERIFY(!named<QCheckBox>(window_.get(), QStringLiteral("Motion Sync"))->isChecked());
        QCOMPARE(model_->editedSettings.pollingInterval, std::uint8_t{1});
        QCOMPARE(model_->appliedSettings.pollingInterval, std::uint8_t{1});
        QVERIFY(!window_->applyButton()->isEnabled());
    }

    void unplugIsHandledOnceAndEndsTheReader()
    {
        QSignalSpy removals(hotplug_.get(), &HotplugSource::deviceRemoved);
        sleeper_.clear();
        ctl("log clear");
        ctl("unplug");

        QTRY_COMPARE(removals.count(), nodes_);
        QTRY_VERIFY(!linkConnected());
        // The session's thread lets go first; the window hears of it by a queued report.
        QTRY_COMPARE(window_->firmwareLabel()->text(), QString());
        QTRY_VERIFY(!controlsEnabled());
        // The reader saw its node go and closed it (the handle and its own report descriptor);
        // the configuration handle stays open.
        QTRY_COMPARE(entriesWhere("close").size(), qsizetype(2));
        QTest::qWait(400);
        QCOMPARE(entriesWhere("close").size(), qsizetype(2));
        QVERIFY(entriesWhere("set").isEmpty());
        QVERIFY(entriesWhere("get").isEmpty());
        QVERIFY(sleeper_.waits().empty());
    }

    void replugRunsTheArrivalSequenceOnce()
    {
        QSignalSpy arrivals(hotplug_.get(), &HotplugSource::deviceArrived);
        sleeper_.clear();
        ctl("log clear");
        ctl("plug");

        QTRY_VERIFY_WITH_TIMEOUT(linkConnected(), 10000);
        QTRY_COMPARE(arrivals.count(), nodes_);
        QTRY_VERIFY_WITH_TIMEOUT(!session_->isBusy(), 10000);  // the later notifications do nothing

        QCOMPARE(window_->firmwareLabel()->text(), QStringLiteral("V1.06"));
        QVERIFY(controlsEnabled());
        QVERIFY(!window_->applyButton()->isEnabled());
        QCOMPARE(sleeper_.waits(), arrivalWaits());

        const QList<QJsonObject> plugs = entriesWhere("plug");
        const QList<QJsonObject> versions = entriesWhere("set", "a102");
        const QList<QJsonObject> settings = entriesWhere("set", "a112");
        QCOMPARE(plugs.size(), qsizetype(1));
        QCOMPARE(versions.size(), qsizetype(5));
        QCOMPARE(settings.size(), qsizetype(1));
        QCOMPARE(entriesWhere("get", "a0").size(), qsizetype(1));
        QVERIFY2(msBetween(plugs.front(), versions.front()) >= 900, "the 900 ms wait comes first");
        for (qsizetype i = 1; i < versions.size(); ++i) {
            const double gap = msBetween(versions[i - 1], versions[i]);
            QVERIFY2(gap >= 150 && gap < 400,
                     qPrintable(QString::number(gap)));  // 50 ms answer wait + 100 ms
        }
        QVERIFY(msBetween(versions.back(), settings.front()) >= 150);
        // Configuration and event interfaces, each handle with its own report descriptor, and the
        // configuration node once more for the mouse's exchange lock.
        QCOMPARE(entriesWhere("open").size(), qsizetype(5));
    }

    void eventsAfterTheReplugAreReadByOneReader()
    {
        ctl("log clear");
        ctl("event 6 8");
        QTRY_COMPARE(polling()->currentText(), QStringLiteral("1000Hz"));
        ctl("event 6 2");
        QTRY_COMPARE(polling()->currentText(), QStringLiteral("4000Hz"));
        QTest::qWait(300);
        QCOMPARE(entriesWhere("read").size(), qsizetype(2));
        QCOMPARE(model_->appliedSettings.pollingInterval, std::uint8_t{2});
    }

    // A profile the window saved, changed outside and loaded again, is written by APPLY; one
    // that larkctl would refuse changes nothing.
    void aProfileSavedAndLoadedIsWrittenByApply()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("profile.json"));
        QVERIFY(window_->saveProfileTo(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QJsonObject profile = QJsonDocument::fromJson(file.readAll()).object();
        file.close();
        QJsonObject settings = profile.value(QStringLiteral("settings")).toObject();
        const bool snapping = settings.value(QStringLiteral("angle-snapping")).toBool();
        QCOMPARE(snapping, model_->appliedSettings.angleSnapping != 0);
        settings[QStringLiteral("angle-snapping")] = !snapping;
        profile[QStringLiteral("settings")] = settings;

        const QString newer = dir.filePath(QStringLiteral("newer.json"));
        QJsonObject future = profile;
        future[QStringLiteral("version")] = 99;
        for (const auto& [name, object] : {std::pair{path, profile}, std::pair{newer, future}}) {
            QFile out(name);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(QJsonDocument(object).toJson());
        }

        ctl("log clear");
        auto refused = acceptNextMessageBox();
        QVERIFY(!window_->loadProfileFrom(newer));
        QVERIFY(*refused);
        QVERIFY(!window_->applyButton()->isEnabled());

        QVERIFY(window_->loadProfileFrom(path));
        QCOMPARE(window_->statusLabel()->text(), MainWindow::statusText(StatusMessage::ProfileLoaded));
        QVERIFY(entriesWhere("set").isEmpty());
        QVERIFY(window_->applyButton()->isEnabled());
        QTest::mouseClick(window_->applyButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window_->statusLabel()->text(),
                                  MainWindow::statusText(StatusMessage::Applied), 10000);
        QCOMPARE(model_->appliedSettings.angleSnapping != 0, !snapping);
        QCOMPARE(entriesWhere("set", "a011").size(), qsizetype(1));
    }
};

QTEST_MAIN(HidrawWindowTest)
#include "HidrawWindowTest.moc"
