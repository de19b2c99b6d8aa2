#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidBackend.h"
#include "device/Sleeper.h"

namespace lark {

// The one path to the mouse's configuration collection: discovery, the open handle, the
// connected flag, the device lock and the feature-report exchanges with their retries and
// busy polling. Used from the UI thread only; commands hold deviceLock() around exchanges.
// The mouse's configuration collection (vendor and product aside): the one that takes feature reports.
bool isConfigInterface(const HidInterfaceInfo& info);

class DeviceLink {
public:
    DeviceLink(HidBackend& backend, Sleeper& sleeper);
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Closes any handle held, then opens the first enumerated interface with the mouse's
    // vendor ID, this product ID and the configuration usage page and usage.
    bool findMouse(std::uint16_t productId);
    void closeDevice();

    bool isConnected() const { return connected_; }
    void setConnected(bool connected) { connected_ = connected; }
    bool hasHandle() const { return device_ != nullptr; }
    // The path of the interface held open; empty without a handle.
    const std::string& path() const { return path_; }
    // Every interface of the product that the last findMouse enumerated, the event interface
    // among them: whoever opens another interface right after need not enumerate again.
    const std::vector<HidInterfaceInfo>& interfaces() const { return interfaces_; }

    // Sends `frame` (report ID in byte 0). Transient failures are retried three times with
    // the frame restored from a copy each time; other failures end the exchange at once.
    bool sendFeature(std::uint8_t* frame, std::uint32_t length);
    // Fetches the report whose ID is in byte 0 (rest zero). Polls while the answer says busy.
    // True when the last get succeeded, whatever status it carries.
    bool getFeature(std::uint8_t* frame, std::uint32_t length);
    // One get, no retry and no polling: the byte count, or -1 (also when no handle is held).
    int getFeaturePlain(std::uint8_t* frame, std::uint32_t length);

    // Once `*stop` turns true, retries and busy polls end: the frame under way is the last.
    void setStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }

    // Held by each mouse command for its whole exchange, waits included.
    std::mutex& deviceLock() { return lock_; }
    Sleeper& sleeper() { return sleeper_; }

    // Why the last findMouse could not open a matching interface; None when it found the
    // mouse or when nothing matched.
    HidError lastOpenError() const { return lastOpenError_; }

private:
    static constexpr int kRetries = 3;
    static constexpr unsigned kRetryWaitMs = 50;
    static constexpr int kBusyPolls = 10;
    static constexpr unsigned kBusyWaitStepMs = 100;

    // One get that delivered the whole report. A short answer counts as a failure: the
    // rest of the frame would be stale bytes that callers take for the mouse's answer.
    bool getComplete(std::uint8_t* frame, std::uint32_t length);
    HidError lastError() const;
    // One send or get of a frame, told to the device log.
    bool sendOnce(const std::uint8_t* frame, std::uint32_t length);
    void logReceived(const std::uint8_t* frame, int received);
    void wait(unsigned milliseconds);
    bool stopped() const { return stop_ && stop_->load(); }

    HidBackend& backend_;
    Sleeper& sleeper_;
    std::unique_ptr<HidDevice> device_;
    std::string path_;
    std::vector<HidInterfaceInfo> interfaces_;
    const std::atomic<bool>* stop_ = nullptr;
    bool connected_ = false;
    HidError lastOpenError_ = HidError::None;
    HidError shortAnswerError_ = HidError::None;
    std::mutex lock_;
};

}  // namespace lark
