#include "mainwindow/skip_form.h"

#include <commctrl.h>

namespace tovimo::win32 {

bool TSkipForm::Create(HWND owner) {
    if (!CreateDialogForm("TSkipForm", SkipFormDesign(), owner)) return false;
    ::SetWindowSubclass(Control(IdListBox1), ListBoxProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

void TSkipForm::PlaceControl(const ControlDesign& design, HWND control) {
    FormWindow::PlaceControl(design, control);
    if (design.id == IdListBox1) ::SendMessageA(control, LB_SETITEMHEIGHT, 0, Scale(12));
}

void TSkipForm::SetLines(const std::vector<std::string>& lines) {
    HWND list = Control(IdListBox1);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    // A horizontal extent lets a long line with its reason scroll sideways.
    int widest = 0;
    HDC dc = ::GetDC(list);
    HGDIOBJ old = ::SelectObject(dc, Font());
    for (const std::string& line : lines) {
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        SIZE size{};
        ::GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
        if (size.cx > widest) widest = size.cx;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    ::SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + Scale(4)), 0);
}

std::vector<std::string> TSkipForm::Lines() const {
    std::vector<std::string> lines;
    HWND list = Control(IdListBox1);
    const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int length = static_cast<int>(::SendMessageA(list, LB_GETTEXTLEN, i, 0));
        std::string line(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        const int copied = static_cast<int>(::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data())));
        line.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
        lines.push_back(line);
    }
    return lines;
}

void TSkipForm::CopyLines() {
    HWND list = Control(IdListBox1);
    const std::vector<std::string> all = Lines();
    std::string text;
    const bool anySelected = ::SendMessageA(list, LB_GETSELCOUNT, 0, 0) > 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (anySelected && ::SendMessageA(list, LB_GETSEL, i, 0) <= 0) continue;
        text += all[i];
        text += "\r\n";
    }
    if (!::OpenClipboard(Handle())) return;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory) {
        char* target = static_cast<char*>(::GlobalLock(memory));
        memcpy(target, text.c_str(), text.size() + 1);
        ::GlobalUnlock(memory);
        if (!::SetClipboardData(CF_TEXT, memory)) ::GlobalFree(memory);
    }
    ::CloseClipboard();
}

LRESULT CALLBACK TSkipForm::ListBoxProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_KEYDOWN && wParam == 'C' && (::GetKeyState(VK_CONTROL) & 0x8000)) {
        reinterpret_cast<TSkipForm*>(data)->CopyLines();
        return 0;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT TSkipForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IdOKButton || LOWORD(wParam) == IDCANCEL)) {
        EndModal(IDOK);
        return 0;
    }
    return FormWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace tovimo::win32
