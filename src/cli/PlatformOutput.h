#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

// How larkctl's output reaches files and standard output on this platform; src/platform
// implements it.
namespace lark::cli {

// Writes `text` to the file `name` (never "-") the way writeThrough describes; false with the
// reason in `reason`. A name that leads back to standard output goes to `standardOutput`.
bool writeNamedFile(const std::string& name, std::string_view text, std::ostream& standardOutput,
                    std::string& reason);

// Writes to the process's standard output descriptor: the count written, or -1 with errno set.
long writeStandardOutputDescriptor(const char* data, std::size_t size);

// A reader that goes away becomes an output error to report, not a signal that ends the program.
void reportLostReaders();

}  // namespace lark::cli
