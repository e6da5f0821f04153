#include "virtual_threads.h"

namespace tovimo::testing {

namespace {

class VirtualWorker : public Worker {
public:
    VirtualWorker(VirtualClock& clock, std::function<void()> body) : clock_(clock) {
        thread_ = std::thread([this, body = std::move(body)] {
            clock_.WaitForTurn();
            body();
            finished_ = true;
            clock_.LeaveThread();
        });
        clock_.AddThread(thread_.get_id());
    }
    ~VirtualWorker() override { Join(); }
    bool Finished() const override { return finished_; }
    void Join() override {
        if (!thread_.joinable()) return;
        thread_.join();
        // The last worker gone, the caller runs alone again.
        if (clock_.ThreadCount() == 1) clock_.LeaveThread();
    }

private:
    VirtualClock& clock_;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

}  // namespace

std::unique_ptr<Worker> VirtualThreads::Start(std::function<void()> body) {
    ++started_;
    return std::make_unique<VirtualWorker>(clock_, std::move(body));
}

}  // namespace tovimo::testing
