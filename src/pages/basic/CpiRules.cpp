#include "pages/basic/CpiRules.h"

#include <algorithm>
#include <limits>

namespace lark {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

std::uint32_t normalizeCpi(std::uint32_t value)
{
    if (value < kCpiMin)
        return kCpiMin;
    if (value > kCpiMax)
        return kCpiMax;
    const std::uint32_t steps = value / kCpiStep;
    const std::uint32_t remainder = value % kCpiStep;
    return kCpiStep * (remainder < kCpiStep / 2 ? steps : steps + 1);
}

std::optional<std::uint32_t> readLeadingInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
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

std::uint32_t commitTextToCpi(std::string_view text)
{
    if (text.empty())
        return normalizeCpi(kCpiMin);
    constexpr std::uint32_t kSignedMax = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
    const std::uint32_t number = std::min(readLeadingInteger(text).value_or(0), kSignedMax);
    return normalizeCpi(number);
}

std::optional<std::uint32_t> readCpiText(std::string_view text)
{
    const std::optional<std::uint32_t> number = readLeadingInteger(text);
    if (!number)
        return std::nullopt;
    return normalizeCpi(*number);
}

int cpiToSliderPosition(std::uint32_t value)
{
    return static_cast<int>(normalizeCpi(value) / kCpiStep);
}

std::uint32_t sliderPositionToCpi(int position)
{
    return static_cast<std::uint32_t>(std::clamp(position, kCpiSliderMin, kCpiSliderMax)) * kCpiStep;
}

}  // namespace lark
