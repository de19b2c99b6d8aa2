#include "model/Text.h"

#include <charconv>
#include <cstdio>

#include "model/Cpi.h"

namespace lark {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

std::string trim(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

std::string lower(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string foldName(std::string_view text)
{
    std::string folded;
    bool blank = false;
    for (char c : lower(trim(text))) {
        if (isBlank(c)) {
            blank = true;
            continue;
        }
        if (blank)
            folded += ' ';
        blank = false;
        folded += c;
    }
    return folded;
}

std::optional<std::uint32_t> parseUnsigned(std::string_view text)
{
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> parseHex(std::string_view text, std::uint32_t maxValue)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty())
        return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size() || value > maxValue)
        return std::nullopt;
    return value;
}

std::optional<std::uint16_t> parseCpi(std::string_view text, std::string& error)
{
    const std::string trimmed = trim(text);
    const std::optional<std::uint32_t> number = parseUnsigned(trimmed);
    if (!number) {
        error = "'" + trimmed + "' is not a CPI value (a number from 50 to 26000)";
        return std::nullopt;
    }
    if (*number < kCpiMin || *number > kCpiMax) {
        error = "CPI " + trimmed + " is out of range (50 to 26000)";
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(normalizeCpi(*number));
}

std::optional<CpiPair> parseCpiPair(std::string_view text, std::string& error)
{
    const std::string folded = lower(trim(text));
    const std::size_t cross = folded.find('x');
    if (cross == std::string::npos) {
        const std::optional<std::uint16_t> both = parseCpi(folded, error);
        if (!both)
            return std::nullopt;
        return CpiPair{*both, *both};
    }
    const std::optional<std::uint16_t> x = parseCpi(std::string_view(folded).substr(0, cross), error);
    if (!x)
        return std::nullopt;
    const std::optional<std::uint16_t> y = parseCpi(std::string_view(folded).substr(cross + 1), error);
    if (!y)
        return std::nullopt;
    return CpiPair{*x, *y};
}

std::string cpiPairText(std::uint16_t x, std::uint16_t y)
{
    return std::to_string(x) + "x" + std::to_string(y);
}

std::string hexBytes(const std::uint8_t* data, std::size_t size)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
    }
    return text;
}

}  // namespace lark
