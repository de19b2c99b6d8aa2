#include "session/MouseSession.h"

#include "device/DeviceEventListener.h"
#include "device/DeviceIds.h"
#include "device/InterfaceNameMatch.h"
#include "device/Log.h"
#include "device/MouseCommands.h"
#include "device/OutsideAccess.h"
#include "device/Protocol.h"
#include "device/Sleeper.h"
#include "session/SettingsMerge.h"

namespace lark {

namespace {

constexpr int kWriteAttempts = 3;
constexpr unsigned kFirstWriteWaitMs = 300;
constexpr unsigned kWriteWaitStepMs = 50;
constexpr unsigned kArrivalSettleMs = 900;
constexpr int kArrivalVersionReads = 5;
constexpr int kArrivalSettingsReads = 5;
constexpr unsigned kArrivalReadGapMs = 100;

}  // namespace

void applyPollingRateEvent(MouseSettings& settings, std::uint8_t interval)
{
    switch (interval) {
    case 8:
    case 4:
    case 2:
        settings.pollingInterval = interval;
        break;
    case 1:
        // 8000 Hz and motion sync do not go together.
        settings.pollingInterval = 1;
        settings.motionSync = 0;
        break;
    default:
        break;
    }
}

MouseSession::MouseSession(HidBackend& backend, Sleeper& sleeper)
    : backend_(backend), sleeper_(sleeper), link_(backend, sleeper)
{
    model_.setDefaults();
}

MouseSession::~MouseSession()
{
    requestStop();
    stopListener();
}

void MouseSession::setEventHandler(EventHandler handler)
{
    eventHandler_ = std::move(handler);
}

void MouseSession::requestStop()
{
    stopping_ = true;
}

void MouseSession::stopListener()
{
    if (listener_)
        listener_->stop();
}

SessionOutcome MouseSession::notFoundOutcome() const
{
    return link_.lastOpenError() == HidError::PermissionDenied ? SessionOutcome::PermissionDenied
                                                               : SessionOutcome::NotFound;
}

void MouseSession::disconnect()
{
    connected_ = false;
    firmwareVersion_.reset();
}

bool MouseSession::readBlock()
{
    SettingsBlock block{};
    if (readSettings(link_, block) != CommandResult::Done)
        return false;
    model_.lastBlock = block;
    return true;
}

void MouseSession::takeBlockAsSettings()
{
    // The applied copy follows what the mouse holds, so change detection compares with it.
    decodeSettings(model_.lastBlock, model_.editedSettings);
    model_.appliedSettings = model_.editedSettings;
    settingsKnown_ = true;
    ++settingsLoads_;
}

void MouseSession::startListener()
{
    if (stopping_)
        return;
    if (!listener_)
        listener_ = std::make_unique<DeviceEventListener>(backend_, sleeper_);
    listener_->start([this](std::uint8_t code, std::uint8_t value) {
        if (eventHandler_)
            eventHandler_(code, value);
    });
}

SessionOutcome MouseSession::start()
{
    const ExchangeLock lock(lockDirectory_);
    if (stopping_)
        return SessionOutcome::Nothing;
    link_.findMouse(kProductId);
    const bool permissionDenied = link_.lastOpenError() == HidError::PermissionDenied;
    // Reading events from here on, an event the mouse sends while it is being read is kept.
    startListener();

    std::uint16_t version = 0;
    if (readFirmwareVersion(link_, version) == CommandResult::Done) {
        connected_ = true;
        firmwareVersion_ = version;
    } else {
        disconnect();
    }

    SessionOutcome outcome = SessionOutcome::Connected;
    if (!stopping_ && readBlock())
        takeBlockAsSettings();
    else if (link_.isConnected())
        outcome = SessionOutcome::SettingsNotRead;  // the settings shown are not the mouse's

    if (permissionDenied)
        return SessionOutcome::PermissionDenied;
    if (!connected_ && outcome == SessionOutcome::Connected)
        return SessionOutcome::NotFound;
    return outcome;
}

SessionOutcome MouseSession::removal(const std::string& interfaceName)
{
    logHotplug("removal", interfaceName);
    if (!isMouseInterfaceName(interfaceName) || !link_.isConnected())
        return SessionOutcome::Nothing;
    disconnect();
    link_.setConnected(false);
    return SessionOutcome::Unplugged;
}

SessionOutcome MouseSession::arrival(const std::string& interfaceName)
{
    const ExchangeLock lock(lockDirectory_);
    logHotplug("arrival", interfaceName);
    if (stopping_ || !isMouseInterfaceName(interfaceName) || link_.isConnected())
        return SessionOutcome::Nothing;
    sleeper_.sleepMs(kArrivalSettleMs);
    if (stopping_)
        return SessionOutcome::Nothing;
    if (!link_.findMouse(kProductId)) {
        // Gone again, or not ours to open: the next arrival tries again.
        disconnect();
        return notFoundOutcome();
    }
    connected_ = true;
    // As at start-up: a press of the polling-rate button during the reads below is an event.
    startListener();
    for (int i = 0; i < kArrivalVersionReads && !stopping_; ++i) {
        std::uint16_t version = 0;
        if (readFirmwareVersion(link_, version) == CommandResult::Done)
            firmwareVersion_ = version;
        sleeper_.sleepMs(kArrivalReadGapMs);
    }
    bool settingsRead = false;
    for (int i = 0; i < kArrivalSettingsReads && !settingsRead && !stopping_; ++i) {
        settingsRead = readBlock();
        if (!settingsRead)
            sleeper_.sleepMs(kArrivalReadGapMs);
    }
    if (settingsRead)
        takeBlockAsSettings();
    if (!settingsRead && link_.isConnected())
        return SessionOutcome::SettingsNotRead;  // the settings from before stay
    return SessionOutcome::Connected;
}

void MouseSession::logHotplug(const char* what, const std::string& interfaceName) const
{
    log(LogCategory::Hotplug, what, " of ", interfaceName,
        isMouseInterfaceName(interfaceName) ? ": the mouse" : ": not the mouse",
        link_.isConnected() ? ", connected" : ", not connected");
}

bool MouseSession::reconnect()
{
    link_.closeDevice();
    link_.setConnected(false);
    if (link_.findMouse(kProductId))
        return true;
    // Whatever the window showed, the mouse is not there: say so, so that its return counts
    // as an arrival.
    disconnect();
    return false;
}

SessionOutcome MouseSession::apply()
{
    const ExchangeLock lock(lockDirectory_);
    if (stopping_)
        return SessionOutcome::Nothing;
    if (!reconnect())
        return notFoundOutcome();
    if (!settingsKnown_) {
        // Never write settings built from defaults over the mouse's: read them first and lay
        // the user's edits over them.
        const MouseSettings base = model_.appliedSettings;
        if (!readBlock())
            return SessionOutcome::UnreadNotWritten;
        MouseSettings mouse;
        decodeSettings(model_.lastBlock, mouse);
        model_.editedSettings = mergeEdits(base, model_.editedSettings, mouse);
        model_.appliedSettings = mouse;
        settingsKnown_ = true;
        ++settingsLoads_;
    }
    for (int attempt = 0; attempt < kWriteAttempts && !stopping_; ++attempt) {
        const auto wait = static_cast<std::uint16_t>(kFirstWriteWaitMs + kWriteWaitStepMs * attempt);
        const CommandResult result = writeSettings(link_, model_.editedSettings, wait);
        log(LogCategory::App, "write attempt ", attempt + 1, " of ", kWriteAttempts, " (", wait,
            " ms): ", toString(result));
        if (result == CommandResult::Done) {
            // Only what the mouse accepted counts as applied.
            model_.copyEditedToApplied();
            model_.lastBlock = SettingsBlock{};
            encodeSettings(model_.appliedSettings, model_.lastBlock);
            return SessionOutcome::Applied;
        }
    }
    return stopping_ ? SessionOutcome::Nothing : SessionOutcome::Refused;
}

SessionOutcome MouseSession::factoryReset()
{
    const ExchangeLock lock(lockDirectory_);
    if (stopping_)
        return SessionOutcome::Nothing;
    if (!reconnect())
        return notFoundOutcome();
    switch (sendFactoryReset(link_)) {
    case CommandResult::Done:
        break;
    case CommandResult::NotSent:
        return SessionOutcome::ResetNotSent;
    default:
        return SessionOutcome::ResetNotConfirmed;  // the pages keep what they showed
    }
    // The mouse holds its factory settings now; the bytes the tool never shows stay as read.
    setDefaults(model_.editedSettings);
    model_.appliedSettings = model_.editedSettings;
    if (settingsKnown_) {
        model_.lastBlock = SettingsBlock{};
        encodeSettings(model_.appliedSettings, model_.lastBlock);
    }
    ++settingsLoads_;
    return SessionOutcome::ResetDone;
}

SessionOutcome MouseSession::readAgain()
{
    const ExchangeLock lock(lockDirectory_);
    if (stopping_)
        return SessionOutcome::Nothing;
    if (!reconnect())
        return notFoundOutcome();
    std::uint16_t version = 0;
    if (readFirmwareVersion(link_, version) == CommandResult::Done) {
        connected_ = true;
        firmwareVersion_ = version;
    }
    if (!readBlock())
        return SessionOutcome::SettingsNotRead;
    takeBlockAsSettings();
    if (!listener_ || !listener_->isReading())
        startListener();
    return SessionOutcome::Connected;
}

void MouseSession::handleMouseEvent(std::uint8_t code, std::uint8_t value)
{
    if (code != kEventPollingRateChanged)
        return;
    applyPollingRateEvent(model_.editedSettings, value);
    applyPollingRateEvent(model_.appliedSettings, value);
}

}  // namespace lark
