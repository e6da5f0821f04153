// wine-probe: a trivial program for the tests of program starts. It writes
// "probe-report.txt" into its own folder: the folder it found for itself,
// its whole command line and the ANSI code page, one per line. It takes the
// report's name from nothing on its command line, so it reports even when
// started by a path with blanks that was not quoted.
//
// With STAY=<ms> anywhere on its command line it waits that long before it
// ends, for the tests that need a program that keeps running.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32_process_launcher.h"

int main() {
    tovimo::win32::Win32ProcessLauncher launcher;
    const std::string folder = launcher.ProgramFolder();
    const std::string commandLine = ::GetCommandLineA();

    // Written under another name and renamed, so that a reader never sees half.
    const std::string report = folder + "probe-report.txt";
    const std::string partial = report + ".part";
    if (FILE* file = std::fopen(partial.c_str(), "wb")) {
        std::fprintf(file, "%s\n%s\n%u\n", folder.c_str(), commandLine.c_str(), ::GetACP());
        std::fclose(file);
        ::MoveFileExA(partial.c_str(), report.c_str(), MOVEFILE_REPLACE_EXISTING);
    }

    const std::size_t stay = commandLine.find("STAY=");
    if (stay != std::string::npos) ::Sleep(static_cast<DWORD>(std::atoi(commandLine.c_str() + stay + 5)));
    return 0;
}
