#include "device/Log.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace lark {

namespace {

std::atomic<unsigned> enabledMask{0};
std::mutex sinkMutex;
logging::Sink sink;

unsigned bitOf(LogCategory category)
{
    return 1u << static_cast<unsigned>(category);
}

std::string timeOfDay()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis));
    return text;
}

}  // namespace

namespace logging {

void setSink(Sink newSink)
{
    std::lock_guard lock(sinkMutex);
    sink = std::move(newSink);
}

void setEnabled(LogCategory category, bool enabled)
{
    if (enabled)
        enabledMask.fetch_or(bitOf(category));
    else
        enabledMask.fetch_and(~bitOf(category));
}

bool isEnabled(LogCategory category) noexcept
{
    return (enabledMask.load(std::memory_order_relaxed) & bitOf(category)) != 0;
}

void write(LogCategory category, const std::string& text)
{
    const std::string line = timeOfDay() + ' ' + text;
    // Held while the sink runs, so a sink being replaced is never called half-gone and lines
    // from two threads never interleave.
    std::lock_guard lock(sinkMutex);
    if (sink)
        sink(category, line);
}

}  // namespace logging

std::ostream& operator<<(std::ostream& out, HexFrame frame)
{
    static const char digits[] = "0123456789abcdef";
    std::size_t shown = frame.length;
    while (shown > 0 && frame.data[shown - 1] == 0)
        --shown;
    // A short frame stays whole: its zeros are as easy to read as a count of them. The report
    // ID and the command or status byte always show.
    if (frame.length <= 16)
        shown = frame.length;
    shown = std::max(shown, std::min<std::size_t>(frame.length, 2));
    std::string text;
    text.reserve(shown * 3 + 32);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0)
            text += ' ';
        text += digits[frame.data[i] >> 4];
        text += digits[frame.data[i] & 0x0F];
    }
    if (shown < frame.length)
        text += " (+" + std::to_string(frame.length - shown) + " zero bytes)";
    return out << '[' << frame.length << "] " << text;
}

const char* toString(HidError error)
{
    switch (error) {
    case HidError::None:
        return "no error";
    case HidError::Transient:
        return "transient error";
    case HidError::DeviceGone:
        return "device gone";
    case HidError::PermissionDenied:
        return "permission denied";
    case HidError::Other:
        return "other error";
    }
    return "unknown error";
}

}  // namespace lark
