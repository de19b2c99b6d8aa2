// The event listener on any sequence of input reports: the fuzzer decides each read's
// outcome (a report of any length and content, an empty wake-up, a transient error) until the
// device is gone. Only codes 6 and 0xB4 reach the handler, each once, with byte 2 as the
// value; every delivered report and every transient error costs the 80 ms pause; the reader
// ends by itself when the device is gone and reads nothing after that.

#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "device/DeviceEventListener.h"
#include "device/DeviceIds.h"
#include "device/HidBackend.h"
#include "device/Protocol.h"
#include "device/Sleeper.h"

using namespace lark;

namespace {

using Event = std::pair<std::uint8_t, std::uint8_t>;

// Everything here is touched by the reader thread only, and read after it has been joined.
struct ReaderLog {
    std::vector<Event> expected;
    std::vector<Event> dispatched;
    int pausesOwed = 0;
    int readsAfterGone = 0;
    bool gone = false;
    std::vector<unsigned> waits;
};

class PauseRecorder : public Sleeper {
public:
    explicit PauseRecorder(ReaderLog& log) : log_(log) {}
    void sleepMs(unsigned milliseconds) override { log_.waits.push_back(milliseconds); }

private:
    ReaderLog& log_;
};

class FuzzedEventDevice : public HidDevice {
public:
    FuzzedEventDevice(FuzzedDataProvider& in, ReaderLog& log) : in_(in), log_(log) {}

    int sendFeatureReport(const std::uint8_t*, std::size_t) override { return fail(HidError::Other); }
    int getFeatureReport(std::uint8_t*, std::size_t) override { return fail(HidError::Other); }

    int read(std::uint8_t* data, std::size_t length, int timeoutMs) override
    {
        FUZZ_CHECK(timeoutMs < 0);  // no timeout: an idle reader sleeps until stopped
        if (log_.gone) {
            ++log_.readsAfterGone;
            return fail(HidError::DeviceGone);
        }
        // An exhausted input reads as zeros: the mouse has been unplugged.
        switch (in_.ConsumeIntegralInRange<int>(0, 5)) {
        case 0:
            log_.gone = true;
            return fail(HidError::DeviceGone);
        case 1:
            lastError_ = HidError::None;
            return 0;  // woken without a report
        case 2:
            ++log_.pausesOwed;
            return fail(HidError::Transient);
        default:
            break;
        }
        const auto count = in_.ConsumeIntegralInRange<std::size_t>(1, length);
        const std::vector<std::uint8_t> bytes = in_.ConsumeBytes<std::uint8_t>(count);
        for (std::size_t i = 0; i < count; ++i)
            data[i] = i < bytes.size() ? bytes[i] : 0;
        ++log_.pausesOwed;
        const std::uint8_t code = count > 1 ? data[1] : 0;
        if (code == kEventPollingRateChanged || code == kEventAcceptedWithoutAction)
            log_.expected.emplace_back(code, count > 2 ? data[2] : 0);
        lastError_ = HidError::None;
        return static_cast<int>(count);
    }

    // The reader ends by itself here; stop() comes only after that.
    void interruptRead() override {}
    HidError lastError() const override { return lastError_; }

private:
    int fail(HidError error)
    {
        lastError_ = error;
        return -1;
    }

    FuzzedDataProvider& in_;
    ReaderLog& log_;
    HidError lastError_ = HidError::None;
};

class EventBackend : public HidBackend {
public:
    EventBackend(FuzzedDataProvider& in, ReaderLog& log) : in_(in), log_(log) {}

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override
    {
        return {HidInterfaceInfo{"config", vendorId, productId, kConfigUsagePage, kConfigUsage, 1, {}},
                HidInterfaceInfo{"event", vendorId, productId, kEventUsagePage, kEventUsage, 2, {}}};
    }

    std::unique_ptr<HidDevice> open(const std::string& path) override
    {
        FUZZ_CHECK(path == "event");
        return std::make_unique<FuzzedEventDevice>(in_, log_);
    }

    HidError lastOpenError() const override { return HidError::None; }

private:
    FuzzedDataProvider& in_;
    ReaderLog& log_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    ReaderLog log;
    PauseRecorder sleeper(log);
    EventBackend backend(in, log);
    DeviceEventListener listener(backend, sleeper);

    FUZZ_CHECK(listener.start(
        [&log](std::uint8_t code, std::uint8_t value) { log.dispatched.emplace_back(code, value); }));
    // The reader must end by itself once the device is gone; a reader still going after
    // seconds of recorded-only waits is a hang.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (listener.isReading()) {
        FUZZ_CHECK(std::chrono::steady_clock::now() < deadline);
        std::this_thread::yield();
    }
    listener.stop();

    FUZZ_CHECK(log.gone);
    FUZZ_CHECK(log.readsAfterGone == 0);
    FUZZ_CHECK(log.dispatched == log.expected);
    FUZZ_CHECK(static_cast<int>(log.waits.size()) == log.pausesOwed);
    for (unsigned wait : log.waits)
        FUZZ_CHECK(wait == DeviceEventListener::kWaitAfterReportMs);
    return 0;
}
