#include <QApplication>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "device/DeviceLink.h"
#include "device/HidapiBackend.h"
#include "device/RealSleeper.h"
#include "device/UdevHotplugSource.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    lark::Application app;
    if (!app.startUp())
        return 0;  // another copy runs

    lark::HidapiBackend backend;
    lark::RealSleeper sleeper;
    lark::DeviceLink link(backend, sleeper);
    lark::UdevHotplugSource hotplug;
    return app.runMainWindow({backend, link, hotplug});
}
