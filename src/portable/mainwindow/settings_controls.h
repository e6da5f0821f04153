#pragma once
// The settings as the main window's controls hold them between loading and
// saving: the edit fields as the texts the user typed, the ticks, the
// window's place, and the two fields AcadPath and SaveDir. Turning them into
// settings to save, or into the values of a run, is decided here.
#include <optional>
#include <string>

#include "convert/dwg_dxf.h"
#include "settings/settings.h"

namespace tovimo {

struct SettingsControls {
    int Top = 0;
    int Left = 0;
    int Width = 0;
    int Height = 0;
    std::string AcadPath;
    std::string CommandWaitEdit;
    std::string AcadStartEdit;
    std::string FileDiaEdit;
    std::string ISaveBakEdit;
    std::string ProxyNoticeEdit;
    std::string SaveDir;
    bool RewiteChkBox = false;
    bool AcadCloseChkBox = false;
    bool savetmpdwgChkBox = false;
    bool SaveSameDirChkBox = false;
    bool Panel2Visible = false;
    bool GetChildFolderCheckBox = false;
    bool SaveChildDirCheckBox = false;
    bool DYNCancelChkBox = false;
    std::string AcadArgEdit;
    // The menu "設定": "更新された図面だけ変換", the radio item of
    // "同時に使うAutoCAD" that is checked (none when the file holds a number
    // outside 1 to 8), "実行ログを残す".
    bool UpdateOnlyMenu = false;
    int AcadCountMenu = 1;
    bool RunLogMenu = false;
};

// What the controls show for loaded settings.
SettingsControls ShowSettings(const MainFormSettings& settings);

// The settings to write at close. An edit field that holds no integer keeps
// the value of lastGood (the loaded one, else the default), so a slip of the
// keyboard never costs a stored value nor keeps the window from closing.
MainFormSettings SettingsToSave(const SettingsControls& controls, const MainFormSettings& lastGood);

struct RunSettingsRead {
    std::optional<ConvertSettings> settings;
    // When refused: the message naming the field.
    std::string error;
};

// The values of a run, read from the controls; what the window does not
// show (the wait limit, SingleDocument) comes from lastGood. A wait or a
// system-variable value that is no integer, or a value outside its range,
// refuses the run before anything is started.
RunSettingsRead ReadRunSettings(const SettingsControls& controls, const MainFormSettings& lastGood);

// An edit field's integer: decimal digits with an optional sign, blanks
// around them allowed.
std::optional<int> ParseEditInteger(const std::string& text);

// What "同じフォルダに保存" does to the output-folder controls.
struct SaveDirLook {
    std::string labelText;  // SaveDirLabel
    std::string hint;       // SaveDirLabel's hint
    bool outputControlsEnabled = false;  // SaveDirBitBtn and SaveChildDirCheckBox
};
SaveDirLook ApplySaveSameDir(bool checked, const std::string& saveDir);

// The text of AcadPathLabel: "指定なし" for no program, else the name of
// the folder that holds the program, or "再設定下さい" when it has none.
std::string AcadPathLabelText(const std::string& acadPath);

}  // namespace tovimo
