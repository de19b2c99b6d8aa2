#pragma once

#include "app/MainWindow.h"
#include "demo/VirtualHotplugSource.h"
#include "device/DeviceLink.h"
#include "device/RealSleeper.h"
#include "settings/SettingsModel.h"
#include "sim/VirtualMouse.h"

namespace lark::bench {

// The real window on the virtual mouse with real protocol waits, started up and shown.
struct VirtualMouseWindow {
    explicit VirtualMouseWindow(const SettingsBlock& stored)
    {
        mouse.setStoredBlock(stored);
        window.initialize();
        window.show();
    }

    VirtualMouse mouse;
    RealSleeper sleeper;
    DeviceLink link{mouse, sleeper};
    VirtualHotplugSource hotplug{mouse};
    SettingsModel model;
    MainWindow window{model, {mouse, link, hotplug}};
};

}  // namespace lark::bench
