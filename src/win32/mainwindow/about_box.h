#pragma once
// TAboutBox: the version window.
#include "mainwindow/form_window.h"

namespace tovimo::win32 {

class TAboutBox : public FormWindow {
public:
    ~TAboutBox() override;
    bool Create(HWND owner);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetSpecialFonts();

    HICON icon_ = nullptr;
};

}  // namespace tovimo::win32
