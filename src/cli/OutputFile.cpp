#include "cli/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include "cli/PlatformOutput.h"

namespace lark::cli {

bool writeThrough(const std::string& name, std::string_view text, std::ostream& standardOutput,
                  std::string& error)
{
    if (name.empty() || name == "-") {
        errno = 0;
        standardOutput.write(text.data(), static_cast<std::streamsize>(text.size()));
        standardOutput.flush();
        if (standardOutput)
            return true;
        error = std::string("cannot write to standard output: ") +
                (errno ? std::strerror(errno) : "the write failed");
        return false;
    }
    std::string reason;
    const bool written = writeNamedFile(name, text, standardOutput, reason);
    if (!written)
        error = "cannot write " + name + ": " + reason;
    return written;
}

}  // namespace lark::cli
