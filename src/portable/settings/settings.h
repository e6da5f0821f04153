#pragma once
// The settings of section "MainForm" of the settings file: their keys, their
// defaults and how they are read. The main window and the console program
// both read them from here.
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/profile_file.h"
#include "runlists/target_rules.h"
#include "settings/conversion_settings.h"

namespace tovimo {

// The settings file has this name whatever the program is called, and lies
// in the program's folder.
constexpr const char* SettingsFileName = "tovimo.ini";
constexpr const char* MainFormSection = "MainForm";

// The key names, spelt as the file has always spelt them ("Rewite",
// "SettingVisble").
namespace settings_key {
constexpr const char* Top = "Top";
constexpr const char* Left = "Left";
constexpr const char* Width = "Width";
constexpr const char* Height = "Height";
constexpr const char* AcadPath = "AcadPath";
constexpr const char* CommandWait = "CommandWait";
constexpr const char* StartWait = "StartWait";
constexpr const char* FileDia = "FileDia";
constexpr const char* ISaveBak = "ISaveBak";
constexpr const char* ProxyNotice = "ProxyNotice";
constexpr const char* SaveDir = "SaveDir";
constexpr const char* Rewite = "Rewite";
constexpr const char* AcadClose = "AcadClose";
constexpr const char* SaveTmpdwg = "SaveTmpdwg";
constexpr const char* SaveSameDir = "SaveSameDir";
constexpr const char* SettingVisble = "SettingVisble";
constexpr const char* GetChildFolder = "GetChildFolder";
constexpr const char* SaveChildDir = "SaveChildDir";
constexpr const char* DYNCancel = "DYNCancel";
constexpr const char* AcadArg = "AcadArg";
// The conversion's wait limits, after the window's own keys.
constexpr const char* WaitLimit = "WaitLimit";
constexpr const char* RestartLimit = "RestartLimit";
constexpr const char* RestartEvery = "RestartEvery";
// How many AutoCADs a run uses side by side.
constexpr const char* AcadCount = "AcadCount";
// The window's own (TovimoCmd has /u and /log instead, and never reads them).
constexpr const char* UpdateOnly = "UpdateOnly";
constexpr const char* RunLog = "RunLog";
// 1: AutoCAD keeps one drawing open during a run (SDI); read from the file only.
constexpr const char* SingleDocument = "SingleDocument";
}  // namespace settings_key

// Every setting of section "MainForm", each initialised to its default; the
// output folder's default is the program's folder (see DefaultSettings).
struct MainFormSettings {
    // The main window's place and size (its design values by default).
    int Top = 113;
    int Left = 203;
    int Width = 274;
    int Height = 742;
    std::string AcadPath;       // full path of the AutoCAD program; empty: none chosen
    int CommandWait = 100;      // milliseconds
    int StartWait = 15;         // seconds
    int FileDia = 1;            // FILEDIA, ISAVEBAK and PROXYNOTICE after a run
    int ISaveBak = 1;
    int ProxyNotice = 1;
    std::string SaveDir;        // the output folder
    bool Rewite = true;         // overwrite existing results
    bool AcadClose = true;      // close AutoCAD after a run
    bool SaveTmpdwg = false;    // save tmp.dwg before each drawing
    bool SaveSameDir = true;    // each result beside its drawing
    bool SettingVisble = false; // the settings panel shown
    bool GetChildFolder = false;  // walk sub-folders of given folders
    bool SaveChildDir = true;   // reproduce the sub-folders under SaveDir
    bool DYNCancel = false;     // dynamic input off during a run
    std::string AcadArg;        // AutoCAD command-line switches
    // The conversion's wait limits.
    int WaitLimit = DefaultWaitLimitSeconds;  // seconds
    // Drawings in a row that may lose AutoCAD before a run ends (0 to 100).
    int RestartLimit = DefaultRestartLimit;
    // A fresh AutoCAD after every this many drawings; 0: never (0 to 100000).
    int RestartEvery = 0;
    // AutoCADs a run uses side by side (1 to 8).
    int AcadCount = MinAcadCount;
    // The window's own: an update run, and a run log in the folder "log".
    bool UpdateOnly = false;
    bool RunLog = false;
    // 1: SDI set to 1 for a run and put back after it; 0: SDI left alone.
    int SingleDocument = 1;
};

// programFolder + "tovimo.ini"; programFolder ends in "\".
std::string SettingsFilePath(std::string_view programFolder);

// The defaults, the output folder being the program's folder (with its "\").
MainFormSettings DefaultSettings(std::string_view programFolder);

// Reads every key of "MainForm" but the window's own ("UpdateOnly",
// "RunLog"). A missing key, or an integer key that holds no integer, gives
// the default; an on/off key is on only for 1. An output folder that is not
// an existing folder becomes the program's folder, which counts as no
// output folder chosen.
MainFormSettings ReadMainFormSettings(ProfileFile& profile, FileSystem& files,
                                      const std::string& settingsFile,
                                      std::string_view programFolder);
// The window's reading: every key, with the window's place and size as the
// defaults of "Top", "Left", "Width" and "Height" (its current values).
MainFormSettings ReadMainFormSettings(ProfileFile& profile, FileSystem& files,
                                      const std::string& settingsFile,
                                      std::string_view programFolder, int top, int left, int width,
                                      int height);

// One key of section "MainForm" with its value as the file is to hold it.
struct ProfileKeyText {
    const char* key;
    std::string text;

    bool operator==(const ProfileKeyText&) const = default;
};

// The keys of the main window in their order, "Top" to "AcadArg", then
// "UpdateOnly", "AcadCount" and "RunLog" (its menu), each with the text
// that is written for its value; "WaitLimit", "RestartLimit",
// "RestartEvery" and "SingleDocument", which the window does not show, are
// not among them and stay as the file has them.
std::vector<ProfileKeyText> WindowKeyTexts(const MainFormSettings& settings);

// The values that a run of the conversion takes from the settings.
ConvertSettings RunSettings(const MainFormSettings& settings);
// Where the results of a run go.
TargetRules RunTargetRules(const MainFormSettings& settings);

}  // namespace tovimo
