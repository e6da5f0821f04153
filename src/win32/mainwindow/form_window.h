#pragma once
// The base of the program's own windows (the main window and the dialogs):
// one static window procedure that hands every message to the object's
// member handler, the controls built from the design tables and placed for
// the window's DPI, the fonts, and the modal loop of the dialogs.
#include <map>
#include <span>
#include <string>
#include <vector>

#include "mainwindow/form_design.h"
#include "platform/win32_api.h"

#include <commctrl.h>

namespace tovimo::win32 {

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI a window is shown at (96 where the system cannot tell).
int WindowDpi(HWND window);
// The text of a window, whole.
std::string WindowText(HWND window);

class FormWindow {
public:
    virtual ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Handle() const { return handle_; }
    HWND Control(int id) const;
    int Dpi() const { return dpi_; }
    int Scale(int designPixels) const;

    // Shows the window modally over the program's other windows, which take
    // no input meanwhile; returns the id that ended it (0: the title-bar
    // close box).
    int ShowModal();
    // Ends a modal showing with this id.
    void EndModal(int id);
    bool Modal() const { return modal_; }

protected:
    FormWindow() = default;

    // Registers the class (once) and creates the window; a dialog is centred
    // on the screen with its design client size.
    bool CreateForm(const char* className, const std::string& caption, DWORD style, DWORD exStyle,
                    HWND owner, int clientWidth, int clientHeight);
    // A dialog window with a fixed border, centred on the screen, with the
    // controls of its design placed.
    bool CreateDialogForm(const char* className, const DialogDesign& design, HWND owner);
    // Creates the controls of a design table, the children of a panel
    // inside that panel's window.
    void CreateControls(std::span<const ControlDesign> controls);
    // A window of the form that the tables name as a parent (a panel).
    void RegisterControl(int id, HWND window) { controls_[id] = window; }
    // Places every control of the tables for the current DPI.
    void PlaceControls();
    virtual void PlaceControl(const ControlDesign& design, HWND control);
    // Fonts and glyphs for the current DPI.
    void MakeFonts();
    HFONT Font() const { return font_; }
    HFONT BoldFont() const { return boldFont_; }
    HFONT SpecialFont(const char* face, int designPixels, bool bold);

    // The member handler; DefWindowProc for what it leaves.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // The DPI changed; suggested is the window's new place.
    virtual void DpiChanged(const RECT& suggested);

    std::vector<ControlDesign> designs_;

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyFonts();
    void FreeFonts();

    HWND handle_ = nullptr;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    std::vector<HFONT> specialFonts_;
    std::map<int, HWND> controls_;
    std::vector<ControlDesign> frames_;
    std::vector<RECT> ownFrames_;  // the frames drawn on the form itself
    bool modal_ = false;
    int modalResult_ = 0;
    bool modalEnded_ = false;
};

}  // namespace tovimo::win32
