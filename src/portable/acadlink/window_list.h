#pragma once
// Lists of windows, filled by the enumeration callbacks. Every entry carries
// one window handle, in the order in which the system enumerated the windows.
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace tovimo {

struct WindowListEntry {
    std::string text;  // the key or the window text
    WindowHandle window = 0;
};

struct WindowList {
    explicit WindowList(WindowSystem& system) : system(system) {}
    WindowSystem& system;
    std::vector<WindowListEntry> entries;
};

// For EnumWindows: adds the key " %10X" of the handle (only good for
// comparing two lists) with the handle. user is a WindowList.
bool CollectTopWindows(WindowHandle window, void* user);
// For EnumChildWindows: adds the child's text (WM_GETTEXT, limit 255) with
// the handle. user is a WindowList.
bool CollectChildWindows(WindowHandle window, void* user);

WindowList ListTopWindows(WindowSystem& system);
WindowList ListChildWindows(WindowSystem& system, WindowHandle parent);

// A window's title or text as a 256-byte buffer with limit 255 reads it: at
// most its first 254 bytes.
std::string ReadTitle(WindowSystem& system, WindowHandle window);
// A window's class name as GetClassNameA reads it with limit 255.
std::string ReadClassName(WindowSystem& system, WindowHandle window);

// The first child of parent of class "Button" with this caption, else the
// first with the fallback caption, else 0.
WindowHandle FindButton(WindowSystem& system, WindowHandle parent, const char* caption,
                        const char* fallbackCaption);

// The text of the first child of dialog of class "Static" whose text is not
// empty (a message box's message; its icon is a Static without text),
// whatever its id; empty when there is none.
std::string FirstStaticText(WindowSystem& system, WindowHandle dialog);

}  // namespace tovimo
