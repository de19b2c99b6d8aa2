#pragma once

#include <cstdint>

namespace lark {

// Feature reports; lengths include the report ID byte.
constexpr std::uint8_t kCommandReportId = 0xA1;
constexpr std::uint32_t kCommandReportLength = 64;
constexpr std::uint8_t kSettingsReportId = 0xA0;
constexpr std::uint32_t kSettingsReportLength = 1041;

// Where the settings block sits inside a settings report.
constexpr std::uint32_t kSettingsBlockOffset = 16;

// Command codes, byte 1 of a request.
constexpr std::uint8_t kCommandReadVersion = 0x02;
constexpr std::uint8_t kCommandWriteSettings = 0x11;
constexpr std::uint8_t kCommandReadSettings = 0x12;
constexpr std::uint8_t kCommandFactoryReset = 0x13;

// Status, byte 1 of every answer.
constexpr std::uint8_t kStatusDone = 1;
constexpr std::uint8_t kStatusBusy = 3;
constexpr std::uint8_t kStatusBusyToo = 4;

constexpr bool isBusyStatus(std::uint8_t status)
{
    return status == kStatusBusy || status == kStatusBusyToo;
}

// Bytes of the firmware version in a version answer.
constexpr std::uint32_t kVersionLowByte = 17;
constexpr std::uint32_t kVersionHighByte = 18;

// Input reports on the event collection.
constexpr std::uint32_t kEventReportLength = 8;
constexpr std::uint8_t kEventPollingRateChanged = 6;
constexpr std::uint8_t kEventAcceptedWithoutAction = 0xB4;

}  // namespace lark
