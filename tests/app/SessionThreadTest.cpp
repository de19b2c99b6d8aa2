// The window while the session works on its own thread: what it shows, what it lets the user
// do, where the mouse is talked to, and how quickly it closes.
#include <algorithm>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "app/MainWindow.h"
#include "demo/VirtualHotplugSource.h"
#include "device/Protocol.h"
#include "device/RealSleeper.h"
#include "session/qt/SessionRunner.h"
#include "settings/SettingsModel.h"
#include "sim/VirtualMouse.h"
#include "support/WidgetLookup.h"

using namespace lark;
using namespace lark::test;

namespace {

// Records every wait with the thread that asked for it, returns at once, and can hold the
// caller inside one wait of a chosen length until released, so a test sees an operation
// half-way.
class GateSleeper : public Sleeper {
public:
    void sleepMs(unsigned milliseconds) override
    {
        std::unique_lock lock(mutex_);
        threads_.insert(std::this_thread::get_id());
        waits_.push_back(milliseconds);
        nowMs_ += milliseconds;
        if (holdAtMs_ && *holdAtMs_ == milliseconds) {
            holdAtMs_.reset();
            held_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return !held_; });
        }
    }

    void holdAt(unsigned milliseconds)
    {
        std::lock_guard lock(mutex_);
        holdAtMs_ = milliseconds;
    }
    bool isHolding() const
    {
        std::lock_guard lock(mutex_);
        return held_;
    }
    void release()
    {
        std::lock_guard lock(mutex_);
        held_ = false;
        changed_.notify_all();
    }
    std::set<std::thread::id> threads() const
    {
        std::lock_guard lock(mutex_);
        return threads_;
    }
    std::uint64_t nowMs() const
    {
        std::lock_guard lock(mutex_);
        return nowMs_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<unsigned> holdAtMs_;
    bool held_ = false;
    std::vector<unsigned> waits_;
    std::set<std::thread::id> threads_;
    std::uint64_t nowMs_ = 0;
};

// Passes everything to the virtual mouse and notes the thread of every call that reaches it.
class ThreadRecordingBackend : public HidBackend {
public:
    explicit ThreadRecordingBackend(HidBackend& inner) : inner_(inner) {}

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t v, std::uint16_t p) override
    {
        note();
        return inner_.enumerate(v, p);
    }
    std::unique_ptr<HidDevice> open(const std::string& path) override
    {
        note();
        auto device = inner_.open(path);
        return device ? std::make_unique<Device>(std::move(device), *this) : nullptr;
    }
    HidError lastOpenError() const override { return inner_.lastOpenError(); }

    std::set<std::thread::id> threads() const
    {
        std::lock_guard lock(mutex_);
        return threads_;
    }

private:
    class Device : public HidDevice {
    public:
        Device(std::unique_ptr<HidDevice> inner, ThreadRecordingBackend& owner)
            : inner_(std::move(inner)), owner_(owner)
        {
        }
        int sendFeatureReport(const std::uint8_t* d, std::size_t n) override
        {
            owner_.note();
            return inner_->sendFeatureReport(d, n);
        }
        int getFeatureReport(std::uint8_t* d, std::size_t n) override
        {
            owner_.note();
            return inner_->getFeatureReport(d, n);
        }
        int read(std::uint8_t* d, std::size_t n, int t) override { return inner_->read(d, n, t); }
        void interruptRead() override { inner_->interruptRead(); }
        HidError lastError() const override { return inner_->lastError(); }

    private:
        std::unique_ptr<HidDevice> inner_;
        ThreadRecordingBackend& owner_;
    };

    void note()
    {
        std::lock_guard lock(mutex_);
        threads_.insert(std::this_thread::get_id());
    }

    HidBackend& inner_;
    mutable std::mutex mutex_;
    std::set<std::thread::id> threads_;
};

SettingsBlock storedBlock()
{
    MouseSettings s;
    setDefaults(s);
    s.cpiLevels[0] = CpiLevel{0, 1250, 1250};
    SettingsBlock block{};
    encodeSettings(s, block);
    return block;
}

// The real window on the virtual mouse, every call noted, every wait through the gate.
struct ThreadRig {
    GateSleeper sleeper;
    VirtualMouse mouse{[this] { return sleeper.nowMs(); }};
    ThreadRecordingBackend backend{mouse};
    VirtualHotplugSource hotplug{mouse};
    SettingsModel model;
    SessionRunner session{backend, sleeper};
    std::unique_ptr<MainWindow> window;

    ThreadRig() { mouse.setStoredBlock(storedBlock()); }
    ~ThreadRig()
    {
        sleeper.release();
        window.reset();
        session.stop();
    }

    void start()
    {
        window = std::make_unique<MainWindow>(model, DeviceContext{session, hotplug});
        window->initialize();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void settle() const
    {
        QCoreApplication::processEvents();
        QTRY_VERIFY_WITH_TIMEOUT(!session.isBusy() && !window->isBusy(), 20000);
    }
    template <class T> T* find(const QString& name) const { return named<T>(window.get(), name); }
    QPushButton* applyButton() const { return find<QPushButton>(QStringLiteral("APPLY")); }
    QPushButton* resetButton() const { return find<QPushButton>(QStringLiteral("Factory Reset")); }
    QString status() const { return window->statusLabel()->text(); }
    int writesSent() const
    {
        int n = 0;
        for (const auto& f : mouse.frameLog())
            n += f.direction == VirtualMouse::Direction::Set && f.reportId == kSettingsReportId &&
                 f.bytes.size() > 1 && f.bytes[1] == kCommandWriteSettings;
        return n;
    }
};

}  // namespace

class SessionThreadTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsNothingAsTheMousesUntilItsSettingsArrive()
    {
        ThreadRig rig;
        rig.sleeper.holdAt(80);  // inside the settings read
        rig.start();
        QTRY_VERIFY(rig.sleeper.isHolding());

        QCOMPARE(rig.status(), QStringLiteral("Looking for the mouse\u2026"));
        QVERIFY(!rig.find<QLineEdit>(QStringLiteral("CPI 1 X value"))->isEnabled());
        QVERIFY(!rig.resetButton()->isEnabled());
        QVERIFY(!rig.applyButton()->isEnabled());
        QCOMPARE(rig.window->cursor().shape(), Qt::BusyCursor);

        rig.sleeper.release();
        rig.settle();
        QCOMPARE(rig.find<QLineEdit>(QStringLiteral("CPI 1 X value"))->text(), QStringLiteral("1250"));
        QVERIFY(rig.find<QLineEdit>(QStringLiteral("CPI 1 X value"))->isEnabled());
        QVERIFY(rig.resetButton()->isEnabled());
        QCOMPARE(rig.status(), QString());
        QCOMPARE(rig.window->cursor().shape(), Qt::ArrowCursor);
    }

    // While a write runs the window answers, the user edits on, a second APPLY does nothing,
    // and the edits made meanwhile are neither lost nor counted as applied.
    void anApplyInProgressKeepsTheWindowEditableAndLaterEditsStayEdits()
    {
        ThreadRig rig;
        rig.start();
        rig.settle();
        auto* snapping = rig.find<QCheckBox>(QStringLiteral("Angle Snapping"));
        auto* ripple = rig.find<QCheckBox>(QStringLiteral("Ripple Control"));
        QTest::mouseClick(snapping, Qt::LeftButton);
        rig.sleeper.holdAt(300);  // the first write's wait for its status
        QTest::mouseClick(rig.applyButton(), Qt::LeftButton);
        QTRY_VERIFY(rig.sleeper.isHolding());

        QCOMPARE(rig.status(), QStringLiteral("Applying\u2026"));
        QVERIFY(!rig.applyButton()->isEnabled());
        QVERIFY(!rig.resetButton()->isEnabled());
        QVERIFY(ripple->isEnabled());
        QTest::mouseClick(ripple, Qt::LeftButton);
        QVERIFY(ripple->isChecked());
        QTest::mouseClick(rig.applyButton(), Qt::LeftButton);  // disabled: nothing happens
        rig.window->apply();                                   // and even asked directly
        rig.window->factoryReset();
        QVERIFY(!rig.applyButton()->isEnabled());

        rig.sleeper.release();
        rig.settle();
        QCOMPARE(rig.status(), QStringLiteral("Settings applied."));
        QCOMPARE(rig.writesSent(), 1);
        MouseSettings written;
        decodeSettings(rig.mouse.storedBlock(), written);
        QCOMPARE(written.angleSnapping, std::uint8_t(1));
        QCOMPARE(written.rippleControl, std::uint8_t(0));  // not silently included
        QCOMPARE(rig.model.appliedSettings.angleSnapping, std::uint8_t(1));
        QCOMPARE(rig.model.editedSettings.rippleControl, std::uint8_t(1));  // not lost
        QVERIFY(rig.applyButton()->isEnabled());                            // still to apply
        QCOMPARE(rig.window->cursor().shape(), Qt::ArrowCursor);

        QTest::mouseClick(rig.applyButton(), Qt::LeftButton);
        rig.settle();
        decodeSettings(rig.mouse.storedBlock(), written);
        QCOMPARE(written.rippleControl, std::uint8_t(1));
        QVERIFY(!rig.applyButton()->isEnabled());
    }

    void theFactoryResetShowsItsBusyState()
    {
        ThreadRig rig;
        rig.start();
        rig.settle();
        rig.sleeper.holdAt(200);
        QTest::mouseClick(rig.resetButton(), Qt::LeftButton);
        QTRY_VERIFY(rig.sleeper.isHolding());
        QCOMPARE(rig.status(), QStringLiteral("Restoring factory settings\u2026"));
        QVERIFY(!rig.resetButton()->isEnabled());
        rig.sleeper.release();
        rig.settle();
        QCOMPARE(rig.status(), QStringLiteral("Factory settings restored."));
        QVERIFY(rig.resetButton()->isEnabled());
    }

    // Every exchange and every protocol wait runs off the UI thread, whatever the flow.
    void noExchangeAndNoWaitRunsOnTheUiThread()
    {
        ThreadRig rig;
        rig.start();
        rig.settle();
        QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("Angle Snapping")), Qt::LeftButton);
        QTest::mouseClick(rig.applyButton(), Qt::LeftButton);
        rig.settle();
        QTest::mouseClick(rig.resetButton(), Qt::LeftButton);
        rig.settle();
        rig.mouse.unplug();
        rig.settle();
        rig.mouse.plug();
        rig.settle();
        rig.mouse.pushEvent(kEventPollingRateChanged, 4);
        QTRY_COMPARE(rig.model.editedSettings.pollingInterval, std::uint8_t(4));

        const std::thread::id ui = std::this_thread::get_id();
        QVERIFY(!rig.backend.threads().empty());
        QVERIFY(!rig.sleeper.threads().empty());
        QVERIFY(!rig.backend.threads().count(ui));
        QVERIFY(!rig.sleeper.threads().count(ui));
        QVERIFY(rig.writesSent() >= 1);
    }

    // A mouse that answers "busy" for ever would hold an APPLY for seconds of polling: closing
    // the window ends it between frames, well within a second.
    void closingDuringABusyApplyEndsWithinASecond()
    {
        VirtualMouse mouse;
        RealSleeper sleeper;
        VirtualHotplugSource hotplug(mouse);
        SettingsModel model;
        auto session = std::make_unique<SessionRunner>(mouse, sleeper);
        auto window = std::make_unique<MainWindow>(model, DeviceContext{*session, hotplug});
        window->initialize();
        window->show();
        QTRY_VERIFY_WITH_TIMEOUT(!session->isBusy(), 10000);
        QTest::mouseClick(named<QCheckBox>(window.get(), QStringLiteral("Angle Snapping")), Qt::LeftButton);
        mouse.answerBusy(VirtualMouse::kForever);
        const std::size_t framesBefore = mouse.frameLog().size();
        QTest::mouseClick(named<QPushButton>(window.get(), QStringLiteral("APPLY")), Qt::LeftButton);
        // Wait until APPLY's first request has gone out and the session polls the busy mouse (the
        // event reader's reads come in between, so the last frame need not be a poll).
        auto polling = [&] {
            const auto log = mouse.frameLog();
            return std::any_of(log.begin() + static_cast<std::ptrdiff_t>(std::min(framesBefore, log.size())),
                               log.end(), [](const VirtualMouse::Frame& f) {
                                   return f.direction == VirtualMouse::Direction::Get;
                               });
        };
        QTRY_VERIFY(polling());

        QElapsedTimer closing;
        closing.start();
        window->close();
        window.reset();
        session.reset();
        QVERIFY2(closing.elapsed() < 1000, qPrintable(QString::number(closing.elapsed())));
        // Nothing reaches the mouse once the session is gone, and no frame went out in part.
        const auto log = mouse.frameLog();
        for (const auto& f : log)
            if (f.direction == VirtualMouse::Direction::Set)
                QVERIFY(f.bytes.size() == kCommandReportLength || f.bytes.size() == kSettingsReportLength);
        QCOMPARE(mouse.frameLog().size(), log.size());
    }
};

QTEST_MAIN(SessionThreadTest)
#include "SessionThreadTest.moc"
