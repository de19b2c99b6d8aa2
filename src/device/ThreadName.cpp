#include "device/ThreadName.h"

#ifdef __linux__
#include <pthread.h>
#elif defined(_WIN32)
#include <windows.h>

#include <string>
#endif

namespace lark {

void nameThisThread([[maybe_unused]] const char* name)
{
#ifdef __linux__
    pthread_setname_np(pthread_self(), name);
#elif defined(_WIN32)
    // Windows 10 names threads; older systems have no such call, and the name is only a help.
    using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto set = kernel ? reinterpret_cast<SetDescription>(
                                  reinterpret_cast<void*>(GetProcAddress(kernel, "SetThreadDescription")))
                            : nullptr;
    if (set)
        set(GetCurrentThread(), std::wstring(name, name + std::char_traits<char>::length(name)).c_str());
#endif
}

}  // namespace lark
