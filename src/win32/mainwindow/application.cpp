#include "mainwindow/application.h"

#include <commctrl.h>

namespace tovimo::win32 {

TovimoApplication::TovimoApplication(std::string programFolder)
    : programFolder_(std::move(programFolder)) {}

TovimoApplication::~TovimoApplication() {
    form1_.reset();
    if (applicationWindow_) ::DestroyWindow(applicationWindow_);
}

bool TovimoApplication::Create() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                        ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The application's title: a hidden window named "Tovimo", as the
    // program's own window that the folder picker is owned by.
    applicationWindow_ = ::CreateWindowExA(0, "STATIC", "Tovimo", WS_POPUP, 0, 0, 0, 0, nullptr,
                                           nullptr, ::GetModuleHandleA(nullptr), nullptr);
    form1_ = std::make_unique<TForm1>(
        MainFormPlatform{{windows_, clock_, pump_, processes_, encoding_}, profile_, files_, order_,
                         runs_, texts_},
        runs_, programFolder_.empty() ? processes_.ProgramFolder() : programFolder_);
    if (!form1_->Create()) return false;
    HWND owner = form1_->Handle();
    // What the shell shows while it opens "Drawing1.dwg" belongs to the window.
    processes_.SetOwnerWindow(owner);
    if (!aboutBox_.Create(owner) || !skipForm_.Create(owner) || !fileTypeDlg_.Create(owner))
        return false;
    form1_->SetDialogs(aboutBox_, skipForm_, fileTypeDlg_);
    return true;
}

void TovimoApplication::Show(GivenPaths given) {
    form1_->Show();
    if (given.paths.empty() && given.unnamed.empty()) return;
    form1_->SetCommandLinePaths(std::move(given));
    ::PostMessageA(form1_->Handle(), WM_TOVIMO_COMMANDLINE, 0, 0);
}

int TovimoApplication::Run() {
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        HWND main = form1_->Handle();
        if (main && ::IsDialogMessageA(main, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace tovimo::win32
