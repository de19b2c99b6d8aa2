// The text rules of the CPI and filter edits on any text (pasted text may hold anything),
// checked against a reading of the same text done another way: by comparing digit strings
// instead of doing arithmetic. Every value that reaches a setting lies on its grid or range.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "model/AdvancedValues.h"
#include "model/Cpi.h"

using namespace lark;

namespace {

bool onCpiGrid(std::uint32_t v)
{
    return v >= kCpiMin && v <= kCpiMax && v % kCpiStep == 0;
}

// The digit run after the blanks the rule skips, without its leading zeros ("0" for zeros
// only); nothing when no digit follows the blanks.
std::optional<std::string> digitRun(std::string_view text, std::string_view blanks)
{
    std::size_t i = text.find_first_not_of(blanks);
    if (i == std::string_view::npos || text[i] < '0' || text[i] > '9')
        return std::nullopt;
    std::size_t end = i;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    std::string run(text.substr(i, end - i));
    const std::size_t firstNonZero = run.find_first_not_of('0');
    return firstNonZero == std::string::npos ? std::string("0") : run.substr(firstNonZero);
}

// Compares a digit string without leading zeros with a number.
int compareRun(const std::string& run, std::uint64_t number)
{
    const std::string other = std::to_string(number);
    if (run.size() != other.size())
        return run.size() < other.size() ? -1 : 1;
    return run.compare(other) < 0 ? -1 : (run == other ? 0 : 1);
}

void checkCpiText(std::string_view text)
{
    const auto run = digitRun(text, " \t\n\r\v\f");
    const std::optional<std::uint32_t> leading = readLeadingInteger(text);
    FUZZ_CHECK(leading.has_value() == run.has_value());
    if (run) {
        // The value itself below 2^32; saturated at 4294967295 from there on.
        if (compareRun(*run, 4294967295u) <= 0)
            FUZZ_CHECK(compareRun(*run, *leading) == 0);
        else
            FUZZ_CHECK(*leading == 4294967295u);
    }

    const std::optional<std::uint32_t> read = readCpiText(text);
    FUZZ_CHECK(read.has_value() == leading.has_value());
    if (read) {
        FUZZ_CHECK(onCpiGrid(*read));
        FUZZ_CHECK(*read == normalizeCpi(*leading));
    }

    const std::uint32_t committed = commitTextToCpi(text);
    FUZZ_CHECK(onCpiGrid(committed));
    if (text.empty())
        FUZZ_CHECK(committed == kCpiMin);
    else if (!run)
        FUZZ_CHECK(committed == kCpiMin);  // no digits counts as 0
    else if (compareRun(*run, 26000) > 0)
        FUZZ_CHECK(committed == kCpiMax);  // however long the run
    else
        FUZZ_CHECK(committed == *read);

    const int position = cpiToSliderPosition(committed);
    FUZZ_CHECK(position >= kCpiSliderMin && position <= kCpiSliderMax);
    FUZZ_CHECK(sliderPositionToCpi(position) == committed);
}

void checkFilterText(std::string_view text)
{
    const auto run = digitRun(text, " \t");
    const std::optional<int> read = readFilterText(text);
    if (read) {
        FUZZ_CHECK(*read >= 0 && *read <= kFilterReadMax);
        FUZZ_CHECK(run && compareRun(*run, static_cast<std::uint64_t>(*read)) == 0);
    } else {
        FUZZ_CHECK(!run || compareRun(*run, kFilterReadMax) > 0);
    }

    const int committed = committedFilter(text);
    FUZZ_CHECK(committed >= kFilterMin && committed <= kFilterMax);
    if (!run)
        FUZZ_CHECK(committed == kFilterMin);
    else if (compareRun(*run, kFilterMax) >= 0)
        FUZZ_CHECK(committed == kFilterMax);
    else
        FUZZ_CHECK(compareRun(*run, static_cast<std::uint64_t>(committed)) == 0);
}

void checkNumbers(FuzzedDataProvider& in)
{
    const auto v = in.ConsumeIntegral<std::uint32_t>();
    const std::uint32_t n = normalizeCpi(v);
    FUZZ_CHECK(onCpiGrid(n));
    FUZZ_CHECK(normalizeCpi(n) == n);
    if (v >= kCpiMin && v <= kCpiMax)
        FUZZ_CHECK((n > v ? n - v : v - n) <= kCpiStep / 2);
    if (v < UINT32_MAX)
        FUZZ_CHECK(n <= normalizeCpi(v + 1));  // never goes down as the number grows

    const auto i = in.ConsumeIntegral<int>();
    const std::uint32_t fromPosition = sliderPositionToCpi(i);
    FUZZ_CHECK(onCpiGrid(fromPosition));
    const int limited = limitFilter(i);
    FUZZ_CHECK(limited >= kFilterMin && limited <= kFilterMax);
    const std::uint8_t interval = pollingIntervalForIndex(i);
    FUZZ_CHECK(interval == 1 || interval == 2 || interval == 4 || interval == 8);
    FUZZ_CHECK(pollingIndexForInterval(interval).has_value());

    const auto stored = in.ConsumeIntegral<std::uint8_t>();
    const int shown = shownFilter(stored);
    FUZZ_CHECK(shown >= kFilterMin && shown <= kFilterMax);
    const int spdt = spdtIndexForFilter(stored);
    FUZZ_CHECK(spdt >= 0 && spdt <= 2);
    // A stored byte's list index and the page's slider give back a byte the page can show again.
    const std::optional<std::uint8_t> filter = filterForSpdtIndex(spdt, shown);
    FUZZ_CHECK(filter.has_value());
    FUZZ_CHECK(spdtIndexForFilter(*filter) == spdt);
    if (const auto index = pollingIndexForInterval(stored))
        FUZZ_CHECK(pollingIntervalForIndex(*index) == stored);
    const std::optional<std::uint8_t> any = filterForSpdtIndex(i, i);
    FUZZ_CHECK(!any || *any <= kFilterMax || *any == kSpdtSpeedFilter || *any == kSpdtSafeFilter);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkCpiText(text);
    checkFilterText(text);
    FuzzedDataProvider in(data, size);
    checkNumbers(in);
    return 0;
}
