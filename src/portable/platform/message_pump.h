#pragma once

namespace tovimo {

// Lets the messages that are pending in the program's own queue run. This is
// the one place where a click on Cancel (or a Ctrl+C) is seen during a run.
class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void ProcessPendingMessages() = 0;
};

}  // namespace tovimo
