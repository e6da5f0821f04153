#include "wait_until.h"

#include "platform/win32_api.h"

namespace tovimo::wine_tests {

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs, int stepMs) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount64() >= end) return false;
        ::Sleep(static_cast<DWORD>(stepMs));
    }
}

}  // namespace tovimo::wine_tests
