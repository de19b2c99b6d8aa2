#include "cli/MouseChoice.h"

#include <algorithm>

#include "device/DeviceIds.h"
#include "device/DeviceLink.h"

namespace lark::cli {

namespace {

// Whether another mouse's configuration interface carries the same serial number, so that the
// number does not tell the two mice's other interfaces apart.
bool serialShared(const std::vector<HidInterfaceInfo>& interfaces, const FoundMouse& mouse)
{
    return std::any_of(interfaces.begin(), interfaces.end(), [&](const HidInterfaceInfo& info) {
        return isConfigInterface(info) && info.path != mouse.path && info.serialNumber == mouse.serialNumber;
    });
}

// A configuration interface is the mouse's by its path alone. Its other interfaces are tied to
// it by serial number, or by sharing its path when the number is missing or shared.
bool belongsTo(const HidInterfaceInfo& info, const FoundMouse& mouse, bool shared)
{
    if (isConfigInterface(info) || mouse.serialNumber.empty() || shared)
        return info.path == mouse.path;
    return info.serialNumber == mouse.serialNumber;
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
    const std::vector<FoundMouse> mice = findMice(backend);
    // A path names one interface, so it wins over a serial number that happens to read the same.
    std::vector<FoundMouse> named;
    for (const FoundMouse& mouse : mice) {
        const bool shared = serialShared(interfaces, mouse);
        if (std::any_of(interfaces.begin(), interfaces.end(), [&](const HidInterfaceInfo& info) {
                return info.path == device && belongsTo(info, mouse, shared);
            }))
            named.push_back(mouse);
    }
    if (!named.empty())
        return named;
    for (const FoundMouse& mouse : mice)
        if (!device.empty() && mouse.serialNumber == device)
            named.push_back(mouse);
    return named;
}

ChosenMouseBackend::ChosenMouseBackend(HidBackend& inner, FoundMouse mouse)
    : inner_(inner), mouse_(std::move(mouse))
{
}

std::vector<HidInterfaceInfo> ChosenMouseBackend::enumerate(std::uint16_t vendorId, std::uint16_t productId)
{
    std::vector<HidInterfaceInfo> interfaces = inner_.enumerate(vendorId, productId);
    const bool shared = serialShared(interfaces, mouse_);
    std::erase_if(interfaces, [&](const HidInterfaceInfo& info) { return !belongsTo(info, mouse_, shared); });
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
