#pragma once
#include "platform/win32_api.h"

#include "platform/window_system.h"

namespace tovimo::win32 {

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// The window system of user32, each operation one call or message; every
// send is SendMessageTimeoutA with its bound.
class Win32WindowSystem : public WindowSystem {
public:
    void EnumWindows(EnumWindowsProc proc, void* user) override;
    void EnumChildWindows(WindowHandle parent, EnumWindowsProc proc, void* user) override;
    WindowHandle GetParent(WindowHandle window) override;
    int GetClassName(WindowHandle window, char* buffer, int maxCount) override;
    WindowHandle FindWindowEx(WindowHandle parent, WindowHandle childAfter, const char* className,
                              const char* caption) override;
    bool SetForegroundWindow(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
    bool IsWindowUnicode(WindowHandle window) override;
    std::uint32_t GetWindowProcessId(WindowHandle window) override;
    int GetTextLength(WindowHandle window) override;
    int GetText(WindowHandle window, char* buffer, int maxCount) override;
    bool SendCopyData(WindowHandle target, std::uint32_t dwData, const void* data,
                      std::uint32_t cbData, int timeoutMs) override;
    void PostNull(WindowHandle target) override;
    void SendLButtonDown(WindowHandle target) override;
    void SendLButtonUp(WindowHandle target) override;
};

}  // namespace tovimo::win32
