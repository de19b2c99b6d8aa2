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
    // Local\: one copy per logon session, as on Linux one per user session.
    native_->name = L"Local\\";
    const int length = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
    if (length > 1) {
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, name, -1, wide.data(), length);
        wide.resize(static_cast<std::size_t>(length - 1));
        native_->name += wide;
    }
}

SingleInstance::~SingleInstance()
{
    if (native_->mutex) {
        ReleaseMutex(native_->mutex);
        CloseHandle(native_->mutex);
    }
}

bool SingleInstance::acquire()
{
    HANDLE mutex = CreateMutexW(nullptr, TRUE, native_->name.c_str());
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
