#pragma once
// Pelkadu: looks for AutoCAD's startup dialog for about twenty seconds and
// presses its cancel button as soon as it shows.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/window_system.h"

namespace tovimo {

constexpr int PelkaduAttempts = 200;

// The AutoCAD whose dialog is pressed: any (0), or the process with this
// id. Several AutoCADs starting side by side each get a Pelkadu of their
// own, which must not press another one's dialog.
using PelkaduTarget = std::uint32_t;
constexpr PelkaduTarget AnyAcad = 0;

// The first top-level window titled スタートアップ or ｽﾀｰﾄｱｯﾌﾟ whose owner's
// title (its own, when it has no owner) contains "AutoCAD", and that belongs
// to target's process; 0 when none.
WindowHandle FindStartupDialog(WindowSystem& windows, PelkaduTarget target = AnyAcad);
// One attempt: true when a startup dialog was found and its button pressed.
bool PressCancel(WindowSystem& windows, Clock& clock, PelkaduTarget target = AnyAcad);
// The whole program: at most 200 attempts 100 ms apart. Always gives 0.
int RunPelkadu(WindowSystem& windows, Clock& clock, PelkaduTarget target = AnyAcad);
// The target named by Pelkadu's command line: no argument, any AutoCAD;
// "/pid:N" (N a process id, 1 or more), the process N. Anything else names
// none: Pelkadu then ends at once, for pressing some other AutoCAD's
// dialog would be worse than pressing none.
std::optional<PelkaduTarget> PelkaduTargetOf(const std::vector<std::string>& arguments);

}  // namespace tovimo
