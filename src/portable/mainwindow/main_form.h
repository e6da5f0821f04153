#pragma once
// The main window's logic without the window: the objects it owns, the
// settings it loads on its first showing and saves when it closes, the
// settings panel, the choice of the AutoCAD program and of the output
// folder, and the run behind the two run buttons. The Win32 form shows this
// state and hands the user's actions in.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acadlink/acad_control.h"
#include "console/run_log_lines.h"
#include "convert/conversion_view.h"
#include "convert/dwg_dxf.h"
#include "drawings/text_order.h"
#include "mainwindow/control_states.h"
#include "mainwindow/drawing_list.h"
#include "mainwindow/run_title.h"
#include "mainwindow/settings_controls.h"
#include "platform/file_system.h"
#include "platform/profile_file.h"
#include "platform/run_thread.h"
#include "platform/text_files.h"
#include "settings/settings.h"

namespace tovimo {

// The caption of the run's own messages (one blank before "メッセージ").
constexpr const char* RunMessageCaption = "Tovimo メッセージ";

struct MainFormPlatform {
    AcadPlatform acad;
    ProfileFile& profile;
    FileSystem& files;
    const TextOrder& order;
    RunThread& runs;
    TextFiles& texts;  // the run logs
};

// What the logic needs of the window around it, beyond the drawing list's
// questions and the run's view.
class MainFormHost : public DrawingListHost {
public:
    // The run's view; the logic passes its calls through.
    virtual void EnableCancel(bool enabled) = 0;
    virtual void SetProgressRange(int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) = 0;
    // A line about the run under way, shown without holding the run up (in
    // the title); empty: nothing more to tell.
    virtual void ShowRunStatus(const std::string& text) = 0;
    // OpenDialog1: the program chosen, or nothing when the user cancelled.
    virtual std::optional<std::string> ChooseAcadProgram(const std::string& current) = 0;
    // The folder picker: folder in and out; true when the user chose one.
    virtual bool BrowseFolder(const std::string& title, const std::string& rootName,
                              std::string& folder) = 0;
    // The controls' states or texts changed and are to be shown.
    virtual void StateChanged() = 0;
    // The window is to close now (a close asked for during a run).
    virtual void CloseWindow() = 0;
    // Opens the folder in Explorer.
    virtual void OpenFolder(const std::string& folder) = 0;
    // TAboutBox, modal.
    virtual void ShowAbout() = 0;
};

enum class RunDirection { ToDxf, ToDwg };

class MainForm {
public:
    MainForm(MainFormPlatform platform, MainFormHost& host, std::string programFolder);
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Creation: the list's buttons, the conversion objects with their macros,
    // the memos.
    void FormCreate();
    // Every showing; the settings are read at the first. top to height are
    // the window's values now (its design values at the first showing).
    void FormShow(int top, int left, int width, int height);
    // Asks to close. False during a run: the run is cancelled and the
    // window closes once the run has ended (the host is told with
    // CloseWindow).
    bool FormCloseQuery();
    // Closing: the settings and both macros written.
    void FormClose();
    // Whether the session may end (logoff, shutdown). False during a run,
    // which goes on: the user may still call the logoff off.
    bool QueryEndSession() const { return !running_; }
    // The session ends (ending) or was called off. When it ends, also
    // during a run, the settings are written now and the run is cancelled:
    // the process may be ended as soon as this returns.
    void EndSession(bool ending);
    // Writes into the settings file the keys and macros that the user
    // changed since this window read them, and those the file lacks; the
    // rest stays as the file has it, so that another copy's changes
    // survive. The file is replaced whole or not at all; when it cannot be
    // written the user is told, once. False when it could not be written.
    bool SaveSettings();

    // The settings panel; each gives what the window's height changes by.
    int SettingOpenMenuClick(int dpi);
    int SettingCloseBitBtnClick(int dpi);
    void AcadBitBtnClick();
    void SaveDirBitBtnClick();
    void SaveSameDirChkBoxClick(bool checked);
    // "バージョン情報". Like every modal window but the run's own, not
    // during a run.
    void AboutVerClick();

    // The menu "設定" beyond "環境設定"; none of them during a run.
    void UpdateOnlyMenuClick();
    void AcadCountMenuClick(int count);
    void RunLogMenuClick();
    // "ファイル": "実行ログのフォルダを開く" (also during a run), and the
    // menu about to open, which looks whether the folder is there.
    void OpenLogFolderMenuClick();
    void FileMenuPopup();
    // The folder "log" beside the settings file.
    std::string LogFolder() const;

    // A drop whose paths have been read; unnamed are those that code page
    // 932 cannot write, shown with "?". Not taken during a run.
    void WMDropFiles(std::vector<std::string> paths, std::vector<std::string> unnamed = {});
    void DeletePopClick();
    void AllDeletePopClick();
    void PopupMenu1Popup();

    // The run buttons and Cancel.
    void ToDxfBitBtnClick() { RunButtonClick(RunDirection::ToDxf); }
    void ToDwgBitBtnClick() { RunButtonClick(RunDirection::ToDwg); }
    void CancelBitBtnClick();
    bool RunUnderWay() const { return running_; }

    // The state the window shows; the window writes the controls' values
    // back into Controls before any operation that reads them.
    SettingsControls Controls;
    std::string ToDxfMemo;
    std::string ToDwgMemo;
    ControlStates States;
    std::string SaveDirLabel;
    std::string SaveDirHint;  // of SaveDirLabel and SaveDirBitBtn
    std::string AcadPathLabel;

    DrawingList& List() { return list_; }
    const std::string& SettingsFileName() const { return settingsFileName_; }
    bool SettingsLoaded() const { return settingsLoaded_; }
    DwgDxf* ToDxfConverter() { return toDxfConverter_.get(); }
    DwgDxf* ToDwgConverter() { return toDwgConverter_.get(); }
    const std::vector<std::string>& SourceList() const { return sourceList_; }
    const std::vector<std::string>& TargetList() const { return targetList_; }

private:
    class RunView;

    void RunButtonClick(RunDirection direction);
    // The run's log, made at its start; the user is told when it cannot be.
    void BeginRunLog(const LocalTime& start, RunDirection direction, std::vector<std::string> results);
    void ShowTitle();
    void EndTitle();
    void LookForLogFolder();
    void ApplySaveDirLook();
    void UpdateAcadPathLabel();
    void EnableAfterRun(RunDirection direction);
    void RunEnded();
    void RememberSaved();
    std::vector<ProfileEdit> SettingsEdits(const ProfileText& current,
                                           const std::vector<ProfileKeyText>& keys,
                                           const std::vector<std::string>& toDxfMacro,
                                           const std::vector<std::string>& toDwgMacro) const;

    MainFormPlatform platform_;
    MainFormHost& host_;
    const std::string programFolder_;
    std::string settingsFileName_;
    bool settingsLoaded_ = false;
    MainFormSettings lastGood_;
    std::unique_ptr<RunView> view_;
    DrawingList list_;
    std::unique_ptr<DwgDxf> toDxfConverter_;
    std::unique_ptr<DwgDxf> toDwgConverter_;
    std::vector<std::string> sourceList_;
    std::vector<std::string> targetList_;
    // Touched on the window's thread only; the run reads the lists and its
    // converter, which nothing changes while it is under way.
    bool running_ = false;
    bool closeRequested_ = false;
    RunDirection runDirection_ = RunDirection::ToDxf;
    ConvertResult runResult_ = ConvertCarriedOut;  // written by the run, read when it has ended
    bool writeFailureShown_ = false;
    // Touched on the window's thread only.
    RunTitle title_;
    // Made before a run and dropped after it; written on the run's thread.
    std::optional<RunLog> runLog_;
    std::optional<RunLogLines> logLines_;
    std::vector<std::string> logUnwritten_;  // lines the run's log never took
    // What the settings file held, as this window read or last wrote it.
    std::vector<ProfileKeyText> savedKeys_;
    std::vector<std::string> savedToDxfMacro_;
    std::vector<std::string> savedToDwgMacro_;
};

}  // namespace tovimo
