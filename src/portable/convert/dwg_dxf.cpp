#include "convert/dwg_dxf.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>

#include "acadlink/session_processes.h"
#include "convert/acad_session.h"
#include "convert/run_texts.h"
#include "convert/result_check.h"
#include "drawings/path_parts.h"
#include "convert/up_to_date.h"
#include "settings/setting_ranges.h"
#include "settings/settings.h"

namespace tovimo {

std::string SkipName(const std::string& source) {
    std::string_view name = FileNameOf(source);
    auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!name.empty() && isTrimmed(name.front())) name.remove_prefix(1);
    while (!name.empty() && isTrimmed(name.back())) name.remove_suffix(1);
    return std::string(name);
}

DwgDxf::DwgDxf(AcadPlatform platform, ProfileFile& profile, FileSystem& files,
               ConversionView& view, std::string iniFileName, std::string macroSection)
    : AcadMacro(platform, profile, view, std::move(iniFileName), std::move(macroSection)),
      TmpDwgName(platform.processes.ProgramFolder() + "tmp.dwg"),
      files_(files),
      view_(view) {
    SetStartStop(&EndNow);
}

DwgDxf::~DwgDxf() = default;

bool DwgDxf::Refused(const ConvertSettings& settings) {
    std::string refusal;
    // No wait may be long enough to hold a run up for days, whoever calls;
    // SingleDocument is 0 or 1.
    const std::pair<const char*, int> ranged[] = {
        {settings_key::CommandWait, settings.CommandWait},
        {settings_key::StartWait, settings.StartWait},
        {settings_key::WaitLimit, settings.WaitLimit},
        {settings_key::SingleDocument, settings.SingleDocument}};
    for (const auto& [key, value] : ranged) {
        const SettingRange* range = FindSettingRange(key);
        if (refusal.empty() && range && !range->Holds(value)) refusal = KeyRangeMessage(*range, value);
    }
    if (!refusal.empty()) {
        // Told already.
    } else if (settings.RestartLimit < 0 || settings.RestartLimit > MaxRestartLimit) {
        refusal = "AutoCADの再起動の上限 (RestartLimit) は 0 から " +
                  std::to_string(MaxRestartLimit) + " にしてください: " +
                  std::to_string(settings.RestartLimit);
    } else if (settings.RestartEvery < 0 || settings.RestartEvery > MaxRestartEvery) {
        refusal = "AutoCADを起動し直す図面の数 (RestartEvery) は 0 から " +
                  std::to_string(MaxRestartEvery) + " にしてください: " +
                  std::to_string(settings.RestartEvery);
    } else if (settings.AcadCount < MinAcadCount || settings.AcadCount > MaxAcadCount) {
        refusal = AcadCountRangeMessage(settings.AcadCount);
    } else if (settings.AcadCount > 1 && AcadPath.empty()) {
        refusal = AcadCountNeedsPathMessage();
    }
    if (refusal.empty()) return false;
    view_.ShowMessage(refusal, RunEndCaption);
    return true;
}

ConvertResult DwgDxf::ConvertFiles(const std::vector<std::string>& sources,
                                   const std::vector<std::string>& targets,
                                   const ConvertSettings& settings,
                                   const std::vector<std::string>& keptResults) {
    if (Refused(settings)) return ConvertRefused;
    settings_ = settings;
    lostRun_ = false;
    notAnsweringRun_ = false;
    restarts_ = 0;
    resultTaken_ = ResultsTaken(sources, targets, keptResults);
    // AutoCAD gets as long to take one command text as to answer any wait.
    SetCommandSendLimitMs(static_cast<int>(std::min<std::int64_t>(
        std::int64_t{settings.WaitLimit} * 1000, std::numeric_limits<int>::max())));
    if (settings.AcadCount > 1) return ConvertWithSessions(sources, targets);

    AcadSession session(*this, platform_, files_, MacroLines, ResultExtension(MacroSection),
                        TmpDwgName, settings_, Canceled);
    bool singleDocumentTold = false;
    session.OnSingleDocumentRefused([this, &singleDocumentTold] {
        if (!std::exchange(singleDocumentTold, true)) view_.SingleDocumentRefused();
    });
    const StartResult start = session.Start();
    if (start == StartFailed) {
        TellEndedUnstarted(session);
        return ConvertStartFailed;
    }
    if (start == OtherAcadRunning) return ConvertOtherAcadRunning;

    view_.EnableCancel(true);
    skipped_.clear();

    bool complete = true;
    if (const auto notReady = session.WaitForFirstPrompt()) {
        TellEndedUnstarted(session);
        // After a Cancel the drawings were never begun, as in any cancelled run.
        if (!Canceled) SkipFrom(sources, 0, *notReady);
        if (session.Lost() && !session.EndedUnstarted()) EndedByLoss(session);
        complete = false;
    } else if (Canceled) {
        // Cancelled while AutoCAD started: nothing is set and nothing
        // opened; it is only closed, when that is asked for.
    } else {
        view_.SetProgressRange(static_cast<int>(sources.size()));
        view_.SetProgressPosition(0);
        if (!session.SetUpVariables()) {
            SkipFrom(sources, 0, session.LostReason());
            EndedByLoss(session);
            complete = false;
        } else {
            complete = ConvertAll(session, sources, targets);
        }
    }
    session.PutBack();
    view_.SetProgressPosition(0);
    session.Close();
    return EndRun(complete);
}

ConvertResult DwgDxf::EndRun(bool complete) {
    if (!skipped_.empty()) view_.ShowSkippedDrawings(skipped_);
    view_.EnableCancel(false);
    view_.ShowMessage(RunEndMessage(Canceled || !complete, EndNote), RunEndCaption);
    return ConvertCarriedOut;
}

bool DwgDxf::ConvertAll(AcadSession& session, const std::vector<std::string>& sources,
                        const std::vector<std::string>& targets) {
    for (std::size_t i = 0; i < sources.size() && !Canceled; ++i) {
        // Nothing is typed for a drawing whose result an earlier one takes.
        if (resultTaken_[i]) {
            Skip(sources[i], SkipReason::TargetTaken);
            view_.DrawingEnded(static_cast<int>(i), sources[i], SkipReason::TargetTaken, {});
            view_.SetProgressPosition(static_cast<int>(i) + 1);
            continue;
        }
        if (session.RenewalDue()) {
            view_.AcadRestarting(++restarts_, RestartCause::Scheduled);
            const RestartOutcome renewal = session.Renew();
            TellEndedUnstarted(session);
            if (renewal == RestartOutcome::Canceled) return true;
            if (renewal == RestartOutcome::Failed) {
                SkipFrom(sources, i, SkipReason::AcadRestartFailed);
                return false;
            }
        }
        view_.DrawingStarting(static_cast<int>(i), sources[i]);
        const DrawingResult result = session.Convert(i, sources[i], targets);
        if (result.outcome != DrawingResult::Outcome::Converted)
            Skip(sources[i], result.reason, result.acadShown);
        view_.DrawingEnded(static_cast<int>(i), sources[i],
                           result.outcome == DrawingResult::Outcome::Converted
                               ? std::nullopt
                               : std::optional<SkipReason>(result.reason),
                           result.acadShown);
        if (result.outcome != DrawingResult::Outcome::AcadLost) {
            view_.SetProgressPosition(static_cast<int>(i) + 1);
            continue;
        }
        // The run ends as it always has once AutoCAD may not be started again.
        // After the last drawing it is started all the same, so that the run
        // ends as any run does, in an AutoCAD that answers.
        if (!session.RestartAllowed()) {
            SkipFrom(sources, i + 1, session.LostReason());
            EndedByLoss(session);
            return false;
        }
        view_.SetProgressPosition(static_cast<int>(i) + 1);
        view_.AcadRestarting(++restarts_, session.NotAnswering() ? RestartCause::AcadNotAnswering
                                                                 : RestartCause::AcadGone);
        const SkipReason lostReason = session.LostReason();
        const RestartOutcome restart = session.Restart();
        TellEndedUnstarted(session);
        if (restart == RestartOutcome::Canceled) return true;
        if (restart == RestartOutcome::Failed) {
            SkipFrom(sources, i + 1, SkipReason::AcadRestartFailed);
            lostRun_ = true;
            notAnsweringRun_ = lostReason == SkipReason::AcadNotAnswering;
            return false;
        }
    }
    return true;
}

std::vector<bool> DwgDxf::ResultsTaken(const std::vector<std::string>& sources,
                                       const std::vector<std::string>& targets,
                                       const std::vector<std::string>& keptResults) {
    // A macro that saves its own way types no target: nothing is known to meet.
    if (!MacroNamesResult(MacroLines)) return std::vector<bool>(sources.size(), false);
    const TargetRules rules{settings_.SaveSameDir, settings_.SaveDir, settings_.SaveChildDir};
    return ResultsTakenEarlier(
        files_, ExpectedResultPaths(rules, sources, targets, ResultExtension(MacroSection)),
        keptResults);
}

void DwgDxf::EndedByLoss(const AcadSession& session) {
    lostRun_ = true;
    notAnsweringRun_ = session.NotAnswering();
}

void DwgDxf::TellEndedUnstarted(const AcadSession& session) {
    // One AutoCAD: none is left to go on with.
    if (session.EndedUnstarted()) view_.AcadEndedUnstarted(1, 0);
}

void DwgDxf::Skip(const std::string& source, SkipReason reason, const std::string& acadShown) {
    skipped_.push_back({SkipName(source), source, reason, acadShown});
}

void DwgDxf::SkipFrom(const std::vector<std::string>& sources, std::size_t first,
                      SkipReason reason) {
    for (std::size_t i = first; i < sources.size(); ++i)
        Skip(sources[i], i < resultTaken_.size() && resultTaken_[i] ? SkipReason::TargetTaken
                                                                     : reason);
}

}  // namespace tovimo
