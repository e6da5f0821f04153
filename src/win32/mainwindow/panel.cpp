#include "mainwindow/panel.h"

#include <map>

namespace tovimo::win32 {

namespace {

constexpr const char* PanelClass = "TovimoPanel";

// The frames of each panel; a panel's entry goes with the panel.
std::map<HWND, std::vector<RECT>>& PanelFrames() {
    static std::map<HWND, std::vector<RECT>> frames;
    return frames;
}

LRESULT CALLBACK PanelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CONTEXTMENU:
        case WM_DRAWITEM:
            return ::SendMessageA(::GetAncestor(window, GA_ROOT), message, wParam, lParam);
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            if (const auto found = PanelFrames().find(window); found != PanelFrames().end())
                DrawFrames(dc, found->second);
            if (::GetWindowLongPtrA(window, GWLP_USERDATA) != 0) {
                RECT client;
                ::GetClientRect(window, &client);
                ::DrawEdge(dc, &client, BDR_RAISEDINNER | BDR_SUNKENOUTER, BF_RECT);
            }
            ::EndPaint(window, &paint);
            return 0;
        }
        case WM_NCDESTROY:
            PanelFrames().erase(window);
            return ::DefWindowProcA(window, message, wParam, lParam);
        default: return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

void RegisterPanelClass() {
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = PanelProcedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = PanelClass;
        return ::RegisterClassExA(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

HWND CreatePanel(HWND parent, int id, bool raisedBevel) {
    RegisterPanelClass();
    HWND panel = ::CreateWindowExA(WS_EX_CONTROLPARENT, PanelClass, "",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleA(nullptr), nullptr);
    ::SetWindowLongPtrA(panel, GWLP_USERDATA, raisedBevel ? 1 : 0);
    return panel;
}

void SetPanelFrames(HWND panel, std::vector<RECT> frames) {
    PanelFrames()[panel] = std::move(frames);
    ::InvalidateRect(panel, nullptr, TRUE);
}

void DrawFrames(HDC dc, const std::vector<RECT>& frames) {
    for (RECT frame : frames) ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
}

}  // namespace tovimo::win32
