// standin-acad: the stand-in AutoCAD as a Windows program.
#include <windows.h>

#include <string>
#include <vector>

#include "standin_acad.h"
#include "standin_options.h"
#include "standin_window_host.h"

namespace {

std::string ModulePath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

std::string EnvironmentOptions() {
    char value[4096] = {};
    const DWORD length = GetEnvironmentVariableA(tovimo::standin::OptionsVariable, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace tovimo::standin;
    // AutoCAD is a windowed program and has no console on Windows. Under
    // Wine it would share the console of the program that started it, and
    // a Ctrl+C meant for that program would end it too.
    ::FreeConsole();
    // The environment's switches first: the command line's win.
    std::vector<std::string> arguments = SplitArguments(EnvironmentOptions());
    const auto own = ArgumentsAfterProgram(GetCommandLineA(), ModulePath());
    arguments.insert(arguments.end(), own.begin(), own.end());
    const StandinOptions options = ParseOptions(arguments);

    // "{pid}" in the log's path stands for the process id: several stand-ins
    // started with the same switches each keep a log of their own.
    std::string logPath = options.logPath;
    if (const auto at = logPath.find("{pid}"); at != std::string::npos)
        logPath.replace(at, 5, std::to_string(::GetCurrentProcessId()));
    StandinWindowHost host(instance, logPath, options.unicode);
    StandinAcad model(host, options);
    return host.Run(model);
}
