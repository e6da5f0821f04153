#include "platform/win32_message_pump.h"

#include "platform/win32_api.h"

namespace tovimo::win32 {

void Win32MessagePump::ProcessPendingMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // This pump runs nested inside a long operation; the program's
            // own message loop must still see the quit, so put it back and
            // stop here (PeekMessage would hand it out again at once).
            quitSeen_ = true;
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

}  // namespace tovimo::win32
