#pragma once
// The run's thread for the unit tests, which have one thread only. By
// default a run is carried out at once inside Start, as if the window's
// thread had waited for it; deferred, Start only keeps it until the test
// calls RunPending. Either way it tells whether the code is now "on the
// window's thread": outside a run, or inside an OnWindowThread call.
#include <functional>
#include <utility>

#include "platform/run_thread.h"

namespace tovimo::testing {

class ManualRunThread : public RunThread {
public:
    void Start(std::function<void()> work, std::function<void()> ended) override {
        ++starts;
        work_ = std::move(work);
        ended_ = std::move(ended);
        if (!deferred) RunPending();
    }
    void OnWindowThread(const std::function<void()>& call) override {
        const bool was = onWindow_;
        onWindow_ = true;
        call();
        onWindow_ = was;
    }

    // Carries out the run that Start kept, then its end on the window's thread.
    void RunPending() {
        if (!work_) return;
        std::function<void()> work = std::move(work_);
        std::function<void()> ended = std::move(ended_);
        work_ = nullptr;
        ended_ = nullptr;
        onWindow_ = false;
        work();
        onWindow_ = true;
        ended();
    }
    bool Pending() const { return static_cast<bool>(work_); }
    bool OnWindow() const { return onWindow_; }

    bool deferred = false;
    int starts = 0;

private:
    std::function<void()> work_;
    std::function<void()> ended_;
    bool onWindow_ = true;
};

}  // namespace tovimo::testing
