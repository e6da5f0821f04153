#include "mainwindow/about_box.h"

#include "mainwindow/glyphs.h"

namespace tovimo::win32 {

namespace {
constexpr COLORREF Blue = RGB(0, 0, 255);
}  // namespace

TAboutBox::~TAboutBox() {
    if (icon_) ::DestroyIcon(icon_);
}

bool TAboutBox::Create(HWND owner) {
    if (!CreateDialogForm("TAboutBox", AboutBoxDesign(), owner)) return false;
    SetSpecialFonts();
    PlaceControls();
    return true;
}

void TAboutBox::SetSpecialFonts() {
    const auto set = [this](int id, HFONT font) {
        ::SendMessageA(Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    };
    set(IdNameLabel, SpecialFont("Arial Black", 29, false));
    HFONT version = SpecialFont("Arial Black", 16, false);
    set(IdVersion, version);
    set(IdVersionNumber, version);
    if (icon_) ::DestroyIcon(icon_);
    // The program's own icon; drawn when the program carries none.
    icon_ = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1),
                                            IMAGE_ICON, Scale(32), Scale(32), 0));
    if (!icon_) icon_ = CreateProgramIcon(Scale(32));
}

LRESULT TAboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IdOKButton || LOWORD(wParam) == IDCANCEL) {
                EndModal(IDOK);
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC: {
            const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (id == IdNameLabel || id == IdVersion || id == IdVersionNumber) ::SetTextColor(dc, Blue);
            ::SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID == IdProgramIcon) {
                DrawProgramPicture(item->hDC, item->rcItem);
            } else if (item->CtlID == IdImage1 && icon_) {
                ::FillRect(item->hDC, &item->rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
                ::DrawIconEx(item->hDC, item->rcItem.left, item->rcItem.top, icon_, Scale(32),
                             Scale(32), 0, nullptr, DI_NORMAL);
            }
            return TRUE;
        }
        case WM_DPICHANGED: {
            const LRESULT result = FormWindow::HandleMessage(message, wParam, lParam);
            SetSpecialFonts();
            PlaceControls();
            return result;
        }
        default: break;
    }
    return FormWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace tovimo::win32
