#pragma once
// Texts a conversion run shows, shared by the run with one AutoCAD, the
// run with several, the run log and both programs around a run.
#include <cstddef>
#include <string>

namespace tovimo {

inline constexpr const char* RunEndCaption = "Tovimo メッセージ";
inline constexpr const char* RunCanceledMessage = "   作業を中断しました      ";
inline constexpr const char* RunFinishedMessage = "   作業が終わりました      ";
// How a run that never reached AutoCAD ended: it could not be started, or
// one the user started was running.
inline constexpr const char* AcadStartFailedMessage = "Auto CADを起動できません";
inline constexpr const char* OtherAcadRunningMessage = "起動中のAuto CADを終了させてください。";
// The run log's reason for a drawing an update run passed over.
inline constexpr const char* UpToDateReason = "最新のため省略";
// AutoCAD did not take SDI 1; the run goes on with several drawings open.
inline constexpr const char* SingleDocumentRefusedText = "AutoCADを1図面ずつにできませんでした (SDI)";

// The end message; note, when not empty, is its second line.
std::string RunEndMessage(bool canceled, const std::string& note);

// How many drawings an update run passed over: "最新のため省略: N".
std::string PassedOverText(std::size_t count);

// An update run (what names it: "/u", the window's menu item) asked of a
// macro section that has no "#SAVEFILE" line.
std::string UpdateNeedsSaveFileMessage(const std::string& update, const std::string& section);

// AcadCount outside 1 to 8.
std::string AcadCountRangeMessage(int value);
// AcadCount above 1 with no AutoCAD program chosen.
std::string AcadCountNeedsPathMessage();

}  // namespace tovimo
