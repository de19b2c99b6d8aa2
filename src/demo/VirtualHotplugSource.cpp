#include "demo/VirtualHotplugSource.h"

#include <QPointer>

#include "sim/VirtualMouse.h"

namespace lark {

VirtualHotplugSource::VirtualHotplugSource(VirtualMouse& mouse, QObject* parent)
    : HotplugSource(parent), mouse_(mouse)
{
}

VirtualHotplugSource::~VirtualHotplugSource()
{
    mouse_.setHotplugCallback(nullptr);
}

bool VirtualHotplugSource::start()
{
    QPointer<VirtualHotplugSource> self(this);
    mouse_.setHotplugCallback([self](bool arrival, const std::string& path) {
        const QString name = QString::fromStdString(path);
        QMetaObject::invokeMethod(
            self.data(),
            [self, arrival, name] {
                if (!self)
                    return;
                if (arrival)
                    emit self->deviceArrived(name);
                else
                    emit self->deviceRemoved(name);
            },
            Qt::QueuedConnection);
    });
    return true;
}

}  // namespace lark
