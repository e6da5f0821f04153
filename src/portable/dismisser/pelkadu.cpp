#include "dismisser/pelkadu.h"

#include "acadlink/window_list.h"
#include "text/cp932_text.h"

namespace tovimo {

namespace {

constexpr int AttemptPause = 100;
constexpr int BeforeForegroundPause = 200;
constexpr int BeforePressPause = 200;
constexpr int PressReleasePause = 100;

}  // namespace

WindowHandle FindStartupDialog(WindowSystem& windows) {
    for (const auto& entry : ListTopWindows(windows).entries) {
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

bool PressCancel(WindowSystem& windows, Clock& clock) {
    const WindowHandle dialog = FindStartupDialog(windows);
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

int RunPelkadu(WindowSystem& windows, Clock& clock) {
    for (int attempt = 0; attempt < PelkaduAttempts; ++attempt) {
        clock.Sleep(AttemptPause);
        if (PressCancel(windows, clock)) break;
    }
    return 0;
}

}  // namespace tovimo
