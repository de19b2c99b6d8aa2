#include "model/Rules.h"

#include <utility>

#include "model/AdvancedValues.h"

namespace lark {

bool isLeftHanded(const MouseSettings& settings)
{
    const ButtonAction& right = settings.buttons[RightSlot].action;
    return right.type == kLeftClickAction.type && right.code == kLeftClickAction.code;
}

void setLeftHanded(MouseSettings& settings, bool on)
{
    if (on == isLeftHanded(settings))
        return;
    ButtonSlot& left = settings.buttons[LeftSlot];
    ButtonSlot& right = settings.buttons[RightSlot];
    if (on) {
        left.action = right.action;
        right.action = kLeftClickAction;
    } else {
        right.action = left.action;
        left.action = kLeftClickAction;
    }
    std::swap(left.filter, right.filter);
}

int configurableMainSlot(const MouseSettings& settings)
{
    return isLeftHanded(settings) ? LeftSlot : RightSlot;
}

std::optional<std::uint32_t> pollingHz(std::uint8_t interval)
{
    if (interval == 1 || interval == 2 || interval == 4 || interval == 8)
        return 8000u / interval;
    return std::nullopt;
}

std::optional<std::uint8_t> pollingIntervalOfHz(std::uint32_t hertz)
{
    if (hertz == 1000 || hertz == 2000 || hertz == 4000 || hertz == 8000)
        return static_cast<std::uint8_t>(8000 / hertz);
    return std::nullopt;
}

bool pollingRateOffered(const MouseSettings& settings, std::uint8_t interval)
{
    return pollingHz(interval) && !(settings.motionSync == 1 && interval == k8000HzInterval);
}

void setMotionSync(MouseSettings& settings, bool on)
{
    settings.motionSync = on ? 1 : 0;
    if (on && settings.pollingInterval == k8000HzInterval)
        settings.pollingInterval = k4000HzInterval;
}

bool motionSyncClashes(const MouseSettings& settings)
{
    return settings.motionSync == 1 && settings.pollingInterval == k8000HzInterval;
}

void applyPollingRateEvent(MouseSettings& settings, std::uint8_t interval)
{
    if (!pollingHz(interval))
        return;
    settings.pollingInterval = interval;
    if (interval == k8000HzInterval)
        settings.motionSync = 0;
}

bool multiclickFilterInUse(const MouseSettings& settings, int slot)
{
    if (slot != LeftSlot && slot != RightSlot)
        return true;
    return spdtIndexForFilter(settings.buttons[static_cast<std::size_t>(slot)].filter) == 0;
}

void setCpiLevel(MouseSettings& settings, int level, std::uint16_t x, std::uint16_t y)
{
    CpiLevel& stored = settings.cpiLevels[static_cast<std::size_t>(level)];
    stored.x = x;
    stored.y = y;
    stored.xySeparate = x != y ? 1 : 0;
}

bool fixedCpiOffered(int slot)
{
    return slot != WheelUpSlot && slot != WheelDownSlot;
}

}  // namespace lark
