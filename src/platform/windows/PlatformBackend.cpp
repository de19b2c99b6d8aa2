#include "device/PlatformBackend.h"

#include "platform/windows/Win32HidApi.h"
#include "platform/windows/WinDeviceNotifier.h"
#include "platform/windows/WinHidBackend.h"

namespace lark {

namespace {

// The backend together with the calls it makes.
class Win32Backend : public win::WinHidBackend {
public:
    Win32Backend() : win::WinHidBackend(api_) {}

private:
    win::Win32HidApi api_;
};

}  // namespace

std::unique_ptr<HidBackend> makePlatformBackend()
{
    return std::make_unique<Win32Backend>();
}

std::unique_ptr<PollableHotplug> makePlatformHotplug()
{
    return std::make_unique<win::WinDeviceNotifier>();
}

}  // namespace lark
