#pragma once

#include <memory>

namespace lark {

class SingleInstance;

// Where the process begins and ends: one copy per user session. Needs no QApplication, so the
// program asks before Qt starts (and before the window's libraries are loaded).
class Application {
public:
    Application();
    ~Application();

    // False when another copy already runs; this copy should then end quietly with status 0.
    bool startUp();
    // Lets a new copy start, also while this process still finishes the exchange under way.
    void shutDown();

private:
    std::unique_ptr<SingleInstance> guard_;
};

}  // namespace lark
