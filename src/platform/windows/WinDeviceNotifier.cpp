#include "platform/windows/WinDeviceNotifier.h"

#include <future>
#include <utility>

// clang-format off
#include <windows.h>
#include <dbt.h>
extern "C" {
#include <hidsdi.h>
}
// clang-format on

#include "platform/windows/WinHidBackend.h"

namespace lark::win {

namespace {

constexpr const wchar_t* kClassName = L"LarkDeviceNotifier";

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE && (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE)) {
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
        auto* notifier = reinterpret_cast<WinDeviceNotifier*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (notifier && header && header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            const auto* broadcast = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
            notifier->post({wParam == DBT_DEVICEARRIVAL, toUtf8(broadcast->dbcc_name)});
        }
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

WinDeviceNotifier::~WinDeviceNotifier()
{
    stop();
}

bool WinDeviceNotifier::start()
{
    if (thread_.joinable())
        return true;
    if (!event_)
        event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!event_)
        return false;
    std::promise<bool> started;
    std::future<bool> result = started.get_future();
    thread_ = std::thread(&WinDeviceNotifier::run, this, &started);
    if (result.get())
        return true;
    thread_.join();
    return false;
}

void WinDeviceNotifier::stop()
{
    if (thread_.joinable()) {
        PostMessageW(static_cast<HWND>(window_), WM_CLOSE, 0, 0);
        thread_.join();
    }
    if (event_) {
        CloseHandle(event_);
        event_ = nullptr;
    }
}

std::vector<PollableHotplug::Notice> WinDeviceNotifier::take()
{
    std::lock_guard lock(mutex_);
    if (event_)
        ResetEvent(event_);
    return std::exchange(notices_, {});
}

void WinDeviceNotifier::post(Notice notice)
{
    std::lock_guard lock(mutex_);
    notices_.push_back(std::move(notice));
    SetEvent(event_);
}

void WinDeviceNotifier::run(std::promise<bool>* started)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly when a second notifier registers it again
    const HWND window =
        CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!window) {
        started->set_value(false);
        return;
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    const HDEVNOTIFY registration = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (!registration) {
        DestroyWindow(window);
        started->set_value(false);
        return;
    }
    window_ = window;
    started->set_value(true);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_CLOSE && message.hwnd == window)
            break;
        DispatchMessageW(&message);
    }
    UnregisterDeviceNotification(registration);
    DestroyWindow(window);
    window_ = nullptr;
}

}  // namespace lark::win
