// wine-hung-window: a program frozen on the desktop. It makes one top-level
// window (titled by its first argument), takes the messages already waiting,
// and then its only thread sleeps for good: whatever is sent to the window
// is never answered. The test that starts it ends it.
#include "platform/win32_api.h"

int main(int argc, char** argv) {
    const char* title = argc > 1 ? argv[1] : "固まったウィンドウ";
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "TovimoHungWindow";
    if (!::RegisterClassA(&windowClass)) return 1;
    const HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW,
                                          0, 0, 300, 100, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    for (;;) ::Sleep(INFINITE);
}
