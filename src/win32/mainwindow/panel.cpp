#include "mainwindow/panel.h"

namespace tovimo::win32 {

namespace {

constexpr const char* PanelClass = "TovimoPanel";

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
            if (::GetWindowLongPtrA(window, GWLP_USERDATA) != 0) {
                RECT client;
                ::GetClientRect(window, &client);
                ::DrawEdge(dc, &client, BDR_RAISEDINNER | BDR_SUNKENOUTER, BF_RECT);
            }
            ::EndPaint(window, &paint);
            return 0;
        }
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

}  // namespace tovimo::win32
