#pragma once

#include <QString>

#include <utility>

namespace lark {

class HotplugSource;
class SessionRunner;

// What the window needs from the device side; the real mouse and the virtual one differ only here.
// The session may already be starting while the window is built.
struct DeviceContext {
    DeviceContext(SessionRunner& session, HotplugSource& hotplug, QString outsideWriteDirectory = {})
        : session(session), hotplug(hotplug), outsideWriteDirectory(std::move(outsideWriteDirectory))
    {
    }
    SessionRunner& session;
    HotplugSource& hotplug;
    // Where larkctl announces its writes; empty: the window does not listen.
    QString outsideWriteDirectory;
};

}  // namespace lark
