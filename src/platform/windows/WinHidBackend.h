#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "device/HidBackend.h"
#include "device/HidErrorText.h"
#include "platform/windows/WinHidApi.h"

namespace lark::win {

// One open interface: a synchronous handle for feature reports, and a second, overlapped one
// for input reports, opened by the first read.
class WinHidDevice : public HidDevice {
public:
    WinHidDevice(WinHidApi& api, WinHidApi::Handle handle, std::wstring path, std::size_t inputReportLength);
    WinHidDevice(const WinHidDevice&) = delete;
    WinHidDevice& operator=(const WinHidDevice&) = delete;
    ~WinHidDevice() override;

    int sendFeatureReport(const std::uint8_t* data, std::size_t length) override;
    int getFeatureReport(std::uint8_t* data, std::size_t length) override;
    int read(std::uint8_t* data, std::size_t length, int timeoutMs) override;
    // Safe from any thread: a waiting read returns 0 at once, and so does every later one.
    void interruptRead() override;
    HidError lastError() const override { return lastError_; }

private:
    int finish(bool ok, std::size_t length, HidOperation operation);

    WinHidApi& api_;
    WinHidApi::Handle handle_;
    std::wstring path_;
    std::size_t inputReportLength_;
    std::mutex readerMutex_;
    std::unique_ptr<WinInputReader> reader_;
    bool interrupted_ = false;
    HidError lastError_ = HidError::None;
};

// The HID backend of Windows: SetupAPI lists the interfaces, hid.dll tells each one's
// vendor, product and top-level collection, feature reports go through HidD_SetFeature /
// HidD_GetFeature and input reports through an overlapped read.
class WinHidBackend : public HidBackend {
public:
    explicit WinHidBackend(WinHidApi& api) : api_(api) {}

    // Every interface that opens for reading and writing and has these IDs (0: any), in
    // enumeration order. Interfaces that cannot be opened are passed over, as discovery does.
    std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
    HidError lastOpenError() const override { return lastOpenError_; }

private:
    WinHidApi& api_;
    HidError lastOpenError_ = HidError::None;
};

// Device paths are UTF-16 on Windows; the rest of the program keeps UTF-8.
std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);

// The USB interface number in a device path ("...&mi_02#..."), or -1 when it has none.
int interfaceNumberOf(std::wstring_view path);

}  // namespace lark::win
