#pragma once
// The AutoCAD side of Tovimo: finds or starts AutoCAD, types command text into
// it, reads its prompt, answers its message boxes and closes it.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "acadlink/command_text.h"
#include "acadlink/session_processes.h"
#include "platform/clock.h"
#include "platform/message_pump.h"
#include "platform/process_launcher.h"
#include "platform/text_encoding.h"
#include "platform/window_system.h"

namespace tovimo {

// What the object needs of the system.
struct AcadPlatform {
    WindowSystem& windows;
    Clock& clock;
    MessagePump& messages;
    ProcessLauncher& processes;
    TextEncoding& encoding;  // command text for a Unicode AutoCAD
};

enum StartResult : unsigned {
    StartFailed = 0,
    OtherAcadRunning = 1,
    AcadReady = 2,
};

// A command text holds at most this many bytes (a 256-byte buffer with its zero).
constexpr std::size_t MaxCommandTextBytes = 255;

// The most of a window's text that is read; a longer text is read cut.
constexpr std::size_t MaxWindowTextBytes = 64 * 1024;

// How long AutoCAD may take to take one command text, unless set otherwise.
constexpr int DefaultCommandSendLimitMs = 600 * 1000;

class AcadControl {
public:
    explicit AcadControl(AcadPlatform platform) : platform_(platform) {}
    virtual ~AcadControl() = default;
    AcadControl(const AcadControl&) = delete;
    AcadControl& operator=(const AcadControl&) = delete;

    // Instance: start, find and close.
    // A start that gives StartFailed after it started a program leaves that
    // program's process to TakeFailedStart.
    StartResult StartAcad(int startWaitSeconds);
    void CloseAcad();
    // Pelkadu for whichever AutoCAD shows its startup dialog first. A link
    // bound to a session starts none: StartAcad starts one for the AutoCAD
    // it starts.
    void StartPelkadu();
    const std::string& GetAcadPath() const { return AcadPath; }
    void SetAcadPath(const std::string& value) { AcadPath = value; }
    const std::string& GetAcadArgs() const { return AcadArgs; }
    // One of several sessions of a run: StartAcad passes over the windows of
    // the other sessions' AutoCADs (by their process), and assigns the
    // AutoCAD it links to this session. Unbound, every window counts.
    void BindToSession(SessionProcesses* processes, int session) {
        sessionProcesses_ = processes;
        session_ = session;
    }

    // Command channel. A text is code page 932; it goes to AutoCAD in the
    // form its main window reads (CommandForm). SendCommand refuses a text
    // of more than 255 bytes, and one that has no form for that window:
    // nothing of it is sent, and it gives false. Otherwise it gives true.
    // When AutoCAD's main window is there but does not take a text within
    // the send limit, AutoCAD counts as not answering: from then on nothing
    // more is sent to it until the next StartAcad.
    bool SendCommand(const std::string& text);
    // UTF-16 when AutoCAD's main window is a Unicode window, else the bytes
    // of code page 932. Decided once for each main window the link takes.
    CommandTextForm CommandForm();
    // Whether text has a form for AutoCAD's main window (the 255-byte bound aside).
    bool HasCommandForm(const std::string& text);
    void SetCommandSendLimitMs(int milliseconds) { commandSendLimitMs_ = milliseconds; }
    int CommandSendLimitMs() const { return commandSendLimitMs_; }
    bool AcadNotAnswering() const { return notAnswering_; }
    // The window's text, at most MaxWindowTextBytes of it; empty when the
    // window gives none or no memory is to be had for it.
    std::string ReadWindowText(WindowHandle window);
    std::string ReadCommandLine();
    bool IsCommandPrompt();
    bool IsPrompting();
    bool AnswerPrompt(const std::string& text);
    std::string GetSysVar(const std::string& name);
    void SetSysVar(const std::string& name, const std::string& value);
    WindowHandle FindAcadDialog(const std::string& titlePart);
    bool PressDialogOk(const std::string& titlePart);
    bool PressDialogNo(const std::string& titlePart);

    // What AutoCAD last showed: the last command-line text read that was not
    // empty, and the message of the last message box pressed, read before
    // the press. ForgetShown clears both (at each drawing's start).
    const std::string& LastCommandLineRead() const { return lastCommandLine_; }
    const std::string& LastDialogMessage() const { return lastDialogMessage_; }
    void ForgetShown() {
        lastCommandLine_.clear();
        lastDialogMessage_.clear();
    }

    // AutoCAD's windows, 0 when not known.
    WindowHandle MainWindow = 0;
    WindowHandle CommandLineWindow = 0;
    WindowHandle CompanionWindow = 0;
    WindowHandle TextWindow = 0;
    std::string AcadPath;  // empty: start through the "Drawing1.dwg" association
    std::string AcadArgs;  // set by the conversion at the start of each run

    // Forgets AutoCAD's windows.
    void ClearWindows();

    // The process of the AutoCAD this link started or took: the handle from
    // its start, or, when its main window is another process's (a launcher
    // started it, or the file association), that process opened once when
    // the main window was taken. Nothing when none is known or it could not
    // be opened; such an AutoCAD is never ended.
    OwnedProcess* Process() { return process_.get(); }
    // The program that the last StartAcad started and then gave up on (its
    // windows did not all come in time), for the caller to end; nothing
    // when there is none, or it is not known.
    std::unique_ptr<OwnedProcess> TakeFailedStart() { return std::move(failedStart_); }
    // The wait for AutoCAD's windows ends as if its time had run out once
    // *stop is set (nullptr: never).
    void SetStartStop(const std::atomic<bool>* stop) { startStop_ = stop; }
    bool StartStopped() const { return startStop_ != nullptr && *startStop_; }

protected:
    AcadPlatform platform_;

private:
    bool PressDialogButton(const std::string& titlePart, const char* caption,
                           const char* fallbackCaption);
    std::string WaitForPrompt();  // the text read last
    bool OfOtherSession(WindowHandle window);
    // Starts Pelkadu hidden with these arguments; false when it cannot be.
    bool RunPelkadu(const std::string& arguments);

    // Keeps the started program's process for the main window's, or opens
    // the main window's process once.
    void TakeMainWindowProcess();

    SessionProcesses* sessionProcesses_ = nullptr;
    int session_ = 0;
    std::unique_ptr<OwnedProcess> process_;
    std::unique_ptr<OwnedProcess> failedStart_;
    const std::atomic<bool>* startStop_ = nullptr;

    int commandSendLimitMs_ = DefaultCommandSendLimitMs;
    bool notAnswering_ = false;
    // The main window whose form was decided, and that form.
    WindowHandle formWindow_ = 0;
    CommandTextForm form_ = CommandTextForm::Cp932;
    std::string lastCommandLine_;
    std::string lastDialogMessage_;
};

}  // namespace tovimo
