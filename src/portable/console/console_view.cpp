#include "console/console_view.h"

#include <algorithm>

#include "convert/restart_text.h"
#include "convert/run_texts.h"

namespace tovimo {

void ConsoleView::ShowMessage(const std::string& text, const std::string&) {
    if (acadReached_) output_.Out(text);
    else output_.Err(text);
}

void ConsoleView::EnableCancel(bool enabled) {
    if (enabled) acadReached_ = true;
    else ListUnreachable();
}

void ConsoleView::DrawingStarting(int index, const std::string& source) {
    if (index >= 0) started_ = std::max(started_, static_cast<std::size_t>(index) + 1);
    if (onDrawingStarting) onDrawingStarting(index);
    output_.Out("[" + std::to_string(index + 1) + "/" + std::to_string(total_) + "] " + source);
}

void ConsoleView::AcadRestarting(int number, RestartCause cause) {
    output_.Err(RestartText(number, cause));
}

void ConsoleView::AcadEndedUnstarted(int session, int left) {
    output_.Err(UnstartedAcadText(session, left));
}

void ConsoleView::SingleDocumentRefused() { output_.Err(SingleDocumentRefusedText); }

void ConsoleView::ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) {
    output_.Out("これらの図面は、変換を行っていません (" + std::to_string(skipped.size()) + " 枚):");
    for (const SkippedDrawing& drawing : skipped) {
        ListLine(drawing.path, SkipReasonText(drawing.reason));
        if (!drawing.acadShown.empty()) output_.Out("      " + drawing.acadShown);
    }
    ListUnreachable();
}

void ConsoleView::ListUnreachable() {
    if (unreachableListed_ || unreachable_.empty()) return;
    unreachableListed_ = true;
    output_.Out("これらのフォルダや図面は、読み取れないため変換していません (" +
                std::to_string(unreachable_.size()) + " 件):");
    for (const WalkProblem& problem : unreachable_)
        ListLine(problem.path, WalkProblemText(problem.kind));
}

void ConsoleView::ListLine(const std::string& path, const char* reason) {
    output_.Out("  " + path + "  (" + reason + ")");
}

}  // namespace tovimo
