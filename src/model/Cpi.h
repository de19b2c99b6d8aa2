#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/LeadingNumber.h"

namespace lark {

// CPI values live on a grid of 50 from 50 to 26000; trackbar position p stands for p * 50.
constexpr std::uint32_t kCpiStep = 50;
constexpr std::uint32_t kCpiMin = 50;
constexpr std::uint32_t kCpiMax = 26000;
constexpr int kCpiSliderMin = 1;
constexpr int kCpiSliderMax = 520;

// "50 to 26000 in steps of 50", for help texts.
std::string cpiRangeText();

// Maps any number onto the grid: below 50 gives 50, above 26000 gives 26000, otherwise the
// nearest multiple of 50 with a remainder of exactly 25 rounding up.
std::uint32_t normalizeCpi(std::uint32_t value);

// The value a committed edit takes: empty text gives 50; otherwise the leading integer, with no
// digits counting as 0 and a run beyond the signed 32-bit range as 2147483647; then normalizeCpi.
std::uint32_t commitTextToCpi(std::string_view text);

// The value a read of an edit takes: its leading integer, normalised; no number when the text
// does not start with digits.
std::optional<std::uint32_t> readCpiText(std::string_view text);

// Trackbar position of a value (normalised first, so any number lands inside 1..520).
int cpiToSliderPosition(std::uint32_t value);

// Value of a trackbar position (positions outside 1..520 are clamped to the ends).
std::uint32_t sliderPositionToCpi(int position);

}  // namespace lark
