#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/HidBackend.h"

namespace lark::cli {

// One mouse as the enumeration shows it: its configuration interface and the serial number
// that ties its other interfaces to it.
struct FoundMouse {
    std::string path;  // of the configuration interface
    std::string serialNumber;
};

// Every mouse with a configuration interface, in enumeration order.
std::vector<FoundMouse> findMice(HidBackend& backend);

// The mice `device` names: the path of one of its interfaces (which names one mouse) or, when no
// interface has that path, its serial number (which two mice may share).
std::vector<FoundMouse> miceNamed(HidBackend& backend, const std::string& device);

// The backend as one mouse sees it: the enumeration lists only that mouse's interfaces, so a
// session on it finds this mouse and no other. Its configuration interface is the one at its
// path; its other interfaces belong to it by serial number, or, for a mouse without one or
// with one that another mouse shares, by sharing its configuration interface's path.
class ChosenMouseBackend : public HidBackend {
public:
    ChosenMouseBackend(HidBackend& inner, FoundMouse mouse);

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
    HidError lastOpenError() const override;

private:
    HidBackend& inner_;
    FoundMouse mouse_;
};

}  // namespace lark::cli
