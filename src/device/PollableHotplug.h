#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lark {

// Something a program without an event loop can sleep on: a file descriptor on POSIX, a Win32
// event HANDLE on Windows.
using WaitHandle = std::intptr_t;
inline constexpr WaitHandle kNoWaitHandle = -1;

// Arrival and removal notices behind a wait handle, for programs without an event loop of
// their own. Production: UdevMonitor (Linux), WinDeviceNotifier (Windows).
class PollableHotplug {
public:
    struct Notice {
        bool arrival = false;
        std::string name;  // the interface's device path, as the arrival and removal flows take it
    };

    virtual ~PollableHotplug() = default;
    // Starts watching; false when notices cannot be had (there is then no wait handle). A
    // source that is ready from the start has nothing to do.
    virtual bool start() { return true; }
    // Ready while notices wait; kNoWaitHandle when there is no source.
    virtual WaitHandle waitHandle() const = 0;
    // Every notice waiting now; never blocks.
    virtual std::vector<Notice> take() = 0;
};

}  // namespace lark
