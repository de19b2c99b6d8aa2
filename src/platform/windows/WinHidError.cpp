#include "platform/windows/WinHidError.h"

namespace lark::win {

HidError classifyWinError(ErrorCode code, HidOperation operation)
{
    switch (code) {
    case 0:
        return HidError::None;
    case error::kNotReady:
    case error::kCrc:
    case error::kWriteFault:
    case error::kInvalidParameter:
    case error::kFunctionFailed:
        return HidError::Transient;
    case error::kFileNotFound:
    case error::kPathNotFound:
    case error::kInvalidHandle:
    case error::kDevNotExist:
    case error::kNoSuchDevice:
    case error::kDeviceNotConnected:
    case error::kDeviceRemoved:
        return HidError::DeviceGone;
    case error::kAccessDenied:
        return operation == HidOperation::Open ? HidError::PermissionDenied : HidError::Other;
    default:
        return HidError::Other;
    }
}

}  // namespace lark::win
