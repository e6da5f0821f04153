#pragma once
// A clock whose time moves only when somebody sleeps. Events scheduled on it
// (the stand-in AutoCAD's delays) fire in time order while a sleep passes them.
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/clock.h"

namespace tovimo::testing {

class VirtualClock : public Clock {
public:
    void Sleep(int milliseconds) override;
    std::int64_t NowMs() override { return now_; }

    // Runs action once the time reaches NowMs() + delay (at once for delay <= 0
    // on the next sleep or RunDue call). Returns an id for Cancel.
    int ScheduleAfter(std::int64_t delay, std::function<void()> action);
    void Cancel(int id);
    // Runs the events that are due now.
    void RunDue();

    // Every Sleep argument, in order.
    const std::vector<int>& Sleeps() const { return sleeps_; }
    void ClearSleeps() { sleeps_.clear(); }
    std::int64_t TotalSlept() const;

private:
    struct Event {
        int id;
        std::function<void()> action;
    };
    void AdvanceTo(std::int64_t time);

    std::int64_t now_ = 0;
    int nextId_ = 1;
    std::multimap<std::int64_t, Event> events_;
    std::vector<int> sleeps_;
};

}  // namespace tovimo::testing
