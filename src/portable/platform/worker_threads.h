#pragma once
// Threads for the sessions of a run with several AutoCADs. The programs use
// real threads; the tests run the same threads one at a time on the virtual
// clock, so that a run with several sessions is as exact as a run with one.
#include <functional>
#include <memory>

namespace tovimo {

class Worker {
public:
    virtual ~Worker() = default;
    // Whether the body has returned.
    virtual bool Finished() const = 0;
    // Waits until the thread has ended. Call only once Finished() is true.
    virtual void Join() = 0;
};

class WorkerThreads {
public:
    virtual ~WorkerThreads() = default;
    virtual std::unique_ptr<Worker> Start(std::function<void()> body) = 0;
};

// Real threads (std::thread).
WorkerThreads& SystemWorkerThreads();

}  // namespace tovimo
