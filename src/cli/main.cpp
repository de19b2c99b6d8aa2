#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

#include "cli/Commands.h"
#include "device/HidapiBackend.h"
#include "device/OutsideAccess.h"
#include "device/RealSleeper.h"
#include "device/UdevMonitor.h"

namespace {

int stopPipe[2] = {-1, -1};

extern "C" void requestStop(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    lark::HidapiBackend backend;
    lark::RealSleeper sleeper;
    lark::UdevMonitor monitor;
    if (::pipe2(stopPipe, O_CLOEXEC) == 0) {
        struct sigaction action {};
        action.sa_handler = requestStop;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
    }
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const bool watching = std::find(arguments.begin(), arguments.end(), "watch") != arguments.end();
    if (watching)
        monitor.start();  // without udev, watch still reports the mouse's own events
    lark::cli::Environment environment{
        backend, sleeper, std::cin, std::cout, std::cerr, lark::runtimeDirectory(), &monitor, stopPipe[0]};
    const int code = lark::cli::runLarkctl(arguments, environment);
    std::cout.flush();
    return code;
}
