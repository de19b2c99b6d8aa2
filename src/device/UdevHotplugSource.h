#pragma once

#include "device/HotplugSource.h"

struct udev;
struct udev_monitor;
class QSocketNotifier;

namespace lark {

// hidraw add/remove events from the udev netlink source; the interface name is the sysfs path.
class UdevHotplugSource : public HotplugSource {
    Q_OBJECT

public:
    explicit UdevHotplugSource(QObject* parent = nullptr);
    ~UdevHotplugSource() override;

    bool start() override;

private:
    void drain();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace lark
