#pragma once

#include "device/PollableHotplug.h"

struct udev;
struct udev_monitor;

namespace lark {

// hidraw arrivals and removals from the udev netlink source, without Qt.
class UdevMonitor : public PollableHotplug {
public:
    UdevMonitor() = default;
    ~UdevMonitor() override;
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    bool start() override;

    WaitHandle waitHandle() const override;
    std::vector<Notice> take() override;

private:
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

}  // namespace lark
