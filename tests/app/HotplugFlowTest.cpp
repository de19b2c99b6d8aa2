// The mouse leaving and coming back, through the virtual mouse's hot-plug notifications
// (one per interface, as the system sends them) into the real window.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <thread>

#include "WindowRig.h"
#include "device/HotplugSource.h"
#include "device/OutsideAccess.h"
#include "device/Protocol.h"

using namespace lark;
using namespace lark::test;

namespace {

using Collection = VirtualMouse::Collection;
using Direction = VirtualMouse::Direction;

const QString kMousePath = QString::fromStdString(VirtualMouse::pathOf(Collection::Config));
const QString kOtherVendorPath = QStringLiteral(
    "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/0003:046D:2B7E.0009/hidraw/hidraw7");

SettingsBlock encode(const MouseSettings& s)
{
    SettingsBlock block{};
    encodeSettings(s, block);
    return block;
}

MouseSettings defaults()
{
    MouseSettings s;
    setDefaults(s);
    return s;
}

// Feature requests (report 0xA1) that reached the mouse with this command, in order.
std::vector<VirtualMouse::Frame> requests(const WindowRig& rig, std::uint8_t command)
{
    std::vector<VirtualMouse::Frame> out;
    for (const auto& f : rig.frames(Direction::Set, kCommandReportId))
        if (f.bytes.size() > 1 && f.bytes[1] == command)
            out.push_back(f);
    return out;
}

int opens(const WindowRig& rig, Collection collection)
{
    int n = 0;
    for (const auto& f : rig.mouse.frameLog())
        n += f.direction == Direction::Open && f.collection == collection;
    return n;
}

int eventsRead(const WindowRig& rig)
{
    int n = 0;
    for (const auto& f : rig.mouse.frameLog())
        n += f.direction == Direction::Read && f.collection == Collection::Event && f.result > 0;
    return n;
}

// The waits of the arrival: 900 ms, then five version reads (50 ms each) with 100 ms after
// each, then the settings reads (80 ms each) with 100 ms after each failed one.
std::vector<unsigned> arrivalWaits(int failedSettingsReads, bool lastSucceeds = true)
{
    std::vector<unsigned> waits{900};
    for (int i = 0; i < 5; ++i)
        waits.insert(waits.end(), {50, 100});
    for (int i = 0; i < failedSettingsReads; ++i)
        waits.insert(waits.end(), {80, 100});
    if (lastSucceeds)
        waits.push_back(80);
    return waits;
}

// A notification source that cannot be had, as when no netlink socket may be opened.
class FailingHotplugSource : public HotplugSource {
public:
    bool start() override
    {
        ++starts;
        return false;
    }
    int starts = 0;
};

}  // namespace

class HotplugFlowTest : public QObject {
    Q_OBJECT

    // Every control that setControlsEnabled covers agrees on `enabled`.
    static bool deviceControlsEnabled(const WindowRig& rig, bool enabled)
    {
        const QList<QWidget*> controls = {rig.window->tabs()->tabBar(),
                                          rig.resetButton(),
                                          rig.find<QCheckBox>(QStringLiteral("Angle Snapping")),
                                          rig.find<QCheckBox>(QStringLiteral("Motion Sync")),
                                          rig.find<QComboBox>(QStringLiteral("Polling Rate")),
                                          rig.find<QCheckBox>(QStringLiteral("Left-handed Mode"))};
        for (QWidget* w : controls)
            if (!w || w->isEnabled() != enabled)
                return false;
        return true;
    }

    // Unplugs and waits until the window has handled every removal notification.
    static void unplugAndSettle(WindowRig& rig)
    {
        QSignalSpy removals(&rig.hotplug, &HotplugSource::deviceRemoved);
        rig.mouse.unplug();
        QTRY_COMPARE(removals.count(), 3);
        rig.settle();
    }

    // Plugs in and waits until every arrival notification has been handled.
    static void plugAndSettle(WindowRig& rig)
    {
        QSignalSpy arrivals(&rig.hotplug, &HotplugSource::deviceArrived);
        rig.mouse.plug();
        QTRY_COMPARE(arrivals.count(), 3);
        rig.settle();
    }

private slots:
    void removalDisablesOnceAndKeepsThePages()
    {
        WindowRig rig;
        MouseSettings custom = defaults();
        custom.angleSnapping = 1;
        rig.mouse.setStoredBlock(encode(custom));
        rig.start();
        QVERIFY(deviceControlsEnabled(rig, true));

        unplugAndSettle(rig);

        QCOMPARE(rig.window->firmwareLabel()->text(), QString());
        QVERIFY(deviceControlsEnabled(rig, false));
        QVERIFY(!rig.applyButton()->isEnabled());
        QVERIFY(!rig.linkConnected());
        QVERIFY(rig.find<QCheckBox>(QStringLiteral("Angle Snapping"))->isChecked());
        QVERIFY(rig.model.editedSettings == custom);
        QVERIFY(rig.model.appliedSettings == custom);
        QVERIFY(rig.sleeper.waits().empty());
        QVERIFY(rig.mouse.frameLog().size() <= 2);  // at most the reader's last read and close
    }

    void removalActsOnlyWhileConnectedAndOnlyForTheMouse_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("acts");
        QTest::newRow("connected, the mouse") << true << kMousePath << true;
        QTest::newRow("already handled for another interface") << false << kMousePath << false;
        QTest::newRow("connected, another vendor") << true << kOtherVendorPath << false;
        QTest::newRow("name begins with the vendor digits")
            << true << QStringLiteral("F1A5:2B7E/hidraw/hidraw1") << false;
    }

    void removalActsOnlyWhileConnectedAndOnlyForTheMouse()
    {
        QFETCH(bool, connected);
        QFETCH(QString, path);
        QFETCH(bool, acts);
        WindowRig rig;
        rig.start();
        // Another interface's removal handled already.
        if (!connected) {
            emit rig.hotplug.deviceRemoved(kMousePath);
            rig.settle();
        }
        const QString statusBefore = rig.status();

        emit rig.hotplug.deviceRemoved(path);
        rig.settle();

        const bool gone = acts || !connected;
        QCOMPARE(rig.window->firmwareLabel()->text(), gone ? QString() : QStringLiteral("V1.06"));
        QVERIFY(deviceControlsEnabled(rig, !gone));
        QCOMPARE(rig.linkConnected(), !gone);
        if (!acts)
            QCOMPARE(rig.status(), statusBefore);
    }

    void arrivalReconnectsOnceAlthoughEveryInterfaceIsAnnounced()
    {
        WindowRig rig;
        rig.start();
        unplugAndSettle(rig);
        rig.sleeper.clear();
        rig.mouse.clearFrameLog();
        const std::uint64_t pluggedAt = rig.sleeper.nowMs();

        plugAndSettle(rig);

        QVERIFY(rig.linkConnected());
        QCOMPARE(rig.window->firmwareLabel()->text(), QStringLiteral("V1.06"));
        QVERIFY(deviceControlsEnabled(rig, true));
        QVERIFY(!rig.applyButton()->isEnabled());
        QCOMPARE(rig.status(), QString());
        // One reconnect: 900 ms, five version reads 150 ms apart, one settings read.
        QCOMPARE(rig.sleeper.waits(), arrivalWaits(0));
        const auto versions = requests(rig, kCommandReadVersion);
        QCOMPARE(versions.size(), std::size_t{5});
        QCOMPARE(versions.front().timeMs, pluggedAt + 900);
        for (std::size_t i = 1; i < versions.size(); ++i)
            QCOMPARE(versions[i].timeMs - versions[i - 1].timeMs, std::uint64_t{150});
        QCOMPARE(requests(rig, kCommandReadSettings).size(), std::size_t{1});
        QCOMPARE(opens(rig, Collection::Config), 1);
        QCOMPARE(opens(rig, Collection::Event), 1);

        // The listener runs again, once.
        rig.mouse.pushEvent(kEventPollingRateChanged, 4);
        rig.mouse.pushEvent(kEventPollingRateChanged, 2);
        QTRY_COMPARE(rig.model.editedSettings.pollingInterval, std::uint8_t{2});
        QTest::qWait(50);
        QCOMPARE(eventsRead(rig), 2);
        QTRY_COMPARE(rig.mouse.openDeviceCount(), 2);  // the configuration handle and one reader
    }

    // A burst of replugs: the arrivals that later notices overtook do nothing, and the window
    // ends connected to the mouse as it is at the end, after at most two reconnects.
    void aBurstOfReplugsEndsInOneConnectionToTheFinalState()
    {
        WindowRig rig;
        rig.start();
        {
            // Holding the mouse keeps the first arrival at its lock while the whole burst arrives.
            const ExchangeLock hold(VirtualMouse::pathOf(Collection::Config), [] {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                return false;
            });
            QVERIFY(hold.held());
            rig.mouse.clearFrameLog();
            for (int i = 0; i < 10; ++i) {
                rig.mouse.unplug();
                rig.mouse.plug();
            }
            QCoreApplication::processEvents();
        }
        rig.settle();

        QVERIFY(rig.linkConnected());
        QVERIFY(deviceControlsEnabled(rig, true));
        QCOMPARE(rig.status(), QString());
        QVERIFY2(requests(rig, kCommandReadSettings).size() <= 2,
                 qPrintable(QString::number(requests(rig, kCommandReadSettings).size())));
        QTRY_COMPARE(rig.mouse.openDeviceCount(), 2);  // the configuration handle and one reader
    }

    void arrivalWhileConnectedOrForAnotherDeviceDoesNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("the mouse, still connected") << kMousePath;
        QTest::newRow("another vendor") << kOtherVendorPath;
    }

    void arrivalWhileConnectedOrForAnotherDeviceDoesNothing()
    {
        QFETCH(QString, path);
        WindowRig rig;
        rig.start();
        if (path == kOtherVendorPath)
            rig.session.runOnWorker([](MouseSession& s) { s.link().setConnected(false); });
        emit rig.hotplug.deviceArrived(path);
        rig.settle();
        QVERIFY(rig.sleeper.waits().empty());
        QVERIFY(rig.mouse.frameLog().empty());
    }

    void settingsReadFailingTwiceIsRetriedAndRefreshesOnce()
    {
        WindowRig rig;
        rig.start();
        unplugAndSettle(rig);
        MouseSettings changed = defaults();
        changed.rippleControl = 1;
        rig.mouse.setStoredBlock(encode(changed));
        // Five version answers and two settings answers say "not done".
        rig.mouse.answerStatus(2, 7);
        rig.sleeper.clear();
        rig.mouse.clearFrameLog();

        plugAndSettle(rig);

        QCOMPARE(rig.sleeper.waits(), arrivalWaits(2));
        QCOMPARE(requests(rig, kCommandReadSettings).size(), std::size_t{3});
        QVERIFY(rig.find<QCheckBox>(QStringLiteral("Ripple Control"))->isChecked());
        QVERIFY(rig.model.editedSettings == changed);
        // No version read succeeded: the label stays as the removal left it; controls are on.
        QCOMPARE(rig.window->firmwareLabel()->text(), QString());
        QVERIFY(deviceControlsEnabled(rig, true));
        QVERIFY(!rig.applyButton()->isEnabled());
    }

    void settingsReadsThatAllFailStillRestartTheListener()
    {
        WindowRig rig;
        rig.start();
        unplugAndSettle(rig);
        rig.mouse.setStoredBlock(encode([] {
            MouseSettings s = defaults();
            s.rippleControl = 1;
            return s;
        }()));
        rig.mouse.answerStatus(2, VirtualMouse::kForever);
        rig.sleeper.clear();
        rig.mouse.clearFrameLog();

        plugAndSettle(rig);
        rig.mouse.clearFaults();

        QCOMPARE(rig.sleeper.waits(), arrivalWaits(5, false));
        QVERIFY(!rig.find<QCheckBox>(QStringLiteral("Ripple Control"))->isChecked());
        QVERIFY(rig.model.editedSettings == defaults());
        rig.mouse.pushEvent(kEventPollingRateChanged, 8);
        QTRY_COMPARE(rig.model.editedSettings.pollingInterval, std::uint8_t{8});
    }

    void replugWithSettingsChangedElsewhere_data()
    {
        QTest::addColumn<QString>("clicked");
        QTest::newRow("a setting the other tool left alone") << "Ripple Control";
        QTest::newRow("the setting the other tool changed, back to the old value") << "Angle Snapping";
    }

    // What the mouse holds after the replug is what counts as applied: any change from it can
    // be applied, and undoing the change leaves nothing to apply.
    void replugWithSettingsChangedElsewhere()
    {
        QFETCH(QString, clicked);
        WindowRig rig;
        rig.start();
        unplugAndSettle(rig);
        MouseSettings elsewhere = defaults();
        elsewhere.angleSnapping = 1;
        rig.mouse.setStoredBlock(encode(elsewhere));

        plugAndSettle(rig);

        QVERIFY(rig.find<QCheckBox>(QStringLiteral("Angle Snapping"))->isChecked());
        QVERIFY(rig.model.editedSettings == elsewhere);
        QVERIFY(rig.model.appliedSettings == elsewhere);
        QVERIFY(!rig.applyButton()->isEnabled());

        QTest::mouseClick(rig.find<QCheckBox>(clicked), Qt::LeftButton);
        QVERIFY(rig.applyButton()->isEnabled());
        QTest::mouseClick(rig.find<QCheckBox>(clicked), Qt::LeftButton);
        QVERIFY(!rig.applyButton()->isEnabled());
    }

    void permissionDeniedOnArrivalIsShownUntilTheMouseOpens()
    {
        WindowRig rig;
        rig.start();
        unplugAndSettle(rig);
        rig.mouse.fail(VirtualMouse::Call::Open, HidError::PermissionDenied, VirtualMouse::kForever);

        plugAndSettle(rig);

        QVERIFY(!rig.linkConnected());
        QVERIFY(rig.status().contains(QLatin1String(kMayNotOpenWords)));
        QCOMPARE(rig.window->firmwareLabel()->text(), QString());
        // The old reader closes its handle as its thread ends: wait for it.
        QTRY_COMPARE(rig.mouse.openDeviceCount(), 0);
        // Every announced interface tried again, since none could be opened.
        const std::vector<unsigned> waits = rig.sleeper.waits();
        QCOMPARE(std::count(waits.begin(), waits.end(), 900u), 3);

        rig.mouse.clearFaults();
        unplugAndSettle(rig);
        plugAndSettle(rig);
        QVERIFY(rig.linkConnected());
        QCOMPARE(rig.status(), QString());
        QCOMPARE(rig.window->firmwareLabel()->text(), QStringLiteral("V1.06"));
    }

    void failedNotificationSourceWarnsOnceAndTheWindowGoesOn()
    {
        RecordingSleeper sleeper;
        VirtualMouse mouse{sleeper.clock()};
        FailingHotplugSource hotplug;
        SettingsModel model;
        SessionRunner session{mouse, sleeper};
        MainWindow window(model, DeviceContext{session, hotplug});

        QStringList texts;
        QTimer closer;
        closer.setInterval(10);
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->accept();
            }
        });
        closer.start();
        window.initialize();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_VERIFY(!session.isBusy());

        QCOMPARE(texts, QStringList{QStringLiteral("RegisterDeviceNotification Failed!")});
        QCOMPARE(hotplug.starts, 1);
        QCOMPARE(window.firmwareLabel()->text(), QStringLiteral("V1.06"));
        QVERIFY(window.tabs()->tabBar()->isEnabled());
        QVERIFY(!window.applyButton()->isEnabled());
        mouse.pushEvent(kEventPollingRateChanged, 4);
        QTRY_COMPARE(model.editedSettings.pollingInterval, std::uint8_t{4});
        QCOMPARE(texts.size(), 1);
    }
};

QTEST_MAIN(HotplugFlowTest)
#include "HotplugFlowTest.moc"
