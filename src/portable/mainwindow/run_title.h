#pragma once
// What the window's title tells during a run, after the caption: the
// drawings finished of those the run converts and the time left,
// "n/N 残り約 m 分" ("n/N" alone until a drawing has ended); or a text about
// the run (AutoCAD started again, ...) from when it comes until the next
// drawing ends.
#include <cstdint>
#include <string>
#include <vector>

namespace tovimo {

class RunTitle {
public:
    // A run that converts drawings with sessions AutoCADs side by side.
    void Begin(int drawings, int sessions);
    // Drawing index (from 0, of those the run converts) starts or ends.
    void DrawingStarting(int index, std::int64_t nowMs);
    void DrawingEnded(int index, std::int64_t nowMs);
    // Shown instead of the count until the next drawing ends.
    void Status(std::string text);
    // The run has ended: nothing more to tell.
    void End();
    bool Running() const { return running_; }
    // What follows the caption; empty outside a run.
    std::string Text() const;

private:
    bool running_ = false;
    int drawings_ = 0;
    int sessions_ = 1;
    int finished_ = 0;
    int timed_ = 0;             // finished drawings whose start was seen
    std::int64_t timedMs_ = 0;  // their time together
    std::vector<std::int64_t> starts_;
    std::string status_;
};

// The time left as the title tells it: "残り約 s 秒" under a minute, else
// "残り約 m 分", each rounded.
std::string TimeLeftText(std::int64_t milliseconds);

}  // namespace tovimo
