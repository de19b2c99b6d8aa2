#include "platform/windows/WinHidBackend.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "platform/windows/WinHidError.h"

namespace lark::win {

namespace {

// Closes a handle of the seam when it goes out of scope.
class ScopedHandle {
public:
    ScopedHandle(WinHidApi& api, WinHidApi::Handle handle) : api_(api), handle_(handle) {}
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle()
    {
        if (handle_)
            api_.close(handle_);
    }
    WinHidApi::Handle get() const { return handle_; }
    WinHidApi::Handle release() { return std::exchange(handle_, nullptr); }

private:
    WinHidApi& api_;
    WinHidApi::Handle handle_;
};

}  // namespace

WinHidDevice::WinHidDevice(WinHidApi& api, WinHidApi::Handle handle, std::wstring path,
                           std::size_t inputReportLength)
    : api_(api), handle_(handle), path_(std::move(path)), inputReportLength_(inputReportLength)
{
}

WinHidDevice::~WinHidDevice()
{
    reader_.reset();
    api_.close(handle_);
}

int WinHidDevice::sendFeatureReport(const std::uint8_t* data, std::size_t length)
{
    // HidD_SetFeature takes a writable buffer; the caller keeps its own copy for retries.
    const bool ok = api_.setFeature(handle_, const_cast<std::uint8_t*>(data), length);
    return finish(ok, length, HidOperation::Feature);
}

int WinHidDevice::getFeatureReport(std::uint8_t* data, std::size_t length)
{
    const bool ok = api_.getFeature(handle_, data, length);
    return finish(ok, length, HidOperation::Feature);
}

int WinHidDevice::read(std::uint8_t* data, std::size_t length, int timeoutMs)
{
    WinInputReader* reader = nullptr;
    {
        std::lock_guard lock(readerMutex_);
        if (interrupted_)
            return 0;
        if (!reader_) {
            // Windows reads whole reports only: the buffer takes the longest input report.
            reader_ = api_.openReader(path_, std::max(length, inputReportLength_));
            if (!reader_) {
                lastError_ = classifyWinError(api_.lastError(), HidOperation::Read);
                return -1;
            }
        }
        reader = reader_.get();
    }
    const ReadResult result = reader->read(data, length, timeoutMs);
    lastError_ = result.bytes < 0 ? classifyWinError(result.error, HidOperation::Read) : HidError::None;
    return result.bytes;
}

void WinHidDevice::interruptRead()
{
    std::lock_guard lock(readerMutex_);
    interrupted_ = true;
    if (reader_)
        reader_->interrupt();
}

int WinHidDevice::finish(bool ok, std::size_t length, HidOperation operation)
{
    if (ok) {
        lastError_ = HidError::None;
        return static_cast<int>(length);
    }
    const ErrorCode code = api_.lastError();
    // A failure without a code still failed.
    lastError_ = code ? classifyWinError(code, operation) : HidError::Other;
    return -1;
}

std::vector<HidInterfaceInfo> WinHidBackend::enumerate(std::uint16_t vendorId, std::uint16_t productId)
{
    std::vector<HidInterfaceInfo> interfaces;
    for (const std::wstring& path : api_.interfacePaths()) {
        const ScopedHandle handle(api_, api_.open(path));
        if (!handle.get())
            continue;
        HidAttributes attributes;
        if (!api_.attributes(handle.get(), attributes))
            continue;
        if ((vendorId && attributes.vendorId != vendorId) || (productId && attributes.productId != productId))
            continue;
        HidCaps caps;
        if (!api_.caps(handle.get(), caps))
            continue;
        HidInterfaceInfo info;
        info.path = toUtf8(path);
        info.vendorId = attributes.vendorId;
        info.productId = attributes.productId;
        info.usagePage = caps.usagePage;
        info.usage = caps.usage;
        info.interfaceNumber = interfaceNumberOf(path);
        if (std::wstring serial; api_.serialNumber(handle.get(), serial))
            info.serialNumber = toUtf8(serial);
        interfaces.push_back(std::move(info));
    }
    return interfaces;
}

std::unique_ptr<HidDevice> WinHidBackend::open(const std::string& path)
{
    const std::wstring widePath = fromUtf8(path);
    ScopedHandle handle(api_, api_.open(widePath));
    if (!handle.get()) {
        lastOpenError_ = classifyWinError(api_.lastError(), HidOperation::Open);
        if (lastOpenError_ == HidError::None)
            lastOpenError_ = HidError::Other;
        return nullptr;
    }
    HidCaps caps;
    const std::size_t inputReportLength = api_.caps(handle.get(), caps) ? caps.inputReportLength : 0;
    lastOpenError_ = HidError::None;
    return std::make_unique<WinHidDevice>(api_, handle.release(), widePath, inputReportLength);
}

std::string toUtf8(std::wstring_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]);
                if (low >= 0xDC00 && low < 0xE000) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;  // an unpaired surrogate
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring fromUtf8(std::string_view text)
{
    std::wstring out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80           ? 0
                    : (lead >> 5) == 0x6  ? 1
                    : (lead >> 4) == 0xE  ? 2
                    : (lead >> 3) == 0x1E ? 3
                                          : -1;
        char32_t c = extra == 0   ? lead
                     : extra == 1 ? (lead & 0x1F)
                     : extra == 2 ? (lead & 0x0F)
                                  : (lead & 0x07);
        bool valid = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                valid = false;
            else
                c = (c << 6) | (next & 0x3F);
        }
        if (!valid || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
            out += static_cast<wchar_t>(0xFFFD);
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
    }
    return out;
}

int interfaceNumberOf(std::wstring_view path)
{
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
    for (std::size_t at = 0; at + 3 < path.size(); ++at) {
        if (!(path[at] == L'&' || path[at] == L'#' || path[at] == L'\\') || lower(path[at + 1]) != L'm' ||
            lower(path[at + 2]) != L'i' || path[at + 3] != L'_')
            continue;
        int number = 0;
        std::size_t digits = 0;
        for (std::size_t k = at + 4; k < path.size() && digits < 2; ++k, ++digits) {
            const wchar_t c = lower(path[k]);
            const int value = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10 : -1;
            if (value < 0)
                break;
            number = number * 16 + value;
        }
        if (digits == 2)
            return number;
    }
    return -1;
}

}  // namespace lark::win
