#pragma once

// The emulated mouse's control channel ($HIDEMU_CTL), for tests that run inside `hidemu run`.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace lark::test {

inline bool underHidemu()
{
    return std::getenv("HIDEMU_CTL") != nullptr;
}

// One command to the emulator: its data lines, or nothing when it answered an error.
inline std::optional<std::string> hidemuControl(const std::string& command)
{
    const char* path = std::getenv("HIDEMU_CTL");
    if (!path)
        return std::nullopt;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return std::nullopt;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path);
    const std::string line = command + "\n";
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        ::close(fd);
        return std::nullopt;
    }
    std::string received;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        received.append(buffer, static_cast<std::size_t>(n));
        if (received == "ok\n" || received.ends_with("\nok\n") || received.starts_with("err ") ||
            received.find("\nerr ") != std::string::npos)
            break;
    }
    ::close(fd);
    if (received == "ok\n")
        return std::string();
    if (received.ends_with("\nok\n"))
        return received.substr(0, received.size() - 3);
    return std::nullopt;
}

}  // namespace lark::test
