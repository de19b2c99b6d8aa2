#pragma once

#include <array>
#include <cstdint>

namespace lark {

// What one button or wheel direction does; the mouse executes it itself.
struct ButtonAction {
    std::uint8_t type = 0;
    std::uint8_t code = 0;
    std::uint16_t param1 = 0;
    std::uint16_t param2 = 0;

    friend bool operator==(const ButtonAction&, const ButtonAction&) = default;
};

struct ButtonSlot {
    ButtonAction action;
    std::uint8_t filter = 0;  // multiclick filter 0..25, or 0xF1 / 0xF0 SPDT mode on slots 0 and 1

    friend bool operator==(const ButtonSlot&, const ButtonSlot&) = default;
};

struct CpiLevel {
    std::uint8_t xySeparate = 0;
    std::uint16_t x = 0;
    std::uint16_t y = 0;

    friend bool operator==(const CpiLevel&, const CpiLevel&) = default;
};

// Slots of MouseSettings::buttons.
enum ButtonSlotIndex : int {
    LeftSlot = 0,
    RightSlot = 1,
    MiddleSlot = 2,
    ForwardSlot = 3,
    BackSlot = 4,
    SixthSlot = 5,
    WheelUpSlot = 6,
    WheelDownSlot = 7,
};

constexpr int kButtonSlotCount = 8;
constexpr int kCpiLevelCount = 4;
constexpr int kOpaque0FSize = 20;

// Every setting the mouse's settings block carries. Values are taken as they come:
// nothing here validates or clamps.
struct MouseSettings {
    std::uint8_t opaqueAt00 = 0;
    std::uint8_t pollingInterval = 0;  // 1 = 8000 Hz, 2 = 4000 Hz, 4 = 2000 Hz, 8 = 1000 Hz
    std::uint8_t slamClickFilter = 0;
    std::uint8_t opaqueAt0D = 0;
    std::uint8_t cpiLevelCount = 0;
    std::uint8_t opaqueAt07 = 0;
    std::array<CpiLevel, kCpiLevelCount> cpiLevels{};
    std::uint8_t opaqueAt08 = 0;
    std::uint8_t liftOffDistance = 0;
    std::uint8_t angleSnapping = 0;
    std::uint8_t rippleControl = 0;
    std::uint8_t motionSync = 0;
    std::array<ButtonSlot, kButtonSlotCount> buttons{};
    std::array<std::uint8_t, kOpaque0FSize> opaque0F{};

    friend bool operator==(const MouseSettings&, const MouseSettings&) = default;
};

// Factory values of every field except opaque0F, which keeps whatever it holds.
void setDefaults(MouseSettings& settings);

}  // namespace lark
