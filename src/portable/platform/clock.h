#pragma once
#include <cstdint>

namespace tovimo {

// Sleep and the time. Every wait of the programs goes through Sleep, so the
// tests can run them on a virtual clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(int milliseconds) = 0;
    // Milliseconds since an arbitrary start; only differences mean anything.
    virtual std::int64_t NowMs() = 0;
};

}  // namespace tovimo
