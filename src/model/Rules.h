#pragma once

#include <cstdint>
#include <optional>

#include "settings/MouseSettings.h"

// The rules that tie settings together, as edits on MouseSettings. The pages, larkctl's set and
// import, the session and the demo all call these; none derives them again.
namespace lark {

// The primary click: what slot 0 holds right-handed and slot 1 left-handed.
inline constexpr ButtonAction kLeftClickAction{0, 1, 0, 0};

// Left-handed mode is no field: it is the state in which slot 1 gives the left click (type 0,
// code 1; the parameters do not matter).
bool isLeftHanded(const MouseSettings& settings);

// Turns left-handed mode on or off. The configurable action moves to the other physical button
// and the primary click takes the one left free; the two buttons exchange their filters. Nothing
// changes when the mode is already as asked.
void setLeftHanded(MouseSettings& settings, bool on);

// The slot that the first mapping row (and larkctl's main configurable button) edits: the left
// button in left-handed mode, the right one otherwise. The other one keeps the primary click.
int configurableMainSlot(const MouseSettings& settings);

// Polling rates: interval 8, 4, 2, 1 stand for 1000, 2000, 4000, 8000 Hz.
inline constexpr std::uint8_t k8000HzInterval = 1;
inline constexpr std::uint8_t k4000HzInterval = 2;
std::optional<std::uint32_t> pollingHz(std::uint8_t interval);
std::optional<std::uint8_t> pollingIntervalOfHz(std::uint32_t hertz);

// Motion sync and 8000 Hz do not go together.
bool pollingRateOffered(const MouseSettings& settings, std::uint8_t interval);
// Turning motion sync on at 8000 Hz moves the rate down to 4000 Hz.
void setMotionSync(MouseSettings& settings, bool on);
// Whether settings hold the combination no page or command writes (a mouse may report it).
bool motionSyncClashes(const MouseSettings& settings);

// A polling-rate change announced by the mouse's own button: interval 8, 4, 2 or 1; 8000 Hz also
// ends motion sync. Any other value changes nothing.
void applyPollingRateEvent(MouseSettings& settings, std::uint8_t interval);

// Whether a slot's multiclick filter is in use: on the left and right buttons an SPDT mode
// stored in the filter byte takes its place.
bool multiclickFilterInUse(const MouseSettings& settings, int slot);

// A CPI level's two values; the level counts as X/Y separate exactly when they differ.
void setCpiLevel(MouseSettings& settings, int level, std::uint16_t x, std::uint16_t y);

// A fixed CPI is offered for the five buttons, not for the wheel.
bool fixedCpiOffered(int slot);

}  // namespace lark
