#include "platform/win32_window_system.h"

namespace tovimo::win32 {
namespace {

// EnumWindows and EnumChildWindows take a CALLBACK with an LPARAM; this
// carries our callback and its argument through it.
struct Enumeration {
    EnumWindowsProc proc;
    void* user;
};

BOOL CALLBACK ForwardWindow(HWND window, LPARAM param) {
    auto* enumeration = reinterpret_cast<Enumeration*>(param);
    return enumeration->proc(FromHwnd(window), enumeration->user) ? TRUE : FALSE;
}

}  // namespace

void Win32WindowSystem::EnumWindows(EnumWindowsProc proc, void* user) {
    Enumeration enumeration{proc, user};
    ::EnumWindows(ForwardWindow, reinterpret_cast<LPARAM>(&enumeration));
}

void Win32WindowSystem::EnumChildWindows(WindowHandle parent, EnumWindowsProc proc, void* user) {
    Enumeration enumeration{proc, user};
    ::EnumChildWindows(ToHwnd(parent), ForwardWindow, reinterpret_cast<LPARAM>(&enumeration));
}

WindowHandle Win32WindowSystem::GetParent(WindowHandle window) {
    return FromHwnd(::GetParent(ToHwnd(window)));
}

int Win32WindowSystem::GetClassName(WindowHandle window, char* buffer, int maxCount) {
    if (maxCount <= 0) return 0;
    buffer[0] = '\0';
    return ::GetClassNameA(ToHwnd(window), buffer, maxCount);
}

WindowHandle Win32WindowSystem::FindWindowEx(WindowHandle parent, WindowHandle childAfter,
                                             const char* className, const char* caption) {
    return FromHwnd(::FindWindowExA(ToHwnd(parent), ToHwnd(childAfter), className, caption));
}

bool Win32WindowSystem::SetForegroundWindow(WindowHandle window) {
    return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

bool Win32WindowSystem::IsWindow(WindowHandle window) {
    return ::IsWindow(ToHwnd(window)) != FALSE;
}

int Win32WindowSystem::GetTextLength(WindowHandle window) {
    return static_cast<int>(::SendMessageA(ToHwnd(window), WM_GETTEXTLENGTH, 0, 0));
}

int Win32WindowSystem::GetText(WindowHandle window, char* buffer, int maxCount) {
    if (maxCount <= 0) return 0;
    // A window that does not answer (or a zero handle) leaves the buffer as
    // it was: start from the empty text.
    buffer[0] = '\0';
    const LRESULT copied = ::SendMessageA(ToHwnd(window), WM_GETTEXT,
                                          static_cast<WPARAM>(maxCount),
                                          reinterpret_cast<LPARAM>(buffer));
    buffer[maxCount - 1] = '\0';
    if (copied <= 0) return 0;
    return copied < maxCount ? static_cast<int>(copied) : maxCount - 1;
}

void Win32WindowSystem::SendCopyData(WindowHandle target, std::uint32_t dwData, const void* data,
                                     std::uint32_t cbData) {
    COPYDATASTRUCT record{};
    record.dwData = dwData;
    record.cbData = cbData;
    record.lpData = const_cast<void*>(data);
    ::SendMessageA(ToHwnd(target), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
}

void Win32WindowSystem::PostNull(WindowHandle target) {
    ::PostMessageA(ToHwnd(target), WM_NULL, 0, 0);
}

void Win32WindowSystem::SendLButtonDown(WindowHandle target) {
    ::SendMessageA(ToHwnd(target), WM_LBUTTONDOWN, 0, 0);
}

void Win32WindowSystem::SendLButtonUp(WindowHandle target) {
    ::SendMessageA(ToHwnd(target), WM_LBUTTONUP, 0, 0);
}

}  // namespace tovimo::win32
