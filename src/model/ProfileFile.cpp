#include "model/ProfileFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace lark {

std::variant<Profile, std::string> readProfileStream(std::istream& stream, const std::string& source)
{
    std::string text;
    std::string error;
    if (!readProfileText(stream, source, text, error))
        return error;
    return readProfile(text, source);
}

std::variant<Profile, std::string> readProfileFile(const std::string& path)
{
    using Result = std::variant<Profile, std::string>;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return Result(std::in_place_index<1>, path + " is a directory; give a profile file");
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        return Result(std::in_place_index<1>, "cannot read " + path + ": " + std::strerror(errno));
    return readProfileStream(stream, path);
}

std::string writeProfileFile(const std::string& path, const std::string& text)
{
    // Appended rather than concatenated: GCC 12 at -O3 reads a false overlap into the latter.
    std::string partial = path;
    partial += ".partial";
    {
        std::ofstream stream(partial, std::ios::binary | std::ios::trunc);
        stream << text;
        stream.flush();
        if (!stream) {
            const std::string reason = std::strerror(errno);
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return "cannot write " + path + ": " + reason;
        }
    }
    std::error_code ec;
    std::filesystem::rename(partial, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        return "cannot write " + path + ": " + ec.message();
    }
    return {};
}

}  // namespace lark
