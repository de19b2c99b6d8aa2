#pragma once

#include <string>

namespace lark {

// How the window and larkctl share one mouse. Both hold the exchange lock around each of their
// operations, so their frames never interleave; after a write the mouse accepted, larkctl
// announces it, and the window reads the mouse again instead of showing what it no longer holds.
// Both files live in the user's runtime directory.

// $XDG_RUNTIME_DIR, or empty when it is not set (then there is nothing to share).
std::string runtimeDirectory();

std::string exchangeLockPath(const std::string& directory);
std::string writeAnnouncementPath(const std::string& directory);

// A per-user advisory lock (flock) held from construction to destruction; waits while another
// program holds it. An empty directory or a lock file that cannot be made gives no lock: the
// mouse is still usable, only without the guard.
class ExchangeLock {
public:
    explicit ExchangeLock(const std::string& directory);
    ~ExchangeLock();
    ExchangeLock(const ExchangeLock&) = delete;
    ExchangeLock& operator=(const ExchangeLock&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Tells whoever watches the announcement file that the mouse's settings changed from outside.
// False when the file cannot be written.
bool announceOutsideWrite(const std::string& directory);

}  // namespace lark
