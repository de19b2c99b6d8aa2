#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "WindowRig.h"
#include "app/Application.h"
#include "app/WindowRun.h"
#include "pages/advanced/AdvancedSettingsPage.h"
#include "pages/basic/BasicSettingsPage.h"
#include "pages/mapping/ButtonMappingPage.h"
#include "support/ModalHelpers.h"
#include "widgets/DialogUnits.h"

using namespace lark;
using namespace lark::test;

namespace {

// Returns at once, except for one wait of a chosen length, which it holds until released: a
// frame the mouse is slow to answer.
class HoldingSleeper : public Sleeper {
public:
    void sleepMs(unsigned milliseconds) override
    {
        std::unique_lock lock(mutex_);
        if (milliseconds != holdMs_ || released_)
            return;
        holding_ = true;
        changed_.wait(lock, [this] { return released_; });
        holding_ = false;
    }
    bool isHolding() const
    {
        std::lock_guard lock(mutex_);
        return holding_;
    }
    void release()
    {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    const unsigned holdMs_ = 300;  // the first write's wait for its answer
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool holding_ = false;
    bool released_ = false;
};

// Passes everything through to the virtual mouse, except that settings reports cannot be fetched.
class NoSettingsBackend : public HidBackend {
public:
    explicit NoSettingsBackend(HidBackend& inner) : inner_(inner) {}

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t v, std::uint16_t p) override
    {
        return inner_.enumerate(v, p);
    }
    HidError lastOpenError() const override { return inner_.lastOpenError(); }
    std::unique_ptr<HidDevice> open(const std::string& path) override
    {
        auto device = inner_.open(path);
        return device ? std::make_unique<Device>(std::move(device)) : nullptr;
    }

private:
    class Device : public HidDevice {
    public:
        explicit Device(std::unique_ptr<HidDevice> inner) : inner_(std::move(inner)) {}
        int sendFeatureReport(const std::uint8_t* d, std::size_t n) override
        {
            return inner_->sendFeatureReport(d, n);
        }
        int getFeatureReport(std::uint8_t* d, std::size_t n) override
        {
            if (n > 0 && d[0] == 0xA0) {
                error_ = HidError::Other;
                return -1;
            }
            error_ = HidError::None;
            return inner_->getFeatureReport(d, n);
        }
        int read(std::uint8_t* d, std::size_t n, int t) override { return inner_->read(d, n, t); }
        void interruptRead() override { inner_->interruptRead(); }
        HidError lastError() const override
        {
            return error_ != HidError::None ? error_ : inner_->lastError();
        }

    private:
        std::unique_ptr<HidDevice> inner_;
        HidError error_ = HidError::None;
    };
    HidBackend& inner_;
};

SettingsBlock customBlock()
{
    MouseSettings s;
    setDefaults(s);
    s.pollingInterval = 4;
    s.cpiLevels[1] = CpiLevel{1, 800, 900};
    s.opaque0F[3] = 0x5A;
    s.buttons[RightSlot].action = ButtonAction{0x20, 0xE9, 0, 0};
    SettingsBlock block{};
    encodeSettings(s, block);
    return block;
}

QString accessibleTabName(QTabBar* bar, int index)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(bar);
    return iface && iface->child(index) ? iface->child(index)->text(QAccessible::Name) : QString();
}

bool onlyPageVisible(MainWindow* w, int index)
{
    const QWidget* pages[] = {w->basicPage(), w->advancedPage(), w->mappingPage()};
    for (int i = 0; i < 3; ++i) {
        if (pages[i]->isVisible() != (i == index))
            return false;
    }
    return w->tabs()->currentIndex() == index;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startsWithoutMouseDisconnectedAndQuiet()
    {
        WindowRig rig;
        rig.mouse.unplug();
        auto boxShown = whenModalShows([](QWidget* w) { w->close(); }, 300);
        rig.start();
        QTest::qWait(350);
        QVERIFY(!*boxShown);

        QCOMPARE(rig.window->firmwareLabel()->text(), QString());
        QCOMPARE(rig.find<QLabel>(QStringLiteral("V1.06"))->accessibleDescription(),
                 QStringLiteral("Software Version"));
        QVERIFY(rig.window->tabs()->isVisible());
        QVERIFY(!rig.window->tabs()->tabBar()->isEnabled());
        QVERIFY(onlyPageVisible(rig.window.get(), 0));
        QVERIFY(!rig.resetButton()->isEnabled());
        QVERIFY(!rig.applyButton()->isEnabled());
        QVERIFY(!rig.find<QLineEdit>(QStringLiteral("CPI 1 X value"))->isEnabled());
        // No message box, but the status line says what the window waits for.
        QCOMPARE(rig.status(),
                 QStringLiteral(
                     "Waiting for the mouse: plug it in and it will be found by itself (F5 looks again)."));
        QCOMPARE(rig.linkConnected(), false);
    }

    void startsWithMouseConnectedAndShowsItsSettings()
    {
        WindowRig rig;
        rig.mouse.setStoredBlock(customBlock());
        rig.start(false);

        QCOMPARE(rig.window->firmwareLabel()->text(), QStringLiteral("V1.06"));
        QCOMPARE(rig.window->firmwareLabel()->accessibleName(), QStringLiteral("V1.06"));
        QVERIFY(rig.window->tabs()->tabBar()->isEnabled());
        QVERIFY(rig.resetButton()->isEnabled());
        QVERIFY(!rig.applyButton()->isEnabled());
        QVERIFY(rig.linkConnected());

        MouseSettings expected;
        decodeSettings(customBlock(), expected);
        QVERIFY(rig.model.editedSettings == expected);
        QVERIFY(rig.model.appliedSettings == expected);
        QCOMPARE(rig.find<QLineEdit>(QStringLiteral("CPI 2 Y value"))->text(), QStringLiteral("900"));

        // The start-up exchange: version request, 50 ms, answer; settings request, 80 ms, answer.
        const auto log = rig.mouse.frameLog();
        std::vector<std::pair<VirtualMouse::Direction, std::uint8_t>> seen;
        for (const auto& f : log)
            if (f.collection == VirtualMouse::Collection::Config &&
                (f.direction == VirtualMouse::Direction::Set || f.direction == VirtualMouse::Direction::Get))
                seen.emplace_back(f.direction, f.reportId);
        using D = VirtualMouse::Direction;
        const std::vector<std::pair<D, std::uint8_t>> wanted = {
            {D::Set, 0xA1}, {D::Get, 0xA1}, {D::Set, 0xA1}, {D::Get, 0xA0}};
        QCOMPARE(seen, wanted);
        QCOMPARE(rig.sleeper.waits(), (std::vector<unsigned>{50, 80}));
    }

    void showsTheFirmwareVersionText()
    {
        WindowRig rig;
        rig.mouse.setFirmwareVersion(0x0230);
        rig.start();
        QCOMPARE(rig.window->firmwareLabel()->text(), QStringLiteral("V2.30"));
    }

    void settingsReadFailingLeavesDefaultsAndConnectedState()
    {
        RecordingSleeper sleeper;
        VirtualMouse mouse(sleeper.clock());
        mouse.setStoredBlock(customBlock());
        NoSettingsBackend backend(mouse);
        VirtualHotplugSource hotplug(mouse);
        SettingsModel model;
        SessionRunner session(backend, sleeper);
        MainWindow window(model, DeviceContext{session, hotplug});
        window.initialize();
        QTRY_VERIFY(!session.isBusy());

        MouseSettings defaults;
        setDefaults(defaults);
        QVERIFY(model.editedSettings == defaults);
        QVERIFY(model.appliedSettings == defaults);
        QCOMPARE(window.firmwareLabel()->text(), QStringLiteral("V1.06"));
        QVERIFY(window.factoryResetButton()->isEnabled());
        QVERIFY(!window.applyButton()->isEnabled());
        QVERIFY(window.tabs()->tabBar()->isEnabled());
        QCOMPARE(window.statusLabel()->text(),
                 QStringLiteral("The mouse's settings could not be read. Press F5 to try again."));
    }

    void enterNeverAppliesNorCloses()
    {
        WindowRig rig;
        rig.start();
        QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("Angle Snapping")), Qt::LeftButton);
        QVERIFY(rig.applyButton()->isEnabled());
        rig.applyButton()->setFocus();
        QTest::keyClick(rig.applyButton(), Qt::Key_Return);
        QTest::keyClick(rig.applyButton(), Qt::Key_Enter);
        QVERIFY(rig.window->isVisible());
        QCOMPARE(rig.writesSent(), 0);
        QVERIFY(rig.applyButton()->isEnabled());
    }

    void escapeClosesFromTheWindowButNotFromAPage()
    {
        WindowRig rig;
        rig.start();
        auto* edit = rig.find<QLineEdit>(QStringLiteral("CPI 1 X value"));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(rig.window->isVisible());

        rig.window->tabs()->tabBar()->setFocus();
        QTest::keyClick(rig.window->tabs()->tabBar(), Qt::Key_Escape);
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.window->result(), int(QDialog::Rejected));
    }

    void closeBoxEndsTheWindow()
    {
        WindowRig rig;
        rig.start();
        QSignalSpy finished(rig.window.get(), &QDialog::finished);
        rig.window->close();
        QCOMPARE(finished.count(), 1);
    }

    void tabsShowExactlyOnePage()
    {
        WindowRig rig;
        rig.start();
        QTabBar* bar = rig.window->tabs()->tabBar();
        for (int index : {1, 2, 0, 2}) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
            QVERIFY2(onlyPageVisible(rig.window.get(), index), qPrintable(QString::number(index)));
        }
    }

    void disabledTabsCannotBeSwitchedByKeys()
    {
        WindowRig rig;
        rig.mouse.unplug();
        rig.start();
        QTest::keyClick(rig.window->tabs(), Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClick(rig.window->tabs(), Qt::Key_PageDown, Qt::ControlModifier);
        QVERIFY(onlyPageVisible(rig.window.get(), 0));
    }

    // From the keyboard: Factory Reset, the tab bar, then the page's first control; Down changes it.
    void tabReachesThePageControlsInOrder()
    {
        WindowRig rig;
        rig.start();
        rig.resetButton()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(rig.window->tabs()->tabBar()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* lod = rig.find<QComboBox>(QStringLiteral("LOD"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(lod));
        QTest::keyClick(lod, Qt::Key_Down);
        QCOMPARE(lod->currentIndex(), 1);
        QVERIFY(rig.applyButton()->isEnabled());
    }

    void everyControlHasItsAccessibleName()
    {
        WindowRig rig;
        rig.start();
        QVERIFY(rig.find<QGroupBox>(QStringLiteral("Info")));
        QVERIFY(rig.resetButton());
        QVERIFY(rig.applyButton());
        QCOMPARE(rig.window->firmwareLabel()->accessibleDescription(), QStringLiteral("Firmware Version"));
        QCOMPARE(rig.window->statusLabel()->accessibleDescription(), QStringLiteral("Status"));
        QTabBar* bar = rig.window->tabs()->tabBar();
        const QStringList captions = {QStringLiteral("  Basic Settings  "),
                                      QStringLiteral("  Advanced Settings  "),
                                      QStringLiteral("  Button Mapping  ")};
        for (int i = 0; i < captions.size(); ++i) {
            QCOMPARE(bar->tabText(i), captions[i]);
            QCOMPARE(accessibleTabName(bar, i), captions[i]);
        }
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("Tarrow Lark 8k Configuration Tool"));
    }

    void assistiveToggleOfACheckBoxStoresTheSetting()
    {
        WindowRig rig;
        rig.start();
        // The toggle that a screen reader sends must store the setting as a click does.
        const QList<std::pair<QString, std::function<std::uint8_t()>>> boxes = {
            {QStringLiteral("Angle Snapping"), [&] { return rig.model.editedSettings.angleSnapping; }},
            {QStringLiteral("Ripple Control"), [&] { return rig.model.editedSettings.rippleControl; }},
            {QStringLiteral("Slamclick Filter"), [&] { return rig.model.editedSettings.slamClickFilter; }},
        };
        for (const auto& [name, stored] : boxes) {
            auto* box = rig.find<QCheckBox>(name);
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
            QVERIFY2(iface && iface->actionInterface(), qPrintable(name));
            QCOMPARE(iface->text(QAccessible::Name), name);
            const std::uint8_t before = stored();
            iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            QCOMPARE(box->isChecked(), before == 0);
            QCOMPARE(stored(), std::uint8_t(before == 0 ? 1 : 0));
            QCOMPARE(bool(iface->state().checked), box->isChecked());
        }
        QVERIFY(rig.applyButton()->isEnabled());
    }

    void statusLineIsClearOfEveryControl()
    {
        WindowRig rig;
        rig.start();
        const QRect status = rig.window->statusLabel()->geometry();
        for (QWidget* child : rig.window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child != rig.window->statusLabel() && child->isVisible())
                QVERIFY2(!child->geometry().intersects(status), qPrintable(child->accessibleName()));
        }
    }

    void draggingTheBackgroundMovesTheWindow()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows moves the window in its own loop, which follows the real mouse button");
#endif
        WindowRig rig;
        rig.start();
        const DialogUnits du;
        const QPoint background(du.x(200), du.y(80));  // between the Info group and the tabs
        QCOMPARE(rig.window->childAt(background), nullptr);
        const QPoint before = rig.window->pos();
        QTest::mousePress(rig.window.get(), Qt::LeftButton, {}, background);
        QMouseEvent move(QEvent::MouseMove, QPointF(background + QPoint(30, 20)),
                         QPointF(rig.window->mapToGlobal(background + QPoint(30, 20))), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(rig.window.get(), &move);
        QTest::mouseRelease(rig.window.get(), Qt::LeftButton, {}, background + QPoint(30, 20));
        QCOMPARE(rig.window->pos() - before, QPoint(30, 20));
    }

    void aMouseThatMayNotBeOpenedIsNamedInTheStatus()
    {
        WindowRig rig;
        rig.mouse.fail(VirtualMouse::Call::Open, HidError::PermissionDenied, VirtualMouse::kForever);
        rig.start();
        QVERIFY(!rig.linkConnected());
        QVERIFY(!rig.resetButton()->isEnabled());
        QVERIFY(rig.status().contains(QLatin1String(kMayNotOpenWords)));
#ifndef Q_OS_WIN
        QVERIFY(rig.status().contains(QStringLiteral("udev rule")));
#endif

        // Once the rule is in place and the mouse replugged, the window connects and the hint goes.
        rig.mouse.clearFaults();
        rig.mouse.unplug();
        rig.mouse.plug();
        rig.settle();
        QVERIFY(rig.linkConnected());
        QCOMPARE(rig.status(), QString());
        QCOMPARE(rig.window->firmwareLabel()->text(), QStringLiteral("V1.06"));
    }

    void theApplicationHasItsIdentityAndIcon()
    {
        setUpIdentity();
        QCOMPARE(QCoreApplication::organizationName(),
                 QStringLiteral("Tarrow Lark 8K Gaming Mouse software"));
        QCOMPARE(QGuiApplication::applicationDisplayName(),
                 QStringLiteral("Tarrow Lark 8k Configuration Tool"));
        QVERIFY(!QGuiApplication::windowIcon().isNull());
        QVERIFY(!QGuiApplication::windowIcon().pixmap(32, 32).isNull());
    }

    void secondCopyEndsAtOnceAndAStaleLockDoesNotBlock()
    {
#ifdef Q_OS_WIN
        QSKIP("a lock file in the runtime folder is Linux's guard; single_instance_tests try Windows' mutex");
#endif
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        QFile::setPermissions(runtime.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const QString lock = runtime.path() + QStringLiteral("/TRW Lark 8k Configuration Tool.lock");

        auto launch = [&](QProcess& p) {
            p.setProcessEnvironment(env);
            p.start(QStringLiteral(LARK_DEMO_BINARY), {});
            QVERIFY(p.waitForStarted());
        };

        QProcess first;
        launch(first);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 10000);

        QProcess second;
        launch(second);
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(first.state() == QProcess::Running);

        first.kill();  // a crash: the lock file stays behind
        QVERIFY(first.waitForFinished(5000));
        QVERIFY(QFile::exists(lock));

        QProcess third;
        launch(third);
        QVERIFY(!third.waitForFinished(1500));
        third.kill();
        third.waitForFinished(5000);
    }

    // Closing the window while the mouse holds up a frame: the instance guard is free as soon
    // as the window is gone, so starting the tool again opens a window, while this process
    // still ends the exchange under way.
    void aNewStartOpensItsWindowWhileTheClosedOneEndsItsExchange()
    {
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        QFile::setPermissions(runtime.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        VirtualMouse mouse;
        HoldingSleeper sleeper;
        VirtualHotplugSource hotplug(mouse);
        SessionRunner session(mouse, sleeper);
        Application app;
        QVERIFY(app.startUp());

        // Inside the window's event loop: an edit, APPLY, and the close box once the write is held up.
        bool closedWhileHeld = false;
        QTimer step;
        int stage = 0;
        QObject::connect(&step, &QTimer::timeout, [&] {
            MainWindow* window = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* main = qobject_cast<MainWindow*>(w); main && main->isVisible())
                    window = main;
            if (!window)
                return;
            if (session.isBusy() || window->isBusy()) {
                if (stage == 1 && sleeper.isHolding()) {
                    closedWhileHeld = true;
                    window->close();  // the close box
                    stage = 2;
                }
                return;
            }
            if (stage == 0) {
                QTest::mouseClick(named<QCheckBox>(window, QStringLiteral("Angle Snapping")), Qt::LeftButton);
                QTest::mouseClick(named<QPushButton>(window, QStringLiteral("APPLY")), Qt::LeftButton);
                stage = 1;
            }
        });
        step.start(10);
        runMainWindow(app, {session, hotplug, QString()});
        step.stop();
        QVERIFY(closedWhileHeld);
        QVERIFY(sleeper.isHolding());

        Application again;
        QVERIFY(again.startUp());

        sleeper.release();
        session.stop();
        qputenv("XDG_RUNTIME_DIR", runtimeBefore);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
