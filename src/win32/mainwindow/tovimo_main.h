#pragma once
// TForm1: the main window. It shows the state of the window's logic
// (MainForm) and hands it the user's actions; it is also the view of a run.
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/drawing_tree_view.h"
#include "mainwindow/form_window.h"
#include "mainwindow/main_form.h"
#include "mainwindow/window_run_thread.h"

namespace tovimo::win32 {

class TAboutBox;
class TFileTypeDlg;
class TSkipForm;

// A message that hands the main window the paths of its command line, as a
// drop, once it is shown. It carries nothing: the paths wait in the window,
// so that the message from anywhere else does nothing.
constexpr UINT WM_TOVIMO_COMMANDLINE = WM_APP + 1;
// What Windows shows while the window holds a logoff or shutdown up.
constexpr const wchar_t* SessionEndBlockReason = L"\u5909\u63db\u4e2d\u3067\u3059";  // 変換中です

// Paths handed to the program: those in code page 932, and those it cannot
// write, shown with "?".
struct GivenPaths {
    std::vector<std::string> paths;
    std::vector<std::string> unnamed;
};

class TForm1 : public FormWindow, public MainFormHost {
public:
    // runs: the run's thread that platform names too.
    TForm1(MainFormPlatform platform, WindowRunThread& runs, std::string programFolder);
    ~TForm1() override;

    // Creates the window and its controls (FormCreate).
    bool Create();
    // The three dialogs, created after the main window.
    void SetDialogs(TAboutBox& about, TSkipForm& skip, TFileTypeDlg& fileType);
    // Shows the window (FormShow).
    void Show();
    // Takes these paths as one drop; unnamed are named in the message after it.
    void TakePaths(const std::vector<std::string>& paths,
                   const std::vector<std::string>& unnamed = {});
    // Paths to take as one drop once the window has been shown.
    void SetCommandLinePaths(GivenPaths given);

    MainForm& Logic() { return logic_; }
    DrawingTreeView& TreeView1() { return treeView_; }

    // The user's actions.
    void WMDropFiles(HDROP drop);
    void ToDxfBitBtnClick();
    void ToDwgBitBtnClick();
    void CancelBitBtnClick();
    void SettingOpenMenuClick();
    void SettingCloseBitBtnClick();
    void ShowHelpMenuClick();
    void AboutVerClick();
    void Exit1Click();

    // MainFormHost.
    DrawingKind AskFileType() override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    int AddFileIcon(const std::string& path) override;
    bool GetChildFolderChecked() override;
    void EnableCancel(bool enabled) override;
    void SetProgressRange(int maximum) override;
    void SetProgressPosition(int position) override;
    void ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) override;
    void ShowRunStatus(const std::string& text) override;
    std::optional<std::string> ChooseAcadProgram(const std::string& current) override;
    bool BrowseFolder(const std::string& title, const std::string& rootName,
                      std::string& folder) override;
    void StateChanged() override;
    void CloseWindow() override;
    void ShowAbout() override;
    void OpenFolder(const std::string& folder) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged(const RECT& suggested) override;
    void Command(int id, int code);
    void LayOut();
    void MakeMenus();
    void ShowMenuStates();
    void MakeImages();
    void MakeButtonGlyphs();
    int AppendFileIcon(const std::string& path);
    void MakeHints();
    void SetHint(int id, const std::string& text);
    void PopupMenu1(POINT at);
    // Between the logic's values and the controls.
    void PushControls();
    void PullControls();
    void PlaceWindow();
    void ChangeHeight(int delta);
    LRESULT QueryEndSession();

    MainForm logic_;
    WindowRunThread& runs_;
    const std::string programFolder_;
    GivenPaths commandLinePaths_;
    bool sessionEndBlocked_ = false;
    DrawingTreeView treeView_;
    TAboutBox* about_ = nullptr;
    TSkipForm* skip_ = nullptr;
    TFileTypeDlg* fileType_ = nullptr;
    HIMAGELIST imageList1_ = nullptr;
    std::vector<std::string> iconPaths_;  // of the drawing icons in ImageList1, in order
    std::vector<HIMAGELIST> buttonGlyphs_;
    HWND progressBar_ = nullptr;
    HWND tooltip_ = nullptr;
    HMENU menu_ = nullptr;
    HMENU fileMenu_ = nullptr;
    HMENU settingsMenu_ = nullptr;
    HMENU acadCountMenu_ = nullptr;
    bool closing_ = false;
};

}  // namespace tovimo::win32
