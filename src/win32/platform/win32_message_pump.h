#pragma once
#include "platform/message_pump.h"

namespace tovimo::win32 {

// Runs the messages waiting in the calling thread's queue, then returns.
class Win32MessagePump : public MessagePump {
public:
    void ProcessPendingMessages() override;
    // True once a WM_QUIT came through here.
    bool QuitSeen() const { return quitSeen_; }

private:
    bool quitSeen_ = false;
};

}  // namespace tovimo::win32
