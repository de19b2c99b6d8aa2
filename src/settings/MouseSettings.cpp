#include "settings/MouseSettings.h"

namespace lark {

void setDefaults(MouseSettings& s)
{
    s.opaqueAt00 = 0;
    s.pollingInterval = 1;
    s.slamClickFilter = 1;
    s.opaqueAt0D = 2;
    s.cpiLevelCount = 4;
    s.opaqueAt07 = 0;
    const std::uint16_t cpi[kCpiLevelCount] = {400, 800, 1600, 3200};
    for (int k = 0; k < kCpiLevelCount; ++k)
        s.cpiLevels[k] = CpiLevel{0, cpi[k], cpi[k]};
    s.opaqueAt08 = 0;
    s.liftOffDistance = 1;
    s.angleSnapping = 0;
    s.rippleControl = 0;
    s.motionSync = 0;

    const ButtonAction factory[kButtonSlotCount] = {
        {0x00, 0x01, 0, 0},  // left click
        {0x00, 0x02, 0, 0},  // right click
        {0x00, 0x04, 0, 0},  // middle click
        {0x00, 0x10, 0, 0},  // forward
        {0x00, 0x08, 0, 0},  // back
        {0x09, 0xF1, 0, 0},  // CPI loop
        {0x01, 0x01, 0, 0},  // scroll up
        {0x01, 0xFF, 0, 0},  // scroll down
    };
    for (int i = 0; i < kButtonSlotCount; ++i)
        s.buttons[i] = ButtonSlot{factory[i], 8};
}

}  // namespace lark
