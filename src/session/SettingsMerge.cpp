#include "session/SettingsMerge.h"

#include "model/Rules.h"

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
    take(base.opaqueAt00, edited.opaqueAt00, out.opaqueAt00);
    take(base.pollingInterval, edited.pollingInterval, out.pollingInterval);
    take(base.slamClickFilter, edited.slamClickFilter, out.slamClickFilter);
    take(base.opaqueAt0D, edited.opaqueAt0D, out.opaqueAt0D);
    take(base.cpiLevelCount, edited.cpiLevelCount, out.cpiLevelCount);
    take(base.opaqueAt07, edited.opaqueAt07, out.opaqueAt07);
    for (int i = 0; i < kCpiLevelCount; ++i)
        take(base.cpiLevels[i], edited.cpiLevels[i], out.cpiLevels[i]);
    take(base.opaqueAt08, edited.opaqueAt08, out.opaqueAt08);
    take(base.liftOffDistance, edited.liftOffDistance, out.liftOffDistance);
    take(base.angleSnapping, edited.angleSnapping, out.angleSnapping);
    take(base.rippleControl, edited.rippleControl, out.rippleControl);
    take(base.motionSync, edited.motionSync, out.motionSync);
    for (int i = 0; i < kButtonSlotCount; ++i) {
        take(base.buttons[i].action, edited.buttons[i].action, out.buttons[i].action);
        take(base.buttons[i].filter, edited.buttons[i].filter, out.buttons[i].filter);
    }
    take(base.opaque0F, edited.opaque0F, out.opaque0F);
    // Motion sync from one side and 8000 Hz from the other: the rule the edit went through decides.
    if (motionSyncClashes(out) && !motionSyncClashes(mouse) && !motionSyncClashes(edited)) {
        if (edited.motionSync != base.motionSync)
            setMotionSync(out, true);
        else
            applyPollingRateEvent(out, k8000HzInterval);
    }
    return out;
}

}  // namespace lark
