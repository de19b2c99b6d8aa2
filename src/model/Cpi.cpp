#include "model/Cpi.h"

#include <algorithm>
#include <limits>

namespace lark {

std::string cpiRangeText()
{
    return std::to_string(kCpiMin) + " to " + std::to_string(kCpiMax) + " in steps of " + std::to_string(kCpiStep);
}

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
