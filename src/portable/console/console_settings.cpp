#include "console/console_settings.h"

#include "convert/run_texts.h"
#include "runlists/run_lists.h"
#include "settings/profile_values.h"
#include "settings/setting_ranges.h"

namespace tovimo {

namespace {

// The integer keys that a run uses.
const char* const RunIntegerKeys[] = {
    settings_key::CommandWait, settings_key::StartWait, settings_key::FileDia,
    settings_key::ISaveBak,    settings_key::ProxyNotice, settings_key::WaitLimit,
    settings_key::RestartLimit, settings_key::RestartEvery,
    settings_key::AcadCount,   settings_key::SingleDocument,
};

void CheckIntegers(ProfileFile& profile, const std::string& file,
                   std::vector<std::string>& errors) {
    for (const char* key : RunIntegerKeys) {
        const std::string raw = ReadProfileString(profile, file, MainFormSection, key, "");
        if (!raw.empty() && !ParseProfileInteger(raw))
            errors.push_back(std::string("設定 ") + key + " の値が整数ではありません: \"" + raw + "\"");
    }
}

void CheckRanges(const MainFormSettings& s, std::vector<std::string>& errors) {
    const auto check = [&](const char* key, int value) {
        const SettingRange* range = FindSettingRange(key);
        if (range && !range->Holds(value)) errors.push_back(KeyRangeMessage(*range, value));
    };
    check(settings_key::CommandWait, s.CommandWait);
    check(settings_key::StartWait, s.StartWait);
    check(settings_key::WaitLimit, s.WaitLimit);
    check(settings_key::SingleDocument, s.SingleDocument);
    const auto inRange = [&](const char* key, const char* meaning, int value, int maximum) {
        if (value < 0 || value > maximum)
            errors.push_back(std::string("設定 ") + key + " (" + meaning + ") は 0 から " +
                             std::to_string(maximum) + " にしてください: " + std::to_string(value));
    };
    inRange(settings_key::RestartLimit, "AutoCADの再起動の上限", s.RestartLimit, MaxRestartLimit);
    inRange(settings_key::RestartEvery, "AutoCADを起動し直す図面の数", s.RestartEvery,
            MaxRestartEvery);
}

void CheckAcadCount(const MainFormSettings& s, std::vector<std::string>& errors) {
    if (s.AcadCount < MinAcadCount || s.AcadCount > MaxAcadCount)
        errors.push_back(AcadCountRangeMessage(s.AcadCount));
    else if (s.AcadCount > 1 && s.AcadPath.empty())
        errors.push_back(AcadCountNeedsPathMessage());
}

void ApplyOptions(FileSystem& files, const CommandArguments& arguments,
                  std::string_view programFolder, MainFormSettings& s,
                  std::vector<std::string>& errors) {
    if (arguments.acadCount) {
        const std::optional<int> count = ParseProfileInteger(*arguments.acadCount);
        if (!count) {
            errors.push_back("/j の後には同時に起動するAutoCADの数 (1 から 8) を指定してください: " +
                             *arguments.acadCount);
            s.AcadCount = MinAcadCount;
        } else {
            s.AcadCount = *count;
        }
    }
    if (arguments.childFolders) s.GetChildFolder = *arguments.childFolders;
    if (arguments.saveChildDir) s.SaveChildDir = *arguments.saveChildDir;
    if (arguments.rewrite) s.Rewite = *arguments.rewrite;
    // What an update run does convert replaces an older result.
    if (arguments.update) s.Rewite = true;
    if (arguments.saveDir) {
        // AutoCAD has a current folder of its own: it is told full paths only.
        s.SaveSameDir = false;
        s.SaveDir = files.FullPathName(*arguments.saveDir);
        if (!files.DirectoryExists(s.SaveDir))
            errors.push_back("変換後のフォルダがありません: " + s.SaveDir);
    } else if (!OutputFolderChosen(RunTargetRules(s), programFolder)) {
        errors.push_back("変換後のフォルダを指定して下さい。");
        errors.push_back("  (設定ファイルの SaveDir、または /o で指定します)");
    }
}

}  // namespace

std::string ConsoleSettingsFile(FileSystem& files, const CommandArguments& arguments,
                                std::string_view programFolder) {
    if (arguments.iniFile) return files.FullPathName(*arguments.iniFile);
    return SettingsFilePath(programFolder);
}

ConsoleSettingsResult ReadConsoleSettings(ProfileFile& profile, FileSystem& files,
                                          const CommandArguments& arguments,
                                          std::string_view programFolder) {
    ConsoleSettingsResult result;
    ConsoleSettings loaded;
    loaded.file = ConsoleSettingsFile(files, arguments, programFolder);
    switch (files.GetPathKind(loaded.file)) {
        case PathKind::File: break;
        case PathKind::Missing:
            result.errors.push_back("設定ファイルがありません: " + loaded.file);
            return result;
        case PathKind::Folder:
            result.errors.push_back("設定ファイルではなくフォルダです: " + loaded.file);
            return result;
    }
    CheckIntegers(profile, loaded.file, result.errors);
    loaded.settings = ReadMainFormSettings(profile, files, loaded.file, programFolder);
    CheckRanges(loaded.settings, result.errors);
    ApplyOptions(files, arguments, programFolder, loaded.settings, result.errors);
    CheckAcadCount(loaded.settings, result.errors);
    if (result.errors.empty()) result.settings = std::move(loaded);
    return result;
}

}  // namespace tovimo
