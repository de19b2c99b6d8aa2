#pragma once

#include <memory>

#include <QObject>
#include <QString>

namespace lark {

// Tells the window when a HID interface comes or goes, with the interface's path text.
class HotplugSource : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~HotplugSource() override = default;

    // Starts watching; false when notifications cannot be had.
    virtual bool start() = 0;

signals:
    void deviceArrived(const QString& path);
    void deviceRemoved(const QString& path);
};

// The platform's source: udev on Linux, device notifications on Windows. Not started.
std::unique_ptr<HotplugSource> makePlatformHotplugSource();

}  // namespace lark
