#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "device/HidBackend.h"

namespace lark {

// Input reports from a hidraw node, read with poll() on the node and on a wake-up descriptor,
// because hidapi's own read can only be left by a timeout. hidraw gives every open file its own
// copy of each report, so this reader takes nothing away from hidapi's handle on the same node.
class HidrawReader {
public:
    // Opens the node for reading; nullptr with `error` set when it cannot.
    static std::unique_ptr<HidrawReader> open(const std::string& path, HidError& error);
    // Takes over `fd` (anything poll() and read() work on: a hidraw node, a pipe in tests).
    static std::unique_ptr<HidrawReader> adopt(int fd, HidError& error);

    ~HidrawReader();
    HidrawReader(const HidrawReader&) = delete;
    HidrawReader& operator=(const HidrawReader&) = delete;

    // As HidDevice::read: byte count, 0 after timeoutMs (negative: no limit) or once
    // interrupted, -1 with `error` set. A node that hangs up or goes away is DeviceGone.
    int read(std::uint8_t* data, std::size_t length, int timeoutMs, HidError& error);
    // Any thread: the current and every later read returns 0 at once.
    void interrupt();

private:
    HidrawReader(int fd, int wakeFd) : fd_(fd), wakeFd_(wakeFd) {}

    int fd_;
    int wakeFd_;
};

}  // namespace lark
