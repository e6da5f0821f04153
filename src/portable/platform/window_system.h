#pragma once
// The part of the window system that Tovimo and Pelkadu use. Each operation
// stands for one Win32 call or message; the Win32 side forwards it unchanged,
// the tests use an in-memory window system.
#include <cstdint>

namespace tovimo {

using WindowHandle = std::uintptr_t;  // 0 means "no window"

// Enumeration callback: return true to continue.
using EnumWindowsProc = bool (*)(WindowHandle window, void* user);

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // EnumWindows: every top-level window, in the system's order.
    virtual void EnumWindows(EnumWindowsProc proc, void* user) = 0;
    // EnumChildWindows: every descendant of parent, at any depth.
    virtual void EnumChildWindows(WindowHandle parent, EnumWindowsProc proc, void* user) = 0;
    // GetParent: the parent of a child window, the owner of a popup window.
    virtual WindowHandle GetParent(WindowHandle window) = 0;
    // GetClassNameA: copies at most maxCount - 1 bytes and a zero; returns the bytes copied.
    virtual int GetClassName(WindowHandle window, char* buffer, int maxCount) = 0;
    // FindWindowExA: the next child of parent after childAfter (0: the first)
    // with this class and caption; a null className or caption matches any.
    virtual WindowHandle FindWindowEx(WindowHandle parent, WindowHandle childAfter,
                                      const char* className, const char* caption) = 0;
    virtual bool SetForegroundWindow(WindowHandle window) = 0;
    // IsWindow: whether the handle still names a window (AutoCAD may be gone).
    virtual bool IsWindow(WindowHandle window) = 0;
    // SendMessageA WM_GETTEXTLENGTH.
    virtual int GetTextLength(WindowHandle window) = 0;
    // SendMessageA WM_GETTEXT, wParam maxCount: copies at most maxCount - 1
    // bytes and a zero; returns the bytes copied.
    virtual int GetText(WindowHandle window, char* buffer, int maxCount) = 0;
    // SendMessageA WM_COPYDATA, wParam 0, lParam a COPYDATASTRUCT of these
    // three fields; returns once the receiver has handled it.
    virtual void SendCopyData(WindowHandle target, std::uint32_t dwData, const void* data,
                              std::uint32_t cbData) = 0;
    // PostMessageA WM_NULL, wParam 0, lParam 0.
    virtual void PostNull(WindowHandle target) = 0;
    // SendMessageA WM_LBUTTONDOWN / WM_LBUTTONUP, wParam 0, lParam 0.
    virtual void SendLButtonDown(WindowHandle target) = 0;
    virtual void SendLButtonUp(WindowHandle target) = 0;
};

}  // namespace tovimo
