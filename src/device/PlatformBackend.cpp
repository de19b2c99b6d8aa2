#include "device/PlatformBackend.h"

#ifdef _WIN32
#include "device/win/Win32HidApi.h"
#include "device/win/WinHidBackend.h"
#else
#include "device/HidapiBackend.h"
#endif

namespace lark {

#ifdef _WIN32
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
#else
std::unique_ptr<HidBackend> makePlatformBackend()
{
    return std::make_unique<HidapiBackend>();
}
#endif

}  // namespace lark
