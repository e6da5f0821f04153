#include "settings/settings.h"

#include "settings/profile_values.h"

namespace tovimo {

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
    const MainFormSettings design;
    return ReadMainFormSettings(profile, files, settingsFile, programFolder, design.Top,
                                design.Left, design.Width, design.Height);
}

MainFormSettings ReadMainFormSettings(ProfileFile& profile, FileSystem& files,
                                      const std::string& settingsFile,
                                      std::string_view programFolder, int top, int left, int width,
                                      int height) {
    namespace key = settings_key;
    const std::string section = MainFormSection;
    MainFormSettings s = DefaultSettings(programFolder);
    s.Top = top;
    s.Left = left;
    s.Width = width;
    s.Height = height;
    const auto readInt = [&](const char* name, int& value) {
        value = ReadProfileInteger(profile, settingsFile, section, name, value);
    };
    const auto readBool = [&](const char* name, bool& value) {
        value = ReadProfileBool(profile, settingsFile, section, name, value);
    };
    const auto readString = [&](const char* name, std::string& value) {
        value = ReadProfileString(profile, settingsFile, section, name, value);
    };
    readInt(key::Top, s.Top);
    readInt(key::Left, s.Left);
    readInt(key::Width, s.Width);
    readInt(key::Height, s.Height);
    readString(key::AcadPath, s.AcadPath);
    readInt(key::CommandWait, s.CommandWait);
    readInt(key::StartWait, s.StartWait);
    readInt(key::FileDia, s.FileDia);
    readInt(key::ISaveBak, s.ISaveBak);
    readInt(key::ProxyNotice, s.ProxyNotice);
    readString(key::SaveDir, s.SaveDir);
    if (!files.DirectoryExists(s.SaveDir)) s.SaveDir = std::string(programFolder);
    readBool(key::Rewite, s.Rewite);
    readBool(key::AcadClose, s.AcadClose);
    readBool(key::SaveTmpdwg, s.SaveTmpdwg);
    readBool(key::SaveSameDir, s.SaveSameDir);
    readBool(key::SettingVisble, s.SettingVisble);
    readBool(key::GetChildFolder, s.GetChildFolder);
    readBool(key::SaveChildDir, s.SaveChildDir);
    readBool(key::DYNCancel, s.DYNCancel);
    readString(key::AcadArg, s.AcadArg);
    readInt(key::WaitLimit, s.WaitLimit);
    return s;
}

bool WriteMainFormSettings(ProfileFile& profile, const std::string& settingsFile,
                           const MainFormSettings& s) {
    namespace key = settings_key;
    const std::string section = MainFormSection;
    bool written = true;
    const auto writeInt = [&](const char* name, int value) {
        written &= WriteProfileInteger(profile, settingsFile, section, name, value);
    };
    const auto writeBool = [&](const char* name, bool value) {
        written &= WriteProfileBool(profile, settingsFile, section, name, value);
    };
    const auto writeString = [&](const char* name, const std::string& value) {
        written &= WriteProfileText(profile, settingsFile, section, name, value);
    };
    writeInt(key::Top, s.Top);
    writeInt(key::Left, s.Left);
    writeInt(key::Width, s.Width);
    writeInt(key::Height, s.Height);
    writeString(key::AcadPath, s.AcadPath);
    writeInt(key::CommandWait, s.CommandWait);
    writeInt(key::StartWait, s.StartWait);
    writeInt(key::FileDia, s.FileDia);
    writeInt(key::ISaveBak, s.ISaveBak);
    writeInt(key::ProxyNotice, s.ProxyNotice);
    writeString(key::SaveDir, s.SaveDir);
    writeBool(key::Rewite, s.Rewite);
    writeBool(key::AcadClose, s.AcadClose);
    writeBool(key::SaveTmpdwg, s.SaveTmpdwg);
    writeBool(key::SaveSameDir, s.SaveSameDir);
    writeBool(key::SettingVisble, s.SettingVisble);
    writeBool(key::GetChildFolder, s.GetChildFolder);
    writeBool(key::SaveChildDir, s.SaveChildDir);
    writeBool(key::DYNCancel, s.DYNCancel);
    writeString(key::AcadArg, s.AcadArg);
    return written;
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
    return run;
}

TargetRules RunTargetRules(const MainFormSettings& s) {
    return {s.SaveSameDir, s.SaveDir, s.SaveChildDir};
}

}  // namespace tovimo
