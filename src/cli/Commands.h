#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "device/PollableHotplug.h"

namespace lark {
class HidBackend;
class Sleeper;
}  // namespace lark

namespace lark::cli {

// Exit codes, as --help and the man page give them.
enum ExitCode : int {
    ExitDone = 0,
    ExitUsage = 1,
    ExitNoMouse = 2,
    ExitPermission = 3,
    ExitMouseRefused = 4,
    ExitBadValue = 5,
    ExitOutput = 6,  // the output was not written whole: a full disk, a closed pipe, ...
    ExitCancelled = 130,  // Ctrl+C or SIGTERM before anything was written, as a shell reports SIGINT
};

// Everything a command touches, so tests run larkctl in-process against the virtual mouse.
struct Environment {
    HidBackend& backend;
    Sleeper& sleeper;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // Where the exchange lock and the write announcement live; empty for neither.
    std::string runtimeDirectory;
    // For watch: hot-plug notices, and a handle that turns ready when watch should end (what
    // the interrupt handler raises in the program). Without a feed, watch sees no plugging.
    PollableHotplug* hotplug = nullptr;
    WaitHandle stop = kNoWaitHandle;
};

// larkctl with its arguments (without the program name): parses them and runs the command.
int runLarkctl(const std::vector<std::string>& arguments, Environment& environment);

}  // namespace lark::cli
