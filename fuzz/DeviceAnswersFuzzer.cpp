// DeviceLink and the four mouse commands against a HID backend whose every answer comes
// from the fuzzer: what enumeration lists, whether opens, sets and gets succeed (and with
// which error class), how many bytes a get delivers and what they hold. Every command must
// end within the protocol's bounds on calls and waits and return a result its caller knows.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "device/DeviceIds.h"
#include "device/DeviceLink.h"
#include "device/MouseCommands.h"
#include "device/Sleeper.h"
#include "settings/SettingsBlock.h"
#include "settings/SettingsModel.h"

using namespace lark;

namespace {

// Bounds of one exchange: a set is tried at most 4 times with 50 ms after each failed
// retry; a get is issued at most 11 times, with at most 4.5 s of busy waiting.
constexpr int kMaxSends = 4;
constexpr int kMaxGets = 11;
constexpr unsigned kMaxSendWaitMs = 150;
constexpr unsigned kMaxGetWaitMs = 4500;

struct Exchanges {
    int sends = 0;
    int gets = 0;
    bool anySendSucceeded = false;
    int lastGetResult = -1;                  // what the last get returned
    std::vector<std::uint8_t> lastGetBytes;  // the buffer after the last get
    std::vector<std::vector<std::uint8_t>> sentFrames;
    std::vector<std::size_t> getLengths;

    void reset() { *this = Exchanges{}; }
};

class CountingSleeper : public Sleeper {
public:
    void sleepMs(unsigned milliseconds) override
    {
        FUZZ_CHECK(milliseconds <= 65535);
        totalMs += milliseconds;
        ++count;
    }
    unsigned long totalMs = 0;
    int count = 0;
};

HidError errorClass(FuzzedDataProvider& in)
{
    static constexpr HidError kClasses[] = {HidError::DeviceGone, HidError::Transient, HidError::Other,
                                            HidError::PermissionDenied, HidError::None};
    return in.PickValueInArray(kClasses);
}

class FuzzedDevice : public HidDevice {
public:
    FuzzedDevice(FuzzedDataProvider& in, Exchanges& log) : in_(in), log_(log) {}

    int sendFeatureReport(const std::uint8_t* data, std::size_t length) override
    {
        ++log_.sends;
        log_.sentFrames.emplace_back(data, data + length);
        // An exhausted input reads as zeros: the device has gone.
        switch (in_.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            return fail(HidError::DeviceGone);
        case 1:
            // The platform may leave junk in the buffer; the link restores it before a retry.
            std::fill_n(const_cast<std::uint8_t*>(data), length, std::uint8_t{0xEE});
            return fail(HidError::Transient);
        case 2:
            return fail(errorClass(in_));
        default:
            log_.anySendSucceeded = true;
            lastError_ = HidError::None;
            return static_cast<int>(length);
        }
    }

    int getFeatureReport(std::uint8_t* data, std::size_t length) override
    {
        ++log_.gets;
        log_.getLengths.push_back(length);
        const int result = answer(data, length);
        log_.lastGetResult = result;
        log_.lastGetBytes.assign(data, data + length);
        return result;
    }

    int read(std::uint8_t*, std::size_t, int) override { return fail(HidError::DeviceGone); }
    void interruptRead() override {}
    HidError lastError() const override { return lastError_; }

private:
    int answer(std::uint8_t* data, std::size_t length)
    {
        const int kind = in_.ConsumeIntegralInRange<int>(0, 7);
        if (kind == 0)
            return fail(HidError::DeviceGone);
        if (kind == 1)
            return fail(HidError::Transient);
        if (kind == 2)
            return fail(errorClass(in_));
        std::size_t count = length;
        if (kind == 3)
            count = in_.ConsumeIntegralInRange<std::size_t>(0, length - 1);
        if (count > 1) {
            switch (kind) {
            case 4:
                data[1] = kStatusDone;
                break;
            case 5:
                data[1] = in_.ConsumeBool() ? kStatusBusy : kStatusBusyToo;
                break;
            default:
                data[1] = in_.ConsumeIntegral<std::uint8_t>();
                break;
            }
        }
        // The rest of the answer as far as the input goes; zeros after that.
        const std::vector<std::uint8_t> body = in_.ConsumeBytes<std::uint8_t>(count > 2 ? count - 2 : 0);
        std::copy(body.begin(), body.end(), data + 2);
        lastError_ = HidError::None;
        return static_cast<int>(count);
    }

    int fail(HidError error)
    {
        lastError_ = error;
        return -1;
    }

    FuzzedDataProvider& in_;
    Exchanges& log_;
    HidError lastError_ = HidError::None;
};

class FuzzedBackend : public HidBackend {
public:
    FuzzedBackend(FuzzedDataProvider& in, Exchanges& log) : in_(in), log_(log) {}

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override
    {
        std::vector<HidInterfaceInfo> list;
        const int count = in_.ConsumeIntegralInRange<int>(0, 4);
        for (int i = 0; i < count; ++i) {
            HidInterfaceInfo info;
            info.path = "fuzz" + std::to_string(i);
            info.vendorId =
                in_.ConsumeProbability<float>() < 0.9f ? vendorId : in_.ConsumeIntegral<std::uint16_t>();
            info.productId =
                in_.ConsumeProbability<float>() < 0.9f ? productId : in_.ConsumeIntegral<std::uint16_t>();
            static constexpr std::uint16_t kPages[] = {kConfigUsagePage, kEventUsagePage, 0x0001, 0xFF00};
            static constexpr std::uint16_t kUsages[] = {kConfigUsage, kEventUsage, 2, 0};
            info.usagePage = in_.PickValueInArray(kPages);
            info.usage = in_.PickValueInArray(kUsages);
            info.interfaceNumber = i;
            list.push_back(info);
        }
        return list;
    }

    std::unique_ptr<HidDevice> open(const std::string&) override
    {
        ++opens;
        if (in_.ConsumeBool()) {
            lastOpenError_ = errorClass(in_);
            return nullptr;
        }
        lastOpenError_ = HidError::None;
        return std::make_unique<FuzzedDevice>(in_, log_);
    }

    HidError lastOpenError() const override { return lastOpenError_; }
    int opens = 0;

private:
    FuzzedDataProvider& in_;
    Exchanges& log_;
    HidError lastOpenError_ = HidError::None;
};

std::vector<std::uint8_t> requestFrame(std::uint8_t command)
{
    std::vector<std::uint8_t> frame(kCommandReportLength, 0);
    frame[0] = kCommandReportId;
    frame[1] = command;
    return frame;
}

std::vector<std::uint8_t> writeFrame(const MouseSettings& settings)
{
    SettingsBlock block{};
    encodeSettings(settings, block);
    std::vector<std::uint8_t> frame(kSettingsReportLength, 0);
    frame[0] = kSettingsReportId;
    frame[1] = kCommandWriteSettings;
    std::copy(block.begin(), block.end(), frame.begin() + kSettingsBlockOffset);
    return frame;
}

// Every attempt of a set carries the request as built, restored after any platform junk.
void checkSentFrames(const Exchanges& log, const std::vector<std::uint8_t>& expected)
{
    FUZZ_CHECK(log.sends >= 1 && log.sends <= kMaxSends);
    for (const auto& frame : log.sentFrames)
        FUZZ_CHECK(frame == expected);
}

void checkGetLengths(const Exchanges& log, std::size_t length)
{
    for (std::size_t l : log.getLengths)
        FUZZ_CHECK(l == length);
}

// The answer of the last get, when it delivered the whole frame.
bool lastGetComplete(const Exchanges& log, std::size_t length)
{
    return log.lastGetResult >= 0 && static_cast<std::size_t>(log.lastGetResult) == length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    Exchanges log;
    CountingSleeper sleeper;
    FuzzedBackend backend(in, log);
    DeviceLink link(backend, sleeper);
    SettingsModel model;
    model.setDefaults();

    const int operations = in.ConsumeIntegralInRange<int>(1, 8);
    for (int op = 0; op < operations; ++op) {
        const int which = in.ConsumeIntegralInRange<int>(0, 5);
        const bool hadHandle = link.hasHandle();
        log.reset();
        sleeper = CountingSleeper{};

        switch (which) {
        case 0: {
            const int opensBefore = backend.opens;
            const bool found = link.findMouse(kProductId);
            FUZZ_CHECK(found == link.hasHandle());
            FUZZ_CHECK(found == link.isConnected());
            FUZZ_CHECK(backend.opens - opensBefore <= 4);
            FUZZ_CHECK(sleeper.count == 0);
            break;
        }
        case 1:
            link.closeDevice();
            FUZZ_CHECK(!link.hasHandle());
            break;
        case 2: {
            std::uint16_t version = 0xBEEF;
            const std::uint8_t result = readFirmwareVersion(link, version);
            FUZZ_CHECK(result == kResultDone || result == kResultNotSent || result == kResultNoAnswer);
            if (!hadHandle) {
                FUZZ_CHECK(log.sends == 0 && log.gets == 0);
                FUZZ_CHECK(result == kResultNotSent);
                break;
            }
            checkSentFrames(log, requestFrame(kCommandReadVersion));
            checkGetLengths(log, kCommandReportLength);
            FUZZ_CHECK(log.gets <= kMaxGets);
            FUZZ_CHECK(sleeper.totalMs <= kMaxSendWaitMs + 50 + kMaxGetWaitMs);
            FUZZ_CHECK((result == kResultNotSent) == !log.anySendSucceeded);
            if (result == kResultDone) {
                FUZZ_CHECK(lastGetComplete(log, kCommandReportLength) && log.lastGetBytes[1] == kStatusDone);
                FUZZ_CHECK(version ==
                           (log.lastGetBytes[kVersionLowByte] | (log.lastGetBytes[kVersionHighByte] << 8)));
            } else {
                FUZZ_CHECK(version == 0xBEEF);
            }
            break;
        }
        case 3: {
            const MouseSettings editedBefore = model.editedSettings;
            const SettingsBlock blockBefore = model.lastBlock;
            const std::uint8_t result = readSettings(link, model);
            FUZZ_CHECK(result == kResultDone || result == kResultNotSent);
            if (!hadHandle) {
                FUZZ_CHECK(log.sends == 0 && log.gets == 0);
                FUZZ_CHECK(result == kResultNotSent);
                break;
            }
            checkSentFrames(log, requestFrame(kCommandReadSettings));
            checkGetLengths(log, kSettingsReportLength);
            FUZZ_CHECK(log.gets <= kMaxGets);
            FUZZ_CHECK(sleeper.totalMs <= kMaxSendWaitMs + 80 + kMaxGetWaitMs);
            if (result == kResultDone) {
                FUZZ_CHECK(lastGetComplete(log, kSettingsReportLength) && log.lastGetBytes[1] == kStatusDone);
                FUZZ_CHECK(std::equal(model.lastBlock.begin(), model.lastBlock.end(),
                                      log.lastGetBytes.begin() + kSettingsBlockOffset));
                MouseSettings decoded;
                decodeSettings(model.lastBlock, decoded);
                FUZZ_CHECK(decoded == model.editedSettings);
            } else {
                // A refused or missing answer changes nothing.
                FUZZ_CHECK(model.editedSettings == editedBefore);
                FUZZ_CHECK(model.lastBlock == blockBefore);
            }
            break;
        }
        case 4: {
            const auto wait = in.ConsumeIntegral<std::uint16_t>();
            const std::uint8_t result = writeSettings(link, model.editedSettings, wait);
            if (!hadHandle) {
                FUZZ_CHECK(log.sends == 0 && log.gets == 0);
                FUZZ_CHECK(result == kResultNotSent);
                break;
            }
            checkSentFrames(log, writeFrame(model.editedSettings));
            FUZZ_CHECK(sleeper.totalMs <= kMaxSendWaitMs + wait);
            if (!log.anySendSucceeded) {
                FUZZ_CHECK(log.gets == 0);
                FUZZ_CHECK(result == kResultNotSent);
            } else {
                // One plain status fetch: no retry, no busy polling.
                FUZZ_CHECK(log.gets == 1);
                checkGetLengths(log, kCommandReportLength);
                if (log.lastGetResult < 2)
                    FUZZ_CHECK(result == kResultStatusNotFetched);
                else
                    FUZZ_CHECK(result == log.lastGetBytes[1]);
            }
            break;
        }
        default: {
            const bool sent = sendFactoryReset(link);
            if (!hadHandle) {
                FUZZ_CHECK(log.sends == 0 && log.gets == 0 && !sent);
                break;
            }
            checkSentFrames(log, requestFrame(kCommandFactoryReset));
            FUZZ_CHECK(sent == log.anySendSucceeded);
            if (sent) {
                checkGetLengths(log, kCommandReportLength);
                FUZZ_CHECK(log.gets >= 1 && log.gets <= kMaxGets);
                FUZZ_CHECK(sleeper.totalMs <= kMaxSendWaitMs + 200 + kMaxGetWaitMs);
            } else {
                // Nothing more is sent and there is no wait.
                FUZZ_CHECK(log.gets == 0);
                FUZZ_CHECK(sleeper.totalMs <= kMaxSendWaitMs);
            }
            break;
        }
        }
    }
    return 0;
}
