#include "dismisser/pelkadu.h"

#include <string_view>

#include "acadlink/window_list.h"
#include "text/cp932_text.h"

namespace tovimo {

namespace {

constexpr int AttemptPause = 100;
constexpr int BeforeForegroundPause = 200;
constexpr int BeforePressPause = 200;
constexpr int PressReleasePause = 100;

}  // namespace

WindowHandle FindStartupDialog(WindowSystem& windows, PelkaduTarget target) {
    for (const auto& entry : ListTopWindows(windows).entries) {
        if (target != AnyAcad && windows.GetWindowProcessId(entry.window) != target) continue;
        // One buffer for the title and then the owner's title: a window
        // without an owner leaves its own title there.
        char title[256] = {};
        windows.GetText(entry.window, title, 255);
        if (!ContainsText(title, "ｽﾀｰﾄｱｯﾌﾟ") && !ContainsText(title, "スタートアップ")) continue;
        if (const WindowHandle owner = windows.GetParent(entry.window); owner != 0)
            windows.GetText(owner, title, 255);
        if (ContainsText(title, "AutoCAD")) return entry.window;
    }
    return 0;
}

bool PressCancel(WindowSystem& windows, Clock& clock, PelkaduTarget target) {
    const WindowHandle dialog = FindStartupDialog(windows, target);
    if (dialog == 0) return false;
    const WindowHandle button = FindButton(windows, dialog, "キャンセル", "ｷｬﾝｾﾙ");
    clock.Sleep(BeforeForegroundPause);
    if (button != 0) windows.SetForegroundWindow(button);
    clock.Sleep(BeforePressPause);
    if (button != 0) windows.SendLButtonDown(button);
    clock.Sleep(PressReleasePause);
    if (button != 0) windows.SendLButtonUp(button);
    // A dialog without a cancel button ends the search all the same.
    return true;
}

int RunPelkadu(WindowSystem& windows, Clock& clock, PelkaduTarget target) {
    for (int attempt = 0; attempt < PelkaduAttempts; ++attempt) {
        clock.Sleep(AttemptPause);
        if (PressCancel(windows, clock, target)) break;
    }
    return 0;
}

std::optional<PelkaduTarget> PelkaduTargetOf(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return AnyAcad;
    constexpr std::string_view Switch = "/pid:";
    if (arguments.size() != 1) return std::nullopt;
    const std::string& argument = arguments[0];
    if (argument.size() <= Switch.size() || argument.size() > Switch.size() + 10 ||
        argument.compare(0, Switch.size(), Switch) != 0)
        return std::nullopt;
    std::uint64_t id = 0;
    for (std::size_t i = Switch.size(); i < argument.size(); ++i) {
        const char digit = argument[i];
        if (digit < '0' || digit > '9') return std::nullopt;
        id = id * 10 + static_cast<std::uint64_t>(digit - '0');
    }
    if (id == 0 || id > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<PelkaduTarget>(id);
}

}  // namespace tovimo
