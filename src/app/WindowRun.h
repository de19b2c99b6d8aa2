#pragma once

namespace lark {

class Application;
struct DeviceContext;

// The program's names, translations and icon; needs the QApplication.
void setUpIdentity();

// Runs the main window on the given device side until it closes (the identity first), then lets
// a new copy start.
int runMainWindow(Application& app, DeviceContext device);

}  // namespace lark
