#include "app/CommandLine.h"

#include <cstdio>
#include <cstring>

namespace lark {

std::optional<int> answerBeforeWindow(int argc, char* argv[], const ProgramText& program)
{
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        help = help || std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0;
        version = version || std::strcmp(argv[i], "--version") == 0;
    }
    if (help)
        std::printf("%s: %s\n"
                    "Usage: %s [OPTIONS] [Qt options, such as -platform NAME]\n"
                    "\n"
                    "Options:\n"
                    "  -h,--help                   Print this help message and exit\n"
                    "  --version                   Print the version and exit\n"
                    "  --verbose                   Log each frame, retry and plug event to "
                    "standard error\n",
                    program.name, program.summary, program.name);
    else if (version)
        std::printf("%s %s\n", program.name, LARK_VERSION);
    else
        return std::nullopt;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    std::fprintf(stderr, "%s: cannot write to standard output\n", program.name);
    return 1;
}

}  // namespace lark
