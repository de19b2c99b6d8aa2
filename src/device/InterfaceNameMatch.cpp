#include "device/InterfaceNameMatch.h"

#include <algorithm>
#include <cctype>

namespace lark {

namespace {

// Position of the first case-insensitive occurrence of `needle`, or npos.
std::size_t findNoCase(std::string_view text, std::string_view needle)
{
    const auto it = std::search(text.begin(), text.end(), needle.begin(), needle.end(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
    });
    return it == text.end() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

bool foundAfterFirstCharacter(std::string_view text, std::string_view needle)
{
    const std::size_t at = findNoCase(text, needle);
    return at != std::string_view::npos && at > 0;
}

}  // namespace

bool isMouseInterfaceName(std::string_view name)
{
    return foundAfterFirstCharacter(name, "F1A5") && foundAfterFirstCharacter(name, "2B7E");
}

}  // namespace lark
