#include "cli/WatchWait.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace lark::cli {

bool waitForAny(const std::vector<WaitHandle>& handles, std::vector<bool>& ready, std::string& error)
{
    std::vector<pollfd> fds;
    fds.reserve(handles.size());
    for (WaitHandle handle : handles)
        fds.push_back(pollfd{static_cast<int>(handle), POLLIN, 0});  // poll skips negative fds
    while (::poll(fds.data(), fds.size(), -1) < 0) {
        if (errno != EINTR) {
            error = std::strerror(errno);
            return false;
        }
    }
    ready.assign(handles.size(), false);
    for (std::size_t i = 0; i < fds.size(); ++i)
        ready[i] = fds[i].revents != 0;
    return true;
}

struct Wakeup::Native {
    int fds[2] = {-1, -1};
};

Wakeup::Wakeup() : native_(std::make_unique<Native>())
{
    if (::pipe2(native_->fds, O_CLOEXEC | O_NONBLOCK) < 0)
        native_->fds[0] = native_->fds[1] = -1;
}

Wakeup::~Wakeup()
{
    for (int fd : native_->fds)
        if (fd >= 0)
            ::close(fd);
}

WaitHandle Wakeup::handle() const
{
    return native_->fds[0] >= 0 ? native_->fds[0] : kNoWaitHandle;
}

void Wakeup::raise()
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(native_->fds[1], &byte, 1);  // a full pipe is raised already
}

void Wakeup::clear()
{
    char bytes[64];
    while (::read(native_->fds[0], bytes, sizeof bytes) > 0) {
    }
}

namespace {

Wakeup* stopRequest = nullptr;

extern "C" void requestStop(int)
{
    stopRequest->raise();  // one write(): safe in a signal handler
}

}  // namespace

WaitHandle watchForStopRequest()
{
    if (!stopRequest) {
        static Wakeup wakeup;
        if (wakeup.handle() == kNoWaitHandle)
            return kNoWaitHandle;
        stopRequest = &wakeup;
        struct sigaction action {};
        action.sa_handler = requestStop;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
    }
    return stopRequest->handle();
}

}  // namespace lark::cli
