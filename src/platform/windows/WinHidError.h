#pragma once

#include "device/HidBackend.h"
#include "device/HidErrorText.h"
#include "platform/windows/WinHidApi.h"

namespace lark::win {

// The class of a Win32 error code for a failed operation. The retryable codes are those
// the HID class driver gives for a transfer that may succeed when repeated.
HidError classifyWinError(ErrorCode code, HidOperation operation);

}  // namespace lark::win
