#pragma once

#include "app/DeviceContext.h"

namespace lark {

class Application;

// What the program hands the window once the mouse's exchange is under way.
struct WindowStart {
    int& argc;
    char** argv;
    Application& app;
    DeviceContext device;
};

}  // namespace lark

// The window's one entry: starts Qt's GUI and runs the main window until it closes. Where Qt is
// a shared library it lives in a module of its own, loaded once the exchange has begun.
extern "C" int larkConfigRunWindow(lark::WindowStart* start);
