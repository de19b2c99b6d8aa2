#pragma once

#include "device/HotplugSource.h"

namespace lark {

class VirtualMouse;

// Hot-plug notifications of the virtual mouse, delivered later on the window's thread as
// the system would deliver them.
class VirtualHotplugSource : public HotplugSource {
    Q_OBJECT

public:
    explicit VirtualHotplugSource(VirtualMouse& mouse, QObject* parent = nullptr);
    ~VirtualHotplugSource() override;

    bool start() override;

private:
    VirtualMouse& mouse_;
};

}  // namespace lark
