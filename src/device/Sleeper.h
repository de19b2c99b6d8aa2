#pragma once

namespace lark {

// Every wait of the mouse protocol goes through one of these, so tests can see the waits
// without spending them.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleepMs(unsigned milliseconds) = 0;
    // Cuts the running wait and every later one short, so that a program can close without
    // waiting out the protocol. Sleepers that do not really wait have nothing to cut.
    virtual void interrupt() {}
};

}  // namespace lark
