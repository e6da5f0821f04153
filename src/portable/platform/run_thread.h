#pragma once
// The thread a batch run lives on. The window's own thread only starts the
// run and shows what the run reports, so that the window answers at every
// moment of a run: while AutoCAD starts, opens and saves, and while a
// command text waits for AutoCAD to take it.
#include <functional>

namespace tovimo {

class RunThread {
public:
    virtual ~RunThread() = default;
    // Runs work on a thread of its own and returns at once; ended then runs
    // on the window's thread, once work has returned. One run at a time.
    virtual void Start(std::function<void()> work, std::function<void()> ended) = 0;
    // Runs call on the window's thread and returns once it has run. Called
    // by work, for everything a run shows or asks (progress, Cancel's state,
    // the list of drawings not converted, the end message).
    virtual void OnWindowThread(const std::function<void()>& call) = 0;
};

}  // namespace tovimo
