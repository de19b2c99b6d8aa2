#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// How the Advanced page's values are stored and read from typed text.
namespace lark {

// Multiclick filter range of the trackbars and edit boxes.
constexpr int kFilterMin = 0;
constexpr int kFilterMax = 25;
// What the page shows for a stored filter it cannot show, and at page creation.
constexpr int kFilterFallback = 8;
// Largest number an edit box may hold when the page reads it (one byte).
constexpr int kFilterReadMax = 255;

// SPDT modes stored in the filter byte of the left and right slots.
constexpr std::uint8_t kSpdtSpeedFilter = 0xF1;
constexpr std::uint8_t kSpdtSafeFilter = 0xF0;

// Polling list entries: index 0 "1000Hz" .. 3 "8000Hz".
constexpr int kPolling8000Index = 3;

// pollingInterval of a polling list index; no selection or an unknown index gives 1 (8000 Hz).
std::uint8_t pollingIntervalForIndex(int index);

// Polling list index that shows a pollingInterval; none for intervals the list does not offer.
std::optional<int> pollingIndexForInterval(std::uint8_t interval);

// SPDT list index of a stored filter byte: 1 for KV Speed, 2 for KV Safe, 0 ("OFF") otherwise.
int spdtIndexForFilter(std::uint8_t filter);

// Filter byte of an SPDT list index: "OFF" takes the trackbar's position; no selection
// (or an unknown index) gives none, so the stored byte stays as it is.
std::optional<std::uint8_t> filterForSpdtIndex(int index, int trackbarPosition);

// The filter value the page shows for a stored one: values above 25 show as 8.
int shownFilter(std::uint8_t stored);

// Reads an edit box as an unsigned byte: optional leading blanks, then a run of digits
// (anything after it is ignored). Nothing for text that does not begin with a digit or
// holds a number above 255.
std::optional<int> readFilterText(std::string_view text);

// The value an edit box settles on when committed: no leading number gives 0, a number
// above 25 gives 25.
int committedFilter(std::string_view text);

// Limits a read filter value to the trackbar's range.
int limitFilter(int value);

}  // namespace lark
