#include "console/run_log_lines.h"

#include "convert/result_check.h"
#include "convert/run_texts.h"
#include "runlists/target_path.h"

namespace tovimo {

std::vector<std::string> LoggedResults(const RunLists& lists, const TargetRules& rules,
                                       bool macroNamesResult, std::string_view extension) {
    std::vector<std::string> results(lists.SourceList.size());
    if (!macroNamesResult) return results;
    for (std::size_t i = 0; i < results.size(); ++i)
        results[i] = ExpectedResultPath(
            SaveFileTarget(rules, lists.SourceList[i], i, lists.TargetList), extension);
    return results;
}

const char* RunEndLogReason(ConvertResult result, bool canceled) {
    switch (result) {
        case ConvertStartFailed:
            // Cancelled while AutoCAD started: the start was given up, not failed.
            return canceled ? "中断しました" : AcadStartFailedMessage;
        case ConvertOtherAcadRunning: return OtherAcadRunningMessage;
        case ConvertRefused: return "設定の誤り";
        case ConvertCarriedOut: break;
    }
    return canceled ? "中断しました" : "作業を最後まで行えませんでした";
}

RunLogLines::RunLogLines(RunLog& log, Clock& clock, std::vector<std::string> results)
    : log_(log), clock_(clock), results_(std::move(results)) {
    for (std::size_t i = 0; i < results_.size(); ++i) indexes_.push_back(i);
    starts_.assign(indexes_.size(), -1);
    logged_.assign(indexes_.size(), false);
}

void RunLogLines::PassOver(const UpdateSelection& selection,
                           const std::vector<std::string>& sources) {
    for (const std::size_t index : selection.upToDate)
        log_.Drawing(index + 1, sources.at(index), results_.at(index), LogStatus::PassedOver,
                     UpToDateReason, 0);
    indexes_ = selection.indexes;
    starts_.assign(indexes_.size(), -1);
    logged_.assign(indexes_.size(), false);
}

void RunLogLines::Starting(std::size_t i) {
    if (i < starts_.size()) starts_[i] = clock_.NowMs();
}

void RunLogLines::Ended(std::size_t i, const std::string& source, std::optional<SkipReason> reason,
                        const std::string& acadShown) {
    if (i >= logged_.size()) return;
    logged_[i] = true;
    // One listed without being typed (its result taken) took no time.
    const std::int64_t started = starts_[i];
    const double seconds =
        started < 0 ? 0.0 : static_cast<double>(clock_.NowMs() - started) / 1000.0;
    log_.Drawing(indexes_[i] + 1, source, results_.at(indexes_[i]),
                 reason ? LogStatus::NotConverted : LogStatus::Converted,
                 reason ? SkipReasonText(*reason) : "", seconds, reason ? acadShown : "");
}

void RunLogLines::Rest(const std::vector<std::string>& sources, const std::string& endReason,
                       const std::vector<SkippedDrawing>& skipped) {
    for (std::size_t i = 0; i < logged_.size() && i < sources.size(); ++i) {
        if (logged_[i]) continue;
        logged_[i] = true;
        std::string reason = endReason;
        std::string shown;
        for (const SkippedDrawing& drawing : skipped)
            if (drawing.path == sources[i]) {
                reason = SkipReasonText(drawing.reason);
                shown = drawing.acadShown;
            }
        log_.Drawing(indexes_[i] + 1, sources[i], results_.at(indexes_[i]),
                     LogStatus::NotConverted, reason, 0, shown);
    }
}

}  // namespace tovimo
