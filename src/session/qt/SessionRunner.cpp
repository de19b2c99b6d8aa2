#include "session/qt/SessionRunner.h"

#include <QMetaObject>

#include "device/InterfaceNameMatch.h"
#include "device/Log.h"
#include "device/MouseCommands.h"
#include "device/Sleeper.h"
#include "session/SettingsMerge.h"

namespace lark {

// What one operation left behind, copied on the worker thread for the UI thread.
struct SessionRunner::Report {
    SessionOperation operation = SessionOperation::None;
    SessionOutcome outcome = SessionOutcome::Nothing;
    bool connected = false;
    std::optional<std::uint16_t> firmwareVersion;
    bool settingsLoaded = false;
    bool settingsApplied = false;
    MouseSettings settings;
    MouseSettings edited;
};

namespace {

void registerTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<MouseSettings>();
        qRegisterMetaType<SettingsReport>();
        qRegisterMetaType<SessionOutcome>();
        qRegisterMetaType<SessionOperation>();
        return true;
    }();
    (void)registered;
}

}  // namespace

SessionRunner::SessionRunner(HidBackend& backend, Sleeper& sleeper, QObject* parent)
    : QObject(parent), sleeper_(sleeper), session_(backend, underway_)
{
    registerTypes();
    // Events come on the reader's thread; the session takes them in on its own thread.
    session_.setEventHandler([this](std::uint8_t code, std::uint8_t value) {
        worker_.post([this, code, value] {
            if (session_.stopRequested())
                return;
            // APPLY may have taken it in already, between its attempts.
            session_.takeMouseEvents();
            const MouseSettings mouse = session_.model().appliedSettings;
            QMetaObject::invokeMethod(
                this,
                [this, code, value, mouse] {
                    if (stopped_)
                        return;
                    emit settingsReported(SettingsReport{mouse, std::nullopt});
                    emit mouseEvent(code, value);
                },
                Qt::QueuedConnection);
        });
    });
}

SessionRunner::~SessionRunner()
{
    stop();
}

void SessionRunner::stop()
{
    if (stopped_)
        return;
    stopped_ = true;
    underway_.markUnderway();  // nothing more comes: no one waits for it
    session_.requestStop();
    sleeper_.interrupt();
    // The reader hands its events to the worker: it must end while the worker still runs.
    worker_.postAndWait([this] { session_.stopListener(); });
    worker_.stop();
    pending_ = 0;
}

void SessionRunner::start()
{
    // The program may start the session before the window exists; the window asks again.
    if (startRequested_)
        return;
    startRequested_ = true;
    enqueue(SessionOperation::Start, [this](MouseSession& s) {
        const SessionOutcome outcome = s.start();
        underway_.markUnderway();
        return outcome;
    });
}

bool SessionRunner::waitForStartUnderway(std::chrono::milliseconds limit)
{
    return startRequested_ && underway_.waitUntilUnderway(limit);
}

void SessionRunner::apply(const MouseSettings& edited)
{
    enqueue(SessionOperation::Apply, [edited](MouseSession& s) {
        s.model().editedSettings = edited;
        return s.apply();
    });
}

void SessionRunner::factoryReset()
{
    enqueue(SessionOperation::FactoryReset, [](MouseSession& s) { return s.factoryReset(); });
}

void SessionRunner::readAgain()
{
    enqueue(SessionOperation::ReadAgain, [](MouseSession& s) { return s.readAgain(); });
}

void SessionRunner::readAgainKeepingEdits(const MouseSettings& edited, const MouseSettings& shownAsApplied)
{
    enqueue(SessionOperation::ReadAgain, [edited, shownAsApplied](MouseSession& s) {
        const SessionOutcome outcome = s.readAgain();
        if (outcome == SessionOutcome::Connected)
            s.model().editedSettings = mergeEdits(shownAsApplied, edited, s.model().appliedSettings);
        return outcome;
    });
}

void SessionRunner::arrival(const QString& interfaceName)
{
    const std::string name = interfaceName.toStdString();
    // Other devices come and go all the time: they never make the window busy.
    if (!isMouseInterfaceName(name))
        return;
    const std::uint64_t removals = removalNotices_;
    enqueue(SessionOperation::Arrival, [this, name, removals](MouseSession& s) {
        auto superseded = [this, removals] { return removalNotices_ != removals; };
        return superseded() ? SessionOutcome::Nothing : s.arrival(name, superseded);
    });
}

void SessionRunner::removal(const QString& interfaceName)
{
    const std::string name = interfaceName.toStdString();
    if (!isMouseInterfaceName(name))
        return;
    ++removalNotices_;
    enqueue(SessionOperation::Removal, [name](MouseSession& s) { return s.removal(name); });
}

void SessionRunner::runOnWorker(const std::function<void(MouseSession&)>& work)
{
    worker_.postAndWait([this, &work] { work(session_); });
}

void SessionRunner::enqueue(SessionOperation operation, std::function<SessionOutcome(MouseSession&)> work)
{
    if (stopped_)
        return;
    ++pending_;
    busyOperation_ = operation;
    emit busyChanged(true, operation);
    worker_.post([this, operation, work = std::move(work)] {
        const std::uint64_t loadsBefore = session_.settingsLoads();
        Report report;
        report.operation = operation;
        log(LogCategory::App, toString(operation), " begins");
        report.outcome = work(session_);
        log(LogCategory::App, toString(operation), ": ", toString(report.outcome));
        report.connected = session_.isConnected();
        report.firmwareVersion = session_.firmwareVersion();
        report.settingsLoaded = session_.settingsLoads() != loadsBefore;
        report.settingsApplied = report.outcome == SessionOutcome::Applied;
        // A load's settings are what the mouse holds; edits laid over them travel apart.
        report.settings = report.settingsApplied || report.settingsLoaded ? session_.model().appliedSettings
                                                                          : session_.model().editedSettings;
        report.edited = session_.model().editedSettings;
        QMetaObject::invokeMethod(
            this, [this, report] { deliver(report); }, Qt::QueuedConnection);
    });
}

void SessionRunner::deliver(const Report& report)
{
    if (stopped_)
        return;
    if (report.settingsLoaded)
        emit settingsReported(SettingsReport{report.settings, report.edited});
    else if (report.settingsApplied)
        emit settingsReported(SettingsReport{report.settings, std::nullopt});
    if (shownVersion_ != report.firmwareVersion) {
        shownVersion_ = report.firmwareVersion;
        emit firmwareVersionChanged(report.firmwareVersion
                                        ? QString::fromStdString(firmwareVersionText(*report.firmwareVersion))
                                        : QString());
    }
    if (shownConnected_ != report.connected) {
        shownConnected_ = report.connected;
        emit connectedChanged(report.connected);
    }
    --pending_;
    if (pending_ == 0)
        busyOperation_ = SessionOperation::None;
    emit outcome(report.operation, report.outcome);
    emit busyChanged(pending_ > 0, busyOperation_);
}

}  // namespace lark
