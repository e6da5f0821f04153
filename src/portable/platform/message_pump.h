#pragma once

namespace tovimo {

// Lets the messages that are pending in the calling thread's queue run. The
// console program sees a Ctrl+C here; in the window program a run calls it
// on the run's own thread, whose queue serves only that thread.
class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void ProcessPendingMessages() = 0;
};

}  // namespace tovimo
