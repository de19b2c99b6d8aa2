#include <QApplication>

#include "app/CUpdaterApp.h"
#include "app/CUpdaterDlg.h"
#include "device/DeviceLink.h"
#include "device/HidapiBackend.h"
#include "device/RealSleeper.h"
#include "device/UdevHotplugSource.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    lark::CUpdaterApp updater;
    if (!updater.startUp())
        return 0;  // another copy runs

    lark::HidapiBackend backend;
    lark::RealSleeper sleeper;
    lark::DeviceLink link(backend, sleeper);
    lark::UdevHotplugSource hotplug;
    return updater.runMainWindow({backend, link, hotplug});
}
