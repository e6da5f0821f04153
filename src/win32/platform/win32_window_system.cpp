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

// SMTO_NORMAL: while it waits, this thread still handles what other threads
// send to its own windows, as SendMessageA does, so a long wait holds up no
// one else. SMTO_ABORTIFHUNG: a window the system counts as hung costs no
// wait at all.
constexpr UINT QuickSendFlags = SMTO_NORMAL | SMTO_ABORTIFHUNG;

// The message's result, or nothing when it was not handled in time (or the
// window is gone).
bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                 int timeoutMs, DWORD_PTR* result) {
    *result = 0;
    const UINT timeout = static_cast<UINT>(timeoutMs > 0 ? timeoutMs : 1);
    return ::SendMessageTimeoutA(window, message, wParam, lParam, flags, timeout, result) != 0;
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

bool Win32WindowSystem::IsWindowUnicode(WindowHandle window) {
    return ::IsWindowUnicode(ToHwnd(window)) != FALSE;
}

std::uint32_t Win32WindowSystem::GetWindowProcessId(WindowHandle window) {
    DWORD processId = 0;
    if (::GetWindowThreadProcessId(ToHwnd(window), &processId) == 0) return 0;
    return processId;
}

int Win32WindowSystem::GetTextLength(WindowHandle window) {
    // Wine answers the "A" form of this message by fetching the text with a
    // send of its own that has no time limit, so a hung window would hold us
    // for ever. The "W" form is bounded everywhere: it tells first whether
    // the window answers (and whether it has a text at all); only then does
    // the "A" form give the length in bytes of code page 932.
    const HWND target = ToHwnd(window);
    DWORD_PTR units = 0;
    const UINT timeout = static_cast<UINT>(TextReadTimeoutMs);
    if (::SendMessageTimeoutW(target, WM_GETTEXTLENGTH, 0, 0, QuickSendFlags, timeout, &units) == 0 ||
        units == 0)
        return 0;
    DWORD_PTR length = 0;
    if (!SendBounded(target, WM_GETTEXTLENGTH, 0, 0, QuickSendFlags, TextReadTimeoutMs, &length))
        return 0;
    return static_cast<int>(length);
}

int Win32WindowSystem::GetText(WindowHandle window, char* buffer, int maxCount) {
    if (maxCount <= 0) return 0;
    // A window that does not answer (or a zero handle) leaves the buffer as
    // it was: start from the empty text.
    buffer[0] = '\0';
    DWORD_PTR copied = 0;
    const bool answered = SendBounded(ToHwnd(window), WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                      reinterpret_cast<LPARAM>(buffer), QuickSendFlags,
                                      TextReadTimeoutMs, &copied);
    // A read that timed out may still have written part of the text.
    if (!answered) buffer[0] = '\0';
    buffer[maxCount - 1] = '\0';
    if (!answered || copied == 0) return 0;
    return copied < static_cast<DWORD_PTR>(maxCount) ? static_cast<int>(copied) : maxCount - 1;
}

bool Win32WindowSystem::SendCopyData(WindowHandle target, std::uint32_t dwData, const void* data,
                                     std::uint32_t cbData, int timeoutMs) {
    COPYDATASTRUCT record{};
    record.dwData = dwData;
    record.cbData = cbData;
    record.lpData = const_cast<void*>(data);
    // No SMTO_ABORTIFHUNG: AutoCAD that is busy for a while (saving a big
    // drawing) is not hung; it gets the whole bound to take the text.
    DWORD_PTR result = 0;
    return SendBounded(ToHwnd(target), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record),
                       SMTO_NORMAL, timeoutMs, &result);
}

void Win32WindowSystem::PostNull(WindowHandle target) {
    ::PostMessageA(ToHwnd(target), WM_NULL, 0, 0);
}

void Win32WindowSystem::SendLButtonDown(WindowHandle target) {
    DWORD_PTR result = 0;
    SendBounded(ToHwnd(target), WM_LBUTTONDOWN, 0, 0, QuickSendFlags, ButtonPressTimeoutMs, &result);
}

void Win32WindowSystem::SendLButtonUp(WindowHandle target) {
    DWORD_PTR result = 0;
    SendBounded(ToHwnd(target), WM_LBUTTONUP, 0, 0, QuickSendFlags, ButtonPressTimeoutMs, &result);
}

}  // namespace tovimo::win32
