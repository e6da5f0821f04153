#pragma once
// Hosts the stand-in AutoCAD with real windows. Every text is code page 932
// bytes, set and read with the ANSI ("A") functions; a Unicode stand-in
// registers its windows' classes with RegisterClassW (the system converts
// their texts) and makes its buttons Unicode windows too.
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "standin_acad.h"
#include "standin_host.h"

namespace tovimo::standin {

class StandinWindowHost : public StandinHost {
public:
    StandinWindowHost(HINSTANCE instance, const std::string& logPath, bool unicode);
    ~StandinWindowHost() override;
    StandinWindowHost(const StandinWindowHost&) = delete;
    StandinWindowHost& operator=(const StandinWindowHost&) = delete;

    // Starts the model and runs the message loop until it quits.
    int Run(StandinAcad& model);

    WindowId CreateFrameWindow(const std::string& className, const std::string& title) override;
    WindowId CreateChildWindow(WindowId parent, const std::string& className, const std::string& text) override;
    WindowId CreateDialogWindow(WindowId owner, const std::string& title) override;
    WindowId CreateButton(WindowId dialog, const std::string& caption) override;
    void SetText(WindowId window, const std::string& text) override;
    void DestroyWindow(WindowId window) override;
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
    std::uint32_t ProcessId() override;

private:
    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK QuietProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK TimerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RegisterClasses();
    HWND Create(const std::string& className, const std::string& text, DWORD style, HWND parent,
                int x, int y, int width, int height);

    HINSTANCE instance_;
    bool unicode_;
    HANDLE log_ = INVALID_HANDLE_VALUE;
    ULONGLONG startTicks_;
    HWND timerWindow_ = nullptr;
    StandinAcad* model_ = nullptr;
    int nextTimer_ = 1;
    int nextChildY_ = 0;
    int nextButton_ = 0;
    WNDPROC buttonProc_ = nullptr;
    HWND pressedButton_ = nullptr;
};

}  // namespace tovimo::standin
