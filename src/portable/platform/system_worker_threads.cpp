#include <atomic>
#include <thread>

#include "platform/worker_threads.h"

namespace tovimo {

namespace {

class SystemWorker : public Worker {
public:
    explicit SystemWorker(std::function<void()> body)
        : thread_([this, body = std::move(body)] {
              body();
              finished_ = true;
          }) {}
    ~SystemWorker() override {
        if (thread_.joinable()) thread_.join();
    }
    bool Finished() const override { return finished_; }
    void Join() override {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

class SystemThreads : public WorkerThreads {
public:
    std::unique_ptr<Worker> Start(std::function<void()> body) override {
        return std::make_unique<SystemWorker>(std::move(body));
    }
};

}  // namespace

WorkerThreads& SystemWorkerThreads() {
    static SystemThreads threads;
    return threads;
}

}  // namespace tovimo
