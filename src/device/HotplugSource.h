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

    // Starts listening without delivering: what comes meanwhile is kept for start(). Needs no
    // event loop, so a program can listen before Qt starts. False when notifications cannot be
    // had. Sources that keep nothing need not listen ahead.
    virtual bool listen() { return true; }
    // Listens, if not yet, and delivers each notice as a signal on this object's thread; false
    // when notifications cannot be had.
    virtual bool start() = 0;

signals:
    void deviceArrived(const QString& path);
    void deviceRemoved(const QString& path);
};

// The platform's source: udev on Linux, device notifications on Windows. Not started.
std::unique_ptr<HotplugSource> makePlatformHotplugSource();

}  // namespace lark
