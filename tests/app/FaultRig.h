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
#include <optional>

#include "FaultInjection.h"
#include "app/MainWindow.h"
#include "demo/VirtualHotplugSource.h"
#include "session/qt/SessionRunner.h"
#include "settings/SettingsModel.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"
#include "support/WidgetLookup.h"

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h.
#include <tlhelp32.h>
#endif

namespace lark::test {

// Threads of this process that are ours: the main thread (the program's name) and the event
// reader ("lark-events"). Qt names the threads it starts itself ("Thread (pooled)",
// "QDBusConnection"), and its pool starts and retires them on its own schedule.
#ifdef Q_OS_WIN
inline int threadCount()
{
    // This thread (the main one: the tests ask from it) and the threads named "lark-events".
    using GetDescription = HRESULT(WINAPI*)(HANDLE, PWSTR*);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto describe = kernel ? reinterpret_cast<GetDescription>(reinterpret_cast<void*>(
                                       GetProcAddress(kernel, "GetThreadDescription")))
                                 : nullptr;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (!describe || snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int count = 1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId() || entry.th32ThreadID == GetCurrentThreadId())
            continue;
        const HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        PWSTR name = nullptr;
        if (thread && SUCCEEDED(describe(thread, &name)) && name) {
            count += QString::fromWCharArray(name) == QStringLiteral("lark-events");
            LocalFree(name);
        }
        if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return count;
}
#else
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
#endif

// Open descriptors of this process; nothing on Windows, whose handle count moves with the handles
// the system makes for itself as it goes (the Linux tiers count the device's descriptors).
inline std::optional<int> fdCount()
{
#ifdef Q_OS_WIN
    return std::nullopt;
#else
    // The listing itself opens one descriptor while it runs; it is the same every time.
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                                .size());
#endif
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

// The real window on the virtual mouse behind a fault-injecting wrapper and the real session.
template <class SleeperType = RecordingSleeper> struct FaultRigOf {
    SleeperType sleeper;
    VirtualMouse mouse;
    FaultInjectingBackend backend{mouse};
    VirtualHotplugSource hotplug{mouse};
    SettingsModel model;
    SessionRunner session{backend, sleeper};
    std::unique_ptr<MainWindow> window;

    FaultRigOf() { mouse.setStoredBlock(mouseBlock()); }
    ~FaultRigOf()
    {
        window.reset();
        session.stop();  // joins the session and its listener before the mouse goes
    }

    void start()
    {
        window = std::make_unique<MainWindow>(model, DeviceContext{session, hotplug});
        window->initialize();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        settle();
    }

    // Lets queued notifications reach the session, then waits until it has done all it was
    // asked and the window has heard of it.
    void settle() const
    {
        drain();
        QTRY_VERIFY_WITH_TIMEOUT(!session.isBusy() && !window->isBusy(), 30000);
    }

    void click(QAbstractButton* button) const
    {
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
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
            settle();
        }
        if (!mouse.isPlugged()) {
            mouse.plug();
            settle();
        }
    }
};

using FaultRig = FaultRigOf<>;

}  // namespace lark::test
