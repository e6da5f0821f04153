#pragma once
// Ctrl+C from the console's control handler to the run. The handler runs on
// a thread that the system starts for each event, at any time, also while
// the run is being taken down at the program's end: it reaches the run only
// while the run is attached, and detaching waits for a call in flight.
#include <atomic>
#include <mutex>

#include "console/console_run.h"

namespace tovimo {

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

private:
    std::mutex mutex_;
    ConsoleRun* run_ = nullptr;
    std::atomic<int> presses_{0};
};

}  // namespace tovimo
