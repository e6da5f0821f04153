// Pelkadu: presses AutoCAD's startup dialog away, so that AutoCAD reaches
// its command prompt without a user. Without arguments it presses the first
// AutoCAD's dialog it finds; with "/pid:N" only that of the AutoCAD process
// N. It shows nothing and always ends with exit code 0.
#include <string>
#include <vector>

#include "dismisser/pelkadu.h"
#include "platform/win32_clock.h"
#include "platform/win32_window_system.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto target = tovimo::PelkaduTargetOf(arguments);
    if (!target) return 0;
    tovimo::win32::Win32WindowSystem windows;
    tovimo::win32::Win32Clock clock;
    tovimo::RunPelkadu(windows, clock, *target);
    return 0;
}
