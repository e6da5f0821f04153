#pragma once
// The part of the window system that Tovimo and Pelkadu use. Each operation
// stands for one Win32 call or message; the Win32 side forwards it unchanged,
// the tests use an in-memory window system.
//
// Every message sent to a window waits a bounded time: a window whose thread
// has stopped answering must never stop Tovimo or Pelkadu. The sends of
// texts and button presses also give up at once on a window that the system
// already counts as hung (no message taken for five seconds).
#include <cstdint>

namespace tovimo {

using WindowHandle = std::uintptr_t;  // 0 means "no window"

// How long a text read (WM_GETTEXTLENGTH, WM_GETTEXT) waits for the window.
constexpr int TextReadTimeoutMs = 500;
// How long each half of a button press (WM_LBUTTONDOWN, WM_LBUTTONUP) waits.
constexpr int ButtonPressTimeoutMs = 2000;

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
    // IsWindowUnicode: whether the window's procedure takes UTF-16 text
    // (its class was registered with RegisterClassW). Sends nothing.
    virtual bool IsWindowUnicode(WindowHandle window) = 0;
    // GetWindowThreadProcessId: the process the window belongs to; 0 for no window.
    virtual std::uint32_t GetWindowProcessId(WindowHandle window) = 0;
    // WM_GETTEXTLENGTH, bounded by TextReadTimeoutMs: 0 also when the window
    // did not answer in time.
    virtual int GetTextLength(WindowHandle window) = 0;
    // WM_GETTEXT, wParam maxCount, bounded by TextReadTimeoutMs: copies at
    // most maxCount - 1 bytes and a zero; returns the bytes copied. A window
    // that does not answer in time gives the empty text.
    virtual int GetText(WindowHandle window, char* buffer, int maxCount) = 0;
    // WM_COPYDATA, wParam 0, lParam a COPYDATASTRUCT of these three fields.
    // The bytes go as they are, whatever kind of window takes them.
    // True once the receiver has handled it; false when there is no such
    // window or it did not handle it within timeoutMs.
    virtual bool SendCopyData(WindowHandle target, std::uint32_t dwData, const void* data,
                              std::uint32_t cbData, int timeoutMs) = 0;
    // PostMessageA WM_NULL, wParam 0, lParam 0.
    virtual void PostNull(WindowHandle target) = 0;
    // WM_LBUTTONDOWN / WM_LBUTTONUP, wParam 0, lParam 0, each bounded by
    // ButtonPressTimeoutMs.
    virtual void SendLButtonDown(WindowHandle target) = 0;
    virtual void SendLButtonUp(WindowHandle target) = 0;
};

}  // namespace tovimo
