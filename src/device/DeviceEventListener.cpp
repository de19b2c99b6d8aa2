#include "device/DeviceEventListener.h"

#include <array>

#include "device/DeviceIds.h"
#include "device/HidBackend.h"
#include "device/Log.h"
#include "device/Protocol.h"
#include "device/Sleeper.h"
#include "device/ThreadName.h"

namespace lark {

DeviceEventListener::DeviceEventListener(HidBackend& backend, Sleeper& sleeper)
    : backend_(backend), sleeper_(sleeper)
{
}

DeviceEventListener::~DeviceEventListener()
{
    stop();
}

bool DeviceEventListener::start(Handler handler, const std::vector<HidInterfaceInfo>& interfaces)
{
    stop();
    std::shared_ptr<HidDevice> device;
    const std::vector<HidInterfaceInfo> candidates =
        interfaces.empty() ? backend_.enumerate(kVendorId, kProductId) : interfaces;
    for (const HidInterfaceInfo& info : candidates) {
        if (info.usagePage == kEventUsagePage && info.usage == kEventUsage) {
            device = backend_.open(info.path);
            break;
        }
    }
    if (!device)
        return false;
    stopRequested_ = false;
    reading_ = true;
    {
        std::lock_guard lock(deviceMutex_);
        device_ = device;
    }
    reader_ = std::thread(&DeviceEventListener::run, this, std::move(device), std::move(handler));
    return true;
}

void DeviceEventListener::stop()
{
    stopRequested_ = true;
    std::shared_ptr<HidDevice> device;
    {
        std::lock_guard lock(deviceMutex_);
        device = device_;
    }
    // Interrupting is sticky, so a reader that has not reached its read yet ends as well.
    if (device)
        device->interruptRead();
    if (reader_.joinable())
        reader_.join();
    reading_ = false;
}

void DeviceEventListener::run(std::shared_ptr<HidDevice> device, Handler handler)
{
    nameThisThread("lark-events");
    std::array<std::uint8_t, kEventReportLength> report{};
    while (!stopRequested_) {
        report.fill(0);
        // Blocks until the mouse sends something or stop() interrupts: an idle mouse costs nothing.
        const int n = device->read(report.data(), report.size(), -1);
        if (n < 0) {
            log(LogCategory::Device, "event read failed (", toString(device->lastError()), ")");
            if (device->lastError() == HidError::Transient) {
                sleeper_.sleepMs(kWaitAfterReportMs);
                continue;
            }
            break;  // the device is gone: this reader is done
        }
        if (n == 0)
            continue;  // interrupted
        log(LogCategory::Device, "event ", HexFrame{report.data(), static_cast<std::size_t>(n)});
        const std::uint8_t code = n > 1 ? report[1] : 0;
        const std::uint8_t value = n > 2 ? report[2] : 0;
        if (code == kEventPollingRateChanged || code == kEventAcceptedWithoutAction)
            handler(code, value);
        sleeper_.sleepMs(kWaitAfterReportMs);
    }
    // Let go of the device now, not when the next start() or stop() comes.
    {
        std::lock_guard lock(deviceMutex_);
        device_.reset();
    }
    device.reset();
    reading_ = false;
}

}  // namespace lark
