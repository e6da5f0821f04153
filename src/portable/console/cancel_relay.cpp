#include "console/cancel_relay.h"

namespace tovimo {

void CancelRelay::Attach(ConsoleRun& run) {
    const std::lock_guard<std::mutex> lock(mutex_);
    run_ = &run;
}

void CancelRelay::Detach() {
    const std::lock_guard<std::mutex> lock(mutex_);
    run_ = nullptr;
}

bool CancelRelay::Press() {
    if (presses_.fetch_add(1) > 0) return false;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (run_) run_->RequestCancel();
    return true;
}

}  // namespace tovimo
