#include "virtual_clock.h"

#include <numeric>

namespace tovimo::testing {

void VirtualClock::Sleep(int milliseconds) {
    sleeps_.push_back(milliseconds);
    const std::int64_t wake = now_ + (milliseconds > 0 ? milliseconds : 0);
    const std::thread::id self = std::this_thread::get_id();
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (threads_.empty()) {
            lock.unlock();
            AdvanceTo(wake);
            return;
        }
        threads_[self] = {wake, nextOrder_++};
    }
    HandOn();
    WaitForTurn();
}

void VirtualClock::HandOn() {
    std::unique_lock<std::mutex> lock(mutex_);
    auto next = threads_.begin();
    for (auto it = threads_.begin(); it != threads_.end(); ++it) {
        const Sleeper& s = it->second;
        if (s.wake < next->second.wake ||
            (s.wake == next->second.wake && s.order < next->second.order))
            next = it;
    }
    const std::thread::id chosen = next->first;
    const std::int64_t wake = next->second.wake;
    lock.unlock();
    // The events up to that waking run here, while this thread still holds the clock.
    if (wake > now_) AdvanceTo(wake);
    else RunDue();
    lock.lock();
    running_ = chosen;
    turn_.notify_all();
}

void VirtualClock::WaitForTurn() {
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock<std::mutex> lock(mutex_);
    turn_.wait(lock, [&] { return running_ == self; });
}

void VirtualClock::AddThread(std::thread::id thread) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::thread::id self = std::this_thread::get_id();
    if (threads_.empty()) {
        threads_[self] = {now_, nextOrder_++};
        running_ = self;
    }
    threads_[thread] = {now_, nextOrder_++};
}

void VirtualClock::LeaveThread() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        threads_.erase(std::this_thread::get_id());
        if (threads_.empty()) return;
    }
    HandOn();
}

std::size_t VirtualClock::ThreadCount() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return threads_.size();
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
