#pragma once
// An in-memory window system that behaves as Win32 does for the calls of
// WindowSystem, and hosts stand-in AutoCADs on the virtual clock.
//
// Order of windows, as on Windows:
// - EnumWindows gives the top-level windows in Z order. A new window goes to
//   the front, so the newest comes first; BringToFront and SendToBack change
//   the order.
// - A window's children are kept in creation order (the order of a dialog's
//   controls). EnumChildWindows walks all descendants depth-first: a child,
//   then its own descendants, then the next child.
// - FindWindowEx looks at the direct children of parent in that order (the
//   top-level windows when parent is 0). Class names and captions compare
//   without regard to ASCII letter case, as FindWindowExA does.
//
// Handles are never reused: a handle whose window is gone reads as 0 or
// empty, and what is sent to it reaches nothing (it is still recorded).
//
// Hung windows, as on Windows: a window whose thread has stopped (HangWindow,
// or a stand-in that hangs) keeps existing, but a message sent to it is never
// handled. The send waits its whole bound on the clock and fails; a text read
// or button press (SMTO_ABORTIFHUNG) fails at once once the window has been
// hung for HungAfterMs.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "memory_files.h"
#include "platform/window_system.h"
#include "standin_acad.h"
#include "virtual_clock.h"

namespace tovimo::testing {

enum class MessageKind { CopyData, Null, LButtonDown, LButtonUp, SetForeground };

// The process id of the windows a test makes itself.
constexpr std::uint32_t TestProcessId = 4;

// How long a thread must have stopped before the system counts its windows as hung.
constexpr std::int64_t HungAfterMs = 5000;

// One message sent to a window (or call that stands for one).
struct SentMessage {
    std::int64_t timeMs = 0;  // the clock's time
    MessageKind kind = MessageKind::CopyData;
    WindowHandle target = 0;
    bool delivered = false;  // false when the target was no window, or hung
    std::uint32_t dwData = 0;
    std::uint32_t cbData = 0;
    std::string bytes;  // the cbData bytes copied, terminating zero included

    // The copied text, up to its first zero byte.
    std::string Text() const;
    // The copied bytes read as UTF-16 little-endian, up to the first zero
    // unit; an odd last byte is left out.
    std::u16string Units() const;
};

// A time and a text, for asserting what was typed when.
struct TimedText {
    std::int64_t timeMs = 0;
    std::string text;
    bool operator==(const TimedText&) const = default;
};

class FakeWindowSystem;

// One stand-in AutoCAD living in the fake window system; its "process" ends
// when it quits. Owned by the window system.
class FakeStandin : private standin::StandinHost {
public:
    FakeStandin(FakeWindowSystem& system, standin::StandinOptions options);
    ~FakeStandin() override;
    FakeStandin(const FakeStandin&) = delete;
    FakeStandin& operator=(const FakeStandin&) = delete;

    standin::StandinAcad& Model() { return model_; }
    const standin::StandinAcad& Model() const { return model_; }
    bool Ended() const { return ended_; }
    // The clock time at which it was started.
    std::int64_t StartedAtMs() const { return startedAt_; }

    WindowHandle MainWindow() const { return model_.MainWindow(); }
    WindowHandle CommandLineWindow() const { return model_.CommandLineWindow(); }
    WindowHandle HistoryWindow() const { return model_.HistoryWindow(); }
    WindowHandle TextWindow() const { return model_.TextWindow(); }
    WindowHandle DialogWindow() const { return model_.DialogWindow(); }
    std::string CommandLineText() const { return model_.CommandLineText(); }

    // The log lines as written (ms from its start), and parsed.
    const std::vector<std::string>& LogLines() const { return log_; }
    std::vector<standin::LogEntry> Log() const;
    std::vector<standin::LogEntry> Log(std::string_view kind) const;
    // The texts that arrived with dwData 1, with the clock time.
    std::vector<TimedText> Typed() const;
    // Every prompt shown, in order.
    std::vector<std::string> Prompts() const;

    // A button press on the dialog on show, by caption: as a click would.
    bool PressButton(const std::string& caption);

    // Whether its window thread has stopped (the HANG marker).
    bool Hung() const { return hungSince_ >= 0; }
    // Whether it ended by a crash (the CRASH marker).
    bool Crashed() const { return crashed_; }
    // Whether another process ended it (EndProcess).
    bool Terminated() const { return terminated_; }
    // Its process id, unique in the window system.
    std::uint32_t ProcessId() override { return processId_; }
    // Ends the process from outside, as TerminateProcess does: its windows
    // go, hung or not.
    void Terminate();

private:
    friend class FakeWindowSystem;

    // StandinHost
    standin::WindowId CreateFrameWindow(const std::string& className, const std::string& title) override;
    standin::WindowId CreateChildWindow(standin::WindowId parent, const std::string& className,
                                        const std::string& text) override;
    standin::WindowId CreateDialogWindow(standin::WindowId owner, const std::string& title) override;
    standin::WindowId CreateButton(standin::WindowId dialog, const std::string& caption) override;
    void SetText(standin::WindowId window, const std::string& text) override;
    void DestroyWindow(standin::WindowId window) override;
    int StartTimer(int delayMs) override;
    void CancelTimer(int id) override;
    std::int64_t NowMs() override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool WriteFile(const std::string& path, const std::string& content) override;
    bool FileExists(const std::string& path) override;
    std::string Cp932FromUtf16(std::u16string_view text) override;
    void AppendLog(const std::string& line) override;
    void Quit() override;
    void Hang() override;
    void Crash() override;
    void EndAbruptly();

    FakeWindowSystem& system_;
    std::uint32_t processId_ = 0;
    bool crashed_ = false;
    bool terminated_ = false;
    std::int64_t hungSince_ = -1;
    std::int64_t startedAt_ = 0;
    bool ended_ = false;
    std::vector<std::string> log_;
    std::vector<std::pair<int, int>> timers_;  // our id, the clock's id
    int nextTimer_ = 1;
    standin::StandinAcad model_;
};

class FakeWindowSystem : public WindowSystem {
public:
    // The stand-ins read and write their drawings in files.
    FakeWindowSystem(VirtualClock& clock, MemoryFiles& files);
    ~FakeWindowSystem() override;

    // ---- WindowSystem --------------------------------------------------------
    void EnumWindows(EnumWindowsProc proc, void* user) override;
    void EnumChildWindows(WindowHandle parent, EnumWindowsProc proc, void* user) override;
    WindowHandle GetParent(WindowHandle window) override;
    int GetClassName(WindowHandle window, char* buffer, int maxCount) override;
    WindowHandle FindWindowEx(WindowHandle parent, WindowHandle childAfter, const char* className,
                              const char* caption) override;
    bool SetForegroundWindow(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
    bool IsWindowUnicode(WindowHandle window) override;
    // A stand-in's windows give its process id, the test's own windows
    // TestProcessId, unless SetProcessId says otherwise; no window gives 0.
    std::uint32_t GetWindowProcessId(WindowHandle window) override;
    int GetTextLength(WindowHandle window) override;
    int GetText(WindowHandle window, char* buffer, int maxCount) override;
    bool SendCopyData(WindowHandle target, std::uint32_t dwData, const void* data,
                      std::uint32_t cbData, int timeoutMs) override;
    void PostNull(WindowHandle target) override;
    void SendLButtonDown(WindowHandle target) override;
    void SendLButtonUp(WindowHandle target) override;

    // ---- windows of the test ---------------------------------------------------
    // A top-level window at the front; with an owner it is an owned popup
    // (GetParent gives the owner).
    WindowHandle AddTopWindow(const std::string& title, const std::string& className = "TestWindow",
                              WindowHandle owner = 0);
    // A child window, after the parent's other children.
    WindowHandle AddChildWindow(WindowHandle parent, const std::string& text,
                                const std::string& className = "Static");
    // A child of class "Button"; a WM_LBUTTONDOWN then WM_LBUTTONUP on it is a press.
    WindowHandle AddButton(WindowHandle parent, const std::string& caption);
    void SetText(WindowHandle window, const std::string& text);
    // The window's procedure takes UTF-16 from now on (IsWindowUnicode).
    // A Unicode stand-in's windows are made so. Texts are kept in code page
    // 932 all the same: the system converts them for either kind.
    void MakeUnicode(WindowHandle window);
    // IsWindowUnicode calls so far.
    int UnicodeQueries() const { return unicodeQueries_; }
    // WM_GETTEXTLENGTH answers length from now on, whatever the text is, as
    // a hostile or broken window may; WM_GETTEXT still copies the text.
    void ClaimTextLength(WindowHandle window, int length);
    // The largest buffer a WM_GETTEXT has offered so far (its wParam).
    int LargestTextBuffer() const { return largestTextBuffer_; }
    // Destroys the window, its descendants and the windows it owns.
    void RemoveWindow(WindowHandle window);
    // The window's thread stops from now on: the window and its descendants
    // answer nothing more.
    void HangWindow(WindowHandle window);
    // The process a top-level window (and its descendants) belongs to.
    void SetProcessId(WindowHandle window, std::uint32_t processId);
    // Z order of the top-level windows.
    void BringToFront(WindowHandle window);
    void SendToBack(WindowHandle window);

    // ---- looking -------------------------------------------------------------------
    bool Exists(WindowHandle window) const;
    std::string TextOf(WindowHandle window) const;   // empty for no window
    std::string ClassOf(WindowHandle window) const;  // empty for no window
    WindowHandle ParentOf(WindowHandle window) const;  // the parent of a child
    WindowHandle OwnerOf(WindowHandle window) const;   // the owner of a popup
    std::vector<WindowHandle> TopWindows() const;      // in EnumWindows order
    std::vector<WindowHandle> ChildrenOf(WindowHandle parent) const;  // direct children
    // The first top-level window (EnumWindows order) whose title contains part; 0 when none.
    WindowHandle FindTopWindow(const std::string& titlePart) const;
    // How often the button was pressed (down then up on it).
    int PressCount(WindowHandle button) const;
    WindowHandle Foreground() const { return foreground_; }
    // How many sends found their window hung and failed (text reads included).
    int UnansweredSends() const { return unansweredSends_; }

    // ---- what was sent ---------------------------------------------------------------
    const std::vector<SentMessage>& Messages() const { return messages_; }
    std::vector<SentMessage> MessagesTo(WindowHandle target) const;
    std::vector<SentMessage> MessagesOfKind(MessageKind kind) const;
    // The text of every WM_COPYDATA sent, with its time.
    std::vector<TimedText> CopyDataTexts() const;
    void ClearMessages() { messages_.clear(); }

    // ---- stand-in AutoCADs ----------------------------------------------------------
    // Starts one, as its process would start: its windows appear after its
    // start-up delay on the clock.
    FakeStandin& StartStandin(const standin::StandinOptions& options);
    FakeStandin& StartStandin(const std::vector<std::string>& arguments);
    // Every stand-in started, in order of start; ended ones too.
    std::vector<FakeStandin*> Standins() const;
    // The one started last; nullptr when none.
    FakeStandin* LatestStandin() const;
    // The one with this process id (the newest, when an id was given
    // again); nullptr when none.
    FakeStandin* StandinByProcessId(std::uint32_t processId) const;
    // The next stand-in started gets this id, as Windows may give the id of
    // a process that has ended to a new one.
    void ReuseProcessId(std::uint32_t processId) { reusedProcessId_ = processId; }
    // Called whenever a stand-in is started (after it is).
    std::function<void(FakeStandin&)> onStandinStarted;

    VirtualClock& Clock() { return clock_; }
    MemoryFiles& Files() { return files_; }

private:
    friend class FakeStandin;
    struct Window;

    Window* Find(WindowHandle window) const;
    WindowHandle Create(WindowHandle parent, WindowHandle owner, const std::string& className,
                        const std::string& text, FakeStandin* host);
    void Record(MessageKind kind, WindowHandle target, bool delivered, std::uint32_t dwData = 0,
                std::string bytes = {}, std::uint32_t cbData = 0);
    void CollectDescendants(WindowHandle parent, std::vector<WindowHandle>& out) const;
    // Since when the window's thread has stopped; -1 when it runs.
    std::int64_t HungSince(WindowHandle window) const;
    // A send to a hung window: waits as the send would, then counts it.
    // abortIfHung: fails at once on a window hung for HungAfterMs.
    void WaitUnanswered(WindowHandle window, int timeoutMs, bool abortIfHung);

    VirtualClock& clock_;
    MemoryFiles& files_;
    std::map<WindowHandle, std::unique_ptr<Window>> windows_;  // the windows that exist
    std::vector<WindowHandle> zOrder_;              // top-level windows, front first
    std::vector<SentMessage> messages_;
    std::vector<std::unique_ptr<FakeStandin>> standins_;
    WindowHandle foreground_ = 0;
    int largestTextBuffer_ = 0;
    WindowHandle nextHandle_ = 0x10010;
    std::uint32_t nextProcessId_ = 0x1000;
    std::uint32_t reusedProcessId_ = 0;
    int unansweredSends_ = 0;
    int unicodeQueries_ = 0;
};

}  // namespace tovimo::testing
