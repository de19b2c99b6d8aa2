#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/DeviceLink.h"
#include "device/OutsideAccess.h"
#include "session/SessionOutcome.h"
#include "settings/SettingsModel.h"

namespace lark {

class DeviceEventListener;
class HidBackend;
class Sleeper;

struct MouseEvent {
    std::uint8_t code = 0;
    std::uint8_t value = 0;
};

// The one connection to one mouse and the settings truth: the block the mouse holds (last
// read or last accepted), the settings being edited, the applied copy and change detection.
// Every operation is synchronous and runs the mouse's protocol to the end: the same frames,
// waits and retries whoever drives it (the window through its worker thread, the command line
// directly, tests with the virtual mouse and the recording sleeper). Not thread-safe: one
// thread drives it; only requestStop() and the event handler's thread are exceptions.
class MouseSession {
public:
    // Called on the event reader's thread with each event the mouse sends, once the session
    // holds it. The owner wakes the thread that drives the session, which calls takeMouseEvents().
    using EventHandler = std::function<void(std::uint8_t code, std::uint8_t value)>;

    MouseSession(HidBackend& backend, Sleeper& sleeper);
    ~MouseSession();
    MouseSession(const MouseSession&) = delete;
    MouseSession& operator=(const MouseSession&) = delete;

    void setEventHandler(EventHandler handler);

    // Start-up: find the mouse, read its version, read its settings, start the event reader.
    SessionOutcome start();
    // A hot-plug notification. Nothing when the name is not the mouse's or nothing changes.
    // `superseded`, asked after the settle time, tells that the mouse went away again meanwhile:
    // then this one does nothing and a later notice acts on the final state.
    SessionOutcome arrival(const std::string& interfaceName, const std::function<bool()>& superseded = {});
    SessionOutcome removal(const std::string& interfaceName);
    // Writes the edited settings (up to three attempts); the applied copy follows only what
    // the mouse accepted.
    SessionOutcome apply();
    SessionOutcome factoryReset();
    // Reads the settings from the mouse again; the edits are replaced by what it holds.
    SessionOutcome readAgain();
    // The event reader hands each event the mouse sends in here; safe from any thread. The
    // driving thread takes them in with takeMouseEvents(), and APPLY between its write attempts,
    // so that each attempt writes the settings as they are by then.
    void mouseEventArrived(std::uint8_t code, std::uint8_t value);
    // Lays the events handed in since the last call over both settings copies; returns them.
    std::vector<MouseEvent> takeMouseEvents();

    // Ends the running operation between frames; safe from any thread. Later operations do
    // nothing.
    void requestStop();
    // Ctrl+C: an operation that has sent nothing that changes the mouse ends with Cancelled
    // (waiting for another program included); one whose write or reset went out finishes and
    // tells its real outcome. Safe from any thread.
    void requestCancel() { cancelling_ = true; }
    // Stops and joins the event reader; on the driving thread.
    void stopListener();
    bool stopRequested() const { return stopping_.load(); }

    // The state the window shows: controls usable, firmware version, settings known.
    bool isConnected() const { return connected_; }
    std::optional<std::uint16_t> firmwareVersion() const { return firmwareVersion_; }
    bool settingsKnown() const { return settingsKnown_; }
    // Counts the times the settings were replaced by the mouse's (read, reset, or read before
    // a write), so a driver can tell when to show them again.
    std::uint64_t settingsLoads() const { return settingsLoads_; }
    // The last settings block read from the mouse, or written and accepted.
    const SettingsBlock& mouseBlock() const { return model_.lastBlock; }

    // Edited and applied settings with change detection; the driver edits editedSettings.
    SettingsModel& model() { return model_; }
    const SettingsModel& model() const { return model_; }
    bool settingsDiffer() const { return model_.settingsDiffer(); }

    DeviceLink& link() { return link_; }

private:
    // Closes the handle and looks for the mouse again, as APPLY, Factory Reset and reading again
    // do. What a miss does to the state the window shows:
    enum class Miss { KeepsShownState, Disconnects };
    bool reconnect(Miss miss);
    SessionOutcome notFoundOutcome() const;
    void disconnect();
    bool readBlock();
    // Takes the mouse's exchange lock for the interface held open (none without a handle).
    // False when waiting for it was given up: Ctrl+C or shutdown.
    bool lockMouse(std::optional<ExchangeLock>& lock);
    SessionOutcome interrupted() const;
    SessionOutcome takeWrittenAsApplied();
    // Decodes the block just read into both settings instances.
    void takeBlockAsSettings();
    // `interfaces`: the mouse's as findMouse just enumerated them; empty: the listener enumerates.
    void startListener(const std::vector<HidInterfaceInfo>& interfaces = {});
    void handleMouseEvent(MouseEvent event);
    void logHotplug(const char* what, const std::string& interfaceName) const;

    HidBackend& backend_;
    Sleeper& sleeper_;
    DeviceLink link_;
    SettingsModel model_;
    std::unique_ptr<DeviceEventListener> listener_;
    EventHandler eventHandler_;
    std::mutex eventsMutex_;
    std::vector<MouseEvent> arrivedEvents_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> cancelling_{false};

    bool connected_ = false;
    bool settingsKnown_ = false;
    std::optional<std::uint16_t> firmwareVersion_;
    std::uint64_t settingsLoads_ = 0;
};

}  // namespace lark
