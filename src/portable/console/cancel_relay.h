#pragma once
// The console's events to the run. The handler runs on a thread that the
// system starts for each event, at any time, also while the run is being
// taken down at the program's end: it reaches the run only while the run is
// attached, and detaching waits for a call in flight.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "console/console_run.h"

namespace tovimo {

// The console events the handler is told of (the values of CTRL_C_EVENT,
// CTRL_BREAK_EVENT and CTRL_CLOSE_EVENT).
enum ConsoleEvent : std::uint32_t {
    ConsoleCtrlC = 0,
    ConsoleCtrlBreak = 1,
    ConsoleClose = 2,
};

// How long the run is given to end once the console is being closed: the
// system ends the program about 5 s after that event.
constexpr int ConsoleCloseGraceMs = 4000;

class CancelRelay {
public:
    // The run that presses go to, until Detach.
    void Attach(ConsoleRun& run);
    // No press reaches the run after this returns; a press under way is
    // waited for. Call before the run is destroyed.
    void Detach();
    // One Ctrl+C. The first asks the run (if one is attached) to end after
    // the drawing under way, and gives true: taken. Later ones give false:
    // left to the system, which ends the program.
    bool Press();
    // The console is being closed, and the program will be ended: asks the
    // run to end at once, and waits until it has (Detach), at most waitMs.
    // True when it has ended.
    bool Close(int waitMs);
    // The console's control handler: Ctrl+C and Ctrl+Break are presses;
    // the console's close waits ConsoleCloseGraceMs at most. Gives whether
    // the event was handled here.
    bool OnConsoleEvent(std::uint32_t event);

private:
    std::mutex mutex_;
    std::condition_variable detached_;
    ConsoleRun* run_ = nullptr;
    std::atomic<int> presses_{0};
};

}  // namespace tovimo
