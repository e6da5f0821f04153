#pragma once
// A clock whose time moves only when somebody sleeps. Events scheduled on it
// (the stand-in AutoCAD's delays) fire in time order while a sleep passes them.
//
// Several threads may share it (VirtualThreads): then exactly one of them
// runs at a time, and a sleep hands the clock on to the thread that wakes
// first (ties in the order they went to sleep), moving the time to its
// waking. So threads that only wait on this clock run as exactly, and as
// repeatably, as one thread does, and the in-memory doubles they share are
// never touched by two at once.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/clock.h"

namespace tovimo::testing {

class VirtualClock : public Clock {
public:
    void Sleep(int milliseconds) override;
    std::int64_t NowMs() override { return now_; }
    // The date and time the test sets; it does not move with the clock.
    LocalTime LocalNow() override { return localNow; }
    LocalTime localNow{2026, 12, 8, 19, 30, 5};

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

    // ---- threads sharing the clock (VirtualThreads) ---------------------------------
    // Called by the running thread: thread joins, ready to run at the
    // current time; the calling thread joins too when it is not yet in.
    void AddThread(std::thread::id thread);
    // A new thread waits here for its first turn.
    void WaitForTurn();
    // The running thread leaves for good and hands the clock on.
    void LeaveThread();
    // Threads in, the caller included.
    std::size_t ThreadCount();

private:
    struct Event {
        int id;
        std::function<void()> action;
    };
    struct Sleeper {
        std::int64_t wake = 0;
        std::uint64_t order = 0;
    };
    void AdvanceTo(std::int64_t time);
    void HandOn();

    std::int64_t now_ = 0;
    int nextId_ = 1;
    std::multimap<std::int64_t, Event> events_;
    std::vector<int> sleeps_;

    std::mutex mutex_;
    std::condition_variable turn_;
    std::map<std::thread::id, Sleeper> threads_;
    std::thread::id running_;
    std::uint64_t nextOrder_ = 0;
};

}  // namespace tovimo::testing
