#pragma once

#include <string>
#include <vector>

namespace lark {

// Arrival and removal notices behind a file descriptor that poll() can wait on, for programs
// without an event loop of their own. Production: UdevMonitor.
class PollableHotplug {
public:
    struct Notice {
        bool arrival = false;
        std::string name;  // the interface's device path, as the arrival and removal flows take it
    };

    virtual ~PollableHotplug() = default;
    // Readable while notices wait; -1 when there is no source.
    virtual int fd() const = 0;
    // Every notice waiting now; never blocks.
    virtual std::vector<Notice> take() = 0;
};

}  // namespace lark
