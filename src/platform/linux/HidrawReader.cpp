#include "platform/linux/HidrawReader.h"

#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "device/HidErrorText.h"

namespace lark {

std::unique_ptr<HidrawReader> HidrawReader::open(const std::string& path, HidError& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = classifyErrno(errno, HidOperation::Open);
        return nullptr;
    }
    return adopt(fd, error);
}

std::unique_ptr<HidrawReader> HidrawReader::adopt(int fd, HidError& error)
{
    // Non-blocking, so a report that poll() announced but someone else took cannot hang the read.
    const int flags = ::fcntl(fd, F_GETFL);
    const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0 || wakeFd < 0) {
        error = classifyErrno(errno, HidOperation::Open);
        ::close(fd);
        if (wakeFd >= 0)
            ::close(wakeFd);
        return nullptr;
    }
    error = HidError::None;
    return std::unique_ptr<HidrawReader>(new HidrawReader(fd, wakeFd));
}

HidrawReader::~HidrawReader()
{
    ::close(fd_);
    ::close(wakeFd_);
}

void HidrawReader::interrupt()
{
    // Never read back: the descriptor stays readable, which is what makes the interrupt stick.
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
}

int HidrawReader::read(std::uint8_t* data, std::size_t length, int timeoutMs, HidError& error)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            wait = left > 0 ? static_cast<int>(left) : 0;
        }
        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {fd_, POLLIN, 0}};
        const int ready = ::poll(fds, 2, wait);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            error = classifyErrno(errno, HidOperation::Read);
            return -1;
        }
        if (ready == 0 || (fds[0].revents & POLLIN) != 0) {
            error = HidError::None;
            return 0;  // timed out, or interrupted
        }
        if ((fds[1].revents & POLLIN) != 0) {
            // Reports still queued are delivered even after the node went away.
            const ssize_t n = ::read(fd_, data, length);
            if (n > 0) {
                error = HidError::None;
                return static_cast<int>(n);
            }
            if (n == 0) {
                error = HidError::DeviceGone;  // end of file: the node went away
                return -1;
            }
            if (errno == EAGAIN || errno == EINTR)
                continue;
            error = classifyErrno(errno, HidOperation::Read);
            return -1;
        }
        if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            error = HidError::DeviceGone;
            return -1;
        }
    }
}

}  // namespace lark
