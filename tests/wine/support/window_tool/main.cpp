// window-tool: drives Tovimo's windows from a script, for the screenshots
// and the window demo. Every command works on the first visible top-level
// window of a class, in any process.
//
//   window-tool wait CLASS [SECONDS]     waits until one shows (exit 1 if not)
//   window-tool gone CLASS [SECONDS]     waits until none shows
//   window-tool press CLASS CONTROL      BM_CLICK on the control (by name)
//   window-tool command CLASS ITEM       WM_COMMAND of a menu item (by name)
//   window-tool ok CLASS                 presses the window's OK (IDOK)
//   window-tool close CLASS              WM_CLOSE
//   window-tool rect CLASS               prints "left top width height"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "mainwindow/form_design.h"
#include "platform/win32_api.h"
#include "wait_until.h"
#include "window_finder.h"

namespace {

using namespace tovimo;

struct Named {
    const char* name;
    int id;
};

constexpr Named Ids[] = {
    {"ToDxfBitBtn", IdToDxfBitBtn}, {"ToDwgBitBtn", IdToDwgBitBtn}, {"ClearBitBtn", IdClearBitBtn},
    {"SaveDirBitBtn", IdSaveDirBitBtn}, {"CancelBitBtn", IdCancelBitBtn}, {"CloseBitBtn", IdCloseBitBtn},
    {"SettingCloseBitBtn", IdSettingCloseBitBtn}, {"DwgBitBtn", IdDwgBitBtn}, {"DxfBitBtn", IdDxfBitBtn},
    {"SaveSameDirChkBox", IdSaveSameDirChkBox}, {"GetChildFolderCheckBox", IdGetChildFolderCheckBox},
    {"Exit1", IdExit1}, {"SettingOpenMenu", IdSettingOpenMenu}, {"ShowHelpMenu", IdShowHelpMenu},
    {"AboutVer", IdAboutVer}, {"OKButton", IdOKButton},
};

int IdOf(const char* name) {
    for (const Named& named : Ids)
        if (std::strcmp(named.name, name) == 0) return named.id;
    return std::atoi(name);
}

struct Search {
    const char* className;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof(name));
    if (std::strcmp(name, search->className) == 0 && ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND Find(const char* className) {
    Search search{className, nullptr};
    ::EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window-tool wait|gone|press|command|ok|close|rect CLASS [ARG]\n");
        return 2;
    }
    const std::string verb = argv[1];
    const char* className = argv[2];
    const int seconds = argc > 3 ? std::atoi(argv[3]) : 30;
    if (verb == "wait")
        return tovimo::wine_tests::WaitUntil([&] { return Find(className) != nullptr; }, seconds * 1000) ? 0 : 1;
    if (verb == "gone")
        return tovimo::wine_tests::WaitUntil([&] { return Find(className) == nullptr; }, seconds * 1000) ? 0 : 1;
    HWND window = Find(className);
    if (!window) {
        std::fprintf(stderr, "window-tool: no visible window of class %s\n", className);
        return 1;
    }
    if (verb == "press" && argc > 3) {
        HWND control = tovimo::wine_tests::FindControl(window, IdOf(argv[3]));
        if (!control) return 1;
        ::PostMessageA(control, BM_CLICK, 0, 0);
    } else if (verb == "command" && argc > 3) {
        ::PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(IdOf(argv[3])), 0);
    } else if (verb == "ok") {
        tovimo::wine_tests::PressButton(window, IDOK);
    } else if (verb == "close") {
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    } else if (verb == "rect") {
        RECT rect;
        ::GetWindowRect(window, &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    } else {
        return 2;
    }
    return 0;
}
