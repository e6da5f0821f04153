#include "virtual_clock.h"

#include <numeric>

namespace tovimo::testing {

void VirtualClock::Sleep(int milliseconds) {
    sleeps_.push_back(milliseconds);
    AdvanceTo(now_ + (milliseconds > 0 ? milliseconds : 0));
}

int VirtualClock::ScheduleAfter(std::int64_t delay, std::function<void()> action) {
    const int id = nextId_++;
    events_.emplace(now_ + (delay > 0 ? delay : 0), Event{id, std::move(action)});
    return id;
}

void VirtualClock::Cancel(int id) {
    for (auto it = events_.begin(); it != events_.end(); ++it) {
        if (it->second.id == id) {
            events_.erase(it);
            return;
        }
    }
}

void VirtualClock::RunDue() { AdvanceTo(now_); }

void VirtualClock::AdvanceTo(std::int64_t time) {
    // An event may schedule further events; those that fall inside this
    // sleep run in the same pass.
    while (!events_.empty() && events_.begin()->first <= time) {
        auto first = events_.begin();
        now_ = first->first > now_ ? first->first : now_;
        auto action = std::move(first->second.action);
        events_.erase(first);
        action();
    }
    now_ = time;
}

std::int64_t VirtualClock::TotalSlept() const {
    return std::accumulate(sleeps_.begin(), sleeps_.end(), std::int64_t{0});
}

}  // namespace tovimo::testing
