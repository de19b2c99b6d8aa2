#pragma once

#include <QCoreApplication>

#include <memory>
#include <optional>

#include "app/MainWindow.h"
#include "demo/VirtualHotplugSource.h"
#include "device/RealSleeper.h"
#include "session/qt/SessionRunner.h"
#include "settings/SettingsModel.h"
#include "sim/VirtualMouse.h"

namespace lark::bench {

// The real window on the virtual mouse with real protocol waits, started up as the program
// does (the session first, then the window) and shown.
struct VirtualMouseWindow {
    // The mouse holds its factory settings unless `stored` says otherwise.
    explicit VirtualMouseWindow(const std::optional<SettingsBlock>& stored = std::nullopt)
    {
        if (stored)
            mouse.setStoredBlock(*stored);
        session.start();
        window = std::make_unique<MainWindow>(model, DeviceContext{session, hotplug});
        window->initialize();
        window->show();
    }

    ~VirtualMouseWindow()
    {
        window.reset();
        session.stop();
    }

    // Runs the event loop until the session has done all it was asked.
    void waitIdle()
    {
        QCoreApplication::processEvents();
        while (session.isBusy() || window->isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    VirtualMouse mouse;
    RealSleeper sleeper;
    VirtualHotplugSource hotplug{mouse};
    SettingsModel model;
    SessionRunner session{mouse, sleeper};
    std::unique_ptr<MainWindow> window;
};

}  // namespace lark::bench
