#pragma once

#include "device/HotplugSource.h"
#include "platform/linux/UdevMonitor.h"

class QSocketNotifier;

namespace lark {

// hidraw add/remove events from the udev netlink source; the interface name is the sysfs path.
class UdevHotplugSource : public HotplugSource {
    Q_OBJECT

public:
    explicit UdevHotplugSource(QObject* parent = nullptr);
    ~UdevHotplugSource() override;

    bool listen() override;
    bool start() override;

private:
    void drain();

    bool listening_ = false;

    UdevMonitor monitor_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace lark
