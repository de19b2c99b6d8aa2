#pragma once

#include <string_view>

#include "device/HidBackend.h"

namespace lark {

// What hidapi was doing when it failed; the same system error means different things.
enum class HidOperation { Open, Feature, Read };

// Classifies hidapi's error text (it ends in the system's error text, in the current
// locale or in English) for a failed operation. `savedErrno` is errno as found right after
// the failure; it decides only when the text says nothing known (0: not available).
HidError classifyHidErrorText(std::string_view text, HidOperation operation, int savedErrno = 0);

// The class of one system error number for a failed operation.
HidError classifyErrno(int errorNumber, HidOperation operation);

}  // namespace lark
