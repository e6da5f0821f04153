#include "console/cancel_relay.h"

#include <chrono>

namespace tovimo {

void CancelRelay::Attach(ConsoleRun& run) {
    const std::lock_guard<std::mutex> lock(mutex_);
    run_ = &run;
}

void CancelRelay::Detach() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        run_ = nullptr;
    }
    detached_.notify_all();
}

bool CancelRelay::Press() {
    if (presses_.fetch_add(1) > 0) return false;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (run_) run_->RequestCancel();
    return true;
}

bool CancelRelay::Close(int waitMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (run_) run_->RequestEnd();
    return detached_.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return run_ == nullptr; });
}

bool CancelRelay::OnConsoleEvent(std::uint32_t event) {
    switch (event) {
        case ConsoleCtrlC:
        case ConsoleCtrlBreak: return Press();
        case ConsoleClose:
            // Whatever this gives, the system ends the program once it returns.
            Close(ConsoleCloseGraceMs);
            return true;
        default: return false;
    }
}

}  // namespace tovimo
