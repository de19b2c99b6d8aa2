#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceIds.h"
#include "device/HidBackend.h"

namespace lark::test {

// A HidDevice whose every call is answered by a function the test supplies; it keeps the
// bytes each call was given, so tests see what the link handed to the platform.
class FakeDevice : public HidDevice {
public:
    struct Answer {
        int result = 0;
        HidError error = HidError::None;
    };
    // Called with the buffer as the platform would see it; may write into it.
    using Handler = std::function<Answer(std::uint8_t* data, std::size_t length)>;

    Handler onSet;
    Handler onGet;
    std::vector<std::vector<std::uint8_t>> setsSeen;
    std::vector<std::vector<std::uint8_t>> getsSeen;

    int sendFeatureReport(const std::uint8_t* data, std::size_t length) override
    {
        setsSeen.emplace_back(data, data + length);
        // The platform may scribble on the buffer it was given; the link must not rely on it.
        return finish(onSet ? onSet(const_cast<std::uint8_t*>(data), length)
                            : Answer{static_cast<int>(length), HidError::None});
    }

    int getFeatureReport(std::uint8_t* data, std::size_t length) override
    {
        getsSeen.emplace_back(data, data + length);
        return finish(onGet ? onGet(data, length) : Answer{static_cast<int>(length), HidError::None});
    }

    int read(std::uint8_t*, std::size_t, int) override { return 0; }
    void interruptRead() override {}
    HidError lastError() const override { return lastError_; }

private:
    int finish(Answer answer)
    {
        lastError_ = answer.result < 0 ? answer.error : HidError::None;
        return answer.result;
    }

    HidError lastError_ = HidError::None;
};

// A backend that lists one configuration interface and hands out the given device once.
class FakeBackend : public HidBackend {
public:
    explicit FakeBackend(std::unique_ptr<HidDevice> device) : device_(std::move(device)) {}

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t, std::uint16_t) override
    {
        return {HidInterfaceInfo{"fake", kVendorId, kProductId, kConfigUsagePage, kConfigUsage, 1}};
    }
    std::unique_ptr<HidDevice> open(const std::string&) override { return std::move(device_); }
    HidError lastOpenError() const override { return HidError::Other; }

private:
    std::unique_ptr<HidDevice> device_;
};

}  // namespace lark::test
