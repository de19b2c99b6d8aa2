#include <mutex>
#include <set>

#include "device/OutsideAccess.h"

namespace lark {

namespace {

// The paths this process holds: two sessions of one process (the tests, the demo) wait for
// each other like two programs do.
struct HeldPaths {
    std::mutex mutex;
    std::set<std::string> paths;
};

HeldPaths& heldPaths()
{
    static HeldPaths held;
    return held;
}

bool lockInProcess(const std::string& path, const std::function<bool()>& giveUp)
{
    HeldPaths& held = heldPaths();
    std::unique_lock lock(held.mutex);
    while (held.paths.count(path)) {
        lock.unlock();
        if (giveUp())
            return false;
        lock.lock();
    }
    held.paths.insert(path);
    return true;
}

void unlockInProcess(const std::string& path)
{
    HeldPaths& held = heldPaths();
    std::lock_guard lock(held.mutex);
    held.paths.erase(path);
}

}  // namespace

ExchangeLock::ExchangeLock(const std::string& devicePath, const std::function<bool()>& giveUp)
    : path_(devicePath)
{
    inProcess_ = lockInProcess(path_, giveUp);
    if (!inProcess_)
        return;
    switch (lockDeviceNode(path_, giveUp, node_)) {
    case NodeLock::Held:
    case NodeLock::NoNode:  // a virtual mouse: this process is the only one that reaches it
        held_ = true;
        return;
    case NodeLock::GaveUp:
    case NodeLock::Failed:
        release();
        return;
    }
}

ExchangeLock::~ExchangeLock()
{
    release();
}

void ExchangeLock::release()
{
    if (node_ != -1)
        unlockDeviceNode(node_);
    node_ = -1;
    if (inProcess_)
        unlockInProcess(path_);
    inProcess_ = false;
    held_ = false;
}

}  // namespace lark
