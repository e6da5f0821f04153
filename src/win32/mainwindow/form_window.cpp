#include "mainwindow/form_window.h"

#include <commctrl.h>

#include "mainwindow/panel.h"

namespace tovimo::win32 {

namespace {

constexpr const char* FontFace = "ＭＳ Ｐゴシック";

HWND CreateChild(const char* className, DWORD style, DWORD exStyle, HWND parent, int id,
                 const std::string& text) {
    return ::CreateWindowExA(exStyle, className, text.c_str(),
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), nullptr);
}

BOOL CALLBACK CollectThreadWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : DesignDpi;
}

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

FormWindow::~FormWindow() {
    if (handle_) {
        ::SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        ::DestroyWindow(handle_);
    }
    FreeFonts();
}

HWND FormWindow::Control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

int FormWindow::Scale(int designPixels) const { return ScaleToDpi(designPixels, dpi_); }

bool FormWindow::CreateForm(const char* className, const std::string& caption, DWORD style,
                            DWORD exStyle, HWND owner, int clientWidth, int clientHeight) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!::GetClassInfoExA(::GetModuleHandleA(nullptr), className, &windowClass)) {
        windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
        windowClass.lpszClassName = className;
        if (!::RegisterClassExA(&windowClass)) return false;
    }
    handle_ = ::CreateWindowExA(exStyle, className, caption.c_str(), style, CW_USEDEFAULT,
                                CW_USEDEFAULT, 100, 100, owner, nullptr,
                                ::GetModuleHandleA(nullptr), this);
    if (!handle_) return false;
    dpi_ = WindowDpi(handle_);
    MakeFonts();
    if (clientWidth > 0) {
        RECT rect{0, 0, Scale(clientWidth), Scale(clientHeight)};
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        RECT work{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        ::SetWindowPos(handle_, nullptr, work.left + (work.right - work.left - width) / 2,
                       work.top + (work.bottom - work.top - height) / 2, width, height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

bool FormWindow::CreateDialogForm(const char* className, const DialogDesign& design, HWND owner) {
    if (!CreateForm(className, std::string(design.caption),
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                    WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, owner, design.clientWidth,
                    design.clientHeight))
        return false;
    CreateControls(design.controls);
    PlaceControls();
    return true;
}

void FormWindow::CreateControls(std::span<const ControlDesign> controls) {
    for (const ControlDesign& design : controls) {
        HWND parent = design.parent == 0 ? handle_ : Control(design.parent);
        const std::string text(design.text);
        HWND control = nullptr;
        switch (design.kind) {
            case ControlKind::Panel: control = CreatePanel(parent, design.id, design.id == IdAboutPanel); break;
            case ControlKind::TreeView: break;
            case ControlKind::Button:
            case ControlKind::BoldButton:
            case ControlKind::PlainButton:
                control = CreateChild("BUTTON",
                                      WS_TABSTOP | (design.id == IdOKButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                      0, parent, design.id, text);
                break;
            case ControlKind::CheckBox:
                control = CreateChild("BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0, parent, design.id, text);
                break;
            case ControlKind::LeftCheckBox:
                control = CreateChild("BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFTTEXT, 0, parent,
                                      design.id, text);
                break;
            case ControlKind::Label:
            case ControlKind::BoldLabel:
                control = CreateChild("STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0, parent, design.id, text);
                break;
            case ControlKind::RightLabel:
                control = CreateChild("STATIC", SS_RIGHT | SS_NOTIFY | SS_NOPREFIX, 0, parent, design.id, text);
                break;
            case ControlKind::Edit:
                control = CreateChild("EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent,
                                      design.id, text);
                break;
            case ControlKind::Memo:
                control = CreateChild("EDIT",
                                      WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                      WS_EX_CLIENTEDGE, parent, design.id, text);
                break;
            case ControlKind::Frame:
                // Drawn by its parent behind the controls, never a window of
                // its own that could hide them.
                frames_.push_back(design);
                break;
            case ControlKind::ProgressBar:
                control = CreateChild(PROGRESS_CLASSA, 0, 0, parent, design.id, "");
                break;
            case ControlKind::ListBox:
                control = CreateChild("LISTBOX",
                                      WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                                          LBS_EXTENDEDSEL,
                                      WS_EX_CLIENTEDGE, parent, design.id, "");
                break;
            case ControlKind::Picture:
                control = CreateChild("STATIC", SS_OWNERDRAW, 0, parent, design.id, "");
                break;
        }
        if (!control) continue;
        controls_[design.id] = control;
        designs_.push_back(design);
    }
    ApplyFonts();
}

void FormWindow::PlaceControls() {
    for (const ControlDesign& design : designs_)
        if (HWND control = Control(design.id)) PlaceControl(design, control);
    std::map<int, std::vector<RECT>> frames;
    for (const ControlDesign& design : frames_) {
        const DesignRect r = ScaleToDpi(design.place, dpi_);
        frames[design.parent].push_back({r.left, r.top, r.right(), r.bottom()});
    }
    for (auto& [parent, rects] : frames) {
        if (parent == 0) {
            ownFrames_ = std::move(rects);
            ::InvalidateRect(handle_, nullptr, TRUE);
        } else if (HWND panel = Control(parent)) {
            SetPanelFrames(panel, std::move(rects));
        }
    }
}

void FormWindow::PlaceControl(const ControlDesign& design, HWND control) {
    DesignRect place = ScaleToDpi(design.place, dpi_);
    if (design.place.width == 0) {
        // A label is as large as its text.
        const std::string text = WindowText(control);
        HDC dc = ::GetDC(control);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
        SIZE size{};
        ::GetTextExtentPoint32A(dc, text.empty() ? " " : text.c_str(),
                                static_cast<int>(text.empty() ? 1 : text.size()), &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(control, dc);
        place.width = size.cx + 1;
        place.height = size.cy;
    }
    ::SetWindowPos(control, nullptr, place.left, place.top, place.width, place.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::MakeFonts() {
    FreeFonts();
    const auto make = [this](int weight) {
        return ::CreateFontA(-Scale(main_form::FontPixels), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                             SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, FontFace);
    };
    font_ = make(FW_NORMAL);
    boldFont_ = make(FW_BOLD);
    if (handle_) ::SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

HFONT FormWindow::SpecialFont(const char* face, int designPixels, bool bold) {
    HFONT font = ::CreateFontA(-Scale(designPixels), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                               FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, face);
    specialFonts_.push_back(font);
    return font;
}

void FormWindow::ApplyFonts() {
    for (const ControlDesign& design : designs_) {
        const bool bold = design.kind == ControlKind::BoldButton || design.kind == ControlKind::BoldLabel;
        ::SendMessageA(Control(design.id), WM_SETFONT,
                       reinterpret_cast<WPARAM>(bold ? boldFont_ : font_), FALSE);
    }
}

void FormWindow::FreeFonts() {
    for (HFONT font : {font_, boldFont_}) if (font) ::DeleteObject(font);
    for (HFONT font : specialFonts_) ::DeleteObject(font);
    font_ = boldFont_ = nullptr;
    specialFonts_.clear();
}

void FormWindow::DpiChanged(const RECT& suggested) {
    ::SetWindowPos(handle_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int FormWindow::ShowModal() {
    // Every other window of the program takes no input meanwhile.
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectThreadWindow,
                        reinterpret_cast<LPARAM>(&disabled));
    std::vector<HWND> reenable;
    for (HWND window : disabled)
        if (window != handle_ && ::IsWindowEnabled(window) && ::IsWindowVisible(window)) {
            ::EnableWindow(window, FALSE);
            reenable.push_back(window);
        }
    modal_ = true;
    modalEnded_ = false;
    modalResult_ = 0;
    ::ShowWindow(handle_, SW_SHOW);
    ::SetForegroundWindow(handle_);
    HWND first = ::GetNextDlgTabItem(handle_, nullptr, FALSE);
    if (first) ::SetFocus(first);
    MSG message;
    while (!modalEnded_) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam));  // for the program's own loop
            break;
        }
        if (got < 0) break;
        if (!::IsDialogMessageA(handle_, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    for (HWND window : reenable) ::EnableWindow(window, TRUE);
    ::ShowWindow(handle_, SW_HIDE);
    modal_ = false;
    return modalResult_;
}

void FormWindow::EndModal(int id) {
    modalResult_ = id;
    modalEnded_ = true;
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            if (modal_) {
                EndModal(0);
                return 0;
            }
            break;
        case WM_PAINT:
            if (!ownFrames_.empty()) {
                PAINTSTRUCT paint;
                HDC dc = ::BeginPaint(handle_, &paint);
                DrawFrames(dc, ownFrames_);
                ::EndPaint(handle_, &paint);
                return 0;
            }
            break;
        case WM_NCDESTROY: {
            // The window is gone; the object may outlive it.
            HWND window = handle_;
            ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            handle_ = nullptr;
            return ::DefWindowProcA(window, message, wParam, lParam);
        }
        case WM_DPICHANGED:
            dpi_ = HIWORD(wParam);
            MakeFonts();
            ApplyFonts();
            DpiChanged(*reinterpret_cast<const RECT*>(lParam));
            PlaceControls();
            return 0;
        default: break;
    }
    return Default(message, wParam, lParam);
}

LRESULT FormWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->handle_ = window;
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<FormWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!form) return ::DefWindowProcA(window, message, wParam, lParam);
    return form->HandleMessage(message, wParam, lParam);
}

}  // namespace tovimo::win32
