#pragma once

#include <QString>

#include <memory>

namespace lark {

struct DeviceContext;
class SingleInstance;

// Where the process begins and ends: one copy per user session, then the main window.
class Application {
public:
    Application();
    ~Application();

    // False when another copy already runs; this copy should then end quietly with status 0.
    bool startUp();
    // Runs the main window on the given device side until it closes.
    int runMainWindow(DeviceContext device);
    void shutDown();

private:
    std::unique_ptr<SingleInstance> guard_;
};

}  // namespace lark
