#include "window_finder.h"

#include <cstring>

#include "wait_until.h"

namespace tovimo::wine_tests {

namespace {

struct Search {
    const char* className;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof(name));
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == search->processId && std::strcmp(name, search->className) == 0 &&
        ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ControlSearch*>(data);
    if (::GetDlgCtrlID(window) == search->id) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM data) {
    char name[64] = {};
    ::GetClassNameA(child, name, sizeof(name));
    if (_stricmp(name, "Static") == 0) {
        const std::string text = TextOf(child);
        if (!text.empty()) reinterpret_cast<std::vector<std::string>*>(data)->push_back(text);
    }
    return TRUE;
}

}  // namespace

HWND VisibleWindow(const char* className, DWORD processId) {
    Search search{className, processId, nullptr};
    ::EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForVisibleWindow(const char* className, DWORD processId, int timeoutMs) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = VisibleWindow(className, processId)) != nullptr; }, timeoutMs);
    return window;
}

HWND FindControl(HWND top, int id) {
    ControlSearch search{id, nullptr};
    ::EnumChildWindows(top, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string TextOf(HWND window) {
    char text[1024] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<std::string> StaticTexts(HWND window) {
    std::vector<std::string> texts;
    ::EnumChildWindows(window, CollectStatic, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::vector<std::string> ListBoxLines(HWND listBox) {
    std::vector<std::string> lines;
    const LRESULT count = ::SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t wide[1024] = {};
        ::SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
        char narrow[2048] = {};
        ::WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
        lines.push_back(narrow);
    }
    return lines;
}

void PressButton(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(FindControl(dialog, id)));
}

}  // namespace tovimo::wine_tests
