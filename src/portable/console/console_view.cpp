#include "console/console_view.h"

#include <algorithm>

namespace tovimo {

void ConsoleView::ShowMessage(const std::string& text, const std::string&) {
    if (acadReached_) output_.Out(text);
    else output_.Err(text);
}

void ConsoleView::EnableCancel(bool enabled) {
    if (enabled) acadReached_ = true;
}

void ConsoleView::DrawingStarting(int index, const std::string& source) {
    if (index >= 0) started_ = std::max(started_, static_cast<std::size_t>(index) + 1);
    output_.Out("[" + std::to_string(index + 1) + "/" + std::to_string(total_) + "] " + source);
}

void ConsoleView::ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) {
    output_.Out("これらの図面は、変換を行っていません (" + std::to_string(skipped.size()) + " 枚):");
    for (const SkippedDrawing& drawing : skipped)
        output_.Out("  " + drawing.path + "  (" + SkipReasonText(drawing.reason) + ")");
}

}  // namespace tovimo
