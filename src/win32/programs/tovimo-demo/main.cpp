// tovimo-demo: drives an AutoCAD (by default the stand-in beside this
// program) through the AutoCAD link from start to close, and tells on its
// console what happened at each step.
//
//   tovimo-demo.exe [program-path]      start that AutoCAD program
//   tovimo-demo.exe --association       open "Drawing1.dwg" beside this program
#include <cstdio>
#include <string>

#include "acadlink/acad_control.h"
#include "platform/win32_clock.h"
#include "platform/win32_message_pump.h"
#include "platform/win32_process_launcher.h"
#include "platform/win32_text_encoding.h"
#include "platform/win32_window_system.h"

namespace {

const char* StartResultName(tovimo::StartResult result) {
    switch (result) {
        case tovimo::StartFailed: return "StartFailed (Auto CADを起動できません)";
        case tovimo::OtherAcadRunning:
            return "OtherAcadRunning (起動中のAuto CADを終了させてください。)";
        case tovimo::AcadReady: return "AcadReady";
    }
    return "unknown";
}

// The command prompt, waited for the way a run does, but with a limit.
bool WaitForCommandPrompt(tovimo::AcadControl& acad, int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt)
        if (acad.IsCommandPrompt()) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    tovimo::win32::Win32WindowSystem windows;
    tovimo::win32::Win32Clock clock;
    tovimo::win32::Win32MessagePump messages;
    tovimo::win32::Win32ProcessLauncher processes;
    tovimo::win32::Win32TextEncoding encoding;
    tovimo::AcadControl acad(tovimo::AcadPlatform{windows, clock, messages, processes, encoding});

    const std::string argument = argc > 1 ? argv[1] : "";
    if (argument == "--association")
        acad.SetAcadPath("");
    else if (!argument.empty())
        acad.SetAcadPath(argument);
    else
        acad.SetAcadPath(processes.ProgramFolder() + "standin-acad.exe");

    std::printf("AutoCAD program: %s\n",
                acad.GetAcadPath().empty() ? "(none: Drawing1.dwg is opened)"
                                           : acad.GetAcadPath().c_str());
    std::printf("StartPelkadu: %sPelkadu\n", processes.ProgramFolder().c_str());
    acad.StartPelkadu();

    const std::int64_t started = clock.NowMs();
    const tovimo::StartResult result = acad.StartAcad(15);
    std::printf("StartAcad(15): %s after %lld ms\n", StartResultName(result),
                static_cast<long long>(clock.NowMs() - started));
    if (result != tovimo::AcadReady) {
        std::fflush(stdout);
        return 1;
    }
    std::printf("  main window %#llx, command line %#llx, text window %#llx, companion %#llx\n",
                static_cast<unsigned long long>(acad.MainWindow),
                static_cast<unsigned long long>(acad.CommandLineWindow),
                static_cast<unsigned long long>(acad.TextWindow),
                static_cast<unsigned long long>(acad.CompanionWindow));
    std::printf("  command text goes as %s\n",
                acad.CommandForm() == tovimo::CommandTextForm::Utf16
                    ? "UTF-16 (a Unicode main window)"
                    : "code page 932 bytes");

    const bool prompt = WaitForCommandPrompt(acad, 300);
    std::printf("Command prompt: %s (command line reads \"%s\")\n", prompt ? "yes" : "no",
                acad.ReadCommandLine().c_str());

    acad.SetSysVar("FILEDIA", "0");
    std::printf("SetSysVar FILEDIA 0\n");
    const std::string filedia = acad.GetSysVar("FILEDIA");
    std::printf("GetSysVar FILEDIA: \"%s\"\n", filedia.c_str());

    const tovimo::WindowHandle mainWindow = acad.MainWindow;
    acad.CloseAcad();
    bool gone = false;
    for (int wait = 0; wait < 50 && !gone; ++wait) {
        clock.Sleep(100);
        gone = !windows.IsWindow(mainWindow);
    }
    std::printf("CloseAcad: handles cleared: %s; AutoCAD's main window gone: %s\n",
                acad.MainWindow == 0 && acad.TextWindow == 0 ? "yes" : "no", gone ? "yes" : "no");
    std::fflush(stdout);
    return prompt && filedia == "0" && gone ? 0 : 1;
}
