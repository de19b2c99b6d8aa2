#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/windows/WinHidApi.h"

namespace lark::test {

// One HID interface as SetupAPI and hid.dll would show it.
struct FakeInterface {
    std::wstring path;
    win::HidAttributes attributes;
    win::HidCaps caps;
    win::ErrorCode openError = 0;  // CreateFileW fails with this
    bool attributesFail = false;
    bool capsFail = false;
    std::wstring serial = {};  // empty: the device has none
};

// The Win32 calls of the HID backend, answered from a list of interfaces. Keeps which
// handles are open and what every feature call was given.
class FakeWinHidApi : public win::WinHidApi {
public:
    std::vector<FakeInterface> interfaces;
    // Outcome of each next set / get: 0 succeeds, any other value fails with that code.
    // When the queue is empty the call succeeds.
    std::deque<win::ErrorCode> setOutcomes;
    std::deque<win::ErrorCode> getOutcomes;
    int sets = 0;
    int gets = 0;
    std::size_t lastReaderLength = 0;
    win::ErrorCode readerOpenError = 0;
    std::deque<win::ReadResult> reads;  // what the reader's reads give; empty: time out

    std::vector<std::wstring> openPaths() const
    {
        std::vector<std::wstring> paths;
        for (const auto& [handle, index] : open_)
            paths.push_back(interfaces[index].path);
        return paths;
    }

    std::vector<std::wstring> interfacePaths() override
    {
        std::vector<std::wstring> paths;
        for (const FakeInterface& entry : interfaces)
            paths.push_back(entry.path);
        return paths;
    }

    Handle open(const std::wstring& path) override
    {
        for (std::size_t index = 0; index < interfaces.size(); ++index) {
            if (interfaces[index].path != path)
                continue;
            if (interfaces[index].openError) {
                last_ = interfaces[index].openError;
                return nullptr;
            }
            Handle handle = reinterpret_cast<Handle>(++nextHandle_);
            open_[handle] = index;
            return handle;
        }
        last_ = win::error::kFileNotFound;
        return nullptr;
    }

    void close(Handle handle) override { open_.erase(handle); }

    bool attributes(Handle handle, win::HidAttributes& attributes) override
    {
        const FakeInterface& entry = interfaces[open_.at(handle)];
        attributes = entry.attributes;
        return !entry.attributesFail;
    }

    bool serialNumber(Handle handle, std::wstring& serial) override
    {
        serial = interfaces[open_.at(handle)].serial;
        return !serial.empty();
    }

    bool caps(Handle handle, win::HidCaps& caps) override
    {
        const FakeInterface& entry = interfaces[open_.at(handle)];
        caps = entry.caps;
        return !entry.capsFail;
    }

    bool setFeature(Handle handle, std::uint8_t*, std::size_t) override
    {
        open_.at(handle);
        ++sets;
        return outcome(setOutcomes);
    }

    bool getFeature(Handle handle, std::uint8_t* data, std::size_t length) override
    {
        open_.at(handle);
        ++gets;
        if (length > 1)
            data[1] = 1;  // done
        return outcome(getOutcomes);
    }

    std::unique_ptr<win::WinInputReader> openReader(const std::wstring&, std::size_t reportLength) override;

    win::ErrorCode lastError() override { return last_; }

private:
    bool outcome(std::deque<win::ErrorCode>& outcomes)
    {
        if (outcomes.empty())
            return true;
        last_ = outcomes.front();
        outcomes.pop_front();
        return last_ == 0;
    }

    class Reader : public win::WinInputReader {
    public:
        explicit Reader(FakeWinHidApi& api) : api_(api) {}
        win::ReadResult read(std::uint8_t* data, std::size_t length, int) override
        {
            if (interrupted_ || api_.reads.empty())
                return {};
            const win::ReadResult result = api_.reads.front();
            api_.reads.pop_front();
            for (std::size_t i = 0;
                 result.bytes > 0 && i < length && i < static_cast<std::size_t>(result.bytes); ++i)
                data[i] = static_cast<std::uint8_t>(0x10 + i);
            return result;
        }
        void interrupt() override { interrupted_ = true; }

    private:
        FakeWinHidApi& api_;
        bool interrupted_ = false;
    };

    std::map<Handle, std::size_t> open_;
    std::uintptr_t nextHandle_ = 0;
    win::ErrorCode last_ = 0;
};

inline std::unique_ptr<win::WinInputReader> FakeWinHidApi::openReader(const std::wstring&,
                                                                      std::size_t reportLength)
{
    lastReaderLength = reportLength;
    if (readerOpenError) {
        last_ = readerOpenError;
        return nullptr;
    }
    return std::make_unique<Reader>(*this);
}

}  // namespace lark::test
