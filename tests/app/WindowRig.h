#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

#include "app/MainWindow.h"
#include "demo/VirtualHotplugSource.h"
#include "session/qt/SessionRunner.h"
#include "settings/SettingsModel.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"
#include "support/TestPlatform.h"
#include "support/WidgetLookup.h"

namespace lark::test {

// The real window on the virtual mouse behind the real session and DeviceLink, with recorded
// waits.
struct WindowRig {
    RecordingSleeper sleeper;
    VirtualMouse mouse{sleeper.clock()};
    VirtualHotplugSource hotplug{mouse};
    SettingsModel model;
    SessionRunner session{mouse, sleeper};
    std::unique_ptr<MainWindow> window;
    // Where the window listens for larkctl's write announcements; empty: it does not.
    QString outsideWriteDirectory;

    // Builds the window, runs its start-up, shows it, waits for the session's start-up, and
    // forgets the start-up's frames and waits.
    void start(bool forget = true)
    {
        window = std::make_unique<MainWindow>(model, DeviceContext{session, hotplug, outsideWriteDirectory});
        window->initialize();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        settle();
        if (forget) {
            mouse.clearFrameLog();
            sleeper.clear();
        }
    }

    // Lets queued notifications reach the session, then waits until it has done all it was
    // asked and the window has heard of it.
    void settle() const
    {
        QCoreApplication::processEvents();
        QTRY_VERIFY_WITH_TIMEOUT(!session.isBusy() && !window->isBusy(), 20000);
    }

    // Clicks and waits for what the click asked of the session.
    void click(QAbstractButton* button) const
    {
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }

    // The session's link, read on the session's thread.
    bool linkConnected()
    {
        bool connected = false;
        session.runOnWorker([&connected](MouseSession& s) { connected = s.link().isConnected(); });
        return connected;
    }

    ~WindowRig()
    {
        window.reset();
        session.stop();  // joins the session and its listener before the mouse goes
    }

    template <class T> T* find(const QString& name) const { return named<T>(window.get(), name); }

    QPushButton* applyButton() const { return find<QPushButton>(QStringLiteral("APPLY")); }
    QPushButton* resetButton() const { return find<QPushButton>(QStringLiteral("Factory Reset")); }
    QString status() const { return window->statusLabel()->text(); }

    // Frames of one direction and report id in the log.
    std::vector<VirtualMouse::Frame> frames(VirtualMouse::Direction direction, std::uint8_t reportId) const
    {
        std::vector<VirtualMouse::Frame> out;
        for (const auto& f : mouse.frameLog())
            if (f.direction == direction && f.reportId == reportId)
                out.push_back(f);
        return out;
    }

    // Write frames (report 0xA0, command 0x11) that reached the mouse.
    int writesSent() const
    {
        int n = 0;
        for (const auto& f : frames(VirtualMouse::Direction::Set, 0xA0))
            n += f.bytes.size() > 1 && f.bytes[1] == 0x11;
        return n;
    }
};

}  // namespace lark::test
