#include "mainwindow/file_type_dlg.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include "mainwindow/glyphs.h"

namespace tovimo::win32 {

namespace {

constexpr COLORREF Teal = RGB(0, 128, 128);

// A push button's face as the current visual style draws it, or the
// classic one without a style.
void DrawButtonFace(const DRAWITEMSTRUCT& item, bool pushed, bool focused, bool enabled) {
    RECT rect = item.rcItem;
    if (HTHEME theme = ::OpenThemeData(item.hwndItem, L"Button")) {
        const int state = !enabled ? PBS_DISABLED : pushed ? PBS_PRESSED : focused ? PBS_DEFAULTED : PBS_NORMAL;
        ::DrawThemeParentBackground(item.hwndItem, item.hDC, &rect);
        ::DrawThemeBackground(theme, item.hDC, BP_PUSHBUTTON, state, &rect, nullptr);
        ::CloseThemeData(theme);
        return;
    }
    ::DrawFrameControl(item.hDC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
}

}  // namespace

bool TFileTypeDlg::Create(HWND owner) {
    if (!CreateDialogForm("TFileTypeDlg", FileTypeDlgDesign(), owner)) return false;
    // Drawn here, so that their captions are teal like the labels: a themed
    // button keeps its text colour to itself.
    for (int id : {IdDwgBitBtn, IdDxfBitBtn})
        ::SendMessageA(Control(id), BM_SETSTYLE, BS_OWNERDRAW, FALSE);
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

int TFileTypeDlg::FocusedButton() const {
    HWND focus = ::GetFocus();
    if (focus && focus == Control(IdDxfBitBtn)) return IdDxfBitBtn;
    // The first in the tab order has the focus when the dialog opens.
    return IdDwgBitBtn;
}

void TFileTypeDlg::DrawButton(const DRAWITEMSTRUCT& item) {
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    DrawButtonFace(item, pushed, focused, enabled);

    HDC dc = item.hDC;
    HGDIOBJ oldFont = ::SelectObject(dc, Font());
    char text[64] = {};
    ::GetWindowTextA(item.hwndItem, text, sizeof text);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(::lstrlenA(text)), &extent);
    // Glyph and caption side by side, centred together, as a bitmap button has them.
    const RECT& rect = item.rcItem;
    const int glyph = Scale(16);
    const int gap = Scale(4);
    const int shift = pushed ? 1 : 0;
    const int left = rect.left + (rect.right - rect.left - glyph - gap - extent.cx) / 2 + shift;
    const int middle = (rect.top + rect.bottom) / 2 + shift;
    DrawGlyph(dc, item.CtlID == IdDwgBitBtn ? Glyph::Dwg : Glyph::Dxf, left, middle - glyph / 2, glyph, enabled);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, enabled ? Teal : ::GetSysColor(COLOR_GRAYTEXT));
    ::TextOutA(dc, left + glyph + gap, middle - extent.cy / 2, text, static_cast<int>(::lstrlenA(text)));
    ::SelectObject(dc, oldFont);

    if (focused && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT inner = rect;
        ::InflateRect(&inner, -Scale(4), -Scale(4));
        ::DrawFocusRect(dc, &inner);
    }
}

LRESULT TFileTypeDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case DM_GETDEFID:
            // Enter answers with the button that has the focus.
            return MAKELRESULT(FocusedButton(), DC_HASDEFID);
        case WM_COMMAND:
            // Esc (IDCANCEL) does nothing; only the two buttons answer, and
            // Enter (IDOK where the dialog manager asks no default) presses
            // the one with the focus.
            switch (LOWORD(wParam) == IDOK ? FocusedButton() : LOWORD(wParam)) {
                case IdDwgBitBtn: DwgBitBtnClick(); break;
                case IdDxfBitBtn: DxfBitBtnClick(); break;
                default: break;
            }
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlType != ODT_BUTTON) break;
            DrawButton(*item);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, Teal);
            ::SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        default: break;
    }
    return FormWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace tovimo::win32
