#include <algorithm>
#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "cli/PlatformOutput.h"
#include "cli/StandardOutput.h"
#include "cli/WatchWait.h"
#include "device/OutsideAccess.h"
#include "device/PlatformBackend.h"
#include "device/RealSleeper.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    lark::cli::reportLostReaders();
    const std::unique_ptr<lark::HidBackend> backend = lark::makePlatformBackend();
    lark::RealSleeper sleeper;
    const std::unique_ptr<lark::PollableHotplug> monitor = lark::makePlatformHotplug();
    const lark::WaitHandle stop = lark::cli::watchForStopRequest();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const bool watching = std::find(arguments.begin(), arguments.end(), "watch") != arguments.end();
    if (watching)
        monitor->start();  // without it, watch still reports the mouse's own events
    lark::cli::StandardOutput standardOutput;
    std::ostream out(&standardOutput);
    lark::cli::Environment environment{*backend, sleeper, std::cin, out, std::cerr, lark::runtimeDirectory(),
                                       monitor.get(), stop};
    // Flushes what it printed and tells when that failed.
    return lark::cli::runLarkctl(arguments, environment);
}
