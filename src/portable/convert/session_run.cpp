#include "convert/session_run.h"

#include <utility>

namespace tovimo {

SessionRun::SessionRun(std::size_t drawings) : results_(drawings) {}

bool SessionRun::IsTurnOf(int session) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return turn_ == session;
}

void SessionRun::PassTurn(int session, bool stopOthers) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (stopOthers) startingStopped_ = true;
    if (turn_ == session) ++turn_;
}

void SessionRun::StartEnded(int session, StartResult result) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (result == AcadReady) {
        reached_ = true;
        events_.push_back({EventKind::Reached, session, 0});
    } else if (result == OtherAcadRunning) {
        otherAcad_ = true;
    }
}

bool SessionRun::StartingStopped() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return startingStopped_;
}

std::optional<std::size_t> SessionRun::Take(int session) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (canceled_ || next_ >= results_.size()) return std::nullopt;
    // Handed out and announced under one lock, so the announcements keep
    // the run's order.
    events_.push_back({EventKind::Started, session, next_});
    return next_++;
}

void SessionRun::Finish(std::size_t index, std::vector<SkippedDrawing> skipped) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (index < results_.size()) results_[index] = std::move(skipped);
    events_.push_back({EventKind::Finished, -1, index});
}

void SessionRun::SessionEnded(int session, std::optional<SkipReason> lost) {
    (void)session;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (lost) lastLoss_ = lost;
}

void SessionRun::Cancel() {
    const std::lock_guard<std::mutex> lock(mutex_);
    canceled_ = true;
}

bool SessionRun::Canceled() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return canceled_;
}

std::vector<SessionRun::Event> SessionRun::TakeEvents() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(events_, {});
}

bool SessionRun::AnyReached() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return reached_;
}

bool SessionRun::OtherAcadSeen() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return otherAcad_;
}

std::size_t SessionRun::Handed() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return next_;
}

std::optional<SkipReason> SessionRun::LastLoss() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return lastLoss_;
}

std::vector<SkippedDrawing> SessionRun::SkippedInRunOrder() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::vector<SkippedDrawing> all;
    for (const auto& listed : results_) all.insert(all.end(), listed.begin(), listed.end());
    return all;
}

}  // namespace tovimo
