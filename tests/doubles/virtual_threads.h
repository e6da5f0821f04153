#pragma once
// WorkerThreads on the virtual clock: real threads that run one at a time,
// taking turns whenever one sleeps (see VirtualClock). A test's run with
// several sessions therefore types the same texts at the same times on
// every run, and the doubles need no locks of their own.
#include <atomic>
#include <memory>
#include <thread>

#include "platform/worker_threads.h"
#include "virtual_clock.h"

namespace tovimo::testing {

class VirtualThreads : public WorkerThreads {
public:
    explicit VirtualThreads(VirtualClock& clock) : clock_(clock) {}
    std::unique_ptr<Worker> Start(std::function<void()> body) override;
    // How many threads were started.
    int Started() const { return started_; }

private:
    VirtualClock& clock_;
    int started_ = 0;
};

}  // namespace tovimo::testing
