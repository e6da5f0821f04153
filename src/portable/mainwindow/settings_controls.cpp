#include "mainwindow/settings_controls.h"

#include <charconv>

#include "text/cp932_text.h"

namespace tovimo {

SettingsControls ShowSettings(const MainFormSettings& s) {
    SettingsControls c;
    c.Top = s.Top;
    c.Left = s.Left;
    c.Width = s.Width;
    c.Height = s.Height;
    c.AcadPath = s.AcadPath;
    c.CommandWaitEdit = std::to_string(s.CommandWait);
    c.AcadStartEdit = std::to_string(s.StartWait);
    c.FileDiaEdit = std::to_string(s.FileDia);
    c.ISaveBakEdit = std::to_string(s.ISaveBak);
    c.ProxyNoticeEdit = std::to_string(s.ProxyNotice);
    c.SaveDir = s.SaveDir;
    c.RewiteChkBox = s.Rewite;
    c.AcadCloseChkBox = s.AcadClose;
    c.savetmpdwgChkBox = s.SaveTmpdwg;
    c.SaveSameDirChkBox = s.SaveSameDir;
    c.Panel2Visible = s.SettingVisble;
    c.GetChildFolderCheckBox = s.GetChildFolder;
    c.SaveChildDirCheckBox = s.SaveChildDir;
    c.DYNCancelChkBox = s.DYNCancel;
    c.AcadArgEdit = s.AcadArg;
    return c;
}

std::optional<int> ParseEditInteger(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const std::size_t last = text.find_last_not_of(" \t");
    if (text[first] == '+') ++first;
    if (first > last) return std::nullopt;
    int value = 0;
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

MainFormSettings SettingsToSave(const SettingsControls& c, const MainFormSettings& lastGood) {
    MainFormSettings s = lastGood;
    s.Top = c.Top;
    s.Left = c.Left;
    s.Width = c.Width;
    s.Height = c.Height;
    s.AcadPath = c.AcadPath;
    s.CommandWait = ParseEditInteger(c.CommandWaitEdit).value_or(lastGood.CommandWait);
    s.StartWait = ParseEditInteger(c.AcadStartEdit).value_or(lastGood.StartWait);
    s.FileDia = ParseEditInteger(c.FileDiaEdit).value_or(lastGood.FileDia);
    s.ISaveBak = ParseEditInteger(c.ISaveBakEdit).value_or(lastGood.ISaveBak);
    s.ProxyNotice = ParseEditInteger(c.ProxyNoticeEdit).value_or(lastGood.ProxyNotice);
    s.SaveDir = c.SaveDir;
    s.Rewite = c.RewiteChkBox;
    s.AcadClose = c.AcadCloseChkBox;
    s.SaveTmpdwg = c.savetmpdwgChkBox;
    s.SaveSameDir = c.SaveSameDirChkBox;
    s.SettingVisble = c.Panel2Visible;
    s.GetChildFolder = c.GetChildFolderCheckBox;
    s.SaveChildDir = c.SaveChildDirCheckBox;
    s.DYNCancel = c.DYNCancelChkBox;
    s.AcadArg = c.AcadArgEdit;
    return s;
}

RunSettingsRead ReadRunSettings(const SettingsControls& c, int waitLimitSeconds) {
    RunSettingsRead read;
    ConvertSettings run;
    struct Field {
        const std::string& text;
        const char* name;
        int& value;
        bool mayBeNegative;
    };
    const Field fields[] = {
        {c.CommandWaitEdit, "コマンド間", run.CommandWait, false},
        {c.AcadStartEdit, "AutoCAD起動", run.StartWait, false},
        {c.FileDiaEdit, "FILEDIA", run.FileDia, true},
        {c.ISaveBakEdit, "ISAVEBAK", run.ISaveBak, true},
        {c.ProxyNoticeEdit, "PROXYNOTICE", run.ProxyNotice, true},
    };
    for (const Field& field : fields) {
        const std::optional<int> value = ParseEditInteger(field.text);
        if (!value) {
            read.error = std::string("「") + field.name + "」には整数を入力して下さい。";
            return read;
        }
        if (*value < 0 && !field.mayBeNegative) {
            read.error = std::string("「") + field.name + "」には 0 以上の数を入力して下さい。";
            return read;
        }
        field.value = *value;
    }
    run.AcadClose = c.AcadCloseChkBox;
    run.Rewite = c.RewiteChkBox;
    run.SaveTmpdwg = c.savetmpdwgChkBox;
    run.SaveSameDir = c.SaveSameDirChkBox;
    run.SaveDir = c.SaveDir;
    run.SaveChildDir = c.SaveChildDirCheckBox;
    run.AcadArg = c.AcadArgEdit;
    run.DYNCancel = c.DYNCancelChkBox;
    run.WaitLimit = waitLimitSeconds;
    read.settings = run;
    return read;
}

SaveDirLook ApplySaveSameDir(bool checked, const std::string& saveDir) {
    if (checked) return {"各データと同じ", "各データと同じ", false};
    return {"指定のフォルダ", saveDir, true};
}

std::string AcadPathLabelText(const std::string& acadPath) {
    if (acadPath.empty()) return "指定なし";
    // The last two "\" separators, never the trail byte of a double-byte
    // character.
    std::size_t last = std::string::npos;
    std::size_t before = std::string::npos;
    for (std::size_t i = 0; i < acadPath.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(acadPath[i]);
        if (IsCp932LeadByte(byte)) {
            ++i;
        } else if (byte == '\\') {
            before = last;
            last = i;
        }
    }
    if (before == std::string::npos) return "再設定下さい";
    return acadPath.substr(before + 1, last - before - 1);
}

}  // namespace tovimo
