#pragma once
// Texts a conversion run shows, shared by the run with one AutoCAD, the
// run with several and the console program's check of its settings.
#include <string>

namespace tovimo {

inline constexpr const char* RunEndCaption = "Tovimo メッセージ";
inline constexpr const char* RunCanceledMessage = "   作業を中断しました      ";
inline constexpr const char* RunFinishedMessage = "   作業が終わりました      ";
// AutoCAD did not take SDI 1; the run goes on with several drawings open.
inline constexpr const char* SingleDocumentRefusedText = "AutoCADを1図面ずつにできませんでした (SDI)";

// The end message; note, when not empty, is its second line.
std::string RunEndMessage(bool canceled, const std::string& note);

// An update run (what names it: "/u", the window's menu item) asked of a
// macro section that has no "#SAVEFILE" line.
std::string UpdateNeedsSaveFileMessage(const std::string& update, const std::string& section);

// AcadCount outside 1 to 8.
std::string AcadCountRangeMessage(int value);
// AcadCount above 1 with no AutoCAD program chosen.
std::string AcadCountNeedsPathMessage();

}  // namespace tovimo
