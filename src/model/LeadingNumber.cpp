#include "model/LeadingNumber.h"

#include <algorithm>
#include <limits>

namespace lark {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<std::uint32_t> readLeadingInteger(std::string_view text, std::string_view blanks)
{
    std::size_t i = 0;
    while (i < text.size() && blanks.find(text[i]) != std::string_view::npos)
        ++i;
    if (i == text.size() || !isDigit(text[i]))
        return std::nullopt;

    constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t number = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        number = number * 10 + static_cast<std::uint64_t>(text[i] - '0');
        // Saturate as soon as the run leaves 32 bits; the rest of the run cannot bring it back.
        if (number > kLimit)
            number = kLimit + 1;
    }
    return static_cast<std::uint32_t>(std::min(number, kLimit));
}

}  // namespace lark
