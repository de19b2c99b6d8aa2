#include "cli/StandardOutput.h"

#include <cerrno>
#include <cstring>

#include "cli/PlatformOutput.h"

namespace lark::cli {

bool StandardOutput::writeOut(const char* data, std::size_t size)
{
    if (error_ != 0) {
        errno = error_;
        return false;
    }
    while (size > 0) {
        const long written = writeStandardOutputDescriptor(data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error_ = errno != 0 ? errno : EIO;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool StandardOutput::drain()
{
    const bool written = writeOut(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return written;
}

StandardOutput::int_type StandardOutput::overflow(int_type c)
{
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize StandardOutput::xsputn(const char* data, std::streamsize size)
{
    if (error_ != 0) {
        errno = error_;
        return 0;
    }
    if (size <= epptr() - pptr()) {
        std::memcpy(pptr(), data, static_cast<std::size_t>(size));
        pbump(static_cast<int>(size));
        return size;
    }
    if (!drain() || !writeOut(data, static_cast<std::size_t>(size)))
        return 0;
    return size;
}

int StandardOutput::sync()
{
    return drain() ? 0 : -1;
}

}  // namespace lark::cli
