#include "device/MouseCommands.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <mutex>
#include <vector>

#include "device/DeviceLink.h"
#include "device/Protocol.h"
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

enum class Reply { NotSent, Missing, Done, Other };

enum class Fetch {
    Polled,  // retried and polled while busy
    Once,    // one plain get; fewer than two bytes count as missing
};

struct Exchange {
    std::uint8_t* request;
    std::uint32_t requestLength;
    unsigned waitMs;
    // The reads wait even when the send failed; the factory reset does not.
    bool waitWhenNotSent;
    std::uint8_t* answer;  // report ID in byte 0, rest zero
    std::uint32_t answerLength;
    Fetch fetch;
};

// Send, wait, fetch, all under the device lock so no other exchange slips in between.
Reply exchange(DeviceLink& link, const Exchange& x)
{
    std::lock_guard lock(link.deviceLock());
    const bool sent = link.sendFeature(x.request, x.requestLength);
    if (sent || x.waitWhenNotSent)
        link.sleeper().sleepMs(x.waitMs);
    if (!sent)
        return Reply::NotSent;
    const bool fetched = x.fetch == Fetch::Polled ? link.getFeature(x.answer, x.answerLength)
                                                  : link.getFeaturePlain(x.answer, x.answerLength) >= 2;
    if (!fetched)
        return Reply::Missing;
    return x.answer[1] == kStatusDone ? Reply::Done : Reply::Other;
}

// The reads and the reset: anything but a done answer is no answer.
CommandResult commandResult(Reply reply)
{
    switch (reply) {
    case Reply::NotSent:
        return CommandResult::NotSent;
    case Reply::Done:
        return CommandResult::Done;
    case Reply::Missing:
    case Reply::Other:
        break;
    }
    return CommandResult::NoAnswer;
}

}  // namespace

CommandResult readFirmwareVersion(DeviceLink& link, std::uint16_t& version)
{
    CommandFrame request = requestFrame(kCommandReadVersion);
    CommandFrame answer{kCommandReportId};
    const CommandResult result =
        commandResult(exchange(link, {request.data(), kCommandReportLength, kVersionWaitMs, true,
                                      answer.data(), kCommandReportLength, Fetch::Polled}));
    if (result == CommandResult::Done)
        version = static_cast<std::uint16_t>(answer[kVersionLowByte] | (answer[kVersionHighByte] << 8));
    return result;
}

CommandResult readSettings(DeviceLink& link, SettingsBlock& block)
{
    CommandFrame request = requestFrame(kCommandReadSettings);
    std::vector<std::uint8_t> answer(kSettingsReportLength, 0);
    answer[0] = kSettingsReportId;
    const CommandResult result =
        commandResult(exchange(link, {request.data(), kCommandReportLength, kSettingsWaitMs, true,
                                      answer.data(), kSettingsReportLength, Fetch::Polled}));
    if (result == CommandResult::Done) {
        const auto blockBegin = answer.begin() + kSettingsBlockOffset;
        std::copy(blockBegin, blockBegin + kSettingsBlockSize, block.begin());
    }
    return result;
}

CommandResult readSettings(DeviceLink& link, SettingsModel& model)
{
    const CommandResult result = readSettings(link, model.lastBlock);
    if (result == CommandResult::Done)
        decodeSettings(model.lastBlock, model.editedSettings);
    return result;
}

CommandResult writeSettings(DeviceLink& link, const MouseSettings& edited, std::uint16_t waitMs)
{
    SettingsBlock block{};
    encodeSettings(edited, block);
    std::vector<std::uint8_t> frame(kSettingsReportLength, 0);
    frame[0] = kSettingsReportId;
    frame[1] = kCommandWriteSettings;
    std::copy(block.begin(), block.end(), frame.begin() + kSettingsBlockOffset);
    CommandFrame answer{kCommandReportId};
    switch (exchange(link, {frame.data(), kSettingsReportLength, waitMs, true, answer.data(),
                            kCommandReportLength, Fetch::Once})) {
    case Reply::NotSent:
        return CommandResult::NotSent;
    case Reply::Missing:
        return CommandResult::StatusNotFetched;
    case Reply::Done:
        return CommandResult::Done;
    case Reply::Other:
        break;
    }
    return CommandResult::Refused;
}

CommandResult sendFactoryReset(DeviceLink& link)
{
    CommandFrame request = requestFrame(kCommandFactoryReset);
    CommandFrame answer{kCommandReportId};
    return commandResult(exchange(link, {request.data(), kCommandReportLength, kFactoryResetWaitMs, false,
                                         answer.data(), kCommandReportLength, Fetch::Polled}));
}

const char* toString(CommandResult result)
{
    switch (result) {
    case CommandResult::Done:
        return "done";
    case CommandResult::NotSent:
        return "not sent";
    case CommandResult::NoAnswer:
        return "no answer";
    case CommandResult::StatusNotFetched:
        return "status not fetched";
    case CommandResult::Refused:
        return "refused";
    }
    return "unknown";
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
