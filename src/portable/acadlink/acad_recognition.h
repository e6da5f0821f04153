#pragma once
// How AutoCAD's windows are told by their titles and texts. Every test is a
// case-sensitive search that knows the double-byte characters of code page
// 932; the Japanese words come in a half-width and a full-width form.
#include <string_view>

#include "text/cp932_text.h"

namespace tovimo {

inline bool IsAcadTextWindowTitle(std::string_view title) {
    return StartsWithText(title, "Auto") &&
           (ContainsText(title, "ﾃｷｽﾄ") || ContainsText(title, "テキスト"));
}

// "Dra" comes from the drawing named in the title ("Drawing1.dwg").
inline bool IsAcadMainWindowTitle(std::string_view title) {
    return StartsWithText(title, "Auto") && ContainsText(title, "Dra");
}

inline bool IsCommandLineText(std::string_view text) {
    return StartsWithText(text, "ｺﾏﾝﾄﾞ") || StartsWithText(text, "コマンド:");
}

inline bool ShowsCommandPrompt(std::string_view commandLine) {
    return ContainsText(commandLine, "ｺﾏﾝﾄﾞ:") || ContainsText(commandLine, "コマンド:");
}

}  // namespace tovimo
