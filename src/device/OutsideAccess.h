#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace lark {

// How the window and larkctl share one mouse, whoever runs them (any user, root included).
//
// The exchange lock belongs to the mouse: on Linux an advisory lock (flock) on the mouse's device
// node, which every program that can talk to the mouse can open; on Windows a named mutex made from
// the device path. Within one process there is a lock per path as well, which is all there is for
// a virtual mouse (it has no node). No file of the tool's own is involved, so none can be missing,
// planted or owned by someone else.
//
// After a write the mouse accepted, larkctl announces it in the user's runtime directory, and the
// window reads the mouse again instead of showing what it no longer holds. Nothing depends on the
// announcement for correctness: every write reads the mouse first.

// $XDG_RUNTIME_DIR (%LOCALAPPDATA% on Windows), or empty when it is not set.
std::string runtimeDirectory();

std::string writeAnnouncementPath(const std::string& directory);

// Holds the mouse's exchange lock from construction to destruction. While another program holds
// it, waits, asking `giveUp` every few milliseconds whether to stop waiting (Ctrl+C, the window
// closing): then held() is false and nothing may be sent.
class ExchangeLock {
public:
    ExchangeLock(const std::string& devicePath, const std::function<bool()>& giveUp);
    ~ExchangeLock();
    ExchangeLock(const ExchangeLock&) = delete;
    ExchangeLock& operator=(const ExchangeLock&) = delete;

    bool held() const { return held_; }

private:
    void release();

    std::string path_;
    bool held_ = false;
    bool inProcess_ = false;
    std::intptr_t node_ = -1;  // the node's descriptor (POSIX) or the mutex handle (Windows)
};

// How taking a device node's lock went (the platform half of ExchangeLock).
enum class NodeLock { Held, NoNode, GaveUp, Failed };
NodeLock lockDeviceNode(const std::string& devicePath, const std::function<bool()>& giveUp, std::intptr_t& node);
void unlockDeviceNode(std::intptr_t node);

// Tells whoever watches the announcement file that the mouse's settings changed from outside.
// The file is never followed through a link and keeps its owner. False when it cannot be written.
bool announceOutsideWrite(const std::string& directory);

// Why the mouse could not be opened and what fixes it, in the platform's words. On Linux the
// udev rule gives the user access; on Windows every user may open it, so another program holds it.
struct AccessAdvice {
    const char* udevRule;   // the rule file to install; nullptr where there is none
    const char* whyDenied;  // the cause, for the list of exit codes
    const char* fix;        // the short fix, for list's table
    const char* fixThen;    // what an error adds after the fix
};
const AccessAdvice& accessAdvice();

}  // namespace lark
