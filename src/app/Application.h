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
    // Needs no QApplication, so a program may ask before Qt starts.
    bool startUp();
    // The program's names, translations and icon; needs the QApplication.
    static void setUpIdentity();
    // Runs the main window on the given device side until it closes (the identity first).
    int runMainWindow(DeviceContext device);
    void shutDown();

private:
    std::unique_ptr<SingleInstance> guard_;
};

}  // namespace lark
