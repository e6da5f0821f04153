#pragma once
// The AutoCAD link on the real Win32 side, as the Wine tests use it.
#include "acadlink/acad_control.h"
#include "platform/win32_clock.h"
#include "platform/win32_message_pump.h"
#include "platform/win32_process_launcher.h"
#include "platform/win32_text_encoding.h"
#include "platform/win32_window_system.h"

namespace tovimo::wine_tests {

struct Win32Platform {
    win32::Win32WindowSystem windows;
    win32::Win32Clock clock;
    win32::Win32MessagePump messages;
    win32::Win32ProcessLauncher processes;
    win32::Win32TextEncoding encoding;
    AcadPlatform Get() { return AcadPlatform{windows, clock, messages, processes, encoding}; }
};

// The command prompt, waited for as a run does, but with a limit: each
// attempt is one IsCommandPrompt (50 ms).
bool WaitForCommandPrompt(AcadControl& acad, int attempts = 200);

}  // namespace tovimo::wine_tests
