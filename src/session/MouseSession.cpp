#include "session/MouseSession.h"

#include <chrono>
#include <thread>

#include "device/DeviceEventListener.h"
#include "device/DeviceIds.h"
#include "device/InterfaceNameMatch.h"
#include "device/Log.h"
#include "device/MouseCommands.h"
#include "device/Protocol.h"
#include "device/Sleeper.h"
#include "model/Rules.h"
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

MouseSession::MouseSession(HidBackend& backend, Sleeper& sleeper)
    : backend_(backend), sleeper_(sleeper), link_(backend, sleeper)
{
    link_.setStopFlag(&stopping_);
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

bool MouseSession::lockMouse(std::optional<ExchangeLock>& lock)
{
    if (!link_.hasHandle())
        return true;
    lock.emplace(link_.path(), [this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return stopping_ || cancelling_;
    });
    if (!lock->held())
        log(LogCategory::App, "gave up waiting for the mouse's exchange lock");
    return lock->held();
}

SessionOutcome MouseSession::interrupted() const
{
    return stopping_ || !cancelling_ ? SessionOutcome::Nothing : SessionOutcome::Cancelled;
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

void MouseSession::startListener(const std::vector<HidInterfaceInfo>& interfaces)
{
    if (stopping_)
        return;
    if (!listener_)
        listener_ = std::make_unique<DeviceEventListener>(backend_, sleeper_);
    listener_->start([this](std::uint8_t code, std::uint8_t value) { mouseEventArrived(code, value); },
                     interfaces);
}

SessionOutcome MouseSession::start()
{
    if (stopping_ || cancelling_)
        return interrupted();
    link_.findMouse(kProductId);
    const bool permissionDenied = link_.lastOpenError() == HidError::PermissionDenied;
    std::optional<ExchangeLock> lock;
    if (!lockMouse(lock))
        return interrupted();
    // Reading events from here on, an event the mouse sends while it is being read is kept. The
    // interfaces found a moment ago serve: a second enumeration would delay the first request.
    startListener(link_.interfaces());

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
    if (!isMouseInterfaceName(interfaceName) || (!link_.isConnected() && !connected_))
        return SessionOutcome::Nothing;
    disconnect();
    link_.setConnected(false);
    return SessionOutcome::Unplugged;
}

SessionOutcome MouseSession::arrival(const std::string& interfaceName, const std::function<bool()>& superseded)
{
    logHotplug("arrival", interfaceName);
    if (stopping_ || !isMouseInterfaceName(interfaceName) || link_.isConnected())
        return SessionOutcome::Nothing;
    sleeper_.sleepMs(kArrivalSettleMs);
    if (stopping_ || (superseded && superseded()))
        return SessionOutcome::Nothing;
    if (!link_.findMouse(kProductId)) {
        // Gone again, or not ours to open: the next arrival tries again.
        disconnect();
        return notFoundOutcome();
    }
    std::optional<ExchangeLock> lock;
    if (!lockMouse(lock))
        return interrupted();
    connected_ = true;
    // As at start-up: a press of the polling-rate button during the reads below is an event.
    startListener(link_.interfaces());
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

bool MouseSession::reconnect(Miss miss)
{
    link_.closeDevice();
    link_.setConnected(false);
    if (link_.findMouse(kProductId))
        return true;
    // APPLY and Factory Reset that miss the mouse change nothing the window shows: the edits and
    // the controls stay, so the user can try again. The link stays closed, so the mouse's return
    // counts as an arrival and its removal still as a removal.
    if (miss == Miss::Disconnects)
        disconnect();
    return false;
}

SessionOutcome MouseSession::apply()
{
    if (stopping_ || cancelling_)
        return interrupted();
    if (!reconnect(Miss::KeepsShownState))
        return notFoundOutcome();
    std::optional<ExchangeLock> lock;
    if (!lockMouse(lock))
        return interrupted();
    // Never write over settings this session has not seen: read what the mouse holds now (another
    // program may have written since) and lay the edits over it.
    const MouseSettings base = model_.appliedSettings;
    if (!readBlock())
        return SessionOutcome::UnreadNotWritten;
    MouseSettings mouse;
    decodeSettings(model_.lastBlock, mouse);
    if (!settingsKnown_ || mouse != base) {
        model_.editedSettings = mergeEdits(base, model_.editedSettings, mouse);
        model_.appliedSettings = mouse;
        settingsKnown_ = true;
        ++settingsLoads_;
    }
    // The last moment to cancel: after the first write frame the outcome is told as it is.
    if (stopping_ || cancelling_)
        return interrupted();
    bool uncertain = false;
    for (int attempt = 0; attempt < kWriteAttempts && (attempt == 0 || !stopping_); ++attempt) {
        // The polling-rate button pressed meanwhile: this attempt writes the rate it chose.
        takeMouseEvents();
        const auto wait = static_cast<std::uint16_t>(kFirstWriteWaitMs + kWriteWaitStepMs * attempt);
        const CommandResult result = writeSettings(link_, model_.editedSettings, wait);
        log(LogCategory::App, "write attempt ", attempt + 1, " of ", kWriteAttempts, " (", wait,
            " ms): ", toString(result));
        if (result == CommandResult::Done)
            return takeWrittenAsApplied();
        uncertain = uncertain || result == CommandResult::StatusNotFetched;
    }
    if (stopping_)
        return SessionOutcome::Nothing;
    // A write whose answer was lost may have landed: what the mouse holds tells.
    if (uncertain && readBlock()) {
        MouseSettings held;
        decodeSettings(model_.lastBlock, held);
        if (!writeDiffers(held, model_.editedSettings))
            return takeWrittenAsApplied();
    }
    return SessionOutcome::Refused;
}

SessionOutcome MouseSession::takeWrittenAsApplied()
{
    // Only what the mouse accepted counts as applied.
    model_.copyEditedToApplied();
    model_.lastBlock = SettingsBlock{};
    encodeSettings(model_.appliedSettings, model_.lastBlock);
    return SessionOutcome::Applied;
}

SessionOutcome MouseSession::factoryReset()
{
    if (stopping_ || cancelling_)
        return interrupted();
    if (!reconnect(Miss::KeepsShownState))
        return notFoundOutcome();
    std::optional<ExchangeLock> lock;
    if (!lockMouse(lock) || cancelling_)
        return interrupted();
    MouseSettings factory = model_.appliedSettings;
    setDefaults(factory);
    switch (sendFactoryReset(link_)) {
    case CommandResult::Done:
        break;
    case CommandResult::NotSent:
        return SessionOutcome::ResetNotSent;
    default:
        // The answer was lost: the mouse's settings tell whether it reset. Otherwise the pages
        // keep what they showed.
        if (stopping_ || !readBlock())
            return SessionOutcome::ResetNotConfirmed;
        MouseSettings held;
        decodeSettings(model_.lastBlock, held);
        MouseSettings heldAsFactory = held;
        setDefaults(heldAsFactory);  // whatever bytes the factory leaves unseen
        if (writeDiffers(held, heldAsFactory))
            return SessionOutcome::ResetNotConfirmed;
        takeBlockAsSettings();
        return SessionOutcome::ResetDone;
    }
    // What the mouse holds now is what counts as applied: read it.
    if (!stopping_ && readBlock()) {
        takeBlockAsSettings();
        return SessionOutcome::ResetDone;
    }
    // Not readable: the factory settings, with the bytes the tool never shows as they were.
    model_.editedSettings = factory;
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
    if (stopping_ || cancelling_)
        return interrupted();
    if (!reconnect(Miss::Disconnects))
        return notFoundOutcome();
    std::optional<ExchangeLock> lock;
    if (!lockMouse(lock))
        return interrupted();
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

void MouseSession::mouseEventArrived(std::uint8_t code, std::uint8_t value)
{
    {
        std::lock_guard lock(eventsMutex_);
        arrivedEvents_.push_back({code, value});
    }
    if (eventHandler_)
        eventHandler_(code, value);
}

std::vector<MouseEvent> MouseSession::takeMouseEvents()
{
    std::vector<MouseEvent> events;
    {
        std::lock_guard lock(eventsMutex_);
        events.swap(arrivedEvents_);
    }
    for (const MouseEvent& event : events)
        handleMouseEvent(event);
    return events;
}

void MouseSession::handleMouseEvent(MouseEvent event)
{
    if (event.code != kEventPollingRateChanged)
        return;
    applyPollingRateEvent(model_.editedSettings, event.value);
    applyPollingRateEvent(model_.appliedSettings, event.value);
}

}  // namespace lark
