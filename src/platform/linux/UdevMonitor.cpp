#include "platform/linux/UdevMonitor.h"

#include <cstring>
#include <libudev.h>

#include "device/InterfaceNameMatch.h"
#include "device/Log.h"

namespace lark {

UdevMonitor::~UdevMonitor()
{
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
}

bool UdevMonitor::start()
{
    if (monitor_)
        return true;
    udev_ = udev_new();
    if (!udev_)
        return false;
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (!monitor_ || udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        if (monitor_)
            udev_monitor_unref(monitor_);
        monitor_ = nullptr;
        udev_unref(udev_);
        udev_ = nullptr;
        log(LogCategory::Hotplug, "cannot watch hidraw devices through udev");
        return false;
    }
    return true;
}

WaitHandle UdevMonitor::waitHandle() const
{
    return monitor_ ? udev_monitor_get_fd(monitor_) : kNoWaitHandle;
}

std::vector<PollableHotplug::Notice> UdevMonitor::take()
{
    std::vector<Notice> notices;
    if (!monitor_)
        return notices;
    // The monitor's socket is non-blocking: this returns null once nothing waits.
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const char* action = udev_device_get_action(device);
        const char* path = udev_device_get_syspath(device);
        if (action && path) {
            log(LogCategory::Hotplug, "udev ", action, " ", path,
                isMouseInterfaceName(path) ? ": the mouse" : ": not the mouse");
            if (std::strcmp(action, "add") == 0)
                notices.push_back(Notice{true, path});
            else if (std::strcmp(action, "remove") == 0)
                notices.push_back(Notice{false, path});
        }
        udev_device_unref(device);
    }
    return notices;
}

}  // namespace lark
