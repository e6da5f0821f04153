// TovimoCmd: converts drawings from the command line, with the settings and
// macros of the window program, through the user's AutoCAD.
//
//   TovimoCmd dxf|dwg [/s] [/o FOLDER] [/k|/-k] [/y|/n] [/ini FILE] [/f FILE] PATH...
//
// The run itself is ConsoleRun; this is its Win32 side: the arguments, the
// console, the platform objects and Ctrl+C.
#include "console/cancel_relay.h"
#include "console/console_run.h"
#include "console/exit_code.h"
#include "console_text.h"
#include "platform/win32_api.h"
#include "platform/win32_clock.h"
#include "platform/win32_file_system.h"
#include "platform/win32_message_pump.h"
#include "platform/win32_process_launcher.h"
#include "platform/win32_profile_file.h"
#include "platform/win32_text_encoding.h"
#include "platform/win32_text_files.h"
#include "platform/win32_text_order.h"
#include "platform/win32_window_system.h"

namespace {

// Never destroyed: the system may run the control handler on a thread of
// its own while the program ends.
tovimo::CancelRelay& Relay() {
    static tovimo::CancelRelay* relay = new tovimo::CancelRelay;
    return *relay;
}

// The first Ctrl+C (or Ctrl+Break) asks the run to end after the drawing
// under way; at the second the handler declines, and the system ends the
// program. Closing the console gives the run a few seconds to end.
BOOL WINAPI OnConsoleControl(DWORD event) {
    static_assert(CTRL_C_EVENT == tovimo::ConsoleCtrlC && CTRL_BREAK_EVENT == tovimo::ConsoleCtrlBreak &&
                  CTRL_CLOSE_EVENT == tovimo::ConsoleClose);
    return Relay().OnConsoleEvent(event) ? TRUE : FALSE;
}

}  // namespace

int main() {
    tovimo::win32::Win32ConsoleOutput output;
    const tovimo::win32::ProgramArguments arguments = tovimo::win32::ReadProgramArguments();
    if (arguments.unrepresentable) {
        output.Err("Shift-JIS (コード ページ 932) で表せない文字を含む引数は使えません: " +
                   *arguments.unrepresentable);
        return tovimo::ExitRefused;
    }

    tovimo::win32::Win32WindowSystem windows;
    tovimo::win32::Win32Clock clock;
    tovimo::win32::Win32MessagePump messages;
    tovimo::win32::Win32ProcessLauncher processes;
    tovimo::win32::Win32TextEncoding encoding;
    tovimo::Win32ProfileFile profile;
    tovimo::win32::Win32FileSystem files;
    tovimo::win32::Win32TextOrder order;
    tovimo::win32::Win32TextFiles lists;
    tovimo::ConsoleRun run(tovimo::ConsolePlatform{windows, clock, messages, processes, encoding,
                                                   profile, files, order, output, lists});

    Relay().Attach(run);
    // A program started in a new process group begins with Ctrl+C ignored.
    ::SetConsoleCtrlHandler(nullptr, FALSE);
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    const int code = run.Run(arguments.args);
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    // Before the run goes: a handler already under way is waited for.
    Relay().Detach();
    return code;
}
