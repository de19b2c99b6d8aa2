#include "device/HidErrorText.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <string>

namespace lark {

namespace {

struct KnownError {
    int number;
    std::string_view english;
};

// Every error the retry rules or the user care about. English texts as glibc writes them.
constexpr std::array kKnownErrors{
    KnownError{ENODEV, "No such device"},
    KnownError{EBADF, "Bad file descriptor"},
    KnownError{ENOENT, "No such file or directory"},
    KnownError{ENXIO, "No such device or address"},
    KnownError{EIO, "Input/output error"},
    KnownError{EPIPE, "Broken pipe"},
    KnownError{ETIMEDOUT, "Connection timed out"},
    KnownError{EPROTO, "Protocol error"},
    KnownError{EAGAIN, "Resource temporarily unavailable"},
    KnownError{EINTR, "Interrupted system call"},
    KnownError{EACCES, "Permission denied"},
    KnownError{EPERM, "Operation not permitted"},
};

bool endsWith(std::string_view text, std::string_view tail)
{
    return !tail.empty() && text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '.'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

HidError classifyErrno(int errorNumber, HidOperation operation)
{
    switch (errorNumber) {
    case ENODEV:
    case EBADF:
    case ENOENT:
    case ENXIO:
        return HidError::DeviceGone;
    case EIO:
        // hidraw answers a read on a removed device with EIO.
        return operation == HidOperation::Read ? HidError::DeviceGone : HidError::Transient;
    case EPIPE:
    case ETIMEDOUT:
    case EPROTO:
    case EAGAIN:
    case EINTR:
        return HidError::Transient;
    case EACCES:
    case EPERM:
        return operation == HidOperation::Open ? HidError::PermissionDenied : HidError::Other;
    default:
        return HidError::Other;
    }
}

HidError classifyHidErrorText(std::string_view text, HidOperation operation, int savedErrno)
{
    const std::string_view tail = trimmed(text);
    for (const KnownError& known : kKnownErrors) {
        if (endsWith(tail, known.english) || endsWith(tail, std::strerror(known.number)))
            return classifyErrno(known.number, operation);
    }
    // A read that sees the node hang up fails without any system error text.
    if (operation == HidOperation::Read &&
        (tail.empty() || tail == "Success" || tail.find("disconnected") != std::string_view::npos))
        return HidError::DeviceGone;
    if (savedErrno != 0)
        return classifyErrno(savedErrno, operation);
    return HidError::Other;
}

}  // namespace lark
