#pragma once

#include "device/HidBackend.h"

namespace lark {

// The production backend: hidapi on hidraw.
class HidapiBackend : public HidBackend {
public:
    HidapiBackend();

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
    HidError lastOpenError() const override { return lastOpenError_; }

private:
    HidError lastOpenError_ = HidError::None;
};

}  // namespace lark
