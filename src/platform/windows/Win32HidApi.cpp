#include "platform/windows/Win32HidApi.h"

#include <cstring>
#include <vector>

// clang-format off
#include <windows.h>
#include <setupapi.h>
// mingw's hid.dll headers declare C functions without saying so.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}
// clang-format on

namespace lark::win {

namespace {

HANDLE openPath(const std::wstring& path, DWORD flags)
{
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, flags, nullptr);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

class OverlappedReader : public WinInputReader {
public:
    OverlappedReader(HANDLE device, HANDLE ioEvent, HANDLE cancelEvent, std::size_t reportLength)
        : device_(device), ioEvent_(ioEvent), cancelEvent_(cancelEvent), buffer_(reportLength)
    {
    }
    OverlappedReader(const OverlappedReader&) = delete;
    OverlappedReader& operator=(const OverlappedReader&) = delete;
    ~OverlappedReader() override
    {
        if (pending_) {
            CancelIo(device_);
            DWORD ignored = 0;
            GetOverlappedResult(device_, &overlapped_, &ignored, TRUE);
        }
        CloseHandle(device_);
        CloseHandle(ioEvent_);
        CloseHandle(cancelEvent_);
    }

    ReadResult read(std::uint8_t* data, std::size_t length, int timeoutMs) override
    {
        if (WaitForSingleObject(cancelEvent_, 0) == WAIT_OBJECT_0)
            return {};
        if (!pending_) {
            std::memset(&overlapped_, 0, sizeof overlapped_);
            overlapped_.hEvent = ioEvent_;
            ResetEvent(ioEvent_);
            if (!ReadFile(device_, buffer_.data(), static_cast<DWORD>(buffer_.size()), nullptr,
                          &overlapped_)) {
                const DWORD error = GetLastError();
                if (error != ERROR_IO_PENDING)
                    return {-1, error};
            }
            pending_ = true;
        }
        // A read that times out stays in flight: its report is taken by the next call.
        const HANDLE events[2] = {ioEvent_, cancelEvent_};
        const DWORD waited = WaitForMultipleObjects(2, events, FALSE,
                                                    timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
        if (waited == WAIT_TIMEOUT)
            return {};
        if (waited == WAIT_OBJECT_0 + 1)
            return {};  // interrupted; the destructor cancels the read still in flight
        if (waited != WAIT_OBJECT_0)
            return {-1, GetLastError()};
        DWORD transferred = 0;
        const BOOL ok = GetOverlappedResult(device_, &overlapped_, &transferred, FALSE);
        pending_ = false;
        if (!ok)
            return {-1, GetLastError()};
        const std::size_t n = std::min<std::size_t>(transferred, length);
        std::memcpy(data, buffer_.data(), n);
        return {static_cast<int>(n), 0};
    }

    void interrupt() override { SetEvent(cancelEvent_); }

private:
    HANDLE device_;
    HANDLE ioEvent_;
    HANDLE cancelEvent_;
    std::vector<std::uint8_t> buffer_;
    OVERLAPPED overlapped_{};
    bool pending_ = false;
};

}  // namespace

std::vector<std::wstring> Win32HidApi::interfacePaths()
{
    std::vector<std::wstring> paths;
    GUID hidGuid;
    HidD_GetHidGuid(&hidGuid);
    const HDEVINFO set =
        SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return paths;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof interfaceData;
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &hidGuid, index, &interfaceData))
            break;
        DWORD required = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, nullptr, 0, &required, nullptr);
        if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
            continue;
        // The detail record is variable-sized; keep it suitably aligned.
        std::vector<std::uint64_t> storage((required + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, required, nullptr, nullptr))
            paths.emplace_back(detail->DevicePath);
    }
    SetupDiDestroyDeviceInfoList(set);
    return paths;
}

WinHidApi::Handle Win32HidApi::open(const std::wstring& path)
{
    return openPath(path, 0);
}

void Win32HidApi::close(Handle handle)
{
    if (handle)
        CloseHandle(handle);
}

bool Win32HidApi::attributes(Handle handle, HidAttributes& attributes)
{
    HIDD_ATTRIBUTES raw{};
    raw.Size = sizeof raw;
    if (!HidD_GetAttributes(handle, &raw))
        return false;
    attributes.vendorId = raw.VendorID;
    attributes.productId = raw.ProductID;
    return true;
}

bool Win32HidApi::serialNumber(Handle handle, std::wstring& serial)
{
    // A USB string descriptor holds at most 126 characters; the call takes at most 4093 bytes.
    wchar_t text[128] = {};
    if (!HidD_GetSerialNumberString(handle, text, sizeof text - sizeof text[0]))
        return false;
    serial = text;
    return true;
}

bool Win32HidApi::caps(Handle handle, HidCaps& caps)
{
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!HidD_GetPreparsedData(handle, &preparsed))
        return false;
    HIDP_CAPS raw{};
    const NTSTATUS status = HidP_GetCaps(preparsed, &raw);
    HidD_FreePreparsedData(preparsed);
    if (status != HIDP_STATUS_SUCCESS)
        return false;
    caps.usagePage = raw.UsagePage;
    caps.usage = raw.Usage;
    caps.inputReportLength = raw.InputReportByteLength;
    return true;
}

bool Win32HidApi::setFeature(Handle handle, std::uint8_t* data, std::size_t length)
{
    SetLastError(0);
    return HidD_SetFeature(handle, data, static_cast<ULONG>(length));
}

bool Win32HidApi::getFeature(Handle handle, std::uint8_t* data, std::size_t length)
{
    SetLastError(0);
    return HidD_GetFeature(handle, data, static_cast<ULONG>(length));
}

std::unique_ptr<WinInputReader> Win32HidApi::openReader(const std::wstring& path, std::size_t reportLength)
{
    const HANDLE device = openPath(path, FILE_FLAG_OVERLAPPED);
    if (!device)
        return nullptr;
    const HANDLE ioEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE cancelEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ioEvent || !cancelEvent) {
        const DWORD error = GetLastError();
        CloseHandle(device);
        if (ioEvent)
            CloseHandle(ioEvent);
        if (cancelEvent)
            CloseHandle(cancelEvent);
        SetLastError(error);
        return nullptr;
    }
    return std::make_unique<OverlappedReader>(device, ioEvent, cancelEvent, reportLength);
}

ErrorCode Win32HidApi::lastError()
{
    return GetLastError();
}

}  // namespace lark::win
