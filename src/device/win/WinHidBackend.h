#pragma once

#include <string>
#include <string_view>

#include "device/HidBackend.h"
#include "device/win/WinHidApi.h"

namespace lark::win {

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
