#include "device/DeviceEventListener.h"

#include <array>

#include "device/DeviceIds.h"
#include "device/HidBackend.h"
#include "device/Protocol.h"
#include "device/Sleeper.h"

namespace lark {

DeviceEventListener::DeviceEventListener(HidBackend& backend, Sleeper& sleeper)
    : backend_(backend), sleeper_(sleeper)
{
}

DeviceEventListener::~DeviceEventListener()
{
    stop();
}

bool DeviceEventListener::start(Handler handler)
{
    stop();
    std::unique_ptr<HidDevice> device;
    for (const HidInterfaceInfo& info : backend_.enumerate(kVendorId, kProductId)) {
        if (info.usagePage == kEventUsagePage && info.usage == kEventUsage) {
            device = backend_.open(info.path);
            break;
        }
    }
    if (!device)
        return false;
    stopRequested_ = false;
    reading_ = true;
    reader_ = std::thread(&DeviceEventListener::run, this, std::move(device), std::move(handler));
    return true;
}

void DeviceEventListener::stop()
{
    stopRequested_ = true;
    if (reader_.joinable())
        reader_.join();
    reading_ = false;
}

void DeviceEventListener::run(std::unique_ptr<HidDevice> device, Handler handler)
{
    std::array<std::uint8_t, kEventReportLength> report{};
    while (!stopRequested_) {
        report.fill(0);
        // A bounded wait, so that stop() is heard even when the mouse stays silent.
        const int n = device->read(report.data(), report.size(), kReadTimeoutMs);
        if (n < 0) {
            if (device->lastError() == HidError::Transient) {
                sleeper_.sleepMs(kWaitAfterReportMs);
                continue;
            }
            break;  // the device is gone: this reader is done
        }
        if (n == 0)
            continue;
        const std::uint8_t code = n > 1 ? report[1] : 0;
        const std::uint8_t value = n > 2 ? report[2] : 0;
        if (code == kEventPollingRateChanged || code == kEventAcceptedWithoutAction)
            handler(code, value);
        sleeper_.sleepMs(kWaitAfterReportMs);
    }
    reading_ = false;
}

}  // namespace lark
