#pragma once
// What the stand-in AutoCAD needs of the program that hosts it: windows,
// one-shot timers, the time, files, its log and the end of the process. The
// Windows program implements it with real windows; the native tests with the
// in-memory window system.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovimo::standin {

using WindowId = std::uintptr_t;  // 0 means "no window"

class StandinHost {
public:
    virtual ~StandinHost() = default;

    // A top-level window that has no owner (GetParent gives 0).
    virtual WindowId CreateFrameWindow(const std::string& className, const std::string& title) = 0;
    // A child window; its text is what WM_GETTEXT gives.
    virtual WindowId CreateChildWindow(WindowId parent, const std::string& className,
                                       const std::string& text) = 0;
    // A popup window owned by owner (GetParent gives the owner).
    virtual WindowId CreateDialogWindow(WindowId owner, const std::string& title) = 0;
    // A child of class "Button" of a dialog. A WM_LBUTTONDOWN followed by a
    // WM_LBUTTONUP on it is reported as StandinAcad::OnButtonPressed.
    virtual WindowId CreateButton(WindowId dialog, const std::string& caption) = 0;
    virtual void SetText(WindowId window, const std::string& text) = 0;
    // Destroys the window with its children and the windows it owns.
    virtual void DestroyWindow(WindowId window) = 0;

    // Calls StandinAcad::OnTimer(id) once, delayMs from now. Returns id > 0.
    virtual int StartTimer(int delayMs) = 0;
    virtual void CancelTimer(int id) = 0;
    // Milliseconds since the process started.
    virtual std::int64_t NowMs() = 0;

    // Files, by their Windows paths. ReadFile is empty when the file cannot be read.
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    virtual bool WriteFile(const std::string& path, const std::string& content) = 0;
    virtual bool FileExists(const std::string& path) = 0;

    // WideCharToMultiByte(932): the text in code page 932, "?" for a
    // character that has no form there.
    virtual std::string Cp932FromUtf16(std::u16string_view text) = 0;

    // One line of the log, without its line end.
    virtual void AppendLog(const std::string& line) = 0;
    // Ends the process; every window has been destroyed before.
    virtual void Quit() = 0;
    // Stops the window thread for good, as a hung AutoCAD does: its windows
    // stay, but nothing of the stand-in runs again and nothing sent to its
    // windows is answered.
    virtual void Hang() = 0;
    // Ends the process at once, as a crash does: no window is destroyed
    // first and nothing more is logged.
    virtual void Crash() = 0;
    // The id the system knows the process by.
    virtual std::uint32_t ProcessId() = 0;
};

}  // namespace tovimo::standin
