#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>

#include "device/HidBackend.h"

namespace lark {

// What a diagnostic line is about; the program decides which ones it wants.
enum class LogCategory { Device, Hotplug, App };

// Where diagnostic lines go. Nothing is formatted, and nothing goes anywhere, until the
// program installs a sink and enables a category. Safe from any thread: the session's worker
// and the event reader log while the window's thread may install or remove the sink.
namespace logging {

// Gets each line with its time of day in front ("14:03:07.512 sent a1 02"). An empty sink is
// silence.
using Sink = std::function<void(LogCategory, const std::string& line)>;

void setSink(Sink sink);
void setEnabled(LogCategory category, bool enabled);
bool isEnabled(LogCategory category) noexcept;
void write(LogCategory category, const std::string& text);

}  // namespace logging

// A frame in hex, formatted only when logged. Trailing zero bytes (most of a settings
// report) are counted instead of written out.
struct HexFrame {
    const std::uint8_t* data;
    std::size_t length;
};
std::ostream& operator<<(std::ostream& out, HexFrame frame);

const char* toString(HidError error);

// One line from its parts; costs a flag check when the category is off.
template <typename... Parts> void log(LogCategory category, const Parts&... parts)
{
    if (!logging::isEnabled(category))
        return;
    std::ostringstream line;
    (line << ... << parts);
    logging::write(category, line.str());
}

}  // namespace lark
