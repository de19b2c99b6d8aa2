#include "device/DeviceLink.h"

#include <algorithm>
#include <vector>

#include "device/DeviceIds.h"
#include "device/Protocol.h"

namespace lark {

namespace {

std::uint8_t statusOf(const std::uint8_t* frame, std::uint32_t length)
{
    return length > 1 ? frame[1] : 0;
}

}  // namespace

DeviceLink::DeviceLink(HidBackend& backend, Sleeper& sleeper) : backend_(backend), sleeper_(sleeper) {}

bool DeviceLink::findMouse(std::uint16_t productId)
{
    closeDevice();
    lastOpenError_ = HidError::None;
    connected_ = false;
    for (const HidInterfaceInfo& info : backend_.enumerate(kVendorId, productId)) {
        connected_ = false;
        if (info.vendorId != kVendorId || info.productId != productId || info.usagePage != kConfigUsagePage ||
            info.usage != kConfigUsage)
            continue;
        std::unique_ptr<HidDevice> device = backend_.open(info.path);
        if (!device) {
            lastOpenError_ = backend_.lastOpenError();
            continue;
        }
        device_ = std::move(device);
        connected_ = true;
        lastOpenError_ = HidError::None;
        return true;
    }
    return false;
}

void DeviceLink::closeDevice()
{
    device_.reset();
}

bool DeviceLink::sendFeature(std::uint8_t* frame, std::uint32_t length)
{
    if (!device_)
        return false;
    const std::vector<std::uint8_t> copy(frame, frame + length);
    if (device_->sendFeatureReport(frame, length) >= 0)
        return true;
    if (device_->lastError() != HidError::Transient)
        return false;
    for (int retry = 0; retry < kRetries; ++retry) {
        std::copy(copy.begin(), copy.end(), frame);
        if (device_->sendFeatureReport(frame, length) >= 0)
            return true;
        wait(kRetryWaitMs);
    }
    return false;
}

bool DeviceLink::getFeature(std::uint8_t* frame, std::uint32_t length)
{
    if (!device_)
        return false;
    const std::vector<std::uint8_t> copy(frame, frame + length);

    if (getComplete(frame, length)) {
        if (!isBusyStatus(statusOf(frame, length)))
            return true;
        bool lastSucceeded = true;
        for (int poll = 0; poll < kBusyPolls; ++poll) {
            std::copy(copy.begin(), copy.end(), frame);
            lastSucceeded = getComplete(frame, length);
            if (!lastSucceeded)
                continue;
            const std::uint8_t status = statusOf(frame, length);
            if (status == kStatusDone)
                return true;
            if (isBusyStatus(status))
                wait(kBusyWaitStepMs * static_cast<unsigned>(poll));
        }
        return lastSucceeded;
    }

    if (lastError() != HidError::Transient)
        return false;
    for (int retry = 0; retry < kRetries; ++retry) {
        // Two gets in a row on the same buffer; only the second one's outcome counts.
        getComplete(frame, length);
        if (getComplete(frame, length))
            return true;
        wait(kRetryWaitMs);
    }
    return false;
}

int DeviceLink::getFeaturePlain(std::uint8_t* frame, std::uint32_t length)
{
    if (!device_)
        return -1;
    return device_->getFeatureReport(frame, length);
}

bool DeviceLink::getComplete(std::uint8_t* frame, std::uint32_t length)
{
    const int received = device_->getFeatureReport(frame, length);
    if (received >= 0 && static_cast<std::uint32_t>(received) < length) {
        shortAnswerError_ = HidError::Other;
        return false;
    }
    shortAnswerError_ = HidError::None;
    return received >= 0;
}

HidError DeviceLink::lastError() const
{
    return shortAnswerError_ != HidError::None ? shortAnswerError_ : device_->lastError();
}

void DeviceLink::wait(unsigned milliseconds)
{
    // A zero wait is no wait at all.
    if (milliseconds > 0)
        sleeper_.sleepMs(milliseconds);
}

}  // namespace lark
