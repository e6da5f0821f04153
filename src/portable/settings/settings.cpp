#include "settings/settings.h"

#include "settings/profile_values.h"

#include <type_traits>

namespace tovimo {

namespace {

// The keys of the main window in the order they are read and written, each
// with its setting: "Top" to "AcadArg", then those of its menu ("WaitLimit",
// "RestartLimit" and "RestartEvery" are not the window's). withOwn: also
// the keys only the window reads.
template <typename Settings, typename Visit>
void ForEachWindowKey(Settings& s, Visit&& visit, bool withOwn = true) {
    namespace key = settings_key;
    visit(key::Top, s.Top);
    visit(key::Left, s.Left);
    visit(key::Width, s.Width);
    visit(key::Height, s.Height);
    visit(key::AcadPath, s.AcadPath);
    visit(key::CommandWait, s.CommandWait);
    visit(key::StartWait, s.StartWait);
    visit(key::FileDia, s.FileDia);
    visit(key::ISaveBak, s.ISaveBak);
    visit(key::ProxyNotice, s.ProxyNotice);
    visit(key::SaveDir, s.SaveDir);
    visit(key::Rewite, s.Rewite);
    visit(key::AcadClose, s.AcadClose);
    visit(key::SaveTmpdwg, s.SaveTmpdwg);
    visit(key::SaveSameDir, s.SaveSameDir);
    visit(key::SettingVisble, s.SettingVisble);
    visit(key::GetChildFolder, s.GetChildFolder);
    visit(key::SaveChildDir, s.SaveChildDir);
    visit(key::DYNCancel, s.DYNCancel);
    visit(key::AcadArg, s.AcadArg);
    if (withOwn) visit(key::UpdateOnly, s.UpdateOnly);
    visit(key::AcadCount, s.AcadCount);
    if (withOwn) visit(key::RunLog, s.RunLog);
}

MainFormSettings ReadSettings(ProfileFile& profile, FileSystem& files,
                              const std::string& settingsFile, std::string_view programFolder,
                              const MainFormSettings& place, bool withOwn) {
    const std::string section = MainFormSection;
    MainFormSettings s = DefaultSettings(programFolder);
    s.Top = place.Top;
    s.Left = place.Left;
    s.Width = place.Width;
    s.Height = place.Height;
    const auto read = [&](const char* name, auto& value) {
        using Value = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<Value, int>) {
            value = ReadProfileInteger(profile, settingsFile, section, name, value);
        } else if constexpr (std::is_same_v<Value, bool>) {
            value = ReadProfileBool(profile, settingsFile, section, name, value);
        } else {
            value = ReadProfileString(profile, settingsFile, section, name, value);
        }
    };
    ForEachWindowKey(s, read, withOwn);
    if (!files.DirectoryExists(s.SaveDir)) s.SaveDir = std::string(programFolder);
    read(settings_key::WaitLimit, s.WaitLimit);
    read(settings_key::RestartLimit, s.RestartLimit);
    read(settings_key::RestartEvery, s.RestartEvery);
    read(settings_key::SingleDocument, s.SingleDocument);
    return s;
}

}  // namespace

std::string SettingsFilePath(std::string_view programFolder) {
    return std::string(programFolder) + SettingsFileName;
}

MainFormSettings DefaultSettings(std::string_view programFolder) {
    MainFormSettings settings;
    settings.SaveDir = std::string(programFolder);
    return settings;
}

MainFormSettings ReadMainFormSettings(ProfileFile& profile, FileSystem& files,
                                      const std::string& settingsFile,
                                      std::string_view programFolder) {
    return ReadSettings(profile, files, settingsFile, programFolder, MainFormSettings(), false);
}

MainFormSettings ReadMainFormSettings(ProfileFile& profile, FileSystem& files,
                                      const std::string& settingsFile,
                                      std::string_view programFolder, int top, int left, int width,
                                      int height) {
    MainFormSettings place;
    place.Top = top;
    place.Left = left;
    place.Width = width;
    place.Height = height;
    return ReadSettings(profile, files, settingsFile, programFolder, place, true);
}

std::vector<ProfileKeyText> WindowKeyTexts(const MainFormSettings& settings) {
    std::vector<ProfileKeyText> texts;
    ForEachWindowKey(settings, [&](const char* name, const auto& value) {
        using Value = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<Value, int>) {
            texts.push_back({name, std::to_string(value)});
        } else if constexpr (std::is_same_v<Value, bool>) {
            texts.push_back({name, value ? "1" : "0"});
        } else {
            texts.push_back({name, ProtectProfileValue(value)});
        }
    });
    return texts;
}

ConvertSettings RunSettings(const MainFormSettings& s) {
    ConvertSettings run;
    run.CommandWait = s.CommandWait;
    run.StartWait = s.StartWait;
    run.AcadClose = s.AcadClose;
    run.Rewite = s.Rewite;
    run.FileDia = s.FileDia;
    run.ISaveBak = s.ISaveBak;
    run.ProxyNotice = s.ProxyNotice;
    run.SaveTmpdwg = s.SaveTmpdwg;
    run.SaveSameDir = s.SaveSameDir;
    run.SaveDir = s.SaveDir;
    run.SaveChildDir = s.SaveChildDir;
    run.AcadArg = s.AcadArg;
    run.DYNCancel = s.DYNCancel;
    run.WaitLimit = s.WaitLimit;
    run.RestartLimit = s.RestartLimit;
    run.RestartEvery = s.RestartEvery;
    run.AcadCount = s.AcadCount;
    run.SingleDocument = s.SingleDocument;
    return run;
}

TargetRules RunTargetRules(const MainFormSettings& s) {
    return {s.SaveSameDir, s.SaveDir, s.SaveChildDir};
}

}  // namespace tovimo
