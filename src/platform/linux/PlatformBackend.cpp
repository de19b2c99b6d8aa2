#include "device/PlatformBackend.h"

#include "platform/linux/HidapiBackend.h"
#include "platform/linux/UdevMonitor.h"

namespace lark {

std::unique_ptr<HidBackend> makePlatformBackend()
{
    return std::make_unique<HidapiBackend>();
}

std::unique_ptr<PollableHotplug> makePlatformHotplug()
{
    return std::make_unique<UdevMonitor>();
}

}  // namespace lark
