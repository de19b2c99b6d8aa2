#include "app/WindowState.h"

namespace lark {

namespace {

// What the status line says while an operation runs; nothing for the quick ones.
std::optional<StatusMessage> busyMessage(SessionOperation operation)
{
    switch (operation) {
    case SessionOperation::Start:
        return StatusMessage::LookingForMouse;
    case SessionOperation::Arrival:
        return StatusMessage::Connecting;
    case SessionOperation::ReadAgain:
        return StatusMessage::Reading;
    case SessionOperation::Apply:
        return StatusMessage::Applying;
    case SessionOperation::FactoryReset:
        return StatusMessage::Resetting;
    default:
        return std::nullopt;
    }
}

// What the status line says after an operation; nothing when the status from before stands.
std::optional<StatusMessage> outcomeMessage(SessionOperation operation, SessionOutcome outcome)
{
    switch (outcome) {
    case SessionOutcome::Nothing:
    case SessionOutcome::Cancelled:  // only larkctl cancels
        return std::nullopt;
    case SessionOutcome::Connected:
        return StatusMessage::None;
    case SessionOutcome::NotFound:
        // At start-up nobody asked for the mouse yet: say what the window waits for.
        if (operation == SessionOperation::Start)
            return StatusMessage::Waiting;
        if (operation == SessionOperation::Apply || operation == SessionOperation::FactoryReset)
            return StatusMessage::NotFoundNothingSent;
        return StatusMessage::NotFound;
    case SessionOutcome::PermissionDenied:
        return StatusMessage::NoPermission;
    case SessionOutcome::SettingsNotRead:
        return StatusMessage::SettingsNotRead;
    case SessionOutcome::Applied:
        return StatusMessage::Applied;
    case SessionOutcome::Refused:
        return StatusMessage::Refused;
    case SessionOutcome::UnreadNotWritten:
        return StatusMessage::UnreadNotWritten;
    case SessionOutcome::ResetDone:
        return StatusMessage::ResetDone;
    case SessionOutcome::ResetNotSent:
        return StatusMessage::ResetNotSent;
    case SessionOutcome::ResetNotConfirmed:
        return StatusMessage::ResetNotConfirmed;
    case SessionOutcome::Unplugged:
        return StatusMessage::Unplugged;
    }
    return std::nullopt;
}

// The state of the mouse as an outcome leaves it, when the outcome tells one.
std::optional<StatusMessage> standingMessage(SessionOperation operation, SessionOutcome outcome)
{
    switch (outcome) {
    case SessionOutcome::Connected:
    case SessionOutcome::Applied:
    case SessionOutcome::ResetDone:
        return StatusMessage::None;
    case SessionOutcome::NotFound:
    case SessionOutcome::PermissionDenied:
    case SessionOutcome::SettingsNotRead:
    case SessionOutcome::Unplugged:
        return outcomeMessage(operation, outcome);
    case SessionOutcome::UnreadNotWritten:
        return StatusMessage::SettingsNotRead;
    default:
        return std::nullopt;
    }
}

}  // namespace

void WindowState::setStatus(StatusMessage status, const MouseSettings& edits)
{
    status_ = status;
    editsAtStatus_ = edits;
}

void WindowState::busyChanged(bool busy, SessionOperation operation, const MouseSettings& edits)
{
    if (busy == busy_ && !busy)
        return;
    busy_ = busy;
    if (!busy)
        return;
    if (const std::optional<StatusMessage> message = busyMessage(operation)) {
        if (!statusShowsBusy_)
            statusBeforeBusy_ = status_;
        statusShowsBusy_ = true;
        setStatus(*message, edits);
    }
}

void WindowState::connectedChanged(bool connected)
{
    controls_ = connected;
    // Enabling includes APPLY; the flow that enabled the controls then decides.
    applyWanted_ = connected;
}

void WindowState::outcome(SessionOperation operation, SessionOutcome outcome, bool settingsDiffer,
                          const MouseSettings& edits)
{
    switch (operation) {
    case SessionOperation::Start:
    case SessionOperation::Arrival:
        if (outcome != SessionOutcome::Nothing)
            applyWanted_ = false;
        break;
    case SessionOperation::ReadAgain:
        // Edits kept over an outside write still wait for APPLY.
        if (outcome != SessionOutcome::Nothing)
            applyWanted_ = controls_ && settingsDiffer;
        break;
    case SessionOperation::Apply:
        if (outcome == SessionOutcome::Applied)
            applyWanted_ = controls_ && settingsDiffer;
        break;
    case SessionOperation::FactoryReset:
        if (outcome == SessionOutcome::ResetDone)
            applyWanted_ = false;
        break;
    default:
        break;
    }
    if (const std::optional<StatusMessage> standing = standingMessage(operation, outcome))
        standing_ = *standing;
    // An operation that came to nothing leaves the status as it was before it ran.
    if (const std::optional<StatusMessage> message = outcomeMessage(operation, outcome))
        setStatus(*message, edits);
    else if (statusShowsBusy_)
        setStatus(statusBeforeBusy_, edits);
    statusShowsBusy_ = false;
}

void WindowState::editsChanged(bool settingsDiffer, const MouseSettings& edits)
{
    // Disabling the controls commits a focused edit, which runs change detection: it must not
    // bring APPLY back while the mouse is away.
    applyWanted_ = settingsDiffer && controls_;
    if (!busy_ && edits != editsAtStatus_)
        setStatus(standing_, edits);
}

void WindowState::notGathered(const MouseSettings& edits)
{
    setStatus(StatusMessage::NotGathered, edits);
}

void WindowState::pollingRateChangedOnMouse(const MouseSettings& edits)
{
    // The mouse holds a rate nobody applied: "Settings applied." or a refusal from before
    // would describe a mouse that is gone. An operation running says what it does until its
    // outcome comes.
    standing_ = StatusMessage::None;
    if (busy_)
        statusBeforeBusy_ = StatusMessage::PollingRateChangedOnMouse;
    else
        setStatus(StatusMessage::PollingRateChangedOnMouse, edits);
}

void WindowState::profileLoaded(bool settingsDiffer, const MouseSettings& edits)
{
    applyWanted_ = settingsDiffer && controls_;
    setStatus(StatusMessage::ProfileLoaded, edits);
}

void WindowState::profileSaved(const MouseSettings& edits)
{
    setStatus(StatusMessage::ProfileSaved, edits);
}

}  // namespace lark
