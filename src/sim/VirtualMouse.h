#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/HidBackend.h"
#include "device/Protocol.h"
#include "settings/MouseSettings.h"
#include "settings/SettingsBlock.h"

namespace lark {

// The mouse's side of the protocol behind HidBackend: three interfaces (a plain mouse
// collection, the configuration collection and the event collection), the stored settings
// block, the firmware version, command handling, status answers, event reports, hot-plug
// and fault injection. Every open, close, set, get and delivered read is logged with the
// injected clock. Thread-safe: a listener thread may read events while another thread
// exchanges feature reports. Devices it hands out stay safe to use (they just fail) after
// the mouse is unplugged or destroyed; a device must not be destroyed while one of its own
// calls is running on another thread.
class VirtualMouse : public HidBackend {
public:
    using Clock = std::function<std::uint64_t()>;  // milliseconds
    using HotplugCallback = std::function<void(bool arrival, const std::string& path)>;

    enum class Collection { Mouse, Config, Event };
    enum class Direction { Open, Close, Set, Get, Read };

    struct Frame {
        Direction direction = Direction::Set;
        Collection collection = Collection::Config;
        std::uint8_t reportId = 0;
        std::vector<std::uint8_t> bytes;  // sent, or answered; empty when the call failed
        int result = 0;                   // what the call returned
        HidError error = HidError::None;
        std::uint64_t timeMs = 0;
    };

    static constexpr int kForever = -1;
    static constexpr std::uint16_t kFactoryFirmwareVersion = 0x0106;
    static constexpr std::uint8_t kEventReportId = 0x06;
    static constexpr const char* kFactorySerialNumber = "VM0001";

    // Without a clock, frames are stamped with real milliseconds since construction.
    explicit VirtualMouse(Clock clock = {});
    ~VirtualMouse() override;
    VirtualMouse(const VirtualMouse&) = delete;
    VirtualMouse& operator=(const VirtualMouse&) = delete;

    void setClock(Clock clock);

    // Enumeration lists these collections in this order (default Mouse, Config, Event);
    // a collection left out is not there at all.
    void setEnumerationOrder(std::vector<Collection> order);
    static std::string pathOf(Collection collection);

    void setFirmwareVersion(std::uint16_t version);
    // Every interface lists it; empty for a mouse without one.
    void setSerialNumber(std::string serialNumber);
    // The factory block is the encoding of the defaults; only its opaque bytes can be chosen.
    void setFactoryOpaque(const std::array<std::uint8_t, kOpaque0FSize>& opaque);
    SettingsBlock factoryBlock() const;
    SettingsBlock storedBlock() const;
    void setStoredBlock(const SettingsBlock& block);
    void restoreFactoryBlock();

    // Faults. Counts are numbers of calls, or kForever.
    // The next `gets` feature gets answer `status` in byte 1 (a busy answer carries nothing else).
    void answerStatus(std::uint8_t status, int gets);
    void answerBusy(int gets, std::uint8_t status = 3) { answerStatus(status, gets); }
    // The next `times` requests of this command (a settings write, a factory reset) are refused:
    // not carried out, and their status says not done. Other commands answer as usual.
    void refuse(std::uint8_t command, int times);
    void refuseWrites(int writes) { refuse(kCommandWriteSettings, writes); }
    enum class Call { Set, Get, Read, Open };
    // The next `times` calls of this kind fail with `error`.
    void fail(Call call, HidError error, int times);
    void clearFaults();

    // Hot-plug. Devices open at unplug are dead for good: their calls fail with DeviceGone.
    // The callback runs once per interface, on the caller's thread, outside the mouse's lock.
    void unplug();
    void plug();
    bool isPlugged() const;
    void setHotplugCallback(HotplugCallback callback);

    // Queues the input report [id, code, value, 0...] (8 bytes) for every open event device.
    void pushEvent(std::uint8_t code, std::uint8_t value);

    std::vector<Frame> frameLog() const;
    void clearFrameLog();
    int openDeviceCount() const;

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
    HidError lastOpenError() const override;

private:
    struct State;
    class Device;

    void notifyHotplug(bool arrival);

    std::shared_ptr<State> state_;
};

}  // namespace lark
