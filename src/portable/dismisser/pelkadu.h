#pragma once
// Pelkadu: looks for AutoCAD's startup dialog for about twenty seconds and
// presses its cancel button as soon as it shows.
#include "platform/clock.h"
#include "platform/window_system.h"

namespace tovimo {

constexpr int PelkaduAttempts = 200;

// The first top-level window titled スタートアップ or ｽﾀｰﾄｱｯﾌﾟ whose owner's
// title (its own, when it has no owner) contains "AutoCAD"; 0 when none.
WindowHandle FindStartupDialog(WindowSystem& windows);
// One attempt: true when a startup dialog was found and its button pressed.
bool PressCancel(WindowSystem& windows, Clock& clock);
// The whole program: at most 200 attempts 100 ms apart. Always gives 0.
int RunPelkadu(WindowSystem& windows, Clock& clock);

}  // namespace tovimo
