// What window-tool and menu-print.dll share: the hook's name and the
// wParam of the WM_NULL that asks the window program's thread to print
// its open menus.
#pragma once

#include <cstdint>

namespace tovimo {

constexpr const char* PrintOpenMenusHookName = "PrintOpenMenusHook";
constexpr std::uintptr_t PrintOpenMenusRequest = 0x4D454E55;  // "MENU"

}  // namespace tovimo
