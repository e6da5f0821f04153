#include "mainwindow/settings_controls.h"

#include <charconv>
#include <utility>

#include "settings/setting_ranges.h"
#include "text/cp932_text.h"

namespace tovimo {

namespace {

// The settings the panel shows as edit fields, each with its field's
// caption, and those it shows as ticks: the one list that showing, saving
// and a run's reading go by.
template <typename Settings, typename Controls, typename Visit>
void ForEachNumber(Settings& s, Controls& c, Visit&& visit) {
    visit("コマンド間", s.CommandWait, c.CommandWaitEdit, settings_key::CommandWait);
    visit("AutoCAD起動", s.StartWait, c.AcadStartEdit, settings_key::StartWait);
    visit("FILEDIA", s.FileDia, c.FileDiaEdit, settings_key::FileDia);
    visit("ISAVEBAK", s.ISaveBak, c.ISaveBakEdit, settings_key::ISaveBak);
    visit("PROXYNOTICE", s.ProxyNotice, c.ProxyNoticeEdit, settings_key::ProxyNotice);
}

template <typename Settings, typename Controls, typename Visit>
void ForEachTick(Settings& s, Controls& c, Visit&& visit) {
    visit(s.Rewite, c.RewiteChkBox);
    visit(s.AcadClose, c.AcadCloseChkBox);
    visit(s.SaveTmpdwg, c.savetmpdwgChkBox);
    visit(s.SaveSameDir, c.SaveSameDirChkBox);
    visit(s.SettingVisble, c.Panel2Visible);
    visit(s.GetChildFolder, c.GetChildFolderCheckBox);
    visit(s.SaveChildDir, c.SaveChildDirCheckBox);
    visit(s.DYNCancel, c.DYNCancelChkBox);
    visit(s.UpdateOnly, c.UpdateOnlyMenu);
    visit(s.RunLog, c.RunLogMenu);
}

}  // namespace

SettingsControls ShowSettings(const MainFormSettings& s) {
    SettingsControls c;
    c.Top = s.Top;
    c.Left = s.Left;
    c.Width = s.Width;
    c.Height = s.Height;
    c.AcadPath = s.AcadPath;
    c.SaveDir = s.SaveDir;
    c.AcadArgEdit = s.AcadArg;
    c.AcadCountMenu = s.AcadCount;
    ForEachNumber(s, c, [](const char*, int value, std::string& edit, const char*) {
        edit = std::to_string(value);
    });
    ForEachTick(s, c, [](bool value, bool& tick) { tick = value; });
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
    s.SaveDir = c.SaveDir;
    s.AcadArg = c.AcadArgEdit;
    s.AcadCount = c.AcadCountMenu;
    ForEachNumber(s, c, [](const char*, int& value, const std::string& edit, const char*) {
        value = ParseEditInteger(edit).value_or(value);
    });
    ForEachTick(s, c, [](bool& value, bool tick) { value = tick; });
    return s;
}

RunSettingsRead ReadRunSettings(const SettingsControls& c, const MainFormSettings& lastGood) {
    RunSettingsRead read;
    MainFormSettings s = lastGood;
    ForEachNumber(s, c, [&](const char* name, int&, const std::string& edit, const char* key) {
        if (!read.error.empty()) return;
        const std::optional<int> value = ParseEditInteger(edit);
        const SettingRange* range = FindSettingRange(key);
        if (!value) {
            read.error = std::string("「") + name + "」には整数を入力して下さい。";
        } else if (range && !range->Holds(*value)) {
            read.error = FieldRangeMessage(*range);
        }
    });
    if (!read.error.empty()) return read;
    // The wait limit and SingleDocument are not shown: they are the settings file's.
    const std::pair<const char*, int> fileOnly[] = {
        {settings_key::WaitLimit, lastGood.WaitLimit},
        {settings_key::SingleDocument, lastGood.SingleDocument}};
    for (const auto& [key, value] : fileOnly) {
        const SettingRange* range = FindSettingRange(key);
        if (range && !range->Holds(value)) {
            read.error = KeyRangeMessage(*range, value);
            return read;
        }
    }
    read.settings = RunSettings(SettingsToSave(c, lastGood));
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
