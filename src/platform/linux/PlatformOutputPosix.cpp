#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <optional>
#include <ostream>
#include <random>

#include "cli/PlatformOutput.h"

namespace lark::cli {

namespace {

namespace fs = std::filesystem;

std::string reasonOf(int error)
{
    return error ? std::strerror(error) : "the write failed";
}

bool writeToStream(std::ostream& stream, std::string_view text)
{
    errno = 0;
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    stream.flush();
    return static_cast<bool>(stream);
}

bool writeAll(int fd, std::string_view text, int& error)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Opens `path` for writing without creating it and writes the text there.
bool writeInPlace(const std::string& path, std::string_view text, int flags, int& error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | flags);
    if (fd < 0) {
        error = errno;
        return false;
    }
    const bool written = writeAll(fd, text, error);
    if (::close(fd) != 0 && written) {
        error = errno;
        return false;
    }
    return written;
}

// Where a name leads. Symbolic links are followed to what they point at, except those under
// /proc: they name open files (a pipe, a terminal, stdout), not paths, so the walk stops there
// and `special` is set.
struct Target {
    fs::path path;
    bool special = false;
};

std::optional<Target> resolve(const std::string& name, int& error)
{
    fs::path path = name;
    for (int hops = 0; hops < 40; ++hops) {
        fs::path parent = path.parent_path();
        if (parent.empty())
            parent = ".";
        std::error_code ec;
        const fs::path folder = fs::canonical(parent, ec);
        if (ec) {
            error = ec.value();
            return std::nullopt;
        }
        const fs::path full = folder / path.filename();
        if (*folder.begin() == "/" && std::next(folder.begin()) != folder.end() &&
            *std::next(folder.begin()) == "proc")
            return Target{full, true};
        if (!fs::is_symlink(fs::symlink_status(full, ec)))
            return Target{full, false};
        const fs::path link = fs::read_symlink(full, ec);
        if (ec) {
            error = ec.value();
            return std::nullopt;
        }
        path = link.is_absolute() ? link : folder / link;
    }
    error = ELOOP;
    return std::nullopt;
}

// The descriptor a /proc/<this process>/fd/N path names, if it is one.
std::optional<int> ownDescriptor(const fs::path& path)
{
    const fs::path ours = fs::path("/proc") / std::to_string(::getpid()) / "fd";
    if (path.parent_path() != ours)
        return std::nullopt;
    const std::string number = path.filename().string();
    if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(number);
}

// A new file beside `target` under a name nobody uses, created with `mode` less the umask.
int createBeside(const fs::path& target, mode_t mode, std::string& created, int& error)
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Appended rather than concatenated: GCC 12 at -O3 reads a false overlap into the latter.
        std::string hidden = ".";
        hidden.append(target.filename().string())
            .append(".larkctl-")
            .append(std::to_string(random() % 1000000000));
        const std::string candidate = (target.parent_path() / hidden).string();
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
        if (fd >= 0) {
            created = candidate;
            return fd;
        }
        if (errno != EEXIST) {
            error = errno;
            return -1;
        }
    }
    error = EEXIST;
    return -1;
}

enum class Replaced { Done, Failed, NotPossible };

// Writes a temporary file beside `target` and renames it over it. NotPossible, with nothing
// left behind, when the folder takes no new file or the old owner cannot be given.
Replaced replaceWhole(const fs::path& target, const struct stat* old, std::string_view text, int& error)
{
    std::string temporary;
    const int fd = createBeside(target, old ? (old->st_mode & 07777) : 0666, temporary, error);
    if (fd < 0)
        return old && (error == EACCES || error == EPERM || error == EROFS) ? Replaced::NotPossible
                                                                            : Replaced::Failed;
    auto discard = [&](Replaced outcome) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return outcome;
    };
    if (old) {
        struct stat made {};
        if (::fstat(fd, &made) != 0) {
            error = errno;
            return discard(Replaced::Failed);
        }
        if ((made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
            ::fchown(fd, old->st_uid, old->st_gid) != 0)
            return discard(Replaced::NotPossible);
        // After the owner: a change of owner may clear the set-id bits.
        if (::fchmod(fd, old->st_mode & 07777) != 0) {
            error = errno;
            return discard(Replaced::Failed);
        }
    }
    if (!writeAll(fd, text, error))
        return discard(Replaced::Failed);
    if (::fsync(fd) != 0 && errno != EINVAL) {
        error = errno;
        return discard(Replaced::Failed);
    }
    if (::close(fd) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        return Replaced::Failed;
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        return Replaced::Failed;
    }
    return Replaced::Done;
}

}  // namespace

bool writeNamedFile(const std::string& name, std::string_view text, std::ostream& standardOutput,
                    std::string& error)
{
    int code = 0;
    auto failed = [&] {
        error = reasonOf(code);
        return false;
    };
    const std::optional<Target> target = resolve(name, code);
    if (!target)
        return failed();
    if (target->special) {
        if (const std::optional<int> fd = ownDescriptor(target->path)) {
            if (*fd == STDOUT_FILENO) {
                if (writeToStream(standardOutput, text))
                    return true;
                code = errno;
                return failed();
            }
            return writeAll(*fd, text, code) || failed();
        }
        return writeInPlace(target->path.string(), text, 0, code) || failed();
    }

    struct stat old {};
    if (::stat(target->path.c_str(), &old) != 0) {
        if (errno != ENOENT) {
            code = errno;
            return failed();
        }
        return replaceWhole(target->path, nullptr, text, code) == Replaced::Done || failed();
    }
    if (S_ISDIR(old.st_mode)) {
        code = EISDIR;
        return failed();
    }
    if (!S_ISREG(old.st_mode))
        return writeInPlace(target->path.string(), text, 0, code) || failed();
    // Replacing is no licence to write what this user may not write.
    if (::access(target->path.c_str(), W_OK) != 0) {
        code = errno;
        return failed();
    }
    switch (replaceWhole(target->path, &old, text, code)) {
    case Replaced::Done:
        return true;
    case Replaced::Failed:
        return failed();
    case Replaced::NotPossible:
        break;
    }
    return writeInPlace(target->path.string(), text, O_TRUNC, code) || failed();
}

long writeStandardOutputDescriptor(const char* data, std::size_t size)
{
    return static_cast<long>(::write(STDOUT_FILENO, data, size));
}

void reportLostReaders()
{
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace lark::cli
