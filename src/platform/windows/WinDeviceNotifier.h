#pragma once

#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/PollableHotplug.h"

namespace lark::win {

// Arrivals and removals of HID device interfaces, for programs without a window of their own:
// a message-only window on its own thread, registered with RegisterDeviceNotificationW for
// the HID interface class. Notices (device paths in UTF-8) queue up; waitHandle(), a
// manual-reset event, is signalled while any wait.
class WinDeviceNotifier : public PollableHotplug {
public:
    WinDeviceNotifier() = default;
    ~WinDeviceNotifier() override;
    WinDeviceNotifier(const WinDeviceNotifier&) = delete;
    WinDeviceNotifier& operator=(const WinDeviceNotifier&) = delete;

    // False when the window or the registration cannot be made.
    bool start() override;
    void stop();

    // The event's HANDLE; kNoWaitHandle before start().
    WaitHandle waitHandle() const override
    {
        return event_ ? reinterpret_cast<WaitHandle>(event_) : kNoWaitHandle;
    }
    std::vector<Notice> take() override;

    // For the window procedure.
    void post(Notice notice);

private:
    void run(std::promise<bool>* started);

    std::thread thread_;
    void* event_ = nullptr;
    void* window_ = nullptr;
    std::mutex mutex_;
    std::vector<Notice> notices_;
};

}  // namespace lark::win
