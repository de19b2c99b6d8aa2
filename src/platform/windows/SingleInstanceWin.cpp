#include "app/SingleInstance.h"

#include <string>

#include <windows.h>

namespace lark {

struct SingleInstance::Native {
    std::wstring name;
    HANDLE mutex = nullptr;
};

SingleInstance::SingleInstance(const char* name) : native_(std::make_unique<Native>())
{
    // Without a namespace prefix the name lives in the logon session's namespace: one copy per
    // session, as on Linux one per user session.
    const int length = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
    if (length > 1) {
        native_->name.resize(static_cast<std::size_t>(length));
        MultiByteToWideChar(CP_UTF8, 0, name, -1, native_->name.data(), length);
        native_->name.resize(static_cast<std::size_t>(length - 1));
    }
}

SingleInstance::~SingleInstance()
{
    // Closing the last handle removes the name, so the next start is a first copy again.
    if (native_->mutex)
        CloseHandle(native_->mutex);
}

bool SingleInstance::acquire()
{
    // Not owned: only the name's existence counts, and it ends with the process however it ends.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, native_->name.c_str());
    if (!mutex)
        return true;  // no guard to be had: run unguarded
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    native_->mutex = mutex;
    return true;
}

}  // namespace lark
