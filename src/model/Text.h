#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lark {

// Small text helpers shared by the setting names, the actions and the profile.
std::string trim(std::string_view text);
std::string lower(std::string_view text);
// Lower case, trimmed, runs of blanks as one space: how names are compared.
std::string foldName(std::string_view text);

// A whole decimal number (no sign, no trailing text) that fits in 32 bits.
std::optional<std::uint32_t> parseUnsigned(std::string_view text);
// A whole hexadecimal number with an optional 0x prefix, at most `maxValue`.
std::optional<std::uint32_t> parseHex(std::string_view text, std::uint32_t maxValue);

// A CPI value as the Basic page keeps it: inside 50..26000, put on the grid of 50. Nothing
// with `error` set for text that is no number or lies outside the range.
std::optional<std::uint16_t> parseCpi(std::string_view text, std::string& error);

struct CpiPair {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};
// "800x1600" or one number for both axes.
std::optional<CpiPair> parseCpiPair(std::string_view text, std::string& error);
std::string cpiPairText(std::uint16_t x, std::uint16_t y);

std::string hexBytes(const std::uint8_t* data, std::size_t size);

}  // namespace lark
