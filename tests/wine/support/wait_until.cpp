#include "wait_until.h"

#include "platform/win32_api.h"
#include "platform/win32_message_pump.h"

namespace tovimo::wine_tests {

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs, int stepMs) {
    // Between the tests, messages sent to this process's windows get
    // handled: another program reading their titles would wait otherwise.
    win32::Win32MessagePump pump;
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        pump.ProcessPendingMessages();
        if (condition()) return true;
        if (::GetTickCount64() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(stepMs), QS_ALLINPUT);
    }
}

}  // namespace tovimo::wine_tests
