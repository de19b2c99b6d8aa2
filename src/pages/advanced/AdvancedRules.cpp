#include "pages/advanced/AdvancedRules.h"

#include <algorithm>

namespace lark {

namespace {

struct LeadingNumber {
    bool found = false;
    long long value = 0;  // saturates well above every limit used here
};

LeadingNumber leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    LeadingNumber number;
    constexpr long long kSaturation = 1'000'000;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number.found = true;
        number.value = std::min(kSaturation, number.value * 10 + (text[i] - '0'));
    }
    return number;
}

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
    const LeadingNumber number = leadingNumber(text);
    if (!number.found || number.value > kFilterReadMax)
        return std::nullopt;
    return static_cast<int>(number.value);
}

int committedFilter(std::string_view text)
{
    const LeadingNumber number = leadingNumber(text);
    if (!number.found)
        return kFilterMin;
    return static_cast<int>(std::min<long long>(number.value, kFilterMax));
}

int limitFilter(int value)
{
    return std::clamp(value, kFilterMin, kFilterMax);
}

}  // namespace lark
