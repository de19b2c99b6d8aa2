#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace lark::cli {

// Writes `text` to what `name` is, as the user named it, rather than replacing it:
// - "-" goes to `standardOutput`, and so do /dev/stdout and /dev/fd/1, which name it;
// - a symbolic link is followed, and its target is written;
// - a FIFO, a terminal, /dev/fd/N (process substitution) and other special files are written
//   in place;
// - a regular file is replaced whole: the text goes to a temporary file beside it (beside the
//   link's target for a link), which takes the old file's mode and owner and is then renamed
//   over it, so a failure leaves the old file as it was and no part file behind. Where that
//   cannot be done (no right to create files in the folder, or to give the old owner), the
//   file is rewritten in place.
// False with `error` ("cannot write NAME: reason") when the text was not written whole.
bool writeThrough(const std::string& name, std::string_view text, std::ostream& standardOutput,
                  std::string& error);

}  // namespace lark::cli
