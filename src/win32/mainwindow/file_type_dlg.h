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

    bool DwgChosen = false;
    HIMAGELIST glyphs_[2] = {};
};

}  // namespace tovimo::win32
