#include "device/OutsideAccess.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace lark {

std::string runtimeDirectory()
{
    const char* directory = std::getenv("XDG_RUNTIME_DIR");
    return directory ? std::string(directory) : std::string();
}

std::string exchangeLockPath(const std::string& directory)
{
    return directory + "/lark-config.lock";
}

std::string writeAnnouncementPath(const std::string& directory)
{
    return directory + "/lark-config.written";
}

ExchangeLock::ExchangeLock(const std::string& directory)
{
    if (directory.empty())
        return;
    fd_ = ::open(exchangeLockPath(directory).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return;
    int result;
    do
        result = ::flock(fd_, LOCK_EX);
    while (result < 0 && errno == EINTR);
    if (result < 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

ExchangeLock::~ExchangeLock()
{
    if (fd_ >= 0)
        ::close(fd_);  // closing releases the lock
}

bool announceOutsideWrite(const std::string& directory)
{
    if (directory.empty())
        return false;
    const int fd =
        ::open(writeAnnouncementPath(directory).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    // The content changes with every write, so a watcher sees a modification each time.
    const std::string stamp = std::to_string(std::chrono::system_clock::now().time_since_epoch().count()) +
                              " " + std::to_string(::getpid()) + "\n";
    const bool written = ::write(fd, stamp.data(), stamp.size()) == static_cast<ssize_t>(stamp.size());
    return ::close(fd) == 0 && written;
}

}  // namespace lark
