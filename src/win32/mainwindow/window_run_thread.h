#pragma once
// The run's thread of the window program. A run lives on a thread of its
// own; what it shows reaches the main window as a message sent to it, which
// the window's thread handles between its other messages (also inside a
// menu, a move or a modal dialog), so neither waits on the other for more
// than one such call.
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/run_thread.h"
#include "platform/win32_api.h"

namespace tovimo::win32 {

// Sent by the run: a call of the run is waiting to run on the window's thread.
constexpr UINT WM_TOVIMO_RUNCALL = WM_APP + 2;
// Posted by the run once it has ended.
constexpr UINT WM_TOVIMO_RUNENDED = WM_APP + 3;

class WindowRunThread : public RunThread {
public:
    WindowRunThread() = default;
    ~WindowRunThread() override;
    WindowRunThread(const WindowRunThread&) = delete;
    WindowRunThread& operator=(const WindowRunThread&) = delete;

    // The window whose thread is the window's thread; before any run.
    void SetWindow(HWND window);

    void Start(std::function<void()> work, std::function<void()> ended) override;
    void OnWindowThread(const std::function<void()>& call) override;

    // The window's handlers of its two messages. Both carry nothing: a
    // message that another program sends or posts under these numbers finds
    // no call waiting, or a run not ended yet, and does nothing.
    void RunCall();
    void RunEnded();

private:
    HWND window_ = nullptr;
    DWORD windowThread_ = 0;
    std::thread thread_;
    std::atomic<bool> workDone_{false};
    std::function<void()> ended_;
    std::mutex mutex_;
    const std::function<void()>* pending_ = nullptr;  // guarded by mutex_
};

}  // namespace tovimo::win32
