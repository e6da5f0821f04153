#include "platform/win32_clock.h"

#include "platform/win32_api.h"

namespace tovimo::win32 {

void Win32Clock::Sleep(int milliseconds) {
    // A negative pause would become a wait of about 49 days as a DWORD.
    ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

std::int64_t Win32Clock::NowMs() {
    return static_cast<std::int64_t>(::GetTickCount64());
}

LocalTime Win32Clock::LocalNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace tovimo::win32
