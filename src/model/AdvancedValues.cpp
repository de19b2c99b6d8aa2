#include "model/AdvancedValues.h"

#include <algorithm>

#include "model/LeadingNumber.h"

namespace lark {

namespace {

// The edit boxes skip only spaces and tabs before the number.
constexpr std::string_view kEditBlanks = " \t";

}  // namespace

std::uint8_t pollingIntervalForIndex(int index)
{
    switch (index) {
    case 0:
        return 8;
    case 1:
        return 4;
    case 2:
        return 2;
    default:
        return 1;
    }
}

std::optional<int> pollingIndexForInterval(std::uint8_t interval)
{
    switch (interval) {
    case 8:
        return 0;
    case 4:
        return 1;
    case 2:
        return 2;
    case 1:
        return kPolling8000Index;
    default:
        return std::nullopt;
    }
}

int spdtIndexForFilter(std::uint8_t filter)
{
    if (filter == kSpdtSpeedFilter)
        return 1;
    if (filter == kSpdtSafeFilter)
        return 2;
    return 0;
}

std::optional<std::uint8_t> filterForSpdtIndex(int index, int trackbarPosition)
{
    switch (index) {
    case 0:
        return static_cast<std::uint8_t>(std::clamp(trackbarPosition, kFilterMin, kFilterMax));
    case 1:
        return kSpdtSpeedFilter;
    case 2:
        return kSpdtSafeFilter;
    default:
        return std::nullopt;
    }
}

int shownFilter(std::uint8_t stored)
{
    return stored > kFilterMax ? kFilterFallback : stored;
}

std::optional<int> readFilterText(std::string_view text)
{
    const std::optional<std::uint32_t> number = readLeadingInteger(text, kEditBlanks);
    if (!number || *number > static_cast<std::uint32_t>(kFilterReadMax))
        return std::nullopt;
    return static_cast<int>(*number);
}

int committedFilter(std::string_view text)
{
    const std::optional<std::uint32_t> number = readLeadingInteger(text, kEditBlanks);
    if (!number)
        return kFilterMin;
    return static_cast<int>(std::min(*number, static_cast<std::uint32_t>(kFilterMax)));
}

int limitFilter(int value)
{
    return std::clamp(value, kFilterMin, kFilterMax);
}

}  // namespace lark
