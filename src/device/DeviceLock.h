#pragma once

#include <mutex>

namespace lark {

// The device lock: every mouse command holds it for its whole exchange, waits included.
// Recursive, so a command may call another helper that takes it again.
class CMyCriticalSection {
public:
    CMyCriticalSection() = default;
    CMyCriticalSection(const CMyCriticalSection&) = delete;
    CMyCriticalSection& operator=(const CMyCriticalSection&) = delete;
    virtual ~CMyCriticalSection() = default;

    void enter() { mutex_.lock(); }
    void leave() { mutex_.unlock(); }
    bool tryEnter() { return mutex_.try_lock(); }

private:
    std::recursive_mutex mutex_;
};

// Holds the device lock from construction until release() or destruction, whichever
// comes first, so an early exit by exception still leaves the section.
class CCriticalSectionAutoLock {
public:
    explicit CCriticalSectionAutoLock(CMyCriticalSection* section);
    CCriticalSectionAutoLock(const CCriticalSectionAutoLock&) = delete;
    CCriticalSectionAutoLock& operator=(const CCriticalSectionAutoLock&) = delete;
    virtual ~CCriticalSectionAutoLock();

    // Leaves the section now; the destructor then does nothing.
    void release();

private:
    CMyCriticalSection* section_;
};

}  // namespace lark
