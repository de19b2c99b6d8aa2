#pragma once

#include <string>

namespace lark {

class Application;
class HotplugSource;
class SessionRunner;

// What the program hands the window once the mouse's exchange is under way.
struct WindowStart {
    int& argc;
    char** argv;
    Application& app;
    SessionRunner& session;
    HotplugSource& hotplug;
    // Where larkctl announces its writes.
    std::string outsideWriteDirectory;
};

}  // namespace lark

// The window's one entry: starts Qt's GUI and runs the main window until it closes. Where Qt is
// a shared library it lives in a module of its own, loaded once the exchange has begun.
extern "C" int larkConfigRunWindow(lark::WindowStart* start);
