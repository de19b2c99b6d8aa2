#pragma once

#include <cstdint>
#include <string>

#include "settings/MouseSettings.h"
#include "settings/SettingsModel.h"

namespace lark {

class DeviceLink;

enum class CommandResult {
    Done,              // the mouse answered with status done
    NotSent,           // the request could not be sent
    NoAnswer,          // sent, but no answer came, or the answer was not "done"
    StatusNotFetched,  // a write went out but its status answer could not be fetched
    Refused,           // a write's status answer was something other than done
};

const char* toString(CommandResult result);

// Done with `version` set; otherwise `version` is left alone.
CommandResult readFirmwareVersion(DeviceLink& link, std::uint16_t& version);

// Done when the whole block was read into `block`; otherwise `block` is left as it was.
CommandResult readSettings(DeviceLink& link, SettingsBlock& block);

// The same, kept whole in model.lastBlock and decoded into
// model.editedSettings. Otherwise the model is left as it was.
CommandResult readSettings(DeviceLink& link, SettingsModel& model);

// Writes `edited` as one block, waits `waitMs`, then fetches the status once, without
// polling: a late answer is the caller's to retry with a longer wait.
CommandResult writeSettings(DeviceLink& link, const MouseSettings& edited, std::uint16_t waitMs);

// Asks the mouse to restore its factory settings. Done only when the mouse answered done.
CommandResult sendFactoryReset(DeviceLink& link);

// "V1.06" for 0x0106: the hex digits of the version read as a decimal number of hundredths.
std::string firmwareVersionText(std::uint16_t version);

}  // namespace lark
