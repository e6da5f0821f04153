#include "convert/session_run.h"

#include <utility>

namespace tovimo {

SessionRun::SessionRun(std::vector<bool> resultTaken, const std::atomic<bool>& canceled,
                       int sessions)
    : resultTaken_(std::move(resultTaken)),
      canceled_(canceled),
      results_(resultTaken_.size()),
      shown_(resultTaken_.size()),
      going_(sessions) {}

void SessionRun::FirstStartEnded(StartResult result) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (result == AcadReady) {
        if (!reached_) events_.push_back({EventKind::Reached, 0, std::nullopt});
        reached_ = true;
        return;
    }
    if (result == OtherAcadRunning) otherAcad_ = true;
}

bool SessionRun::AnyLeft() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return !canceled_ && next_ < results_.size();
}

std::optional<std::size_t> SessionRun::Take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    while (!canceled_ && next_ < results_.size()) {
        const std::size_t index = next_++;
        if (resultTaken_[index]) {
            // Nothing is typed for a drawing whose result an earlier one takes.
            results_[index] = SkipReason::TargetTaken;
            events_.push_back({EventKind::Finished, index, SkipReason::TargetTaken});
            continue;
        }
        // Handed out and announced under one lock: the announcements keep
        // the run's order.
        events_.push_back({EventKind::Started, index, std::nullopt});
        return index;
    }
    return std::nullopt;
}

void SessionRun::Restarting(RestartCause cause) {
    const std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back({EventKind::Restarting, 0, std::nullopt, cause});
}

void SessionRun::SingleDocumentRefused() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (std::exchange(singleDocumentRefused_, true)) return;
    events_.push_back({EventKind::SingleDocumentRefused, 0, std::nullopt});
}

void SessionRun::Finish(std::size_t index, std::optional<SkipReason> reason,
                        const std::string& acadShown) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (index < results_.size()) {
        results_[index] = reason;
        shown_[index] = acadShown;
    }
    events_.push_back({EventKind::Finished, index, reason, RestartCause::AcadGone, 0, 0, acadShown});
}

void SessionRun::SessionEnded(std::optional<SessionLoss> loss, int endedUnstarted, bool startFailed) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (loss) lastLoss_ = loss;
    if (loss && loss->acadLost) lastAcadLoss_ = loss;
    if (loss || endedUnstarted != 0 || startFailed) --going_;
    if (endedUnstarted != 0) {
        events_.push_back({EventKind::EndedUnstarted, 0, std::nullopt, RestartCause::AcadGone,
                           endedUnstarted, going_});
    }
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

std::vector<std::optional<SkipReason>> SessionRun::Results() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return results_;
}

std::vector<std::string> SessionRun::Shown() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
}

std::optional<SessionLoss> SessionRun::LastLoss() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return lastLoss_;
}

std::optional<SessionLoss> SessionRun::LastAcadLoss() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return lastAcadLoss_;
}

}  // namespace tovimo
