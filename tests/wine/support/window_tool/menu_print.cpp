// menu-print.dll: loaded into the window program by window-tool's hook, it
// draws each open popup menu of the program's thread into a bitmap file.
// Wine on a virtual X server leaves popup menus unpainted on the X display
// (they show as black boxes in a screen grab), yet draws them right through
// WM_PRINT; the screenshot script pastes these bitmaps over the grab.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "menu_print.h"

namespace {

bool WriteBitmapFile(const char* path, const void* pixels, int width, int height) {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = -height;  // top-down, as the DIB section below
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const DWORD size = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + size;
    FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    const bool written = std::fwrite(&file, sizeof(file), 1, out) == 1 && std::fwrite(&info, sizeof(info), 1, out) == 1 &&
                         std::fwrite(pixels, size, 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

BOOL CALLBACK PrintIfOpenMenu(HWND window, LPARAM data) {
    const char* folder = reinterpret_cast<const char*>(data);
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof(name));
    if (std::strcmp(name, "#32768") != 0 || !::IsWindowVisible(window)) return TRUE;
    RECT rect;
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HDC memory = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap) {
        HGDIOBJ previous = ::SelectObject(memory, bitmap);
        char path[MAX_PATH + 64];
        std::snprintf(path, sizeof(path), "%s\\menu+%ld+%ld.bmp", folder, rect.left, rect.top);
        if (::PrintWindow(window, memory, 0) && ::GdiFlush()) WriteBitmapFile(path, pixels, width, height);
        ::SelectObject(memory, previous);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    return TRUE;
}

}  // namespace

// A WH_CALLWNDPROC hook: acts on the one message window-tool sends, whose
// lParam is a global atom naming the folder.
extern "C" __declspec(dllexport) LRESULT CALLBACK PrintOpenMenusHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_NULL && message->wParam == tovimo::PrintOpenMenusRequest) {
        char folder[MAX_PATH] = {};
        if (::GlobalGetAtomNameA(static_cast<ATOM>(message->lParam), folder, sizeof(folder)))
            ::EnumThreadWindows(::GetCurrentThreadId(), PrintIfOpenMenu, reinterpret_cast<LPARAM>(folder));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
