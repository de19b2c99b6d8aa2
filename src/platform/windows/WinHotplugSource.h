#pragma once

#include "device/HotplugSource.h"
#include "platform/windows/WinDeviceNotifier.h"

class QWinEventNotifier;

namespace lark::win {

// HID interface arrivals and removals for the window: the device notifier's event, watched by
// the window's event loop; the interface name is the device path.
class WinHotplugSource : public HotplugSource {
    Q_OBJECT

public:
    explicit WinHotplugSource(QObject* parent = nullptr);
    ~WinHotplugSource() override;

    bool listen() override;
    bool start() override;

private:
    void drain();

    bool listening_ = false;

    WinDeviceNotifier notifier_;
    QWinEventNotifier* watcher_ = nullptr;
};

}  // namespace lark::win
