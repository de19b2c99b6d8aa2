#pragma once

#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lark::win {

// Arrivals and removals of HID device interfaces, for programs without a window of their own:
// a message-only window on its own thread, registered with RegisterDeviceNotificationW for
// the HID interface class. Notices queue up; waitHandle() is signalled while any wait.
class WinDeviceNotifier {
public:
    struct Notice {
        bool arrival = false;
        std::string name;  // the interface's device path, UTF-8
    };

    WinDeviceNotifier() = default;
    ~WinDeviceNotifier();
    WinDeviceNotifier(const WinDeviceNotifier&) = delete;
    WinDeviceNotifier& operator=(const WinDeviceNotifier&) = delete;

    // False when the window or the registration cannot be made.
    bool start();
    void stop();

    // A manual-reset event (a Win32 HANDLE) for WaitForMultipleObjects; nullptr before start().
    void* waitHandle() const { return event_; }
    // Every notice waiting now; never blocks.
    std::vector<Notice> take();

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
