// Tovimo: the window program. Drawings dropped on its window (or named on
// its command line, as "送る" and a drop on its icon name them) are
// converted by the user's AutoCAD.
#include <string>
#include <vector>

#include "mainwindow/application.h"
#include "platform/win32_api.h"

namespace {

// The command line's paths, each made a full path against the current
// directory (AutoCAD, which opens them, has a current directory of its own).
std::vector<std::string> CommandLinePaths() {
    std::vector<std::string> paths;
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments) return paths;
    for (int i = 1; i < count; ++i) {
        wchar_t full[32768];
        const DWORD length = ::GetFullPathNameW(arguments[i], 32768, full, nullptr);
        const wchar_t* path = length > 0 && length < 32768 ? full : arguments[i];
        const int bytes = ::WideCharToMultiByte(CP_ACP, 0, path, -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 1) continue;
        std::string narrow(static_cast<std::size_t>(bytes), '\0');
        ::WideCharToMultiByte(CP_ACP, 0, path, -1, narrow.data(), bytes, nullptr, nullptr);
        narrow.resize(static_cast<std::size_t>(bytes - 1));
        paths.push_back(narrow);
    }
    ::LocalFree(arguments);
    return paths;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tovimo::win32::TovimoApplication application;
    if (!application.Create()) return 1;
    application.Show(CommandLinePaths());
    return application.Run();
}
