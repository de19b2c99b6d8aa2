#pragma once

namespace lark {

// Every wait of the mouse protocol goes through one of these, so tests can see the waits
// without spending them.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleepMs(unsigned milliseconds) = 0;
};

}  // namespace lark
