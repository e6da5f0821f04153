#pragma once
// TSkipForm: the drawings a run did not convert.
#include <string>
#include <vector>

#include "mainwindow/form_window.h"

namespace tovimo::win32 {

class TSkipForm : public FormWindow {
public:
    bool Create(HWND owner);
    // Replaces the lines of ListBox1.
    void SetLines(const std::vector<std::string>& lines);
    std::vector<std::string> Lines() const;
    // Copies the selected lines, or all when none is selected, to the
    // clipboard, one per line.
    void CopyLines();

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PlaceControl(const ControlDesign& design, HWND control) override;
    static LRESULT CALLBACK ListBoxProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR id, DWORD_PTR data);
};

}  // namespace tovimo::win32
