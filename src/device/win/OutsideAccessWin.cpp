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

std::string exchangeLockPath(const std::string& directory)
{
    return directory + "\\lark-config.lock";
}

std::string writeAnnouncementPath(const std::string& directory)
{
    return directory + "\\lark-config.written";
}

ExchangeLock::ExchangeLock(const std::string& directory)
{
    if (directory.empty())
        return;
    if (::_sopen_s(&fd_, exchangeLockPath(directory).c_str(), _O_RDWR | _O_CREAT | _O_NOINHERIT, _SH_DENYNO,
                   _S_IREAD | _S_IWRITE) != 0) {
        fd_ = -1;
        return;
    }
    OVERLAPPED whole{};
    if (!::LockFileEx(reinterpret_cast<HANDLE>(::_get_osfhandle(fd_)), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0,
                      &whole)) {
        ::_close(fd_);
        fd_ = -1;
    }
}

ExchangeLock::~ExchangeLock()
{
    if (fd_ >= 0)
        ::_close(fd_);  // closing releases the lock
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

}  // namespace lark
