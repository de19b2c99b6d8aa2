#pragma once

#include <cstdint>
#include <string>

#include "settings/MouseSettings.h"
#include "settings/SettingsModel.h"

namespace lark {

class DeviceLink;

// Result codes of the mouse commands.
constexpr std::uint8_t kResultDone = 1;
constexpr std::uint8_t kResultNotSent = 2;
constexpr std::uint8_t kResultNoAnswer = 255;
// writeSettings: the request went out but its status answer could not be fetched.
constexpr std::uint8_t kResultStatusNotFetched = 0;

// 1 with `version` set; 2 request not sent; 255 no answer or not done.
std::uint8_t readFirmwareVersion(DeviceLink& link, std::uint16_t& version);

// 1 when the block was read: it is kept whole in model.lastBlock and decoded into
// model.editedSettings. 2 otherwise, and the model is left as it was.
std::uint8_t readSettings(DeviceLink& link, SettingsModel& model);

// Writes `edited` as one block, waits `waitMs`, then fetches the status once.
// 2 request not sent; 0 status not fetched; otherwise the mouse's status byte (1 accepted).
std::uint8_t writeSettings(DeviceLink& link, const MouseSettings& edited, std::uint16_t waitMs);

// Asks the mouse to restore its factory settings. True when the request was sent; callers
// must not show the defaults as the mouse's settings otherwise.
bool sendFactoryReset(DeviceLink& link);

// "V1.06" for 0x0106: the hex digits of the version read as a decimal number of hundredths.
std::string firmwareVersionText(std::uint16_t version);

}  // namespace lark
