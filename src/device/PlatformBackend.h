#pragma once

#include <memory>

#include "device/HidBackend.h"

namespace lark {

// The HID backend of the platform this program was built for: hidapi (hidraw) on Linux,
// SetupAPI and hid.dll on Windows.
std::unique_ptr<HidBackend> makePlatformBackend();

}  // namespace lark
