#pragma once
// Every text the stand-in shows: window titles, prompts, messages and button
// captions, for AutoCAD LT 2000 or AutoCAD 2000 and in the half-width or
// full-width katakana form.
#include <string>
#include <string_view>

#include "standin_options.h"

namespace tovimo::standin {

struct StandinTexts {
    std::string productName;      // "AutoCAD LT 2000"
    std::string textWindowWord;   // "ﾃｷｽﾄ ｳｨﾝﾄﾞｳ"
    std::string commandPrompt;    // "ｺﾏﾝﾄﾞ: "
    std::string messageBoxTitle;  // "AutoCAD LT ﾒｯｾｰｼﾞ": an error
    std::string questionTitle;    // "AutoCAD LT": the save question of quit
    std::string overwriteQuestion;
    std::string startupTitle;
    std::string startupCancel;
    std::string fileDialogTitle;
    std::string openFileNamePrompt;
    std::string shapePrompt;
    std::string continuePrompt;
    std::string saveFormatPrompt;
    std::string saveNameWords;
    std::string precisionPrompt;
    std::string styleNamePrompt;
    std::string fontPrompt;
    std::string welcome;

    std::string MainTitle(std::string_view drawingName) const;
    std::string TextWindowTitle(std::string_view drawingName) const;
    std::string SysVarPrompt(std::string_view name, std::string_view value) const;
    std::string SaveNamePrompt(std::string_view defaultName) const;
};

StandinTexts MakeTexts(Product product, KanaForm kana);

// Texts that are the same in every product and form.
namespace fixed {
inline constexpr const char* VerticalQuestion = "縦書き? <N> ";
inline constexpr const char* Ok = "OK";
inline constexpr const char* Yes = "はい(&Y)";
inline constexpr const char* No = "いいえ(&N)";
inline constexpr const char* Cancel = "キャンセル";
inline constexpr const char* Open = "開く(&O)";
inline constexpr const char* Canceled = "*キャンセル*";
inline constexpr const char* SetVarPrompt = "変数名を入力 または [?]: ";
inline constexpr const char* FirstPointPrompt = "1 点目を指定: ";
inline constexpr const char* NextPointPrompt = "次の点を指定 または [元に戻す(U)]: ";
inline constexpr const char* HeightPrompt = "文字の高さを指定 <0.0000>: ";
inline constexpr const char* WidthPrompt = "幅係数を指定 <1.0000>: ";
inline constexpr const char* ObliquePrompt = "傾斜角度を指定 <0>: ";
inline constexpr const char* BackwardsPrompt = "逆さ文字? <N>: ";
inline constexpr const char* UpsideDownPrompt = "上下反転文字? <N>: ";
}  // namespace fixed

}  // namespace tovimo::standin
