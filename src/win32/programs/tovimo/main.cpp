// Tovimo: the window program. Drawings dropped on its window (or named on
// its command line, as "送る" and a drop on its icon name them) are
// converted by the user's AutoCAD.
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/application.h"
#include "platform/narrow_text.h"
#include "platform/win32_api.h"

namespace {

// The command line's paths, each made a full path against the current
// directory (AutoCAD, which opens them, has a current directory of its own).
// Taken wide and converted exactly: a name the code page lacks is told in
// the message after the drop, never turned into "?" or a look-alike path.
tovimo::win32::GivenPaths CommandLinePaths() {
    tovimo::win32::GivenPaths given;
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments) return given;
    std::vector<wchar_t> full(32768);
    for (int i = 1; i < count; ++i) {
        const DWORD length = ::GetFullPathNameW(arguments[i], static_cast<DWORD>(full.size()),
                                                full.data(), nullptr);
        const wchar_t* path = length > 0 && length < full.size() ? full.data() : arguments[i];
        if (*path == L'\0') continue;
        if (std::optional<std::string> narrow = tovimo::win32::ToNarrowExactly(path, CP_ACP)) {
            given.paths.push_back(std::move(*narrow));
        } else {
            given.unnamed.push_back(tovimo::win32::ToNarrowShown(path, CP_ACP));
        }
    }
    ::LocalFree(arguments);
    return given;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tovimo::win32::TovimoApplication application;
    if (!application.Create()) return 1;
    application.Show(CommandLinePaths());
    return application.Run();
}
