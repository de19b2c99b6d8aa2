#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lark {

// Why an exchange or an open failed. Only Transient failures are worth a retry.
enum class HidError {
    None,
    Transient,         // I/O error, broken pipe, timed out, protocol error, try again, interrupted
    DeviceGone,        // no such device, bad descriptor, no such file
    PermissionDenied,  // the node exists but this user may not open it
    Other,
};

struct HidInterfaceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    int interfaceNumber = -1;
};

// One open HID interface. Frames begin with the report ID.
class HidDevice {
public:
    virtual ~HidDevice() = default;

    // Byte count transferred (report ID included), or -1 with lastError() set.
    virtual int sendFeatureReport(const std::uint8_t* data, std::size_t length) = 0;
    virtual int getFeatureReport(std::uint8_t* data, std::size_t length) = 0;
    // Input report: byte count, 0 when timeoutMs passed without one or reads were interrupted,
    // -1 on error. A negative timeoutMs waits until a report comes or interruptRead() is called.
    virtual int read(std::uint8_t* data, std::size_t length, int timeoutMs) = 0;
    // Safe from any thread: a read blocked in another thread returns 0 at once, and so does
    // every later read on this device. Meant for ending a reader before the device is closed.
    virtual void interruptRead() = 0;

    virtual HidError lastError() const = 0;
};

// Where HID interfaces come from: hidapi in production, the virtual mouse in tests and the demo.
class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Every interface (collection) with these IDs, in enumeration order.
    virtual std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) = 0;
    // nullptr on failure, with lastOpenError() telling why.
    virtual std::unique_ptr<HidDevice> open(const std::string& path) = 0;
    virtual HidError lastOpenError() const = 0;
};

}  // namespace lark
