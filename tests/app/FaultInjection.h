#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/DeviceIds.h"
#include "device/HidBackend.h"
#include "sim/VirtualMouse.h"

namespace lark::test {

// What goes wrong with one mouse command, for as long as the plan stays set.
enum class Fault {
    None,
    BusyForever,   // every answer says busy
    TransientSet,  // every request fails with a retryable error
    TransientGet,  // every answer fetch fails with a retryable error
    FatalSet,      // every request fails with an error that is not retried
    FatalGet,
    UnplugAt,  // the mouse is pulled out at the command's nth exchange (set or get)
};

// The virtual mouse behind a wrapper that knows which command each feature exchange
// belongs to (the last request sent), so a fault can hit one command and leave the others.
// Unplugging goes through the mouse itself, so hot-plug notifications follow as usual.
class FaultInjectingBackend : public HidBackend {
public:
    explicit FaultInjectingBackend(VirtualMouse& mouse) : mouse_(mouse) {}

    // `command` is the request's command byte (0x02, 0x12, 0x11, 0x13). With UnplugAt, `nth`
    // counts that command's exchanges (sets and gets, over all its calls) from 1.
    void plan(std::uint8_t command, Fault fault, int nth = 1)
    {
        command_ = command;
        fault_ = fault;
        nth_ = nth;
        seen_ = 0;
    }
    void clearPlan() { fault_ = Fault::None; }
    int exchangesOfPlannedCommand() const { return seen_; }

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override
    {
        return mouse_.enumerate(vendorId, productId);
    }
    std::unique_ptr<HidDevice> open(const std::string& path) override
    {
        std::unique_ptr<HidDevice> device = mouse_.open(path);
        if (!device)
            return nullptr;
        return std::make_unique<Device>(*this, std::move(device));
    }
    HidError lastOpenError() const override { return mouse_.lastOpenError(); }

private:
    class Device : public HidDevice {
    public:
        Device(FaultInjectingBackend& owner, std::unique_ptr<HidDevice> inner)
            : owner_(owner), inner_(std::move(inner))
        {
        }

        int sendFeatureReport(const std::uint8_t* data, std::size_t length) override
        {
            if (length > 1)
                owner_.current_ = data[1];  // 0xA1 requests and the 0xA0 write both carry it in byte 1
            if (const auto failure = owner_.inject(true))
                return fail(*failure);
            faulted_ = false;
            return inner_->sendFeatureReport(data, length);
        }

        int getFeatureReport(std::uint8_t* data, std::size_t length) override
        {
            if (const auto failure = owner_.inject(false))
                return fail(*failure);
            faulted_ = false;
            const int n = inner_->getFeatureReport(data, length);
            if (n > 1 && owner_.hits() && owner_.fault_ == Fault::BusyForever)
                data[1] = kStatusBusy;
            return n;
        }

        int read(std::uint8_t* data, std::size_t length, int timeoutMs) override
        {
            faulted_ = false;
            return inner_->read(data, length, timeoutMs);
        }

        void interruptRead() override { inner_->interruptRead(); }

        HidError lastError() const override { return faulted_ ? error_ : inner_->lastError(); }

    private:
        int fail(HidError error)
        {
            faulted_ = true;
            error_ = error;
            return -1;
        }

        FaultInjectingBackend& owner_;
        std::unique_ptr<HidDevice> inner_;
        bool faulted_ = false;
        HidError error_ = HidError::None;
    };

    bool hits() const { return fault_ != Fault::None && current_ == command_; }

    // The error to report instead of passing the exchange on; unplugs first when planned.
    std::optional<HidError> inject(bool isSet)
    {
        if (!hits())
            return std::nullopt;
        ++seen_;
        switch (fault_) {
        case Fault::TransientSet:
            return isSet ? std::optional(HidError::Transient) : std::nullopt;
        case Fault::TransientGet:
            return isSet ? std::nullopt : std::optional(HidError::Transient);
        case Fault::FatalSet:
            return isSet ? std::optional(HidError::Other) : std::nullopt;
        case Fault::FatalGet:
            return isSet ? std::nullopt : std::optional(HidError::Other);
        case Fault::UnplugAt:
            if (seen_ == nth_)
                mouse_.unplug();  // the exchange itself then meets a mouse that is gone
            return std::nullopt;
        default:
            return std::nullopt;
        }
    }

    VirtualMouse& mouse_;
    std::uint8_t command_ = 0;
    std::uint8_t current_ = 0;
    Fault fault_ = Fault::None;
    int nth_ = 1;
    int seen_ = 0;
};

}  // namespace lark::test
