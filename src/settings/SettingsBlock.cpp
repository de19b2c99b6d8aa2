#include "settings/SettingsBlock.h"

#include <cassert>

namespace lark {

namespace {

constexpr std::size_t kLevelsAt = 0x23;
constexpr std::size_t kLevelStride = 5;
constexpr std::size_t kButtonsAt = 0x37;
constexpr std::size_t kButtonStride = 7;
constexpr std::size_t kOpaque0FAt = 0x0F;

std::uint16_t get16(std::span<const std::uint8_t, kSettingsBlockSize> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

void put16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

void decodeSettings(std::span<const std::uint8_t, kSettingsBlockSize> b, MouseSettings& s)
{
    s.opaqueAt00 = b[0x00];
    s.pollingInterval = b[0x05];
    s.slamClickFilter = b[0x06];
    s.opaqueAt07 = b[0x07];
    s.opaqueAt08 = b[0x08];
    s.liftOffDistance = b[0x09];
    s.angleSnapping = b[0x0A];
    s.rippleControl = b[0x0B];
    s.motionSync = b[0x0C];
    s.opaqueAt0D = b[0x0D];
    s.cpiLevelCount = b[0x0E];
    for (int i = 0; i < kOpaque0FSize; ++i)
        s.opaque0F[i] = b[kOpaque0FAt + i];
    for (int k = 0; k < kCpiLevelCount; ++k) {
        const std::size_t at = kLevelsAt + kLevelStride * k;
        s.cpiLevels[k].xySeparate = b[at];
        s.cpiLevels[k].x = get16(b, at + 1);
        s.cpiLevels[k].y = get16(b, at + 3);
    }
    for (int i = 0; i < kButtonSlotCount; ++i) {
        const std::size_t at = kButtonsAt + kButtonStride * i;
        ButtonSlot& slot = s.buttons[i];
        slot.action.type = b[at];
        slot.action.code = b[at + 1];
        slot.action.param1 = get16(b, at + 2);
        slot.action.param2 = get16(b, at + 4);
        slot.filter = b[at + 6];
    }
}

void encodeSettings(const MouseSettings& s, std::span<std::uint8_t> b)
{
    assert(b.size() >= kEncodedSettingsEnd);
    b[0x00] = s.opaqueAt00;
    b[0x05] = s.pollingInterval;
    b[0x06] = s.slamClickFilter;
    b[0x07] = s.opaqueAt07;
    b[0x08] = s.opaqueAt08;
    b[0x09] = s.liftOffDistance;
    b[0x0A] = s.angleSnapping;
    b[0x0B] = s.rippleControl;
    b[0x0C] = s.motionSync;
    b[0x0D] = s.opaqueAt0D;
    b[0x0E] = s.cpiLevelCount;
    for (int i = 0; i < kOpaque0FSize; ++i)
        b[kOpaque0FAt + i] = s.opaque0F[i];
    for (int k = 0; k < kCpiLevelCount; ++k) {
        const std::size_t at = kLevelsAt + kLevelStride * k;
        b[at] = s.cpiLevels[k].xySeparate;
        put16(b, at + 1, s.cpiLevels[k].x);
        put16(b, at + 3, s.cpiLevels[k].y);
    }
    for (int i = 0; i < kButtonSlotCount; ++i) {
        const std::size_t at = kButtonsAt + kButtonStride * i;
        const ButtonSlot& slot = s.buttons[i];
        b[at] = slot.action.type;
        b[at + 1] = slot.action.code;
        put16(b, at + 2, slot.action.param1);
        put16(b, at + 4, slot.action.param2);
        b[at + 6] = slot.filter;
    }
}

bool writeDiffers(const MouseSettings& a, const MouseSettings& b)
{
    std::array<std::uint8_t, kChangeDetectionSize> left{};
    std::array<std::uint8_t, kChangeDetectionSize> right{};
    encodeSettings(a, left);
    encodeSettings(b, right);
    return left != right;
}

}  // namespace lark
