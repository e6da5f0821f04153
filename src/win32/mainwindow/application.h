#pragma once
// The window program as a whole: the system's objects, the application
// title, the windows created in their order (TForm1, TAboutBox, TSkipForm,
// TFileTypeDlg), and the message loop that runs until the main window closes.
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/about_box.h"
#include "mainwindow/file_type_dlg.h"
#include "mainwindow/skip_form.h"
#include "mainwindow/tovimo_main.h"
#include "mainwindow/window_run_thread.h"
#include "platform/win32_clock.h"
#include "platform/win32_file_system.h"
#include "platform/win32_message_pump.h"
#include "platform/win32_process_launcher.h"
#include "platform/win32_profile_file.h"
#include "platform/win32_text_encoding.h"
#include "platform/win32_text_files.h"
#include "platform/win32_text_order.h"
#include "platform/win32_window_system.h"

namespace tovimo::win32 {

class TovimoApplication {
public:
    // programFolder: where tovimo.ini, Pelkadu and the help page lie; the
    // program's own folder when empty.
    explicit TovimoApplication(std::string programFolder = {});
    ~TovimoApplication();

    // The title and the windows; false when a window could not be made.
    bool Create();
    // Shows the main window; paths given on the command line follow as one
    // drop once it is shown.
    void Show(GivenPaths given);
    // Runs until the main window has closed; gives the exit code.
    int Run();

    TForm1& Form1() { return *form1_; }
    TAboutBox& AboutBox() { return aboutBox_; }
    TSkipForm& SkipForm() { return skipForm_; }
    TFileTypeDlg& FileTypeDlg() { return fileTypeDlg_; }

private:
    Win32WindowSystem windows_;
    Win32Clock clock_;
    Win32MessagePump pump_;
    Win32ProcessLauncher processes_;
    Win32TextEncoding encoding_;
    Win32ProfileFile profile_;
    Win32FileSystem files_;
    Win32TextOrder order_;
    Win32TextFiles texts_;
    WindowRunThread runs_;
    HWND applicationWindow_ = nullptr;
    std::unique_ptr<TForm1> form1_;
    TAboutBox aboutBox_;
    TSkipForm skipForm_;
    TFileTypeDlg fileTypeDlg_;
    std::string programFolder_;
};

}  // namespace tovimo::win32
