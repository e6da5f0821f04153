#include "mainwindow/run_title.h"

#include <algorithm>

namespace tovimo {

void RunTitle::Begin(int drawings, int sessions) {
    *this = RunTitle();
    running_ = true;
    drawings_ = std::max(drawings, 0);
    sessions_ = std::max(sessions, 1);
    starts_.assign(static_cast<std::size_t>(drawings_), -1);
}

void RunTitle::DrawingStarting(int index, std::int64_t nowMs) {
    if (index >= 0 && index < drawings_) starts_[static_cast<std::size_t>(index)] = nowMs;
}

void RunTitle::DrawingEnded(int index, std::int64_t nowMs) {
    ++finished_;
    status_.clear();
    // A drawing listed without being typed (its result taken) took no time
    // of AutoCAD's and tells nothing of the others.
    if (index < 0 || index >= drawings_ || starts_[static_cast<std::size_t>(index)] < 0) return;
    ++timed_;
    timedMs_ += nowMs - starts_[static_cast<std::size_t>(index)];
}

void RunTitle::Status(std::string text) { status_ = std::move(text); }

void RunTitle::End() { *this = RunTitle(); }

std::string RunTitle::Text() const {
    if (!running_) return {};
    if (!status_.empty()) return status_;
    std::string text = std::to_string(finished_) + "/" + std::to_string(drawings_);
    const int left = drawings_ - finished_;
    if (timed_ == 0 || left <= 0) return text;
    // Sessions with no drawing left to take have ended.
    const int sessions = std::min(sessions_, left);
    return text + " " + TimeLeftText(timedMs_ / timed_ * left / sessions);
}

std::string TimeLeftText(std::int64_t milliseconds) {
    const std::int64_t seconds = (std::max<std::int64_t>(milliseconds, 0) + 500) / 1000;
    if (seconds < 60) return "残り約 " + std::to_string(seconds) + " 秒";
    return "残り約 " + std::to_string((seconds + 30) / 60) + " 分";
}

}  // namespace tovimo
