#include "mainwindow/main_form.h"

#include <algorithm>
#include <functional>

#include "convert/macro_text.h"
#include "convert/restart_text.h"
#include "convert/run_texts.h"
#include "mainwindow/main_form_layout.h"
#include "runlists/run_lists.h"
#include "settings/profile_update.h"

namespace tovimo {

namespace {
constexpr const char* ToDxfSection = "dwgtodxf";
constexpr const char* ToDwgSection = "dxftodwg";
constexpr const char* NoOutputFolderMessage = "変換後のフォルダを指定して下さい。";
constexpr const char* OtherAcadMessage = "起動中のAuto CADを終了させてください。";
constexpr const char* StartFailedMessage = "Auto CADを起動できません";
constexpr const char* BrowseTitle = "変換後データ保存先";
constexpr const char* BrowseRoot = "ﾏｲ ｺﾝﾋﾟｭｰﾀ";
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
    void ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) override {
        OnWindow([&] { form_.host_.ShowSkippedDrawings(skipped); });
    }
    void AcadRestarting(int number, RestartCause cause) override {
        OnWindow([&] { form_.host_.ShowRunStatus(RestartText(number, cause)); });
    }
    void SingleDocumentRefused() override {
        OnWindow([&] { form_.host_.ShowRunStatus(SingleDocumentRefusedText); });
    }

private:
    void OnWindow(const std::function<void()>& call) { form_.platform_.runs.OnWindowThread(call); }

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

void MainForm::EndSession() { SaveSettings(); }

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

    running_ = true;
    runDirection_ = direction;
    (toDxf ? States.ToDxfBitBtn : States.ToDwgBitBtn) = false;
    States.ClearBitBtn = States.AllDeletePop = States.DeletePop = false;
    States.CloseBitBtn = States.SaveDirBitBtn = false;
    States.AcadBitBtn = States.AboutVer = States.TreeLabelEdit = false;
    // A Cancel from now on holds, however long AutoCAD takes to start.
    toDxfConverter_->Canceled = false;
    toDwgConverter_->Canceled = false;
    States.CancelBitBtn = true;
    host_.StateChanged();

    DwgDxf& converter = toDxf ? *toDxfConverter_ : *toDwgConverter_;
    const RunLists lists = BuildRunLists(platform_.files, list_.Drawings(), rules);
    sourceList_ = lists.SourceList;
    targetList_ = lists.TargetList;
    if (!lists.ok) {
        host_.ShowMessage("変換後のフォルダを作成できません: " + lists.failedFolder,
                          DropMessageCaption);
        runResult_ = ConvertRefused;
        RunEnded();
        return;
    }
    converter.MacroLines = SplitMemoText(toDxf ? ToDxfMemo : ToDwgMemo);
    const ConvertSettings settings = *read.settings;
    platform_.runs.Start(
        [this, &converter, settings] {
            runResult_ = converter.ConvertFiles(sourceList_, targetList_, settings);
        },
        [this] { RunEnded(); });
}

void MainForm::RunEnded() {
    host_.ShowRunStatus("");
    switch (runResult_) {
        case ConvertOtherAcadRunning: host_.ShowMessage(OtherAcadMessage, RunMessageCaption); break;
        case ConvertStartFailed: host_.ShowMessage(StartFailedMessage, RunMessageCaption); break;
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
    States.CancelBitBtn = false;
    ApplySaveDirLook();
    host_.StateChanged();
}

}  // namespace tovimo
