#pragma once

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

#include "FaultInjection.h"
#include "app/CUpdaterDlg.h"
#include "app/VirtualHotplugSource.h"
#include "device/DeviceLink.h"
#include "settings/SettingsModel.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"
#include "support/WidgetLookup.h"

namespace lark::test {

// Threads of this process that are ours: the main thread (the program's name) and the event
// reader ("lark-events"). Qt names the threads it starts itself ("Thread (pooled)",
// "QDBusConnection"), and its pool starts and retires them on its own schedule.
inline int threadCount()
{
    auto comm = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray programName = comm(QStringLiteral("/proc/self/comm"));
    int count = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QByteArray name = comm(tasks.filePath(task) + QStringLiteral("/comm"));
        count += name == programName || name == "lark-events\n";
    }
    return count;
}

inline int fdCount()
{
    // The listing itself opens one descriptor while it runs; it is the same every time.
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                                .size());
}

// Lets queued hot-plug notifications and mouse events reach the window.
inline void drain()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// True when the window's event loop answers a timer within `timeoutMs`.
inline bool eventLoopAnswers(QObject* context, int timeoutMs = 2000)
{
    bool fired = false;
    QTimer::singleShot(0, context, [&fired] { fired = true; });
    return QTest::qWaitFor([&fired] { return fired; }, timeoutMs);
}

// What the mouse holds at the start of every fault case: not the defaults, so the pages show
// whose settings they are.
inline SettingsBlock mouseBlock()
{
    MouseSettings s;
    setDefaults(s);
    s.cpiLevels[0] = CpiLevel{0, 500, 500};
    s.rippleControl = 1;
    SettingsBlock block{};
    encodeSettings(s, block);
    return block;
}

// The real window on the virtual mouse behind a fault-injecting wrapper and the real DeviceLink.
template <class SleeperType = RecordingSleeper> struct FaultRigOf {
    SleeperType sleeper;
    VirtualMouse mouse;
    FaultInjectingBackend backend{mouse};
    DeviceLink link{backend, sleeper};
    VirtualHotplugSource hotplug{mouse};
    SettingsModel model;
    std::unique_ptr<CUpdaterDlg> window;

    FaultRigOf() { mouse.setStoredBlock(mouseBlock()); }
    ~FaultRigOf() { window.reset(); }  // joins the listener before the mouse goes

    void start()
    {
        window = std::make_unique<CUpdaterDlg>(model, DeviceContext{backend, link, hotplug});
        window->initialize();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        drain();
    }

    template <class T> T* find(const QString& name) const { return named<T>(window.get(), name); }
    QCheckBox* box(const char* name) const { return find<QCheckBox>(QString::fromLatin1(name)); }
    QLineEdit* edit(const char* name) const { return find<QLineEdit>(QString::fromLatin1(name)); }
    QPushButton* applyButton() const { return find<QPushButton>(QStringLiteral("APPLY")); }
    QPushButton* resetButton() const { return find<QPushButton>(QStringLiteral("Factory Reset")); }
    QString status() const { return window->statusLabel()->text(); }
    QString firmware() const { return window->firmwareLabel()->text(); }
    bool controlsEnabled() const
    {
        return resetButton()->isEnabled() && window->tabs()->tabBar()->isEnabled();
    }

    // Unsaved edits on the Basic page: Angle Snapping on, CPI level 2 typed as 1234 (1250).
    void makeEdits()
    {
        QTest::mouseClick(box("Angle Snapping"), Qt::LeftButton);
        QLineEdit* cpi = edit("CPI 2 X value");
        cpi->setFocus();
        QTest::keyClick(cpi, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(cpi, QStringLiteral("1234"));
        QTest::keyClick(cpi, Qt::Key_Return);
    }

    bool editsShown() const
    {
        return box("Angle Snapping")->isChecked() &&
               edit("CPI 2 X value")->text() == QStringLiteral("1250") &&
               model.editedSettings.angleSnapping == 1 && model.editedSettings.cpiLevels[1].x == 1250;
    }

    bool mouseSettingsShown() const
    {
        return box("Ripple Control")->isChecked() && !box("Angle Snapping")->isChecked() &&
               edit("CPI 1 X value")->text() == QStringLiteral("500") &&
               edit("CPI 2 X value")->text() == QStringLiteral("800");
    }

    bool defaultsShown() const
    {
        return !box("Ripple Control")->isChecked() && !box("Angle Snapping")->isChecked() &&
               edit("CPI 1 X value")->text() == QStringLiteral("400") &&
               edit("CPI 2 X value")->text() == QStringLiteral("800");
    }

    // Brings the mouse back and connected, whatever state a fault left behind.
    void reconnectMouse()
    {
        backend.clearPlan();
        mouse.clearFaults();
        if (mouse.isPlugged() && (!controlsEnabled() || firmware().isEmpty())) {
            mouse.unplug();
            drain();
        }
        if (!mouse.isPlugged()) {
            mouse.plug();
            drain();
        }
    }
};

using FaultRig = FaultRigOf<>;

}  // namespace lark::test
