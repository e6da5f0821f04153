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
//   window-tool menu CLASS KEY...        opens the menu bar from the keyboard
//                                        (as F10 does) and presses KEYs in it
//   window-tool keys CLASS KEY...        presses KEYs (Left Right Up Down
//                                        Return Escape) in the window's thread
//   window-tool menus CLASS FOLDER       writes each open popup menu of the
//                                        window's thread to FOLDER as
//                                        menu+LEFT+TOP.bmp (see menu_print.cpp)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "mainwindow/form_design.h"
#include "menu_print.h"
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

UINT KeyOf(const char* name) {
    constexpr struct {
        const char* name;
        UINT key;
    } keys[] = {{"Left", VK_LEFT}, {"Right", VK_RIGHT}, {"Up", VK_UP},
                {"Down", VK_DOWN}, {"Return", VK_RETURN}, {"Escape", VK_ESCAPE}};
    for (const auto& key : keys)
        if (std::strcmp(key.name, name) == 0) return key.key;
    return 0;
}

// Posted keys reach a menu's modal loop as typed ones do: it reads them
// from the thread's queue.
bool PressKeys(HWND window, int count, char** names) {
    for (int i = 0; i < count; ++i) {
        const UINT key = KeyOf(names[i]);
        if (key == 0) {
            std::fprintf(stderr, "window-tool: unknown key %s\n", names[i]);
            return false;
        }
        ::Sleep(200);
        ::PostMessageA(window, WM_KEYDOWN, key, 1);
        ::PostMessageA(window, WM_KEYUP, key, 0xC0000001);
    }
    return true;
}

bool AnyMenuBitmapIn(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\menu+*.bmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    ::FindClose(search);
    return true;
}

// Hooks the window's thread with menu-print.dll (beside this program) and
// sends the message that has the hook print the open menus.
bool PrintOpenMenus(HWND window, const std::string& folder) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string dll = path;
    dll = dll.substr(0, dll.find_last_of('\\') + 1) + "menu-print.dll";
    HMODULE module = ::LoadLibraryA(dll.c_str());
    auto hook = module ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(module, PrintOpenMenusHookName))) : nullptr;
    HHOOK handle = hook ? ::SetWindowsHookExA(WH_CALLWNDPROC, hook, module, ::GetWindowThreadProcessId(window, nullptr))
                        : nullptr;
    if (!handle) {
        std::fprintf(stderr, "window-tool: cannot hook the window's thread with %s\n", dll.c_str());
        return false;
    }
    const ATOM atom = ::GlobalAddAtomA(folder.c_str());
    DWORD_PTR answer = 0;
    const bool sent = ::SendMessageTimeoutA(window, WM_NULL, PrintOpenMenusRequest, atom, SMTO_ABORTIFHUNG, 10000,
                                            &answer) != 0;
    ::GlobalDeleteAtom(atom);
    ::UnhookWindowsHookEx(handle);
    return sent && AnyMenuBitmapIn(folder);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window-tool wait|gone|press|command|ok|close|rect|menu|keys|menus CLASS [ARG...]\n");
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
    } else if (verb == "menu") {
        ::PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
        if (!PressKeys(window, argc - 3, argv + 3)) return 2;
    } else if (verb == "keys") {
        if (!PressKeys(window, argc - 3, argv + 3)) return 2;
    } else if (verb == "menus" && argc > 3) {
        return PrintOpenMenus(window, argv[3]) ? 0 : 1;
    } else {
        return 2;
    }
    return 0;
}
