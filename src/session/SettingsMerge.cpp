#include "session/SettingsMerge.h"

namespace lark {

namespace {

template <class T> void take(const T& base, const T& edited, T& out)
{
    if (!(edited == base))
        out = edited;
}

}  // namespace

MouseSettings mergeEdits(const MouseSettings& base, const MouseSettings& edited, const MouseSettings& mouse)
{
    MouseSettings out = mouse;
    take(base.opaque00, edited.opaque00, out.opaque00);
    take(base.pollingInterval, edited.pollingInterval, out.pollingInterval);
    take(base.slamClickFilter, edited.slamClickFilter, out.slamClickFilter);
    take(base.opaque08, edited.opaque08, out.opaque08);
    take(base.cpiLevelCount, edited.cpiLevelCount, out.cpiLevelCount);
    take(base.opaque0A, edited.opaque0A, out.opaque0A);
    for (int i = 0; i < kCpiLevelCount; ++i)
        take(base.cpiLevels[i], edited.cpiLevels[i], out.cpiLevels[i]);
    take(base.opaque24, edited.opaque24, out.opaque24);
    take(base.liftOffDistance, edited.liftOffDistance, out.liftOffDistance);
    take(base.angleSnapping, edited.angleSnapping, out.angleSnapping);
    take(base.rippleControl, edited.rippleControl, out.rippleControl);
    take(base.motionSync, edited.motionSync, out.motionSync);
    for (int i = 0; i < kButtonSlotCount; ++i) {
        take(base.buttons[i].action, edited.buttons[i].action, out.buttons[i].action);
        take(base.buttons[i].filter, edited.buttons[i].filter, out.buttons[i].filter);
    }
    take(base.opaque0F, edited.opaque0F, out.opaque0F);
    return out;
}

}  // namespace lark
