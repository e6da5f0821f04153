#include "standin_window_host.h"

namespace tovimo::standin {

namespace {

constexpr const char* DialogClass = "StandinDialog";
constexpr const char* TimerClass = "StandinAcadTimers";

// The one host of this process, for the window procedures.
StandinWindowHost* activeHost = nullptr;

HWND AsWindow(WindowId id) { return reinterpret_cast<HWND>(id); }
WindowId AsId(HWND window) { return reinterpret_cast<WindowId>(window); }

std::wstring Wide(const std::string& text) {
    const int units = MultiByteToWideChar(932, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 1), L'\0');
    if (units > 0) MultiByteToWideChar(932, 0, text.c_str(), -1, wide.data(), units);
    wide.resize(wide.size() - 1);
    return wide;
}

// The default handling for a window of either kind.
LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return IsWindowUnicode(window) ? DefWindowProcW(window, message, wParam, lParam)
                                   : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

StandinWindowHost::StandinWindowHost(HINSTANCE instance, const std::string& logPath, bool unicode)
    : instance_(instance), unicode_(unicode), startTicks_(GetTickCount64()) {
    activeHost = this;
    if (!logPath.empty()) {
        // Shared, so that a test can read the log while the stand-in runs.
        log_ = CreateFileA(logPath.c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    RegisterClasses();
    timerWindow_ = CreateWindowExA(0, TimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, nullptr);
}

StandinWindowHost::~StandinWindowHost() {
    if (timerWindow_) ::DestroyWindow(timerWindow_);
    if (log_ != INVALID_HANDLE_VALUE) CloseHandle(log_);
    activeHost = nullptr;
}

void StandinWindowHost::RegisterClasses() {
    auto registerClass = [this](const char* name, WNDPROC proc, bool unicode) {
        if (unicode) {
            const std::wstring wideName = Wide(name);
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = proc;
            windowClass.hInstance = instance_;
            windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
            windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            windowClass.lpszClassName = wideName.c_str();
            RegisterClassW(&windowClass);
            return;
        }
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = proc;
        windowClass.hInstance = instance_;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = name;
        RegisterClassA(&windowClass);
    };
    registerClass(FrameClass, FrameProc, unicode_);
    registerClass(TextWindowClass, QuietProc, unicode_);
    registerClass(DrawingViewClass, PlainProc, unicode_);
    registerClass(CommandBarClass, PlainProc, unicode_);
    registerClass(CommandLineClass, PlainProc, unicode_);
    registerClass(DialogClass, QuietProc, unicode_);
    // Nobody else sees the timers' window.
    registerClass(TimerClass, TimerProc, false);
}

int StandinWindowHost::Run(StandinAcad& model) {
    model_ = &model;
    model.Start();
    MSG message;
    while (!model.Ended() && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    model_ = nullptr;
    return 0;
}

// ---- window procedures ---------------------------------------------------------------

LRESULT CALLBACK StandinWindowHost::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    StandinAcad* model = activeHost ? activeHost->model_ : nullptr;
    if (model) {
        switch (message) {
            case WM_COPYDATA: {
                const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
                if (data) model->OnCopyData(static_cast<std::uint32_t>(data->dwData), data->lpData, data->cbData);
                return TRUE;
            }
            case WM_NULL:
                model->OnNull();
                return 0;
            case WM_CLOSE:
                model->OnCloseRequested();
                return 0;
            default: break;
        }
    }
    return DefaultProc(window, message, wParam, lParam);
}

// Only the default handling. A procedure of its own all the same: Wine
// counts DefWindowProcW itself as serving both kinds, so that a window of a
// class registered with it would not be a Unicode window.
LRESULT CALLBACK StandinWindowHost::PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(window, message, wParam, lParam);
}

// The text window and the dialogs stay until the stand-in closes them.
LRESULT CALLBACK StandinWindowHost::QuietProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    return DefaultProc(window, message, wParam, lParam);
}

LRESULT CALLBACK StandinWindowHost::TimerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && activeHost) {
        // One-shot: the timer is killed before the model hears of it.
        KillTimer(window, wParam);
        if (activeHost->model_) activeHost->model_->OnTimer(static_cast<int>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A press is a WM_LBUTTONDOWN and then a WM_LBUTTONUP on the same button,
// however they come (another process sends them). The button's own handling
// of them is left out, so that no mouse capture or focus plays a part.
LRESULT CALLBACK StandinWindowHost::ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    StandinWindowHost* host = activeHost;
    if (host && message == WM_LBUTTONDOWN) {
        host->pressedButton_ = window;
        return 0;
    }
    if (host && message == WM_LBUTTONUP) {
        const bool pressed = host->pressedButton_ == window;
        host->pressedButton_ = nullptr;
        // The model may destroy this button: nothing of it is touched after.
        if (pressed && host->model_) host->model_->OnButtonPressed(AsId(window));
        return 0;
    }
    WNDPROC original = host ? host->buttonProc_ : nullptr;
    if (!original) return DefaultProc(window, message, wParam, lParam);
    return IsWindowUnicode(window) ? CallWindowProcW(original, window, message, wParam, lParam)
                                   : CallWindowProcA(original, window, message, wParam, lParam);
}

// ---- windows ----------------------------------------------------------------------------

HWND StandinWindowHost::Create(const std::string& className, const std::string& text, DWORD style, HWND parent,
                               int x, int y, int width, int height) {
    return CreateWindowExA(0, className.c_str(), text.c_str(), style, x, y, width, height, parent, nullptr,
                           instance_, nullptr);
}

WindowId StandinWindowHost::CreateFrameWindow(const std::string& className, const std::string& title) {
    return AsId(Create(className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, CW_USEDEFAULT, CW_USEDEFAULT,
                       800, 600));
}

WindowId StandinWindowHost::CreateChildWindow(WindowId parent, const std::string& className,
                                              const std::string& text) {
    // Laid out one below the other; nobody looks at them.
    nextChildY_ = (nextChildY_ + 24) % 480;
    return AsId(Create(className, text, WS_CHILD | WS_VISIBLE, AsWindow(parent), 8, nextChildY_, 760, 20));
}

WindowId StandinWindowHost::CreateDialogWindow(WindowId owner, const std::string& title) {
    // WS_POPUP with an owner: GetParent gives the owner.
    return AsId(Create(DialogClass, title, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, AsWindow(owner), 200,
                       200, 360, 160));
}

WindowId StandinWindowHost::CreateButton(WindowId dialog, const std::string& caption) {
    const DWORD style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    const int x = 16 + 110 * (nextButton_++ % 3);
    // The system's button class serves both kinds; the function that
    // creates a button decides which it is.
    HWND button = unicode_ ? CreateWindowExW(0, L"Button", Wide(caption).c_str(), style, x, 90, 100, 28,
                                             AsWindow(dialog), nullptr, instance_, nullptr)
                           : Create("Button", caption, style, AsWindow(dialog), x, 90, 100, 28);
    if (!button) return 0;
    const auto proc = reinterpret_cast<LONG_PTR>(ButtonProc);
    const auto previous = reinterpret_cast<WNDPROC>(
        unicode_ ? SetWindowLongPtrW(button, GWLP_WNDPROC, proc) : SetWindowLongPtrA(button, GWLP_WNDPROC, proc));
    if (!buttonProc_) buttonProc_ = previous;
    return AsId(button);
}

void StandinWindowHost::SetText(WindowId window, const std::string& text) {
    if (window) SetWindowTextA(AsWindow(window), text.c_str());
}

void StandinWindowHost::DestroyWindow(WindowId window) {
    if (window) ::DestroyWindow(AsWindow(window));
}

// ---- time -----------------------------------------------------------------------------------

int StandinWindowHost::StartTimer(int delayMs) {
    const int id = nextTimer_++;
    SetTimer(timerWindow_, static_cast<UINT_PTR>(id), static_cast<UINT>(delayMs > 0 ? delayMs : 1), nullptr);
    return id;
}

void StandinWindowHost::CancelTimer(int id) { KillTimer(timerWindow_, static_cast<UINT_PTR>(id)); }

std::int64_t StandinWindowHost::NowMs() { return static_cast<std::int64_t>(GetTickCount64() - startTicks_); }

// ---- files ------------------------------------------------------------------------------------

std::optional<std::string> StandinWindowHost::ReadFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, buffer, sizeof buffer, &read, nullptr) != FALSE) && read > 0)
        content.append(buffer, read);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return content;
}

bool StandinWindowHost::WriteFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size();
    CloseHandle(file);
    return ok;
}

bool StandinWindowHost::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- log and end --------------------------------------------------------------------------------

std::string StandinWindowHost::Cp932FromUtf16(std::u16string_view text) {
    if (text.empty()) return {};
    const std::wstring wide(text.begin(), text.end());
    const int units = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(932, 0, wide.data(), units, nullptr, 0, "?", nullptr);
    if (bytes <= 0) return {};
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(932, 0, wide.data(), units, out.data(), bytes, "?", nullptr);
    return out;
}

void StandinWindowHost::AppendLog(const std::string& line) {
    if (log_ == INVALID_HANDLE_VALUE) return;
    // One write per line: a reader never sees half a line.
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(log_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void StandinWindowHost::Quit() { PostQuitMessage(0); }

// Whoever ends the process ends this too; nothing else does.
void StandinWindowHost::Hang() {
    for (;;) ::Sleep(INFINITE);
}

// The exit code of an access violation, as a crashed program leaves it.
void StandinWindowHost::Crash() { ::TerminateProcess(::GetCurrentProcess(), 0xC0000005); }

std::uint32_t StandinWindowHost::ProcessId() { return ::GetCurrentProcessId(); }

}  // namespace tovimo::standin
