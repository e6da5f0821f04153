#pragma once
// The integer settings that only hold values within a range, each with the
// field that shows it: one table for the window, the console program and the
// conversion, so that all three refuse the same values with the same words.
// A key that is not in the table is taken as stored (FILEDIA, ISAVEBAK and
// PROXYNOTICE are typed into AutoCAD whatever they are).
#include <cstdint>
#include <string>
#include <string_view>

namespace tovimo {

struct SettingRange {
    std::string_view key;      // in section "MainForm"
    std::string_view caption;  // the field's caption, or what the value is
    std::string_view unit;     // empty when the value has none
    int minimum = 0;
    int maximum = 0;

    bool Holds(std::int64_t value) const { return value >= minimum && value <= maximum; }
};

// The range of a key; null for a key taken as stored.
const SettingRange* FindSettingRange(std::string_view key);

// For a window's edit field: "「コマンド間」には 0 から 60000 までの整数を入力して下さい (ミリ秒)。"
std::string FieldRangeMessage(const SettingRange& range);

// For a value read from the settings file:
// "設定 CommandWait (コマンド間、ミリ秒) は 0 から 60000 までにしてください: 2147483647"
std::string KeyRangeMessage(const SettingRange& range, std::int64_t value);

}  // namespace tovimo
