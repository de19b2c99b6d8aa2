#include "sim/VirtualMouse.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

#include "device/DeviceIds.h"
#include "device/Protocol.h"

namespace lark {

namespace {

struct Fault {
    HidError error = HidError::None;
    int remaining = 0;

    // Takes one occurrence: the error to report, or None when the fault is used up.
    HidError take()
    {
        if (remaining == 0)
            return HidError::None;
        if (remaining > 0)
            --remaining;
        return error;
    }
};

struct InterfaceDescription {
    VirtualMouse::Collection collection;
    std::uint16_t usagePage;
    std::uint16_t usage;
    int interfaceNumber;
    const char* path;
};

// Paths as udev reports hidraw nodes in sysfs, so hot-plug handling can match the IDs in them.
constexpr std::array kInterfaces{
    InterfaceDescription{VirtualMouse::Collection::Mouse, 0x0001, 0x0002, 0,
                         "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/0003:F1A5:2B7E.0001/hidraw/"
                         "hidraw0"},
    InterfaceDescription{VirtualMouse::Collection::Config, kConfigUsagePage, kConfigUsage, 1,
                         "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.1/0003:F1A5:2B7E.0002/hidraw/"
                         "hidraw1"},
    InterfaceDescription{VirtualMouse::Collection::Event, kEventUsagePage, kEventUsage, 2,
                         "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.2/0003:F1A5:2B7E.0003/hidraw/"
                         "hidraw2"},
};

const InterfaceDescription& describe(VirtualMouse::Collection collection)
{
    return kInterfaces[static_cast<std::size_t>(collection)];
}

SettingsBlock defaultsBlock(const std::array<std::uint8_t, kOpaque0FSize>& opaque)
{
    MouseSettings defaults;
    defaults.opaque0F = opaque;
    setDefaults(defaults);
    SettingsBlock block{};
    encodeSettings(defaults, block);
    return block;
}

}  // namespace

struct VirtualMouse::State {
    mutable std::mutex mutex;
    std::condition_variable inputArrived;

    Clock clock;
    std::vector<Collection> order{Collection::Mouse, Collection::Config, Collection::Event};

    // Firmware.
    std::uint16_t firmwareVersion = kFactoryFirmwareVersion;
    std::string serialNumber = kFactorySerialNumber;
    SettingsBlock factory = defaultsBlock({});
    SettingsBlock stored = factory;
    std::uint8_t lastCommand = 0;
    std::uint8_t commandStatus = 0;  // byte 1 of the next 0xA1 answer
    bool settingsOffered = false;    // a 0x12 request came before the 0xA0 get

    // Faults.
    std::uint8_t forcedStatus = 0;
    int forcedStatusRemaining = 0;
    std::uint8_t commandToRefuse = 0;
    int refusalsLeft = 0;

    // Whether this command is one to refuse now (and counts it).
    bool refuses(std::uint8_t command)
    {
        if (command != commandToRefuse || refusalsLeft == 0)
            return false;
        if (refusalsLeft > 0)
            --refusalsLeft;
        return true;
    }
    std::array<Fault, 4> faults{};  // by Call
    Fault& fault(Call call) { return faults[static_cast<std::size_t>(call)]; }
    HidError lastOpenError = HidError::None;

    // Plugging. A device opened in an earlier generation is dead.
    bool plugged = true;
    unsigned generation = 0;
    HotplugCallback hotplug;

    // Open devices and their input queues.
    struct OpenDevice {
        Collection collection;
        std::deque<std::vector<std::uint8_t>> input;
    };
    int nextDeviceId = 1;
    std::map<int, OpenDevice> openDevices;

    std::vector<Frame> log;

    std::uint64_t now() const { return clock ? clock() : 0; }

    void record(Direction direction, Collection collection, std::uint8_t reportId,
                std::vector<std::uint8_t> bytes, int result, HidError error)
    {
        log.push_back(Frame{direction, collection, reportId, std::move(bytes), result, error, now()});
    }
};

class VirtualMouse::Device : public HidDevice {
public:
    Device(std::shared_ptr<State> state, Collection collection, int id, unsigned generation)
        : state_(std::move(state)), collection_(collection), id_(id), generation_(generation)
    {
    }

    ~Device() override
    {
        std::lock_guard lock(state_->mutex);
        state_->openDevices.erase(id_);
        state_->record(Direction::Close, collection_, 0, {}, 0, HidError::None);
    }

    int sendFeatureReport(const std::uint8_t* data, std::size_t length) override
    {
        std::lock_guard lock(state_->mutex);
        State& s = *state_;
        const std::uint8_t id = length > 0 ? data[0] : 0;
        HidError error = callError(Call::Set);
        if (error == HidError::None && !acceptsFeature(id, length))
            error = HidError::Transient;  // the device stalls reports it does not know
        if (error != HidError::None)
            return fail(Direction::Set, id, {data, data + length}, error);

        const bool refused = length > 1 && s.refuses(data[1]);
        if (id == kCommandReportId) {
            s.lastCommand = data[1];
            s.settingsOffered = data[1] == kCommandReadSettings;
            if (data[1] == kCommandFactoryReset && !refused)
                s.stored = s.factory;
            const bool known = data[1] == kCommandReadVersion || data[1] == kCommandReadSettings ||
                               data[1] == kCommandFactoryReset;
            s.commandStatus = refused ? 0 : known ? kStatusDone : 2;
        } else {
            s.lastCommand = data[1];
            s.settingsOffered = false;
            if (data[1] == kCommandWriteSettings && !refused)
                std::copy(data + kSettingsBlockOffset, data + kSettingsBlockOffset + kSettingsBlockSize,
                          s.stored.begin());
            s.commandStatus = refused ? 0 : data[1] == kCommandWriteSettings ? kStatusDone : 2;
        }
        lastError_ = HidError::None;
        const int result = static_cast<int>(length);
        s.record(Direction::Set, collection_, id, {data, data + length}, result, HidError::None);
        return result;
    }

    int getFeatureReport(std::uint8_t* data, std::size_t length) override
    {
        std::lock_guard lock(state_->mutex);
        State& s = *state_;
        const std::uint8_t id = length > 0 ? data[0] : 0;
        HidError error = callError(Call::Get);
        const bool known = collection_ == Collection::Config && length > 0 &&
                           (id == kCommandReportId || id == kSettingsReportId);
        if (error == HidError::None && !known)
            error = HidError::Transient;
        if (error != HidError::None)
            return fail(Direction::Get, id, {}, error);

        std::vector<std::uint8_t> answer = answerFor(id);
        if (s.forcedStatusRemaining != 0) {
            if (s.forcedStatusRemaining > 0)
                --s.forcedStatusRemaining;
            if (isBusyStatus(s.forcedStatus))
                std::fill(answer.begin() + 1, answer.end(), 0);
            answer[1] = s.forcedStatus;
        }
        // Like hidraw: a shorter buffer gets the start of the report, a longer one the report.
        const std::size_t count = std::min(length, answer.size());
        std::copy(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(count), data);
        lastError_ = HidError::None;
        const int result = static_cast<int>(count);
        s.record(Direction::Get, collection_, id, {data, data + count}, result, HidError::None);
        return result;
    }

    int read(std::uint8_t* data, std::size_t length, int timeoutMs) override
    {
        std::unique_lock lock(state_->mutex);
        State& s = *state_;
        // An interrupted read takes no injected fault: it only ends.
        if (dead())
            return fail(Direction::Read, 0, {}, HidError::DeviceGone);
        if (HidError error = interrupted_ ? HidError::None : callError(Call::Read); error != HidError::None)
            return fail(Direction::Read, 0, {}, error);
        auto ready = [&] { return interrupted_ || dead() || !s.openDevices[id_].input.empty(); };
        if (timeoutMs < 0)
            s.inputArrived.wait(lock, ready);
        else
            s.inputArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
        if (interrupted_ || (!dead() && s.openDevices[id_].input.empty())) {
            lastError_ = HidError::None;
            return 0;
        }
        if (dead())
            return fail(Direction::Read, 0, {}, HidError::DeviceGone);
        auto& queue = s.openDevices[id_].input;
        const std::vector<std::uint8_t> report = std::move(queue.front());
        queue.pop_front();
        const std::size_t count = std::min(length, report.size());
        std::copy(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(count), data);
        lastError_ = HidError::None;
        s.record(Direction::Read, collection_, report[0], {data, data + count}, static_cast<int>(count),
                 HidError::None);
        return static_cast<int>(count);
    }

    void interruptRead() override
    {
        std::lock_guard lock(state_->mutex);
        interrupted_ = true;
        state_->inputArrived.notify_all();
    }

    HidError lastError() const override
    {
        std::lock_guard lock(state_->mutex);
        return lastError_;
    }

private:
    bool dead() const { return !state_->plugged || state_->generation != generation_; }

    // What a call meets before the firmware sees it: the mouse gone, or an injected fault.
    HidError callError(Call call)
    {
        if (dead())
            return HidError::DeviceGone;
        return state_->fault(call).take();
    }

    bool acceptsFeature(std::uint8_t id, std::size_t length) const
    {
        if (collection_ != Collection::Config)
            return false;
        return (id == kCommandReportId && length == kCommandReportLength) ||
               (id == kSettingsReportId && length == kSettingsReportLength);
    }

    int fail(Direction direction, std::uint8_t id, std::vector<std::uint8_t> bytes, HidError error)
    {
        lastError_ = error;
        state_->record(direction, collection_, id, std::move(bytes), -1, error);
        return -1;
    }

    std::vector<std::uint8_t> answerFor(std::uint8_t id)
    {
        State& s = *state_;
        if (id == kCommandReportId) {
            std::vector<std::uint8_t> answer(kCommandReportLength, 0);
            answer[0] = kCommandReportId;
            answer[1] = s.commandStatus;
            if (s.lastCommand == kCommandReadVersion && s.commandStatus == kStatusDone) {
                answer[kVersionLowByte] = static_cast<std::uint8_t>(s.firmwareVersion & 0xFF);
                answer[kVersionHighByte] = static_cast<std::uint8_t>(s.firmwareVersion >> 8);
            }
            return answer;
        }
        std::vector<std::uint8_t> answer(kSettingsReportLength, 0);
        answer[0] = kSettingsReportId;
        if (s.settingsOffered) {
            answer[1] = kStatusDone;
            std::copy(s.stored.begin(), s.stored.end(), answer.begin() + kSettingsBlockOffset);
        } else {
            answer[1] = 2;
        }
        return answer;
    }

    std::shared_ptr<State> state_;
    Collection collection_;
    int id_;
    unsigned generation_;
    HidError lastError_ = HidError::None;
    bool interrupted_ = false;  // guarded by the state's mutex
};

VirtualMouse::VirtualMouse(Clock clock) : state_(std::make_shared<State>())
{
    setClock(std::move(clock));
}

VirtualMouse::~VirtualMouse()
{
    // Devices still open outlive the mouse; they see it as gone.
    std::lock_guard lock(state_->mutex);
    state_->plugged = false;
    ++state_->generation;
    state_->hotplug = nullptr;
    state_->inputArrived.notify_all();
}

void VirtualMouse::setClock(Clock clock)
{
    if (!clock) {
        const auto start = std::chrono::steady_clock::now();
        clock = [start] {
            return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::steady_clock::now() - start)
                                                  .count());
        };
    }
    std::lock_guard lock(state_->mutex);
    state_->clock = std::move(clock);
}

void VirtualMouse::setEnumerationOrder(std::vector<Collection> order)
{
    std::lock_guard lock(state_->mutex);
    state_->order = std::move(order);
}

std::string VirtualMouse::pathOf(Collection collection)
{
    return describe(collection).path;
}

void VirtualMouse::setFirmwareVersion(std::uint16_t version)
{
    std::lock_guard lock(state_->mutex);
    state_->firmwareVersion = version;
}

void VirtualMouse::setSerialNumber(std::string serialNumber)
{
    std::lock_guard lock(state_->mutex);
    state_->serialNumber = std::move(serialNumber);
}

void VirtualMouse::setFactoryOpaque(const std::array<std::uint8_t, kOpaque0FSize>& opaque)
{
    std::lock_guard lock(state_->mutex);
    state_->factory = defaultsBlock(opaque);
}

SettingsBlock VirtualMouse::factoryBlock() const
{
    std::lock_guard lock(state_->mutex);
    return state_->factory;
}

SettingsBlock VirtualMouse::storedBlock() const
{
    std::lock_guard lock(state_->mutex);
    return state_->stored;
}

void VirtualMouse::setStoredBlock(const SettingsBlock& block)
{
    std::lock_guard lock(state_->mutex);
    state_->stored = block;
}

void VirtualMouse::restoreFactoryBlock()
{
    std::lock_guard lock(state_->mutex);
    state_->stored = state_->factory;
}

void VirtualMouse::answerStatus(std::uint8_t status, int gets)
{
    std::lock_guard lock(state_->mutex);
    state_->forcedStatus = status;
    state_->forcedStatusRemaining = gets;
}

void VirtualMouse::refuse(std::uint8_t command, int times)
{
    std::lock_guard lock(state_->mutex);
    state_->commandToRefuse = command;
    state_->refusalsLeft = times;
}

void VirtualMouse::fail(Call call, HidError error, int times)
{
    std::lock_guard lock(state_->mutex);
    state_->fault(call) = Fault{error, times};
}

void VirtualMouse::clearFaults()
{
    std::lock_guard lock(state_->mutex);
    state_->forcedStatusRemaining = 0;
    state_->refusalsLeft = 0;
    state_->faults.fill(Fault{});
}

void VirtualMouse::unplug()
{
    {
        std::lock_guard lock(state_->mutex);
        if (!state_->plugged)
            return;
        state_->plugged = false;
        ++state_->generation;
        for (auto& [id, device] : state_->openDevices)
            device.input.clear();
        state_->inputArrived.notify_all();
    }
    notifyHotplug(false);
}

void VirtualMouse::plug()
{
    {
        std::lock_guard lock(state_->mutex);
        if (state_->plugged)
            return;
        state_->plugged = true;
        // A fresh power-up: nothing pending from before, the stored block kept.
        state_->lastCommand = 0;
        state_->commandStatus = 0;
        state_->settingsOffered = false;
    }
    notifyHotplug(true);
}

bool VirtualMouse::isPlugged() const
{
    std::lock_guard lock(state_->mutex);
    return state_->plugged;
}

void VirtualMouse::setHotplugCallback(HotplugCallback callback)
{
    std::lock_guard lock(state_->mutex);
    state_->hotplug = std::move(callback);
}

void VirtualMouse::notifyHotplug(bool arrival)
{
    HotplugCallback callback;
    std::vector<Collection> order;
    {
        std::lock_guard lock(state_->mutex);
        callback = state_->hotplug;
        order = state_->order;
    }
    if (!callback)
        return;
    for (Collection collection : order)
        callback(arrival, pathOf(collection));
}

void VirtualMouse::pushEvent(std::uint8_t code, std::uint8_t value)
{
    std::lock_guard lock(state_->mutex);
    if (!state_->plugged)
        return;
    std::vector<std::uint8_t> report(kEventReportLength, 0);
    report[0] = kEventReportId;
    report[1] = code;
    report[2] = value;
    // Queued for each open event device, as hidraw does for each open node; nobody
    // listening means the report is lost.
    for (auto& [id, device] : state_->openDevices)
        if (device.collection == Collection::Event)
            device.input.push_back(report);
    state_->inputArrived.notify_all();
}

std::vector<VirtualMouse::Frame> VirtualMouse::frameLog() const
{
    std::lock_guard lock(state_->mutex);
    return state_->log;
}

void VirtualMouse::clearFrameLog()
{
    std::lock_guard lock(state_->mutex);
    state_->log.clear();
}

int VirtualMouse::openDeviceCount() const
{
    std::lock_guard lock(state_->mutex);
    return static_cast<int>(state_->openDevices.size());
}

std::vector<HidInterfaceInfo> VirtualMouse::enumerate(std::uint16_t vendorId, std::uint16_t productId)
{
    std::lock_guard lock(state_->mutex);
    std::vector<HidInterfaceInfo> interfaces;
    const bool matches =
        (vendorId == 0 || vendorId == kVendorId) && (productId == 0 || productId == kProductId);
    if (!state_->plugged || !matches)
        return interfaces;
    for (Collection collection : state_->order) {
        const InterfaceDescription& d = describe(collection);
        interfaces.push_back(HidInterfaceInfo{d.path, kVendorId, kProductId, d.usagePage, d.usage,
                                              d.interfaceNumber, state_->serialNumber});
    }
    return interfaces;
}

std::unique_ptr<HidDevice> VirtualMouse::open(const std::string& path)
{
    std::lock_guard lock(state_->mutex);
    State& s = *state_;
    const auto known = std::find_if(kInterfaces.begin(), kInterfaces.end(),
                                    [&](const InterfaceDescription& d) { return path == d.path; });
    const bool listed = known != kInterfaces.end() &&
                        std::find(s.order.begin(), s.order.end(), known->collection) != s.order.end();
    if (!s.plugged || !listed) {
        s.lastOpenError = HidError::DeviceGone;
        return nullptr;
    }
    if (HidError injected = s.fault(Call::Open).take(); injected != HidError::None) {
        s.lastOpenError = injected;
        return nullptr;
    }
    s.lastOpenError = HidError::None;
    const int id = s.nextDeviceId++;
    s.openDevices[id] = State::OpenDevice{known->collection, {}};
    s.record(Direction::Open, known->collection, 0, {}, 0, HidError::None);
    return std::make_unique<Device>(state_, known->collection, id, s.generation);
}

HidError VirtualMouse::lastOpenError() const
{
    std::lock_guard lock(state_->mutex);
    return state_->lastOpenError;
}

}  // namespace lark
