#include "mainwindow/file_type_dlg.h"

#include <commctrl.h>

#include "mainwindow/glyphs.h"

namespace tovimo::win32 {

namespace {
constexpr COLORREF Teal = RGB(0, 128, 128);
}  // namespace

bool TFileTypeDlg::Create(HWND owner) {
    if (!CreateDialogForm("TFileTypeDlg", FileTypeDlgDesign(), owner)) return false;
    const int size = Scale(16);
    glyphs_[0] = CreateButtonGlyphs(Glyph::Dwg, size);
    glyphs_[1] = CreateButtonGlyphs(Glyph::Dxf, size);
    int i = 0;
    for (int id : {IdDwgBitBtn, IdDxfBitBtn}) {
        BUTTON_IMAGELIST images{glyphs_[i++], {Scale(4), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
        ::SendMessageA(Control(id), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
    }
    return true;
}

bool TFileTypeDlg::AskFileType() {
    ShowModal();
    return DwgChosen;
}

void TFileTypeDlg::DwgBitBtnClick() {
    DwgChosen = true;
    EndModal(IdDwgBitBtn);
}

void TFileTypeDlg::DxfBitBtnClick() {
    DwgChosen = false;
    EndModal(IdDxfBitBtn);
}

LRESULT TFileTypeDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // Esc (IDCANCEL) does nothing; only the two buttons answer.
            if (LOWORD(wParam) == IdDwgBitBtn) DwgBitBtnClick();
            if (LOWORD(wParam) == IdDxfBitBtn) DxfBitBtnClick();
            return 0;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, Teal);
            ::SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_DESTROY:
            for (HIMAGELIST& list : glyphs_)
                if (list) ImageList_Destroy(list), list = nullptr;
            break;
        default: break;
    }
    return FormWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace tovimo::win32
