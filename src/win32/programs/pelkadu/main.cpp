// Pelkadu: presses AutoCAD's startup dialog away, so that AutoCAD reaches
// its command prompt without a user. It takes no arguments, shows nothing
// and always ends with exit code 0.
#include "dismisser/pelkadu.h"
#include "platform/win32_clock.h"
#include "platform/win32_window_system.h"

int main() {
    tovimo::win32::Win32WindowSystem windows;
    tovimo::win32::Win32Clock clock;
    tovimo::RunPelkadu(windows, clock);
    return 0;
}
