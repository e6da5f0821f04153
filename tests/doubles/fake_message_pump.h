#pragma once
#include <functional>

#include "platform/message_pump.h"

namespace tovimo::testing {

// Counts how often pending messages were let run, and runs what a test
// wants to happen then (a click on Cancel, say).
class FakeMessagePump : public MessagePump {
public:
    void ProcessPendingMessages() override {
        ++runs;
        if (onRun) onRun(runs);
    }
    int runs = 0;
    std::function<void(int run)> onRun;
};

}  // namespace tovimo::testing
