#include "session/SessionOutcome.h"

namespace lark {

const char* toString(SessionOutcome outcome)
{
    switch (outcome) {
    case SessionOutcome::Nothing:
        return "nothing";
    case SessionOutcome::Connected:
        return "connected";
    case SessionOutcome::NotFound:
        return "not found";
    case SessionOutcome::PermissionDenied:
        return "permission denied";
    case SessionOutcome::SettingsNotRead:
        return "settings not read";
    case SessionOutcome::Applied:
        return "applied";
    case SessionOutcome::Refused:
        return "refused";
    case SessionOutcome::UnreadNotWritten:
        return "settings unread, nothing written";
    case SessionOutcome::ResetDone:
        return "reset done";
    case SessionOutcome::ResetNotSent:
        return "reset not sent";
    case SessionOutcome::ResetNotConfirmed:
        return "reset not confirmed";
    case SessionOutcome::Unplugged:
        return "unplugged";
    case SessionOutcome::Cancelled:
        return "cancelled";
    }
    return "unknown";
}

const char* toString(SessionOperation operation)
{
    switch (operation) {
    case SessionOperation::None:
        return "none";
    case SessionOperation::Start:
        return "start";
    case SessionOperation::Arrival:
        return "arrival";
    case SessionOperation::Removal:
        return "removal";
    case SessionOperation::Apply:
        return "apply";
    case SessionOperation::FactoryReset:
        return "factory reset";
    case SessionOperation::ReadAgain:
        return "read again";
    case SessionOperation::MouseEvent:
        return "mouse event";
    }
    return "unknown";
}

}  // namespace lark
