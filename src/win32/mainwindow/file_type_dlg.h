#pragma once
// TFileTypeDlg: asks which kind of drawing a drop that holds both is to take.
#include "mainwindow/form_window.h"

namespace tovimo::win32 {

class TFileTypeDlg : public FormWindow {
public:
    bool Create(HWND owner);
    // Modal; true when the user chose DWG. Closed by its title-bar button,
    // the previous answer counts (DXF before any answer).
    bool AskFileType();

    void DwgBitBtnClick();
    void DxfBitBtnClick();

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The button that Enter presses: the one with the focus.
    int FocusedButton() const;
    // The buttons draw their glyph and a teal caption.
    void DrawButton(const DRAWITEMSTRUCT& item);

    bool DwgChosen = false;
};

}  // namespace tovimo::win32
