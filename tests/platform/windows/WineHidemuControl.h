#pragma once

// The emulated mouse's control channel from a Windows program under Wine inside `hidemu run`.
// Wine starts Unix programs but does not wait for them, so the command's answer is written
// to a file that appears, whole, when the command is done.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace lark::test {

inline bool underWineHidemu()
{
    return std::getenv("HIDEMU_CTL") && std::getenv("HIDEMU_BIN");
}

// One command to the emulator: its data lines, or nothing when it answered an error.
inline std::optional<std::string> hidemuControl(const std::string& command)
{
    const char* hidemu = std::getenv("HIDEMU_BIN");
    if (!hidemu || !std::getenv("HIDEMU_CTL"))
        return std::nullopt;
    static std::atomic<unsigned> sequence{0};
    const std::string answer =
        "/tmp/lark-wine-ctl-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(sequence++);
    const std::string script = "{ '" + std::string(hidemu) + "' ctl " + command + "; echo rc=$?; } > " +
                               answer + ".part 2>&1; mv " + answer + ".part " + answer;
    std::string commandLine = "/bin/sh -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return std::nullopt;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string windowsPath = "Z:" + answer;
    for (int polls = 0; polls < 3000; ++polls) {  // a 30 s bound for a command that never ends
        std::ifstream file(windowsPath);
        if (file) {
            std::stringstream text;
            text << file.rdbuf();
            file.close();
            DeleteFileA(windowsPath.c_str());
            std::string all = text.str();
            const auto rc = all.rfind("rc=");
            if (rc == std::string::npos || all.compare(rc, 4, "rc=0") != 0)
                return std::nullopt;
            all.erase(rc);
            return all;
        }
        Sleep(10);
    }
    return std::nullopt;
}

}  // namespace lark::test
