#pragma once

#include <memory>

#include "device/HidBackend.h"
#include "device/PollableHotplug.h"

namespace lark {

// The pieces of the platform this program was built for, each behind its seam; src/platform/
// has one folder per platform that implements them.

// hidapi (hidraw) on Linux, SetupAPI and hid.dll on Windows.
std::unique_ptr<HidBackend> makePlatformBackend();

// Arrivals and removals for a program without an event loop: udev on Linux, device
// notifications on Windows. Not started.
std::unique_ptr<PollableHotplug> makePlatformHotplug();

}  // namespace lark
