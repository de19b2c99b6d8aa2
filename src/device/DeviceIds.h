#pragma once

#include <cstdint>

namespace lark {

// The mouse on USB.
constexpr std::uint16_t kVendorId = 0xF1A5;
constexpr std::uint16_t kProductId = 0x2B7E;

// Collection that takes the configuration feature reports.
constexpr std::uint16_t kConfigUsagePage = 0xFF01;
constexpr std::uint16_t kConfigUsage = 2;

// Collection on which the mouse announces changes made with its own controls.
constexpr std::uint16_t kEventUsagePage = 0xFF02;
constexpr std::uint16_t kEventUsage = 1;

}  // namespace lark
