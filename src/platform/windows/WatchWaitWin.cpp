#include "cli/WatchWait.h"

#include <windows.h>

namespace lark::cli {

namespace {

HANDLE toHandle(WaitHandle handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

bool waitForAny(const std::vector<WaitHandle>& handles, std::vector<bool>& ready, std::string& error)
{
    std::vector<HANDLE> objects;
    for (WaitHandle handle : handles)
        if (handle != kNoWaitHandle)
            objects.push_back(toHandle(handle));
    if (objects.empty() || objects.size() > MAXIMUM_WAIT_OBJECTS) {
        error = "nothing to wait for";
        return false;
    }
    const DWORD result =
        WaitForMultipleObjects(static_cast<DWORD>(objects.size()), objects.data(), FALSE, INFINITE);
    if (result >= WAIT_OBJECT_0 + objects.size()) {
        error = "WaitForMultipleObjects failed with error " + std::to_string(GetLastError());
        return false;
    }
    // The one that woke us, and any other that is signalled now.
    ready.assign(handles.size(), false);
    for (std::size_t i = 0; i < handles.size(); ++i)
        ready[i] = handles[i] != kNoWaitHandle && WaitForSingleObject(toHandle(handles[i]), 0) == WAIT_OBJECT_0;
    return true;
}

struct Wakeup::Native {
    HANDLE event = nullptr;
};

Wakeup::Wakeup() : native_(std::make_unique<Native>())
{
    native_->event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

Wakeup::~Wakeup()
{
    if (native_->event)
        CloseHandle(native_->event);
}

WaitHandle Wakeup::handle() const
{
    return native_->event ? reinterpret_cast<WaitHandle>(native_->event) : kNoWaitHandle;
}

void Wakeup::raise()
{
    SetEvent(native_->event);
}

void Wakeup::clear()
{
    ResetEvent(native_->event);
}

namespace {

Wakeup* stopRequest = nullptr;

// Runs on a thread of its own that the console starts.
BOOL WINAPI requestStop(DWORD type)
{
    switch (type) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
        stopRequest->raise();
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

WaitHandle watchForStopRequest()
{
    if (!stopRequest) {
        static Wakeup wakeup;
        if (wakeup.handle() == kNoWaitHandle)
            return kNoWaitHandle;
        stopRequest = &wakeup;
        SetConsoleCtrlHandler(requestStop, TRUE);
    }
    return stopRequest->handle();
}

}  // namespace lark::cli
