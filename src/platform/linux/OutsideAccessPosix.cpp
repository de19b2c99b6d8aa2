#include "device/OutsideAccess.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lark {

std::string runtimeDirectory()
{
    const char* directory = std::getenv("XDG_RUNTIME_DIR");
    return directory ? std::string(directory) : std::string();
}

std::string writeAnnouncementPath(const std::string& directory)
{
    return directory + "/lark-config.written";
}

NodeLock lockDeviceNode(const std::string& devicePath, const std::function<bool()>& giveUp, std::intptr_t& node)
{
    // Read-only is enough for a lock, and whoever may talk to the mouse may read its node.
    const int fd = ::open(devicePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? NodeLock::NoNode : NodeLock::Failed;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || giveUp()) {
            const NodeLock why = errno == EWOULDBLOCK || errno == EINTR ? NodeLock::GaveUp : NodeLock::Failed;
            ::close(fd);
            return why;
        }
    }
    node = fd;
    return NodeLock::Held;
}

void unlockDeviceNode(std::intptr_t node)
{
    ::close(static_cast<int>(node));  // closing releases the lock
}

bool announceOutsideWrite(const std::string& directory)
{
    if (directory.empty())
        return false;
    const std::string path = writeAnnouncementPath(directory);
    // An existing file is written in place, so it keeps its owner and mode; a new one belongs to
    // the directory's owner, so that root's larkctl does not lock the user's window out of it.
    bool created = false;
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        created = fd >= 0;
    }
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    struct stat owner {};
    if (created && ::stat(directory.c_str(), &owner) == 0 && owner.st_uid != ::geteuid())
        (void)!::fchown(fd, owner.st_uid, owner.st_gid);
    // The content changes with every write, so a watcher sees a modification each time.
    const std::string stamp = std::to_string(std::chrono::system_clock::now().time_since_epoch().count()) +
                              " " + std::to_string(::getpid()) + "\n";
    const bool written = ::write(fd, stamp.data(), stamp.size()) == static_cast<ssize_t>(stamp.size());
    return ::close(fd) == 0 && written;
}

const AccessAdvice& accessAdvice()
{
    static const AccessAdvice advice{
        "70-lark-config.rules", "the udev rule is missing", "install the udev rule 70-lark-config.rules",
        " (comes with the package) and plug the mouse in again"};
    return advice;
}

}  // namespace lark
