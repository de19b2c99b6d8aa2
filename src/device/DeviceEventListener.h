#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "device/HidBackend.h"

namespace lark {

class Sleeper;

// Reads the mouse's event interface on its own thread and reports polling-rate events.
// One reader at a time: it ends by itself when its device goes, and start() replaces it.
class DeviceEventListener {
public:
    // Called on the reader's thread; hand the event over to the UI thread from here.
    using Handler = std::function<void(std::uint8_t code, std::uint8_t value)>;

    DeviceEventListener(HidBackend& backend, Sleeper& sleeper);
    ~DeviceEventListener();

    DeviceEventListener(const DeviceEventListener&) = delete;
    DeviceEventListener& operator=(const DeviceEventListener&) = delete;

    // Opens the event interface and starts a reader; false (and no reader) when it cannot be opened.
    // `interfaces`: the mouse's, just enumerated by the caller; empty: enumerated here.
    bool start(Handler handler, const std::vector<HidInterfaceInfo>& interfaces = {});
    // Interrupts the reader's read and waits for it to end.
    void stop();
    bool isReading() const { return reading_.load(); }

    static constexpr unsigned kWaitAfterReportMs = 80;

private:
    void run(std::shared_ptr<HidDevice> device, Handler handler);

    HidBackend& backend_;
    Sleeper& sleeper_;
    std::thread reader_;
    std::mutex deviceMutex_;
    std::shared_ptr<HidDevice> device_;  // the reader's, while it runs: for stop() to interrupt
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> reading_{false};
};

}  // namespace lark
