#include "platform/linux/HidapiBackend.h"

#include <cerrno>
#include <climits>
#include <cwchar>
#include <memory>
#include <mutex>
#include <utility>

#include <hidapi/hidapi.h>

#include "device/HidErrorText.h"
#include "platform/linux/HidrawReader.h"

namespace lark {

namespace {

// hidapi's texts are wide strings made from the locale's multibyte text; turn them back.
std::string narrow(const wchar_t* text)
{
    if (!text)
        return {};
    std::string out;
    std::mbstate_t state{};
    char buffer[MB_LEN_MAX];
    for (const wchar_t* p = text; *p; ++p) {
        const std::size_t n = std::wcrtomb(buffer, *p, &state);
        if (n == static_cast<std::size_t>(-1)) {
            out += '?';
            state = std::mbstate_t{};
        } else {
            out.append(buffer, n);
        }
    }
    return out;
}

class HidapiDevice : public HidDevice {
public:
    HidapiDevice(hid_device* device, std::unique_ptr<HidrawReader> reader)
        : device_(device), reader_(std::move(reader))
    {
    }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;
    ~HidapiDevice() override { hid_close(device_); }

    int sendFeatureReport(const std::uint8_t* data, std::size_t length) override
    {
        errno = 0;
        const int result = hid_send_feature_report(device_, data, length);
        return finish(result, HidOperation::Feature);
    }

    int getFeatureReport(std::uint8_t* data, std::size_t length) override
    {
        errno = 0;
        const int result = hid_get_feature_report(device_, data, length);
        return finish(result, HidOperation::Feature);
    }

    // Input reports come through the reader's own descriptor: hid_read cannot be interrupted.
    int read(std::uint8_t* data, std::size_t length, int timeoutMs) override
    {
        return reader_->read(data, length, timeoutMs, lastError_);
    }

    void interruptRead() override { reader_->interrupt(); }

    HidError lastError() const override { return lastError_; }

private:
    int finish(int result, HidOperation operation)
    {
        const int savedErrno = errno;
        lastError_ = result < 0 ? classifyHidErrorText(narrow(hid_error(device_)), operation, savedErrno)
                                : HidError::None;
        return result;
    }

    hid_device* device_;
    std::unique_ptr<HidrawReader> reader_;
    HidError lastError_ = HidError::None;
};

}  // namespace

HidapiBackend::HidapiBackend()
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { hid_init(); });
}

std::vector<HidInterfaceInfo> HidapiBackend::enumerate(std::uint16_t vendorId, std::uint16_t productId)
{
    std::vector<HidInterfaceInfo> interfaces;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (const hid_device_info* entry = list; entry; entry = entry->next) {
        HidInterfaceInfo info;
        info.path = entry->path ? entry->path : "";
        info.vendorId = entry->vendor_id;
        info.productId = entry->product_id;
        info.usagePage = entry->usage_page;
        info.usage = entry->usage;
        info.interfaceNumber = entry->interface_number;
        if (entry->serial_number)
            info.serialNumber = narrow(entry->serial_number);
        interfaces.push_back(std::move(info));
    }
    hid_free_enumeration(list);
    return interfaces;
}

std::unique_ptr<HidDevice> HidapiBackend::open(const std::string& path)
{
    errno = 0;
    hid_device* device = hid_open_path(path.c_str());
    if (!device) {
        const int savedErrno = errno;
        lastOpenError_ = classifyHidErrorText(narrow(hid_error(nullptr)), HidOperation::Open, savedErrno);
        return nullptr;
    }
    HidError readerError = HidError::None;
    auto reader = HidrawReader::open(path, readerError);
    if (!reader) {
        hid_close(device);
        lastOpenError_ = readerError;
        return nullptr;
    }
    lastOpenError_ = HidError::None;
    return std::make_unique<HidapiDevice>(device, std::move(reader));
}

}  // namespace lark
