#pragma once
// A window system that passes every call on and adds up the time spent in
// them: the messages to AutoCAD's windows (each SendMessage waits until
// AutoCAD has handled it) and the reads of its titles and texts.
#include <cstdint>

#include "metered_clock.h"
#include "platform/window_system.h"

namespace tovimo::bench {

class MeteredWindowSystem : public WindowSystem {
public:
    explicit MeteredWindowSystem(WindowSystem& inner) : inner_(inner) {}

    // Time spent in the calls so far, in milliseconds, and their number.
    double SpentMs() const { return spentMs_; }
    std::int64_t Calls() const { return calls_; }

private:
    template <typename Call>
    auto Timed(Call call) {
        // An enumeration calls back into the caller; its time counts here
        // as a whole, and the calls made from the callback are not counted
        // twice.
        const bool outermost = depth_++ == 0;
        const double start = SteadyMs();
        struct Leave {
            MeteredWindowSystem& self;
            bool outermost;
            double start;
            ~Leave() {
                --self.depth_;
                if (outermost) {
                    self.spentMs_ += SteadyMs() - start;
                    ++self.calls_;
                }
            }
        } leave{*this, outermost, start};
        return call();
    }

public:
    void EnumWindows(EnumWindowsProc proc, void* user) override {
        Timed([&] { inner_.EnumWindows(proc, user); });
    }
    void EnumChildWindows(WindowHandle parent, EnumWindowsProc proc, void* user) override {
        Timed([&] { inner_.EnumChildWindows(parent, proc, user); });
    }
    WindowHandle GetParent(WindowHandle window) override {
        return Timed([&] { return inner_.GetParent(window); });
    }
    int GetClassName(WindowHandle window, char* buffer, int maxCount) override {
        return Timed([&] { return inner_.GetClassName(window, buffer, maxCount); });
    }
    WindowHandle FindWindowEx(WindowHandle parent, WindowHandle childAfter, const char* className,
                              const char* caption) override {
        return Timed([&] { return inner_.FindWindowEx(parent, childAfter, className, caption); });
    }
    bool SetForegroundWindow(WindowHandle window) override {
        return Timed([&] { return inner_.SetForegroundWindow(window); });
    }
    bool IsWindow(WindowHandle window) override {
        return Timed([&] { return inner_.IsWindow(window); });
    }
    bool IsWindowUnicode(WindowHandle window) override {
        return Timed([&] { return inner_.IsWindowUnicode(window); });
    }
    std::uint32_t GetWindowProcessId(WindowHandle window) override {
        return Timed([&] { return inner_.GetWindowProcessId(window); });
    }
    int GetTextLength(WindowHandle window) override {
        return Timed([&] { return inner_.GetTextLength(window); });
    }
    int GetText(WindowHandle window, char* buffer, int maxCount) override {
        return Timed([&] { return inner_.GetText(window, buffer, maxCount); });
    }
    bool SendCopyData(WindowHandle target, std::uint32_t dwData, const void* data,
                      std::uint32_t cbData, int timeoutMs) override {
        return Timed([&] { return inner_.SendCopyData(target, dwData, data, cbData, timeoutMs); });
    }
    void PostNull(WindowHandle target) override {
        Timed([&] { inner_.PostNull(target); });
    }
    void SendLButtonDown(WindowHandle target) override {
        Timed([&] { inner_.SendLButtonDown(target); });
    }
    void SendLButtonUp(WindowHandle target) override {
        Timed([&] { inner_.SendLButtonUp(target); });
    }

private:
    WindowSystem& inner_;
    double spentMs_ = 0;
    std::int64_t calls_ = 0;
    int depth_ = 0;
};

}  // namespace tovimo::bench
