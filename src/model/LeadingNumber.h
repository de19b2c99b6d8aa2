#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lark {

// Every ASCII white-space character.
inline constexpr std::string_view kAsciiBlanks = " \t\n\r\v\f";

// The number at the start of `text`: optional leading blanks (by default space, tab and the other
// ASCII white-space characters), then a run of decimal digits; whatever follows the run is ignored.
// No digit right after the blanks (empty text, a sign, a letter) gives no number. A run too large
// for 32 bits saturates at 4294967295, so an absurdly long number still means "as large as possible".
std::optional<std::uint32_t> readLeadingInteger(std::string_view text,
                                                std::string_view blanks = kAsciiBlanks);

}  // namespace lark
