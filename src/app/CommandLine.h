#pragma once

#include <optional>

namespace lark {

// What lark-config and lark-config-demo print when asked; the version is the project's.
struct ProgramText {
    const char* name;
    const char* summary;
};

// --help (-h) and --version, answered before Qt starts so that asking needs no display: prints
// the answer and returns the exit status, 1 when standard output cannot be written. Nothing for
// any other command line: the window starts, and the other arguments are Qt's or
// setUpDiagnostics' (--verbose).
std::optional<int> answerBeforeWindow(int argc, char* argv[], const ProgramText& program);

}  // namespace lark
