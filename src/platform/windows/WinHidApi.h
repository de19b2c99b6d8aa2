#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lark::win {

// A Win32 error code (GetLastError).
using ErrorCode = std::uint32_t;

// Codes the HID backend tells apart; the values are Windows' own.
namespace error {
constexpr ErrorCode kFileNotFound = 2;
constexpr ErrorCode kPathNotFound = 3;
constexpr ErrorCode kAccessDenied = 5;
constexpr ErrorCode kInvalidHandle = 6;
constexpr ErrorCode kNotReady = 21;
constexpr ErrorCode kCrc = 23;
constexpr ErrorCode kWriteFault = 29;
constexpr ErrorCode kGenFailure = 31;
constexpr ErrorCode kSharingViolation = 32;
constexpr ErrorCode kDevNotExist = 55;
constexpr ErrorCode kInvalidParameter = 87;
constexpr ErrorCode kNoSuchDevice = 433;
constexpr ErrorCode kOperationAborted = 995;
constexpr ErrorCode kDeviceNotConnected = 1167;
constexpr ErrorCode kDeviceRemoved = 1617;
constexpr ErrorCode kFunctionFailed = 1627;
}  // namespace error

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// The top-level collection of one interface, from its preparsed data.
struct HidCaps {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t inputReportLength = 0;
};

struct ReadResult {
    int bytes = 0;        // > 0: a report; 0: timed out or interrupted
    ErrorCode error = 0;  // set when bytes < 0
};

// Input reports of one interface, read with overlapped I/O so that a waiting read can be
// ended at once from another thread.
class WinInputReader {
public:
    virtual ~WinInputReader() = default;
    // Waits up to timeoutMs (negative: without limit) for the next report.
    virtual ReadResult read(std::uint8_t* data, std::size_t length, int timeoutMs) = 0;
    // Safe from any thread: a waiting read returns 0 at once, and so does every later one.
    virtual void interrupt() = 0;
};

// The Win32 calls the HID backend makes, behind a seam so its logic runs against a fake.
// Handles are opaque; nullptr is "no handle" (CreateFileW's INVALID_HANDLE_VALUE).
class WinHidApi {
public:
    using Handle = void*;

    virtual ~WinHidApi() = default;

    // Device paths of the present HID interfaces in SetupAPI's order (HidD_GetHidGuid,
    // SetupDiGetClassDevsW, SetupDiEnumDeviceInterfaces, SetupDiGetDeviceInterfaceDetailW).
    virtual std::vector<std::wstring> interfacePaths() = 0;
    // CreateFileW for reading and writing, shared, synchronous; nullptr with lastError() set.
    virtual Handle open(const std::wstring& path) = 0;
    virtual void close(Handle handle) = 0;
    virtual bool attributes(Handle handle, HidAttributes& attributes) = 0;
    virtual bool caps(Handle handle, HidCaps& caps) = 0;
    // HidD_GetSerialNumberString; false when the device has none or will not say.
    virtual bool serialNumber(Handle handle, std::wstring& serial) = 0;
    virtual bool setFeature(Handle handle, std::uint8_t* data, std::size_t length) = 0;
    virtual bool getFeature(Handle handle, std::uint8_t* data, std::size_t length) = 0;
    // A second, overlapped handle on the path for input reports; nullptr with lastError() set.
    virtual std::unique_ptr<WinInputReader> openReader(const std::wstring& path,
                                                       std::size_t reportLength) = 0;
    // The calling thread's last error.
    virtual ErrorCode lastError() = 0;
};

}  // namespace lark::win
