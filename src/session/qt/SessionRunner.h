#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "session/MouseSession.h"
#include "session/SerialWorker.h"
#include "session/SessionOutcome.h"
#include "session/UnderwaySleeper.h"
#include "settings/MouseSettings.h"

namespace lark {

// What the mouse holds now, as the session took it in, for the window's change detection;
// with the edits the window is to show when the session replaced them (a read, a reset, or
// edits laid over what another program wrote).
struct SettingsReport {
    MouseSettings mouse;
    std::optional<MouseSettings> edits;
};

// Runs one MouseSession on a worker thread of its own, one operation at a time in the order
// asked, and reports back on the thread that made it (the UI thread) through queued signals.
// Nothing here waits for the mouse on the caller's thread. It may be made and started before
// the QApplication: the reports wait for the application's event loop.
class SessionRunner : public QObject {
    Q_OBJECT

public:
    // `sleeper` is the session's; stop() interrupts it so that closing never waits out a
    // protocol wait.
    SessionRunner(HidBackend& backend, Sleeper& sleeper, QObject* parent = nullptr);
    ~SessionRunner() override;

    // Asks for an operation; each one reports busyChanged, then its results. start() runs
    // once, however often it is asked.
    void start();
    // Blocks until the start-up exchange is under way (its first request out, or the start over
    // without one) or `limit` has passed; false then, and when start() was not asked. The program
    // loads the window after it: the first request does not wait behind that loading.
    bool waitForStartUnderway(std::chrono::milliseconds limit);
    void apply(const MouseSettings& edited);
    void factoryReset();
    void readAgain();
    // Reads the mouse again after another program changed it, keeping the user's unapplied
    // edits: each field `edited` changed from `shownAsApplied` is laid over what the mouse now
    // holds (settingsLoaded, then editsKept).
    void readAgainKeepingEdits(const MouseSettings& edited, const MouseSettings& shownAsApplied);
    void arrival(const QString& interfaceName);
    void removal(const QString& interfaceName);

    // Abandons the running operation between frames, drops the ones still queued, stops the
    // event reader and joins the worker. Called by the destructor too.
    void stop();

    // The operation running or queued last; None when idle.
    bool isBusy() const { return pending_ > 0; }
    SessionOperation busyOperation() const { return busyOperation_; }

    // For tests: runs `work` on the worker thread and waits for it.
    void runOnWorker(const std::function<void(MouseSession&)>& work);

signals:
    void busyChanged(bool busy, lark::SessionOperation operation);
    void connectedChanged(bool connected);
    // Empty when no version is known.
    void firmwareVersionChanged(const QString& text);
    // What the mouse holds changed: read, reset, accepted, or moved by its own button.
    void settingsReported(const lark::SettingsReport& report);
    void outcome(lark::SessionOperation operation, lark::SessionOutcome outcome);
    // An event the mouse sent, after the session took it in.
    void mouseEvent(int code, int value);

private:
    struct Report;

    void enqueue(SessionOperation operation, std::function<SessionOutcome(MouseSession&)> work);
    void deliver(const Report& report);

    Sleeper& sleeper_;
    UnderwaySleeper underway_{sleeper_};
    MouseSession session_;
    SerialWorker worker_{"lark-session"};
    int pending_ = 0;
    SessionOperation busyOperation_ = SessionOperation::None;
    bool stopped_ = false;
    bool startRequested_ = false;
    // Counts the mouse's removal notices: an arrival that a later removal overtook does nothing,
    // so a burst of replugs ends in one connection to the final state. (Arrivals of the same plug,
    // one per interface, find the mouse connected by the first.)
    std::atomic<std::uint64_t> removalNotices_{0};

    // Last state told to the UI thread, so that only changes are signalled.
    std::optional<bool> shownConnected_;
    std::optional<std::optional<std::uint16_t>> shownVersion_;
};

}  // namespace lark

Q_DECLARE_METATYPE(lark::MouseSettings)
Q_DECLARE_METATYPE(lark::SettingsReport)
Q_DECLARE_METATYPE(lark::SessionOutcome)
Q_DECLARE_METATYPE(lark::SessionOperation)
