#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "settings/MouseSettings.h"

namespace lark {

constexpr std::size_t kSettingsBlockSize = 1024;
// Bytes 0x00..0x6E are the ones the codec knows; change detection compares 114-byte images.
constexpr std::size_t kEncodedSettingsEnd = 0x6F;
constexpr std::size_t kChangeDetectionSize = 114;

using SettingsBlock = std::array<std::uint8_t, kSettingsBlockSize>;

// Overwrites every field of `settings` from the block. Never fails, never clamps.
void decodeSettings(std::span<const std::uint8_t, kSettingsBlockSize> block, MouseSettings& settings);

// Writes exactly bytes 0x00 and 0x05..0x6E of `out` (at least 0x6F bytes, zeroed by the
// caller); every other byte keeps what it held.
void encodeSettings(const MouseSettings& settings, std::span<std::uint8_t> out);

// Change detection: whether two settings would write different bytes.
bool writeDiffers(const MouseSettings& a, const MouseSettings& b);

}  // namespace lark
