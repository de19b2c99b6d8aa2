#pragma once

#include <optional>

#include "session/SessionOutcome.h"
#include "settings/MouseSettings.h"

namespace lark {

// What the status line says; the window puts each in words.
enum class StatusMessage {
    None,  // an empty line: all is well
    // While an operation runs.
    LookingForMouse,
    Connecting,
    Reading,
    Applying,
    Resetting,
    // What the last operation came to, or what the window waits for.
    Applied,
    Refused,
    NotFound,
    NotFoundNothingSent,  // APPLY or Factory Reset missed the mouse: the edits and controls stay
    Waiting,
    NoPermission,
    ResetDone,
    ResetNotSent,
    ResetNotConfirmed,
    SettingsNotRead,
    UnreadNotWritten,
    NotGathered,
    Unplugged,
    PollingRateChangedOnMouse,
    ProfileLoaded,
    ProfileSaved,
};

// The window's state apart from its widgets: whether the controls and buttons are usable and
// what the status line says, driven by the session's reports and the user's edits. Qt-free, so
// that its rules are tested as tables; MainWindow only shows it.
class WindowState {
public:
    // The session's reports.
    void busyChanged(bool busy, SessionOperation operation, const MouseSettings& edits);
    void connectedChanged(bool connected);
    void outcome(SessionOperation operation, SessionOutcome outcome, bool settingsDiffer, const MouseSettings& edits);

    // Change detection after an edit. A commit that changes no value (the focus passing through
    // an edit box) leaves an outcome on the line; a real change brings back the standing state.
    void editsChanged(bool settingsDiffer, const MouseSettings& edits);
    // APPLY found a value a page cannot read: nothing was written.
    void notGathered(const MouseSettings& edits);
    // The mouse's polling-rate button changed the rate: what the line said before is no longer
    // the mouse's state.
    void pollingRateChangedOnMouse(const MouseSettings& edits);
    // A profile filled the pages (edits that APPLY writes), or the pages went into a profile.
    void profileLoaded(bool settingsDiffer, const MouseSettings& edits);
    void profileSaved(const MouseSettings& edits);

    StatusMessage status() const { return status_; }
    bool busy() const { return busy_; }
    bool controlsEnabled() const { return controls_; }
    bool applyEnabled() const { return applyWanted_ && controls_ && !busy_; }
    bool resetEnabled() const { return controls_ && !busy_; }
    bool readAgainEnabled() const { return !busy_; }
    // Profiles go to and come from the pages of a connected mouse.
    bool profilesEnabled() const { return controls_ && !busy_; }
    // Whether APPLY and Factory Reset may start now.
    bool mayWrite() const { return controls_ && !busy_; }

private:
    void setStatus(StatusMessage status, const MouseSettings& edits);

    bool controls_ = false;
    bool applyWanted_ = false;
    bool busy_ = false;
    StatusMessage status_ = StatusMessage::None;
    StatusMessage statusBeforeBusy_ = StatusMessage::None;
    bool statusShowsBusy_ = false;
    // The state of the mouse as the last outcome told it: what an edit brings back.
    StatusMessage standing_ = StatusMessage::None;
    MouseSettings editsAtStatus_;
};

}  // namespace lark
