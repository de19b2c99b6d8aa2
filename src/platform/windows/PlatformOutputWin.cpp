#include <io.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "cli/PlatformOutput.h"

namespace lark::cli {

namespace fs = std::filesystem;

// Windows has no FIFOs or descriptor paths to write through: a file is written beside the
// target and renamed over it.
bool writeNamedFile(const std::string& name, std::string_view text, std::ostream&, std::string& error)
{
    const std::string partial = name + ".partial";
    {
        std::ofstream stream(partial, std::ios::binary | std::ios::trunc);
        errno = 0;
        stream.write(text.data(), static_cast<std::streamsize>(text.size()));
        stream.flush();
        if (!stream) {
            error = errno ? std::strerror(errno) : "the write failed";
            std::error_code ignored;
            fs::remove(partial, ignored);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(partial, name, ec);
    if (ec) {
        error = ec.message();
        fs::remove(partial, ec);
        return false;
    }
    return true;
}

long writeStandardOutputDescriptor(const char* data, std::size_t size)
{
    return ::_write(1, data, static_cast<unsigned>(size));
}

// Windows raises no signal for a reader that went away: the write fails.
void reportLostReaders() {}

}  // namespace lark::cli
