#include "acadlink/window_list.h"

#include <cstdio>

namespace tovimo {

namespace {

// Titles, texts and class names are read into a 256-byte buffer with the limit 255.
constexpr int TextBufferSize = 256;
constexpr int TextLimit = 255;

}  // namespace

bool CollectTopWindows(WindowHandle window, void* user) {
    auto& list = *static_cast<WindowList*>(user);
    char key[32];
    std::snprintf(key, sizeof key, " %10llX", static_cast<unsigned long long>(window));
    list.entries.push_back({key, window});
    return true;
}

bool CollectChildWindows(WindowHandle window, void* user) {
    auto& list = *static_cast<WindowList*>(user);
    list.entries.push_back({ReadTitle(list.system, window), window});
    return true;
}

WindowList ListTopWindows(WindowSystem& system) {
    WindowList list(system);
    system.EnumWindows(CollectTopWindows, &list);
    return list;
}

WindowList ListChildWindows(WindowSystem& system, WindowHandle parent) {
    WindowList list(system);
    system.EnumChildWindows(parent, CollectChildWindows, &list);
    return list;
}

std::string ReadTitle(WindowSystem& system, WindowHandle window) {
    char buffer[TextBufferSize] = {};
    system.GetText(window, buffer, TextLimit);
    return buffer;
}

std::string ReadClassName(WindowSystem& system, WindowHandle window) {
    char buffer[TextBufferSize] = {};
    system.GetClassName(window, buffer, TextLimit);
    return buffer;
}

WindowHandle FindButton(WindowSystem& system, WindowHandle parent, const char* caption,
                        const char* fallbackCaption) {
    WindowHandle button = system.FindWindowEx(parent, 0, "Button", caption);
    if (button == 0) button = system.FindWindowEx(parent, 0, "Button", fallbackCaption);
    return button;
}

std::string FirstStaticText(WindowSystem& system, WindowHandle dialog) {
    for (const WindowListEntry& child : ListChildWindows(system, dialog).entries) {
        std::string name = ReadClassName(system, child.window);
        // Class names are compared without letter case, as the system does.
        for (char& c : name)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (name == "static" && !child.text.empty()) return child.text;
    }
    return {};
}

}  // namespace tovimo
