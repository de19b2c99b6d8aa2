#include "device/OutsideAccess.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <string>
#include <sys/stat.h>
#include <windows.h>

namespace lark {

std::string runtimeDirectory()
{
    const char* directory = std::getenv("LOCALAPPDATA");
    return directory ? std::string(directory) : std::string();
}

std::string writeAnnouncementPath(const std::string& directory)
{
    return directory + "\\lark-config.written";
}

namespace {

// A mutex name from a device path: the path's characters, backslashes replaced (a name may hold
// none after its namespace).
std::wstring mutexName(const wchar_t* space, const std::string& devicePath)
{
    std::wstring name = space;
    name += L"lark-config-exchange-";
    for (const char c : devicePath)
        name += c == '\\' ? L'_' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return name;
}

}  // namespace

NodeLock lockDeviceNode(const std::string& devicePath, const std::function<bool()>& giveUp, std::intptr_t& node)
{
    // Every logon session's programs, where the system lets us; this session's otherwise.
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, mutexName(L"Global\\", devicePath).c_str());
    if (!mutex)
        mutex = ::CreateMutexW(nullptr, FALSE, mutexName(L"Local\\", devicePath).c_str());
    if (!mutex)
        return NodeLock::Failed;
    for (;;) {
        const DWORD result = ::WaitForSingleObject(mutex, 0);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED)
            break;
        if (result != WAIT_TIMEOUT || giveUp()) {
            ::CloseHandle(mutex);
            return result == WAIT_TIMEOUT ? NodeLock::GaveUp : NodeLock::Failed;
        }
    }
    node = reinterpret_cast<std::intptr_t>(mutex);
    return NodeLock::Held;
}

void unlockDeviceNode(std::intptr_t node)
{
    const auto mutex = reinterpret_cast<HANDLE>(node);
    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
}

bool announceOutsideWrite(const std::string& directory)
{
    if (directory.empty())
        return false;
    int fd = -1;
    if (::_sopen_s(&fd, writeAnnouncementPath(directory).c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY,
                   _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0)
        return false;
    // The content changes with every write, so a watcher sees a modification each time.
    const std::string stamp = std::to_string(std::chrono::system_clock::now().time_since_epoch().count()) +
                              " " + std::to_string(::GetCurrentProcessId()) + "\n";
    const bool written =
        ::_write(fd, stamp.data(), static_cast<unsigned>(stamp.size())) == static_cast<int>(stamp.size());
    return ::_close(fd) == 0 && written;
}

const AccessAdvice& accessAdvice()
{
    static const AccessAdvice advice{nullptr, "another program holds the mouse's configuration interface",
                                     "another program holds it", "; close that program and try again"};
    return advice;
}

}  // namespace lark
