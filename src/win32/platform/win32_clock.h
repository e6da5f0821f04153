#pragma once
#include "platform/clock.h"

namespace tovimo::win32 {

// Sleep, GetTickCount64 and GetLocalTime of kernel32.
class Win32Clock : public Clock {
public:
    void Sleep(int milliseconds) override;
    std::int64_t NowMs() override;
    LocalTime LocalNow() override;
};

}  // namespace tovimo::win32
