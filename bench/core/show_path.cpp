// What `larkctl show` costs at the device: discovery, the firmware version and the settings
// block, on the platform's own backend (hidapi on Linux, SetupAPI and hid.dll on Windows).
// Arguments: runs (5), seconds to wait for the mouse to appear first (0; Wine's HID bus shows
// it a moment after start). Prints one line per run and the median; exits 2 without a mouse.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "device/DeviceIds.h"
#include "device/DeviceLink.h"
#include "device/MouseCommands.h"
#include "device/PlatformBackend.h"
#include "device/RealSleeper.h"
#include "settings/SettingsModel.h"

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int waitSeconds = argc > 2 ? std::max(0, std::atoi(argv[2])) : 0;
    auto backend = lark::makePlatformBackend();
    lark::RealSleeper sleeper;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(waitSeconds);
    while (!lark::DeviceLink(*backend, sleeper).findMouse(lark::kProductId) &&
           std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        lark::DeviceLink link(*backend, sleeper);
        if (!link.findMouse(lark::kProductId)) {
            std::fprintf(stderr, "show_path: no mouse\n");
            return 2;
        }
        std::uint16_t version = 0;
        lark::SettingsModel model;
        if (lark::readFirmwareVersion(link, version) != lark::CommandResult::Done ||
            lark::readSettings(link, model) != lark::CommandResult::Done) {
            std::fprintf(stderr, "show_path: the mouse did not answer\n");
            return 1;
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        times.push_back(ms);
        std::printf("run %d: %.1f ms\n", run + 1, ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("median of %d: %.1f ms\n", runs, times[times.size() / 2]);
    return 0;
}
