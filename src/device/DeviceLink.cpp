#include "device/DeviceLink.h"

#include <algorithm>
#include <vector>

#include "device/DeviceIds.h"
#include "device/Log.h"
#include "device/Protocol.h"

namespace lark {

namespace {

std::uint8_t statusOf(const std::uint8_t* frame, std::uint32_t length)
{
    return length > 1 ? frame[1] : 0;
}

}  // namespace

bool isConfigInterface(const HidInterfaceInfo& info)
{
    return info.usagePage == kConfigUsagePage && info.usage == kConfigUsage;
}

DeviceLink::DeviceLink(HidBackend& backend, Sleeper& sleeper) : backend_(backend), sleeper_(sleeper) {}

bool DeviceLink::findMouse(std::uint16_t productId)
{
    closeDevice();
    lastOpenError_ = HidError::None;
    connected_ = false;
    interfaces_ = backend_.enumerate(kVendorId, productId);
    for (const HidInterfaceInfo& info : interfaces_) {
        connected_ = false;
        if (info.vendorId != kVendorId || info.productId != productId || !isConfigInterface(info))
            continue;
        std::unique_ptr<HidDevice> device = backend_.open(info.path);
        if (!device) {
            lastOpenError_ = backend_.lastOpenError();
            log(LogCategory::Device, "cannot open ", info.path, ": ", toString(lastOpenError_));
            continue;
        }
        device_ = std::move(device);
        path_ = info.path;
        log(LogCategory::Device, "opened ", info.path);
        connected_ = true;
        lastOpenError_ = HidError::None;
        return true;
    }
    return false;
}

void DeviceLink::closeDevice()
{
    device_.reset();
    path_.clear();
}

bool DeviceLink::sendFeature(std::uint8_t* frame, std::uint32_t length)
{
    if (!device_)
        return false;
    const std::vector<std::uint8_t> copy(frame, frame + length);
    if (sendOnce(frame, length))
        return true;
    if (device_->lastError() != HidError::Transient)
        return false;
    for (int retry = 0; retry < kRetries && !stopped(); ++retry) {
        log(LogCategory::Device, "send retry ", retry + 1, " of ", kRetries, " (",
            toString(device_->lastError()), ")");
        std::copy(copy.begin(), copy.end(), frame);
        if (sendOnce(frame, length))
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
        for (int poll = 0; poll < kBusyPolls && !stopped(); ++poll) {
            log(LogCategory::Device, "busy poll ", poll + 1, " of ", kBusyPolls);
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
    for (int retry = 0; retry < kRetries && !stopped(); ++retry) {
        log(LogCategory::Device, "get retry ", retry + 1, " of ", kRetries, " (", toString(lastError()), ")");
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
    const int received = device_->getFeatureReport(frame, length);
    logReceived(frame, received);
    return received;
}

bool DeviceLink::sendOnce(const std::uint8_t* frame, std::uint32_t length)
{
    const int sent = device_->sendFeatureReport(frame, length);
    if (sent >= 0)
        log(LogCategory::Device, "sent ", HexFrame{frame, length});
    else
        log(LogCategory::Device, "send failed (", toString(device_->lastError()), ") ",
            HexFrame{frame, length});
    return sent >= 0;
}

void DeviceLink::logReceived(const std::uint8_t* frame, int received)
{
    if (received >= 0)
        log(LogCategory::Device, "received ", HexFrame{frame, static_cast<std::size_t>(received)});
    else
        log(LogCategory::Device, "get failed (", toString(device_->lastError()), ") report ",
            HexFrame{frame, 1});
}

bool DeviceLink::getComplete(std::uint8_t* frame, std::uint32_t length)
{
    const int received = device_->getFeatureReport(frame, length);
    logReceived(frame, received);
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
