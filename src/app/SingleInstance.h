#pragma once

#include <memory>

namespace lark {

// One copy of the window per user session: a lock file in the runtime folder on Linux, a named
// mutex in the logon session's namespace on Windows. Held from acquire() until destruction.
class SingleInstance {
public:
    explicit SingleInstance(const char* name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another copy holds the guard. True when this copy holds it, and also when no
    // guard can be made at all: the window then runs unguarded rather than not at all.
    bool acquire();

private:
    struct Native;  // each platform's own
    std::unique_ptr<Native> native_;
};

}  // namespace lark
