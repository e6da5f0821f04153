#include "mainwindow/window_run_thread.h"

#include <utility>

#include "platform/com_apartment.h"

namespace tovimo::win32 {

WindowRunThread::~WindowRunThread() {
    // Only when the program ends with a run still under way (the session
    // ended): the process takes the thread with it.
    if (thread_.joinable()) thread_.detach();
}

void WindowRunThread::SetWindow(HWND window) {
    window_ = window;
    windowThread_ = ::GetWindowThreadProcessId(window, nullptr);
}

void WindowRunThread::Start(std::function<void()> work, std::function<void()> ended) {
    if (thread_.joinable()) thread_.join();  // a run that has ended already
    ended_ = std::move(ended);
    workDone_ = false;
    thread_ = std::thread([this, work = std::move(work)] {
        // Opening "Drawing1.dwg" through its association needs COM.
        EnsureComApartment();
        work();
        workDone_ = true;
        ::PostMessageA(window_, WM_TOVIMO_RUNENDED, 0, 0);
    });
}

void WindowRunThread::OnWindowThread(const std::function<void()>& call) {
    if (::GetCurrentThreadId() == windowThread_) {
        call();
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        pending_ = &call;
    }
    // Returns once the window has run the call, or at once when the window
    // is gone.
    ::SendMessageA(window_, WM_TOVIMO_RUNCALL, 0, 0);
    const std::lock_guard<std::mutex> lock(mutex_);
    pending_ = nullptr;
}

void WindowRunThread::RunCall() {
    const std::function<void()>* call = nullptr;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        call = std::exchange(pending_, nullptr);
    }
    if (call) (*call)();
}

void WindowRunThread::RunEnded() {
    if (!thread_.joinable() || !workDone_) return;
    thread_.join();
    const std::function<void()> ended = std::exchange(ended_, nullptr);
    if (ended) ended();
}

}  // namespace tovimo::win32
