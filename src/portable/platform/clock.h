#pragma once
#include <cstdint>

namespace tovimo {

// A date and time of the user's time zone, to the second.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Sleep and the time. Every wait of the programs goes through Sleep, so the
// tests can run them on a virtual clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(int milliseconds) = 0;
    // Milliseconds since an arbitrary start; only differences mean anything.
    virtual std::int64_t NowMs() = 0;
    // The date and time now, for names the user reads (GetLocalTime).
    virtual LocalTime LocalNow() = 0;
};

}  // namespace tovimo
