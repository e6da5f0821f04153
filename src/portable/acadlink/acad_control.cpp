#include "acadlink/acad_control.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <set>
#include <utility>
#include <vector>

#include "acadlink/acad_recognition.h"
#include "acadlink/window_list.h"
#include "text/cp932_text.h"

namespace tovimo {

namespace {

constexpr int PassPause = 100;        // before each look for AutoCAD's windows
constexpr int NewWindowPause = 10;    // before each new top-level window is examined
constexpr int StoredWindowPause = 50; // after each window handle stored
constexpr int CopyDataPause = 30;
constexpr int WakeUpPause = 30;
constexpr int PromptTestPause = 50;
constexpr int PromptPollPause = 10;
constexpr int PromptPollCount = 301;
constexpr int PressPause = 300;
constexpr int QuitPause = 300;
constexpr int PelkaduStartPause = 100;

constexpr std::uint32_t PlatformWin32Windows = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr std::uint32_t PlatformWin32Nt = 2;       // VER_PLATFORM_WIN32_NT

// A program path goes onto a command line in double quotes, so that a blank
// in it ("C:\Program Files\...") cannot make the system run another program.
std::string Quoted(const std::string& path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') return path;
    return "\"" + path + "\"";
}

}  // namespace

void AcadControl::ClearWindows() {
    CommandLineWindow = 0;
    MainWindow = 0;
    TextWindow = 0;
    CompanionWindow = 0;
    formWindow_ = 0;
    form_ = CommandTextForm::Cp932;
}

StartResult AcadControl::StartAcad(int startWaitSeconds) {
    WindowSystem& windows = platform_.windows;
    Clock& clock = platform_.clock;
    notAnswering_ = false;

    // Look for an AutoCAD that is running already; the last text window counts.
    const WindowList before = ListTopWindows(windows);
    WindowHandle candidate = 0;
    for (const auto& entry : before.entries)
        if (!OfOtherSession(entry.window) && IsAcadTextWindowTitle(ReadTitle(windows, entry.window)))
            candidate = entry.window;
    if (candidate != 0) {
        if (TextWindow == 0 || TextWindow != candidate) return OtherAcadRunning;
        // Our own AutoCAD: only usable when an earlier start found all its windows.
        const bool complete = MainWindow != 0 && CommandLineWindow != 0 && CompanionWindow != 0;
        if (complete && sessionProcesses_ != nullptr)
            sessionProcesses_->Assign(windows.GetWindowProcessId(MainWindow), session_);
        return complete ? AcadReady : StartFailed;
    }

    ClearWindows();
    // The AutoCAD linked before has ended: its handle goes with it.
    process_.reset();
    failedStart_.reset();
    StartedProcess started;
    if (!AcadPath.empty()) {
        std::string commandLine = Quoted(AcadPath);
        if (!AcadArgs.empty()) commandLine += " " + AcadArgs;
        // Whatever AcadPath names may be a console program: our console's
        // Ctrl+C must not reach it.
        if (sessionProcesses_ != nullptr) {
            started = sessionProcesses_->Start(session_, platform_.processes, commandLine,
                                               DetachedFromConsole);
            if (!started) return StartFailed;
            // A session's AutoCAD has a Pelkadu of its own, which presses its
            // startup dialog and no other one; so sessions may start side by side.
            const std::uint32_t processId = started.process ? started.process->Id() : 0;
            RunPelkadu(processId != 0 ? "/pid:" + std::to_string(processId) : "");
        } else {
            started = platform_.processes.CreateProcess(commandLine, DetachedFromConsole);
            if (!started) return StartFailed;
        }
    } else {
        const std::string drawing = platform_.processes.ProgramFolder() + "Drawing1.dwg";
        started = platform_.processes.ShellOpen(drawing);
        if (!started) return StartFailed;
    }
    process_ = std::move(started.process);

    std::set<std::string> beforeKeys;
    for (const auto& entry : before.entries) beforeKeys.insert(entry.text);

    const std::int64_t tenths = std::int64_t{startWaitSeconds} * 10;
    const std::int64_t passes = tenths < 0 ? 0 : tenths + 1;
    bool found = false;
    for (std::int64_t pass = 0; pass < passes && !found && !StartStopped(); ++pass) {
        clock.Sleep(PassPause);
        const WindowList now = ListTopWindows(windows);
        std::vector<std::pair<WindowHandle, std::string>> newWindows;
        for (const auto& entry : now.entries)
            if (beforeKeys.count(entry.text) == 0 && !OfOtherSession(entry.window))
                newWindows.emplace_back(entry.window, ReadTitle(windows, entry.window));

        for (const auto& [window, title] : newWindows) {
            clock.Sleep(NewWindowPause);
            if (IsAcadTextWindowTitle(title)) {
                TextWindow = window;
                clock.Sleep(StoredWindowPause);
                continue;
            }
            if (IsAcadMainWindowTitle(title)) {
                MainWindow = window;
                CommandForm();
                clock.Sleep(StoredWindowPause);
            }
            for (const auto& child : ListChildWindows(windows, window).entries) {
                if (IsCommandLineText(child.text)) {
                    CommandLineWindow = child.window;
                    clock.Sleep(StoredWindowPause);
                }
            }
        }
        found = TextWindow != 0 && MainWindow != 0 && CommandLineWindow != 0;
    }
    if (!found) {
        failedStart_ = std::move(process_);
        return StartFailed;
    }

    const std::string commandLineClass = ReadClassName(windows, CommandLineWindow);
    for (const auto& child : ListChildWindows(windows, MainWindow).entries) {
        const bool sameClass = ReadClassName(windows, child.window) == commandLineClass;
        if ((sameClass && !StartsWithText(child.text, "ｺﾏﾝﾄﾞ")) ||
            !StartsWithText(child.text, "コマンド:"))
            CompanionWindow = child.window;
    }
    const bool complete =
        MainWindow != 0 && CommandLineWindow != 0 && CompanionWindow != 0 && TextWindow != 0;
    if (!complete) {
        failedStart_ = std::move(process_);
        return StartFailed;
    }
    if (sessionProcesses_ != nullptr)
        sessionProcesses_->Assign(windows.GetWindowProcessId(MainWindow), session_);
    TakeMainWindowProcess();
    return AcadReady;
}

void AcadControl::TakeMainWindowProcess() {
    WindowSystem& windows = platform_.windows;
    const std::uint32_t processId = windows.GetWindowProcessId(MainWindow);
    if (processId == 0 || (process_ && process_->Id() == processId)) return;
    // The id is only trusted while the window shows that its process runs:
    // once that has ended, the id may be another process's.
    process_ = platform_.processes.OpenProcess(processId);
    if (process_ && (!windows.IsWindow(MainWindow) || windows.GetWindowProcessId(MainWindow) != processId))
        process_.reset();
}

bool AcadControl::OfOtherSession(WindowHandle window) {
    return sessionProcesses_ != nullptr &&
           sessionProcesses_->OfOtherSession(platform_.windows.GetWindowProcessId(window), session_);
}

void AcadControl::CloseAcad() {
    SendCommand("quit\n");
    platform_.clock.Sleep(QuitPause);
    PressDialogNo("AutoCAD LT");
    PressDialogNo("AutoCAD");
    ClearWindows();
}

void AcadControl::StartPelkadu() {
    if (sessionProcesses_ != nullptr) return;
    if (RunPelkadu("")) platform_.clock.Sleep(PelkaduStartPause);
}

bool AcadControl::RunPelkadu(const std::string& arguments) {
    std::string program = Quoted(platform_.processes.ProgramFolder() + "Pelkadu");
    if (!arguments.empty()) program += " " + arguments;
    const auto platformId = platform_.processes.PlatformId();
    if (!platformId) return false;
    std::string commandLine;
    if (*platformId == PlatformWin32Windows) {
        commandLine = "COMMAND.COM /c " + program;
    } else if (*platformId == PlatformWin32Nt) {
        // The system's own interpreter by its full path: a bare name would
        // run a CMD.EXE that lies in the current folder first.
        const std::string systemFolder = platform_.processes.SystemFolder();
        if (systemFolder.empty()) return false;
        // cmd.exe takes off the outer pair of quotes, leaving the quoted path.
        commandLine = Quoted(systemFolder + "cmd.exe") + " /c \"" + program + "\"";
    } else {
        return false;
    }
    // Pelkadu and its interpreter must not get our console's Ctrl+C: the
    // startup dialog would stay unpressed.
    platform_.processes.StartHidden(commandLine, DetachedFromConsole);
    return true;
}

bool AcadControl::SendCommand(const std::string& text) {
    bool typable = text.size() <= MaxCommandTextBytes;
    // After one text that AutoCAD did not take, every further one would wait
    // the whole limit again.
    if (typable && !text.empty() && !notAnswering_) {
        // A text is sent whole or not at all.
        const auto data = EncodeCommandText(text, CommandForm(), platform_.encoding);
        typable = data.has_value();
        if (data) {
            WindowSystem& windows = platform_.windows;
            const bool taken = windows.SendCopyData(MainWindow, 1, data->data(),
                                                    static_cast<std::uint32_t>(data->size()),
                                                    commandSendLimitMs_);
            // A send to a window that is gone fails too; the run tells that
            // case by the window itself.
            if (!taken && windows.IsWindow(MainWindow)) {
                notAnswering_ = true;
            } else {
                platform_.clock.Sleep(CopyDataPause);
                windows.PostNull(MainWindow);
                platform_.clock.Sleep(WakeUpPause);
            }
        }
    }
    platform_.messages.ProcessPendingMessages();
    return typable;
}

CommandTextForm AcadControl::CommandForm() {
    // The window's kind never changes; a new main window (AutoCAD started
    // again, perhaps another release) is asked anew.
    if (formWindow_ != MainWindow) {
        formWindow_ = MainWindow;
        form_ = MainWindow != 0 && platform_.windows.IsWindowUnicode(MainWindow)
                    ? CommandTextForm::Utf16
                    : CommandTextForm::Cp932;
    }
    return form_;
}

bool AcadControl::HasCommandForm(const std::string& text) {
    if (CommandForm() == CommandTextForm::Cp932) return true;
    std::u16string units;
    return platform_.encoding.Cp932ToUtf16(text, units);
}

std::string AcadControl::ReadWindowText(WindowHandle window) {
    const int reported = platform_.windows.GetTextLength(window);
    if (reported <= 0) return {};
    // The length is the other program's word: a window may claim 2 GiB on
    // every poll. No prompt or title comes near the cap.
    const std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(reported),
                                                     MaxWindowTextBytes);
    std::vector<char> buffer;
    try {
        buffer.assign(length + 1, '\0');
    } catch (const std::bad_alloc&) {
        return {};
    }
    const int copied = platform_.windows.GetText(window, buffer.data(), static_cast<int>(length + 1));
    if (copied <= 0) return {};
    buffer.back() = '\0';
    return buffer.data();
}

std::string AcadControl::ReadCommandLine() {
    std::string text = ReadWindowText(CommandLineWindow);
    // An empty read (a window that no longer answers gives none) tells nothing.
    if (!text.empty()) lastCommandLine_ = text;
    return text;
}

bool AcadControl::IsCommandPrompt() {
    platform_.clock.Sleep(PromptTestPause);
    return ShowsCommandPrompt(ReadCommandLine());
}

bool AcadControl::IsPrompting() {
    platform_.clock.Sleep(PromptTestPause);
    return ContainsText(ReadCommandLine(), ":");
}

bool AcadControl::AnswerPrompt(const std::string& text) {
    if (!ContainsText(ReadCommandLine(), text)) return false;
    SendCommand("\n");
    return true;
}

std::string AcadControl::WaitForPrompt() {
    std::string text;
    for (int read = 0; read < PromptPollCount && !notAnswering_; ++read) {
        platform_.clock.Sleep(PromptPollPause);
        text = ReadCommandLine();
        if (ContainsText(text, ":")) break;
    }
    return text;
}

std::string AcadControl::GetSysVar(const std::string& name) {
    SendCommand(name + "\n");
    std::string value = WaitForPrompt();
    SendCommand("\x1b");
    // The prompt shows the current value as <value> or <"value"> before its colon.
    if (const int p = FindText(value, "<"); p > 0) value.erase(0, static_cast<std::size_t>(p));
    if (const int p = FindText(value, ">"); p > 0) value.erase(static_cast<std::size_t>(p - 1));
    if (const int p = FindText(value, "\""); p > 0) value.erase(0, static_cast<std::size_t>(p));
    if (const int p = FindText(value, "\""); p > 0) value.erase(static_cast<std::size_t>(p - 1));
    return value;
}

void AcadControl::SetSysVar(const std::string& name, const std::string& value) {
    SendCommand(name + "\n");
    WaitForPrompt();
    SendCommand(value + "\n");
}

WindowHandle AcadControl::FindAcadDialog(const std::string& titlePart) {
    // Without a main window every unowned window would count as AutoCAD's.
    if (MainWindow == 0) return 0;
    WindowSystem& windows = platform_.windows;
    for (const auto& entry : ListTopWindows(windows).entries) {
        if (windows.GetParent(entry.window) != MainWindow) continue;
        if (ContainsText(ReadTitle(windows, entry.window), titlePart)) return entry.window;
    }
    return 0;
}

bool AcadControl::PressDialogOk(const std::string& titlePart) {
    return PressDialogButton(titlePart, "OK", "はい(&Y)");
}

bool AcadControl::PressDialogNo(const std::string& titlePart) {
    return PressDialogButton(titlePart, "NO", "いいえ(&N)");
}

bool AcadControl::PressDialogButton(const std::string& titlePart, const char* caption,
                                    const char* fallbackCaption) {
    WindowSystem& windows = platform_.windows;
    const WindowHandle dialog = FindAcadDialog(titlePart);
    if (dialog == 0) return false;
    const WindowHandle button = FindButton(windows, dialog, caption, fallbackCaption);
    // Once pressed, the box and its message are gone.
    lastDialogMessage_ = FirstStaticText(windows, dialog);
    platform_.clock.Sleep(PressPause);
    // A dialog without either button still counts as answered.
    if (button != 0) {
        windows.SetForegroundWindow(button);
        windows.SendLButtonDown(button);
        windows.SendLButtonUp(button);
    }
    return true;
}

}  // namespace tovimo
