#pragma once

#include "platform/windows/WinHidApi.h"

namespace lark::win {

// The real calls: SetupAPI, hid.dll and kernel32.
class Win32HidApi : public WinHidApi {
public:
    std::vector<std::wstring> interfacePaths() override;
    Handle open(const std::wstring& path) override;
    void close(Handle handle) override;
    bool attributes(Handle handle, HidAttributes& attributes) override;
    bool serialNumber(Handle handle, std::wstring& serial) override;
    bool caps(Handle handle, HidCaps& caps) override;
    bool setFeature(Handle handle, std::uint8_t* data, std::size_t length) override;
    bool getFeature(Handle handle, std::uint8_t* data, std::size_t length) override;
    std::unique_ptr<WinInputReader> openReader(const std::wstring& path, std::size_t reportLength) override;
    ErrorCode lastError() override;
};

}  // namespace lark::win
