#include "device/MouseCommands.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "device/DeviceIds.h"
#include "device/DeviceLink.h"
#include "settings/SettingsBlock.h"

namespace lark {

namespace {

constexpr unsigned kVersionWaitMs = 50;
constexpr unsigned kSettingsWaitMs = 80;
constexpr unsigned kFactoryResetWaitMs = 200;

using CommandFrame = std::array<std::uint8_t, kCommandReportLength>;

CommandFrame requestFrame(std::uint8_t command)
{
    CommandFrame frame{};
    frame[0] = kCommandReportId;
    frame[1] = command;
    return frame;
}

CommandFrame answerFrame()
{
    CommandFrame frame{};
    frame[0] = kCommandReportId;
    return frame;
}

}  // namespace

std::uint8_t readFirmwareVersion(DeviceLink& link, std::uint16_t& version)
{
    CCriticalSectionAutoLock lock(&link.deviceLock());
    CommandFrame request = requestFrame(kCommandReadVersion);
    const bool sent = link.sendFeature(request.data(), kCommandReportLength);
    link.sleeper().sleepMs(kVersionWaitMs);
    if (!sent) {
        lock.release();
        return kResultNotSent;
    }
    CommandFrame answer = answerFrame();
    if (link.getFeature(answer.data(), kCommandReportLength) && answer[1] == kStatusDone) {
        version = static_cast<std::uint16_t>(answer[kVersionLowByte] | (answer[kVersionHighByte] << 8));
        lock.release();
        return kResultDone;
    }
    lock.release();
    return kResultNoAnswer;
}

std::uint8_t readSettings(DeviceLink& link, SettingsModel& model)
{
    CCriticalSectionAutoLock lock(&link.deviceLock());
    CommandFrame request = requestFrame(kCommandReadSettings);
    const bool sent = link.sendFeature(request.data(), kCommandReportLength);
    link.sleeper().sleepMs(kSettingsWaitMs);
    if (!sent) {
        lock.release();
        return kResultNotSent;
    }
    std::vector<std::uint8_t> answer(kSettingsReportLength, 0);
    answer[0] = kSettingsReportId;
    if (!link.getFeature(answer.data(), kSettingsReportLength) || answer[1] != kStatusDone) {
        lock.release();
        return kResultNotSent;
    }
    const auto blockBegin = answer.begin() + kSettingsBlockOffset;
    std::copy(blockBegin, blockBegin + kSettingsBlockSize, model.lastBlock.begin());
    decodeSettings(model.lastBlock, model.editedSettings);
    lock.release();
    return kResultDone;
}

std::uint8_t writeSettings(DeviceLink& link, const MouseSettings& edited, std::uint16_t waitMs)
{
    CCriticalSectionAutoLock lock(&link.deviceLock());
    SettingsBlock block{};
    encodeSettings(edited, block);
    std::vector<std::uint8_t> frame(kSettingsReportLength, 0);
    frame[0] = kSettingsReportId;
    frame[1] = kCommandWriteSettings;
    std::copy(block.begin(), block.end(), frame.begin() + kSettingsBlockOffset);
    const bool sent = link.sendFeature(frame.data(), kSettingsReportLength);
    link.sleeper().sleepMs(waitMs);
    if (!sent) {
        lock.release();
        return kResultNotSent;
    }
    // One plain get: a status answer that is late is the caller's business (it retries the
    // whole write with a longer wait).
    CommandFrame answer = answerFrame();
    const int received = link.getFeaturePlain(answer.data(), kCommandReportLength);
    lock.release();
    if (received < 2)
        return kResultStatusNotFetched;
    return answer[1];
}

bool sendFactoryReset(DeviceLink& link)
{
    CCriticalSectionAutoLock lock(&link.deviceLock());
    CommandFrame request = requestFrame(kCommandFactoryReset);
    if (!link.sendFeature(request.data(), kCommandReportLength)) {
        lock.release();
        return false;
    }
    link.sleeper().sleepMs(kFactoryResetWaitMs);
    CommandFrame answer = answerFrame();
    link.getFeature(answer.data(), kCommandReportLength);
    lock.release();
    return true;
}

std::string firmwareVersionText(std::uint16_t version)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(version));
    // Hex digits read back as decimal, up to the first letter: 0x010A -> "10a" -> 10.
    unsigned decimal = 0;
    for (const char* p = hex; *p >= '0' && *p <= '9'; ++p)
        decimal = decimal * 10 + static_cast<unsigned>(*p - '0');
    const float value = static_cast<float>(decimal) / 100.0f;
    char text[16];
    std::snprintf(text, sizeof text, "V%.2f", static_cast<double>(value));
    return text;
}

}  // namespace lark
