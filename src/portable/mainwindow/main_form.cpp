#include "mainwindow/main_form.h"

#include <algorithm>
#include <functional>

#include "convert/macro_text.h"
#include "convert/restart_text.h"
#include "convert/result_check.h"
#include "convert/run_texts.h"
#include "convert/skipped_drawing.h"
#include "convert/up_to_date.h"
#include "mainwindow/main_form_layout.h"
#include "mainwindow/run_log_file.h"
#include "runlists/run_lists.h"
#include "settings/profile_update.h"

namespace tovimo {

namespace {
constexpr const char* ToDxfSection = "dwgtodxf";
constexpr const char* ToDwgSection = "dxftodwg";
constexpr const char* NoOutputFolderMessage = "変換後のフォルダを指定して下さい。";
constexpr const char* BrowseTitle = "変換後データ保存先";
constexpr const char* BrowseRoot = "ﾏｲ ｺﾝﾋﾟｭｰﾀ";
constexpr const char* UpdateOnlyName = "「更新された図面だけ変換」";
}  // namespace

// The conversion objects' view. The run calls it from its own thread; every
// call is carried over to the window's thread, where the window's state
// lives.
class MainForm::RunView : public ConversionView {
public:
    RunView(MainForm& form) : form_(form) {}

    void ShowMessage(const std::string& text, const std::string& caption) override {
        OnWindow([&] { form_.host_.ShowMessage(text, caption); });
    }
    void EnableCancel(bool enabled) override {
        OnWindow([&] {
            // Disabled at the run's end: the title is the caption again.
            if (!enabled) form_.EndTitle();
            form_.States.CancelBitBtn = enabled;
            form_.host_.EnableCancel(enabled);
        });
    }
    void SetProgressRange(int maximum) override {
        OnWindow([&] { form_.host_.SetProgressRange(maximum); });
    }
    void SetProgressPosition(int position) override {
        OnWindow([&] { form_.host_.SetProgressPosition(position); });
    }
    void DrawingStarting(int index, const std::string&) override {
        if (form_.logLines_) form_.logLines_->Starting(static_cast<std::size_t>(index));
        const std::int64_t now = form_.platform_.acad.clock.NowMs();
        OnWindow([&] { form_.title_.DrawingStarting(index, now); });
    }
    void DrawingEnded(int index, const std::string& source, std::optional<SkipReason> reason,
                      const std::string& acadShown) override {
        if (form_.logLines_)
            form_.logLines_->Ended(static_cast<std::size_t>(index), source, reason, acadShown);
        const std::int64_t now = form_.platform_.acad.clock.NowMs();
        OnWindow([&] {
            form_.title_.DrawingEnded(index, now);
            form_.ShowTitle();
        });
    }
    void ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) override {
        OnWindow([&] {
            form_.EndTitle();
            form_.host_.ShowSkippedDrawings(skipped);
        });
    }
    void AcadRestarting(int number, RestartCause cause) override {
        ShowStatus(RestartText(number, cause));
    }
    void AcadEndedUnstarted(int session, int left) override {
        ShowStatus(UnstartedAcadText(session, left));
    }
    void SingleDocumentRefused() override {
        ShowStatus(SingleDocumentRefusedText);
    }

private:
    void OnWindow(const std::function<void()>& call) { form_.platform_.runs.OnWindowThread(call); }
    // Every text about the run under way reaches the title this one way,
    // and holds it until the next drawing ends.
    void ShowStatus(const std::string& text) {
        OnWindow([&] {
            form_.title_.Status(text);
            form_.ShowTitle();
        });
    }

    MainForm& form_;
};

MainForm::MainForm(MainFormPlatform platform, MainFormHost& host, std::string programFolder)
    : platform_(platform),
      host_(host),
      programFolder_(std::move(programFolder)),
      lastGood_(DefaultSettings(programFolder_)),
      view_(std::make_unique<RunView>(*this)),
      list_(platform.files, platform.order, host, States) {}

MainForm::~MainForm() = default;

void MainForm::FormCreate() {
    list_.DwgSelected = list_.DxfSelected = false;
    list_.DisableButtons();
    settingsLoaded_ = false;
    settingsFileName_ = SettingsFilePath(programFolder_);
    toDxfConverter_ = std::make_unique<DwgDxf>(platform_.acad, platform_.profile, platform_.files,
                                               *view_, settingsFileName_, ToDxfSection);
    toDwgConverter_ = std::make_unique<DwgDxf>(platform_.acad, platform_.profile, platform_.files,
                                               *view_, settingsFileName_, ToDwgSection);
    // The window writes the macros itself, together with its settings.
    toDxfConverter_->SetWriteBack(false);
    toDwgConverter_->SetWriteBack(false);
    savedToDwgMacro_ = toDwgConverter_->MacroLines;
    savedToDxfMacro_ = toDxfConverter_->MacroLines;
    ToDwgMemo = JoinMemoLines(toDwgConverter_->MacroLines);
    ToDxfMemo = JoinMemoLines(toDxfConverter_->MacroLines);
    list_.DropList.clear();
    sourceList_.clear();
    targetList_.clear();
}

void MainForm::FormShow(int top, int left, int width, int height) {
    if (!settingsLoaded_) {
        settingsLoaded_ = true;
        lastGood_ = ReadMainFormSettings(platform_.profile, platform_.files, settingsFileName_,
                                         programFolder_, top, left, width, height);
        Controls = ShowSettings(lastGood_);
        savedKeys_ = WindowKeyTexts(SettingsToSave(Controls, lastGood_));
        toDxfConverter_->SetAcadPath(Controls.AcadPath);
        toDwgConverter_->SetAcadPath(Controls.AcadPath);
        ApplySaveDirLook();
        list_.FileIconIndex = -1;
    }
    LookForLogFolder();
    UpdateAcadPathLabel();
    host_.StateChanged();
}

bool MainForm::FormCloseQuery() {
    if (!running_) return true;
    closeRequested_ = true;
    CancelBitBtnClick();
    return false;
}

void MainForm::FormClose() {
    SaveSettings();
    sourceList_.clear();
    targetList_.clear();
    list_.DropList.clear();
    toDxfConverter_.reset();
    toDwgConverter_.reset();
}

void MainForm::EndSession(bool ending) {
    if (!ending) return;
    SaveSettings();
    if (running_) CancelBitBtnClick();
}

bool MainForm::SaveSettings() {
    if (!settingsLoaded_) return true;
    const std::vector<ProfileKeyText> keys = WindowKeyTexts(SettingsToSave(Controls, lastGood_));
    const std::vector<std::string> toDxfMacro = SplitMemoText(ToDxfMemo);
    const std::vector<std::string> toDwgMacro = SplitMemoText(ToDwgMemo);
    const bool written =
        UpdateProfileFile(platform_.profile, settingsFileName_, [&](const ProfileText& current) {
            return SettingsEdits(current, keys, toDxfMacro, toDwgMacro);
        });
    if (written) {
        savedKeys_ = keys;
        savedToDxfMacro_ = toDxfMacro;
        savedToDwgMacro_ = toDwgMacro;
    } else if (!writeFailureShown_) {
        writeFailureShown_ = true;
        host_.ShowMessage(settingsFileName_ + " に書き込めません", "Tovimo");
    }
    return written;
}

std::vector<ProfileEdit> MainForm::SettingsEdits(const ProfileText& current,
                                                 const std::vector<ProfileKeyText>& keys,
                                                 const std::vector<std::string>& toDxfMacro,
                                                 const std::vector<std::string>& toDwgMacro) const {
    std::vector<ProfileEdit> edits;
    const auto inFile = [&](const char* section, const char* key) {
        return current.state == ProfileText::State::Read &&
               ProfileTextHasKey(current.text, section, key);
    };
    for (const ProfileKeyText& key : keys) {
        const bool changed = std::find(savedKeys_.begin(), savedKeys_.end(), key) == savedKeys_.end();
        if (changed || !inFile(MainFormSection, key.key))
            edits.push_back({MainFormSection, key.key, key.text});
    }
    const auto macro = [&](const char* section, const std::vector<std::string>& lines,
                           const std::vector<std::string>& saved) {
        if (lines == saved && inFile(section, "MACRO_LINES")) return;
        const std::vector<ProfileEdit> sectionEdits =
            MacroSectionEdits(section, lines, ProfileKeyNamesIn(current.text, section));
        edits.insert(edits.end(), sectionEdits.begin(), sectionEdits.end());
    };
    macro(ToDxfSection, toDxfMacro, savedToDxfMacro_);
    macro(ToDwgSection, toDwgMacro, savedToDwgMacro_);
    return edits;
}

int MainForm::SettingOpenMenuClick(int dpi) {
    if (Controls.Panel2Visible) return 0;
    Controls.Panel2Visible = true;
    return SettingsStep(dpi);
}

int MainForm::SettingCloseBitBtnClick(int dpi) {
    if (!Controls.Panel2Visible) return 0;
    Controls.Panel2Visible = false;
    return -SettingsStep(dpi);
}

void MainForm::AcadBitBtnClick() {
    if (running_) return;
    const std::optional<std::string> chosen = host_.ChooseAcadProgram(Controls.AcadPath);
    if (!chosen) return;
    Controls.AcadPath = *chosen;
    toDxfConverter_->SetAcadPath(Controls.AcadPath);
    toDwgConverter_->SetAcadPath(Controls.AcadPath);
    UpdateAcadPathLabel();
    host_.StateChanged();
}

void MainForm::SaveDirBitBtnClick() {
    if (running_) return;
    std::string folder =
        platform_.files.DirectoryExists(Controls.SaveDir) ? Controls.SaveDir : BrowseRoot;
    host_.BrowseFolder(BrowseTitle, BrowseRoot, folder);
    // After a cancel the picker hands back the start folder, or nothing when
    // that was no folder; an empty output folder is refused by the run.
    Controls.SaveDir = folder;
    ApplySaveDirLook();
    host_.StateChanged();
}

void MainForm::SaveSameDirChkBoxClick(bool checked) {
    Controls.SaveSameDirChkBox = checked;
    ApplySaveDirLook();
    host_.StateChanged();
}

void MainForm::AboutVerClick() {
    if (running_) return;
    host_.ShowAbout();
}

void MainForm::UpdateOnlyMenuClick() {
    if (running_) return;
    Controls.UpdateOnlyMenu = !Controls.UpdateOnlyMenu;
    host_.StateChanged();
}

void MainForm::AcadCountMenuClick(int count) {
    if (running_ || count < MinAcadCount || count > MaxAcadCount) return;
    Controls.AcadCountMenu = count;
    host_.StateChanged();
}

void MainForm::RunLogMenuClick() {
    if (running_) return;
    Controls.RunLogMenu = !Controls.RunLogMenu;
    host_.StateChanged();
}

std::string MainForm::LogFolder() const { return RunLogFolder(programFolder_); }

void MainForm::LookForLogFolder() {
    States.OpenLogFolderMenu = platform_.files.DirectoryExists(LogFolder());
}

void MainForm::FileMenuPopup() {
    LookForLogFolder();
    host_.StateChanged();
}

void MainForm::OpenLogFolderMenuClick() {
    LookForLogFolder();
    if (States.OpenLogFolderMenu) host_.OpenFolder(LogFolder());
    host_.StateChanged();
}

void MainForm::ApplySaveDirLook() {
    const SaveDirLook look = ApplySaveSameDir(Controls.SaveSameDirChkBox, Controls.SaveDir);
    SaveDirLabel = look.labelText;
    SaveDirHint = look.hint;
    // During a run the output folder stays locked whatever the tick says.
    States.SaveDirBitBtn = look.outputControlsEnabled && !running_;
    States.SaveChildDirCheckBox = look.outputControlsEnabled;
}

void MainForm::UpdateAcadPathLabel() { AcadPathLabel = AcadPathLabelText(Controls.AcadPath); }

void MainForm::WMDropFiles(std::vector<std::string> paths, std::vector<std::string> unnamed) {
    // A drop during a run would enable a run button and could ask a
    // question that holds the run up; the run's lists are made already.
    if (running_) return;
    list_.TakeDrop(std::move(paths), std::move(unnamed));
    host_.StateChanged();
}

void MainForm::DeletePopClick() {
    if (running_) return;
    list_.DeletePopClick();
    host_.StateChanged();
}

void MainForm::AllDeletePopClick() {
    if (running_) return;
    list_.AllDeletePopClick();
    host_.StateChanged();
}

void MainForm::PopupMenu1Popup() {
    list_.PopupMenu1Popup();
    if (running_) States.DeletePop = false;
    host_.StateChanged();
}

void MainForm::CancelBitBtnClick() {
    if (toDxfConverter_) toDxfConverter_->Canceled = true;
    if (toDwgConverter_) toDwgConverter_->Canceled = true;
}

void MainForm::RunButtonClick(RunDirection direction) {
    const bool toDxf = direction == RunDirection::ToDxf;
    // The button may be pressed by the keyboard or a message as well as by
    // a click: only the enabled run button of the list's kind starts a run,
    // and never a second one.
    if (running_ || !toDxfConverter_ || !(toDxf ? States.ToDxfBitBtn : States.ToDwgBitBtn))
        return;
    const TargetRules rules{Controls.SaveSameDirChkBox, Controls.SaveDir,
                            Controls.SaveChildDirCheckBox};
    if (!OutputFolderChosen(rules, programFolder_)) {
        host_.ShowMessage(NoOutputFolderMessage, DropMessageCaption);
        return;
    }
    const RunSettingsRead read = ReadRunSettings(Controls, lastGood_);
    if (!read.settings) {
        host_.ShowMessage(read.error, DropMessageCaption);
        return;
    }
    const char* section = toDxf ? ToDxfSection : ToDwgSection;
    const std::vector<std::string> macro = SplitMemoText(toDxf ? ToDxfMemo : ToDwgMemo);
    // Only a macro that names the result tells which file an update compares.
    const bool update = Controls.UpdateOnlyMenu;
    if (update && !MacroNamesResult(macro)) {
        host_.ShowMessage(UpdateNeedsSaveFileMessage(UpdateOnlyName, section), DropMessageCaption);
        return;
    }
    const LocalTime start = platform_.acad.clock.LocalNow();

    running_ = true;
    runDirection_ = direction;
    (toDxf ? States.ToDxfBitBtn : States.ToDwgBitBtn) = false;
    States.ClearBitBtn = States.AllDeletePop = States.DeletePop = false;
    States.CloseBitBtn = States.SaveDirBitBtn = false;
    States.AcadBitBtn = States.AboutVer = States.TreeLabelEdit = false;
    States.RunOptionMenus = false;
    // A Cancel from now on holds, however long AutoCAD takes to start.
    toDxfConverter_->Canceled = false;
    toDwgConverter_->Canceled = false;
    States.CancelBitBtn = true;
    host_.StateChanged();

    DwgDxf& converter = toDxf ? *toDxfConverter_ : *toDwgConverter_;
    RunLists lists = BuildRunLists(platform_.files, list_.Drawings(), rules);
    if (!lists.ok) {
        sourceList_ = lists.SourceList;
        targetList_ = lists.TargetList;
        host_.ShowMessage("変換後のフォルダを作成できません: " + lists.failedFolder,
                          DropMessageCaption);
        runResult_ = ConvertRefused;
        RunEnded();
        return;
    }
    const std::string_view extension = ResultExtension(section);
    if (Controls.RunLogMenu)
        BeginRunLog(start, direction, LoggedResults(lists, rules, MacroNamesResult(macro), extension));
    converter.EndNote.clear();
    std::vector<std::string> keptResults;
    bool nothingToConvert = false;
    if (update) {
        UpdateSelection selection = SelectOutOfDate(platform_.files, lists, rules, extension);
        if (logLines_) logLines_->PassOver(selection, lists.SourceList);
        lists = std::move(selection.toConvert);
        keptResults = std::move(selection.keptResults);
        nothingToConvert = selection.NothingToConvert();
        converter.EndNote = PassedOverText(selection.upToDate.size());
    }
    sourceList_ = lists.SourceList;
    targetList_ = lists.TargetList;
    ConvertSettings settings = *read.settings;
    // What an update run does convert replaces an older result.
    if (update) settings.Rewite = true;
    if (nothingToConvert) {
        // Every result is up to date, or taken by an earlier drawing: no
        // AutoCAD is started, and those whose result is taken are listed.
        std::vector<SkippedDrawing> listed = ListedAsTaken(sourceList_);
        if (logLines_) logLines_->Rest(sourceList_, RunEndLogReason(ConvertCarriedOut, false), listed);
        runResult_ = ConvertCarriedOut;
        // A held log is waited for off the window, as after a run.
        platform_.runs.Start([this] { if (runLog_) logUnwritten_ = runLog_->Finish(); },
                             [this, listed = std::move(listed), note = converter.EndNote] {
                                 if (!listed.empty()) host_.ShowSkippedDrawings(listed);
                                 host_.ShowMessage(RunEndMessage(false, note), RunEndCaption);
                                 RunEnded();
                             });
        return;
    }
    title_.Begin(static_cast<int>(sourceList_.size()), settings.AcadCount);
    ShowTitle();
    converter.MacroLines = macro;
    platform_.runs.Start(
        [this, &converter, settings, keptResults = std::move(keptResults)] {
            runResult_ = converter.ConvertFiles(sourceList_, targetList_, settings, keptResults);
            if (logLines_)
                logLines_->Rest(sourceList_, RunEndLogReason(runResult_, converter.Canceled),
                                converter.LastSkipped());
            // Lines a held log could not take are tried again here, off the window.
            if (runLog_) logUnwritten_ = runLog_->Finish();
        },
        [this] { RunEnded(); });
}

void MainForm::BeginRunLog(const LocalTime& start, RunDirection direction,
                           std::vector<std::string> results) {
    MadeRunLog made = MakeRunLog(platform_.files, platform_.texts, platform_.acad.clock, LogFolder(), start,
                                 direction == RunDirection::ToDxf ? "dxf" : "dwg");
    LookForLogFolder();
    host_.StateChanged();
    if (!made.log) {
        // Said once; the run goes on without its log.
        host_.ShowMessage("実行ログを作成できません: " + made.path, RunMessageCaption);
        return;
    }
    runLog_.emplace(std::move(*made.log));
    logLines_.emplace(*runLog_, platform_.acad.clock, std::move(results));
}

void MainForm::ShowTitle() { host_.ShowRunStatus(title_.Text()); }

void MainForm::EndTitle() {
    if (!title_.Running()) return;
    title_.End();
    host_.ShowRunStatus("");
}

void MainForm::RunEnded() {
    EndTitle();
    if (runLog_ && !logUnwritten_.empty())
        host_.ShowMessage("実行ログに書き込めなかった行があります (" +
                              std::to_string(logUnwritten_.size()) + " 行): " + runLog_->Path(),
                          RunMessageCaption);
    logUnwritten_.clear();
    logLines_.reset();
    runLog_.reset();
    switch (runResult_) {
        case ConvertOtherAcadRunning: host_.ShowMessage(OtherAcadRunningMessage, RunMessageCaption); break;
        case ConvertStartFailed: host_.ShowMessage(AcadStartFailedMessage, RunMessageCaption); break;
        case ConvertCarriedOut:
        case ConvertRefused: break;
    }
    EnableAfterRun(runDirection_);
    if (closeRequested_) host_.CloseWindow();
}

void MainForm::EnableAfterRun(RunDirection direction) {
    running_ = false;
    (direction == RunDirection::ToDxf ? States.ToDxfBitBtn : States.ToDwgBitBtn) = true;
    States.ClearBitBtn = States.AllDeletePop = States.DeletePop = true;
    States.CloseBitBtn = true;
    States.AcadBitBtn = States.AboutVer = States.TreeLabelEdit = true;
    States.RunOptionMenus = true;
    States.CancelBitBtn = false;
    ApplySaveDirLook();
    LookForLogFolder();
    host_.StateChanged();
}

}  // namespace tovimo
