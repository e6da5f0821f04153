#include "settings/setting_ranges.h"

#include "settings/settings.h"

namespace tovimo {

namespace {

// Wide enough for any AutoCAD and any drawing, narrow enough that no value
// can make a run wait for days: a pause after every command text, the wait
// for AutoCAD's windows, and the bound on every wait for AutoCAD's answer.
const SettingRange Ranges[] = {
    {settings_key::CommandWait, "コマンド間", "ミリ秒", 0, 60000},
    {settings_key::StartWait, "AutoCAD起動", "秒", 0, 3600},
    {settings_key::WaitLimit, "待ち時間の上限", "秒", 1, 86400},
    // Whether a run has AutoCAD keep one drawing open (SDI): 0 or 1.
    {settings_key::SingleDocument, "AutoCADで1図面ずつ開く", "", 0, 1},
};

std::string Bounds(const SettingRange& range) {
    return std::to_string(range.minimum) + " から " + std::to_string(range.maximum);
}

}  // namespace

const SettingRange* FindSettingRange(std::string_view key) {
    for (const SettingRange& range : Ranges)
        if (range.key == key) return &range;
    return nullptr;
}

std::string FieldRangeMessage(const SettingRange& range) {
    std::string text = "「" + std::string(range.caption) + "」には " + Bounds(range) +
                       " までの整数を入力して下さい";
    if (!range.unit.empty()) text += " (" + std::string(range.unit) + ")";
    return text + "。";
}

std::string KeyRangeMessage(const SettingRange& range, std::int64_t value) {
    std::string text = "設定 " + std::string(range.key) + " (" + std::string(range.caption);
    if (!range.unit.empty()) text += "、" + std::string(range.unit);
    return text + ") は " + Bounds(range) + " までにしてください: " + std::to_string(value);
}

}  // namespace tovimo
