#pragma once

#include <iosfwd>
#include <string>
#include <variant>

#include "model/Profile.h"

namespace lark {

// A profile file read whole (up to the size limit) and checked before anything is used; errors
// name the file as given ("backup.json:7: settings.polling-rate: ..."). larkctl import and the
// window's "Load profile" both read through here, so they refuse the same files with the same
// words.
std::variant<Profile, std::string> readProfileFile(const std::string& path);

// The same for a profile on a stream, named `source` in errors (larkctl's "stdin").
std::variant<Profile, std::string> readProfileStream(std::istream& stream, const std::string& source);

// The window's "Save profile": `text` goes to a file beside `path` that is then renamed over it,
// so a failed write leaves the old file as it was and no half profile. Empty on success, else
// "cannot write PATH: reason". larkctl export has its own writer, which also writes through
// links, FIFOs and descriptors a shell hands it.
std::string writeProfileFile(const std::string& path, const std::string& text);

}  // namespace lark
