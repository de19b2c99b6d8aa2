#pragma once

#include <string_view>

namespace lark {

// Whether a hot-plug notification's interface name (a device path) belongs to the mouse: it
// holds the vendor digits "F1A5" and the product digits "2B7E", in any case, each first found
// after the name's first character.
bool isMouseInterfaceName(std::string_view name);

}  // namespace lark
