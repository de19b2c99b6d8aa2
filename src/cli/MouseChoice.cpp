#include "cli/MouseChoice.h"

#include <algorithm>

#include "device/DeviceIds.h"
#include "device/DeviceLink.h"

namespace lark::cli {

namespace {

bool belongsTo(const HidInterfaceInfo& info, const FoundMouse& mouse)
{
    if (!mouse.serialNumber.empty())
        return info.serialNumber == mouse.serialNumber;
    return info.path == mouse.path;
}

}  // namespace

std::vector<FoundMouse> findMice(HidBackend& backend)
{
    std::vector<FoundMouse> mice;
    for (const HidInterfaceInfo& info : backend.enumerate(kVendorId, kProductId)) {
        if (!isConfigInterface(info))
            continue;
        // hidapi lists nested collections once each, all with the interface's path.
        const bool known =
            std::any_of(mice.begin(), mice.end(), [&](const FoundMouse& m) { return m.path == info.path; });
        if (!known)
            mice.push_back(FoundMouse{info.path, info.serialNumber});
    }
    return mice;
}

std::vector<FoundMouse> miceNamed(HidBackend& backend, const std::string& device)
{
    const std::vector<HidInterfaceInfo> interfaces = backend.enumerate(kVendorId, kProductId);
    std::vector<FoundMouse> named;
    for (const FoundMouse& mouse : findMice(backend)) {
        const bool byPath =
            std::any_of(interfaces.begin(), interfaces.end(), [&](const HidInterfaceInfo& info) {
                return info.path == device && belongsTo(info, mouse);
            });
        if (byPath || (!device.empty() && mouse.serialNumber == device))
            named.push_back(mouse);
    }
    return named;
}

ChosenMouseBackend::ChosenMouseBackend(HidBackend& inner, FoundMouse mouse)
    : inner_(inner), mouse_(std::move(mouse))
{
}

std::vector<HidInterfaceInfo> ChosenMouseBackend::enumerate(std::uint16_t vendorId, std::uint16_t productId)
{
    std::vector<HidInterfaceInfo> interfaces = inner_.enumerate(vendorId, productId);
    std::erase_if(interfaces, [&](const HidInterfaceInfo& info) { return !belongsTo(info, mouse_); });
    return interfaces;
}

std::unique_ptr<HidDevice> ChosenMouseBackend::open(const std::string& path)
{
    return inner_.open(path);
}

HidError ChosenMouseBackend::lastOpenError() const
{
    return inner_.lastOpenError();
}

}  // namespace lark::cli
