#pragma once

namespace lark {

// What one operation of a MouseSession came to. The window and the command line each put it
// in their own words.
enum class SessionOutcome {
    Nothing,            // nothing to tell: an ignored notification, an event
    Connected,          // found; version and settings read
    NotFound,           // no mouse to open
    PermissionDenied,   // the mouse is there but this user may not open it
    SettingsNotRead,    // found, but its settings could not be read
    Applied,            // the mouse accepted the settings
    Refused,            // three writes, none accepted
    UnreadNotWritten,   // APPLY without a known block, and reading it failed: nothing written
    ResetDone,          // the mouse confirmed the factory reset
    ResetNotSent,       // the reset request could not be sent
    ResetNotConfirmed,  // sent, but the mouse did not answer done
    Unplugged,          // the mouse went away
    Cancelled,          // Ctrl+C before anything that changes the mouse went out
};

// The operations, as a busy state names them.
enum class SessionOperation {
    None,
    Start,
    Arrival,
    Removal,
    Apply,
    FactoryReset,
    ReadAgain,
    MouseEvent,
};

// Short English names for diagnostic logs, never shown in the window.
const char* toString(SessionOutcome outcome);
const char* toString(SessionOperation operation);

}  // namespace lark
