#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/PollableHotplug.h"

namespace lark::cli {

// Sleeps until at least one of the handles is ready (poll() on POSIX, WaitForMultipleObjects
// on Windows) and marks which are in `ready`. kNoWaitHandle entries are never ready. False,
// with the reason in `error`, when the wait itself failed.
bool waitForAny(const std::vector<WaitHandle>& handles, std::vector<bool>& ready, std::string& error);

// A wait handle that any thread raises and the waiting loop clears: a non-blocking pipe on
// POSIX, a manual-reset event on Windows.
class Wakeup {
public:
    Wakeup();
    ~Wakeup();
    Wakeup(const Wakeup&) = delete;
    Wakeup& operator=(const Wakeup&) = delete;

    WaitHandle handle() const;
    void raise();
    void clear();

private:
    struct Native;  // each platform's own
    std::unique_ptr<Native> native_;
};

// Installs the handlers for an interrupt (Ctrl+C, SIGTERM or the console closing) and returns a
// handle that turns ready when one arrives; the program then ends its loop instead of dying
// half way through an exchange with the mouse.
WaitHandle watchForStopRequest();

}  // namespace lark::cli
