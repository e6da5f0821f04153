#pragma once
// A clock that passes every pause on and adds up what was asked for and how
// long the pauses really took, so that the time a run spends by design can
// be told from the time it takes.
#include <chrono>
#include <cstdint>

#include "platform/clock.h"

namespace tovimo::bench {

// Milliseconds on the steady clock (QueryPerformanceCounter on Windows).
inline double SteadyMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

class MeteredClock : public Clock {
public:
    explicit MeteredClock(Clock& inner) : inner_(inner) {}

    void Sleep(int milliseconds) override {
        // A negative pause is no pause: the Win32 clock makes it 0 too.
        if (milliseconds > 0) requestedMs_ += milliseconds;
        ++pauses_;
        const double start = SteadyMs();
        inner_.Sleep(milliseconds);
        sleptMs_ += SteadyMs() - start;
    }
    std::int64_t NowMs() override { return inner_.NowMs(); }
    LocalTime LocalNow() override { return inner_.LocalNow(); }

    // The pauses so far: the milliseconds asked for, the milliseconds they
    // took, and their number.
    std::int64_t RequestedMs() const { return requestedMs_; }
    double SleptMs() const { return sleptMs_; }
    std::int64_t Pauses() const { return pauses_; }

private:
    Clock& inner_;
    std::int64_t requestedMs_ = 0;
    double sleptMs_ = 0;
    std::int64_t pauses_ = 0;
};

}  // namespace tovimo::bench
