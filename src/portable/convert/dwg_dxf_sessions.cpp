// A run with several AutoCADs: each session starts its own AutoCAD, in turn,
// and converts the drawings handed to it exactly as a run with one AutoCAD
// converts each drawing; the calling thread hands on progress and Cancel.
//
// One thread per session: every wait of the conversion is a plain sleep or
// a bounded send, written for one AutoCAD at a time, and each session keeps
// its own link (windows, send limit, what it lost) in its own DwgDxf. A
// thread per session runs that code unchanged, where serving the sessions
// in turn from one thread would have to cut every wait into steps.
#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "convert/dwg_dxf.h"
#include "convert/run_texts.h"
#include "convert/session_run.h"

namespace tovimo {

namespace {

constexpr int AcadReachedPause = 500;
// How often a session waiting for its turn to start looks again, and how
// often the run's thread hands on what the sessions did.
constexpr int StartTurnPollMs = 20;
constexpr int RunPollMs = 20;
constexpr const char* Escape = "\x1b";

// A session's thread has no window: nothing is pending for it.
class NoMessages : public MessagePump {
public:
    void ProcessPendingMessages() override {}
};

// Sessions show nothing themselves; the run's thread does.
class SilentView : public ConversionView {
public:
    void ShowMessage(const std::string&, const std::string&) override {}
    void EnableCancel(bool) override {}
    void SetProgressRange(int) override {}
    void SetProgressPosition(int) override {}
    void ShowSkippedDrawings(const std::vector<SkippedDrawing>&) override {}
};

NoMessages& SessionMessages() {
    static NoMessages pump;
    return pump;
}

SilentView& SessionView() {
    static SilentView view;
    return view;
}

}  // namespace

std::string DwgDxf::SessionTmpDwgName(const std::string& programFolder, int session) {
    // The first session keeps the name of a run with one AutoCAD.
    if (session == 0) return programFolder + "tmp.dwg";
    return programFolder + "tmp" + std::to_string(session + 1) + ".dwg";
}

ConvertResult DwgDxf::ConvertWithSessions(const std::vector<std::string>& sources,
                                          const std::vector<std::string>& targets,
                                          const ConvertSettings& settings) {
    const int count = settings.AcadCount;
    const AcadPlatform sessionPlatform{platform_.windows, platform_.clock, SessionMessages(),
                                       platform_.processes, platform_.encoding};
    while (sessions_.size() < static_cast<std::size_t>(count)) {
        const int k = static_cast<int>(sessions_.size());
        auto session = std::make_unique<DwgDxf>(
            sessionPlatform, profile_, files_, SessionView(), IniFileName, MacroSection,
            SessionTmpDwgName(platform_.processes.ProgramFolder(), k));
        session->SetWriteBack(false);
        sessions_.push_back(std::move(session));
    }
    // Sessions kept linked by an earlier run own their AutoCADs again.
    sessionProcesses_ = std::make_unique<SessionProcesses>();
    for (int k = 0; k < static_cast<int>(sessions_.size()); ++k) {
        DwgDxf& session = *sessions_[k];
        session.MacroLines = MacroLines;
        session.SetAcadPath(AcadPath);
        session.BindToSession(sessionProcesses_.get(), k);
        if (session.TextWindow != 0 && platform_.windows.IsWindow(session.MainWindow))
            sessionProcesses_->Assign(platform_.windows.GetWindowProcessId(session.MainWindow), k);
    }

    settings_ = settings;
    skipped_.clear();
    skippedMark_ = false;
    acadGone_ = false;
    notAnsweringRun_ = false;
    Canceled = false;

    SessionRun run(sources.size());
    std::vector<std::unique_ptr<Worker>> workers;
    for (int k = 0; k < count; ++k) {
        DwgDxf* session = sessions_[k].get();
        workers.push_back(threads_->Start([session, &run, k, &sources, &targets, &settings] {
            session->RunSession(run, k, sources, targets, settings);
        }));
    }

    bool reached = false;
    int finished = 0;
    const auto handOn = [&] {
        for (const SessionRun::Event& event : run.TakeEvents()) {
            switch (event.kind) {
                case SessionRun::EventKind::Reached:
                    if (reached) break;
                    reached = true;
                    view_.EnableCancel(true);
                    view_.SetProgressRange(static_cast<int>(sources.size()));
                    view_.SetProgressPosition(0);
                    break;
                case SessionRun::EventKind::Started:
                    view_.DrawingStarting(static_cast<int>(event.index), sources[event.index]);
                    break;
                case SessionRun::EventKind::Finished:
                    view_.SetProgressPosition(++finished);
                    break;
            }
        }
    };
    const auto allEnded = [&] {
        for (const auto& worker : workers)
            if (!worker->Finished()) return false;
        return true;
    };
    while (!allEnded()) {
        platform_.clock.Sleep(RunPollMs);
        platform_.messages.ProcessPendingMessages();
        if (Canceled) run.Cancel();
        handOn();
    }
    for (const auto& worker : workers) worker->Join();
    handOn();

    if (!run.AnyReached())
        return run.OtherAcadSeen() ? ConvertOtherAcadRunning : ConvertStartFailed;

    skipped_ = run.SkippedInRunOrder();
    // Drawings no session took: every session lost its AutoCAD first.
    bool endedEarly = false;
    if (!run.Canceled() && run.Handed() < sources.size()) {
        endedEarly = true;
        const SkipReason reason = run.LastLoss().value_or(SkipReason::AcadGone);
        if (reason == SkipReason::AcadNotAnswering) notAnsweringRun_ = true;
        else if (reason == SkipReason::AcadGone) acadGone_ = true;
        for (std::size_t i = run.Handed(); i < sources.size(); ++i)
            skipped_.push_back({SkipName(sources[i]), sources[i], reason});
    }
    skippedMark_ = !skipped_.empty();
    view_.SetProgressPosition(0);
    if (skippedMark_) view_.ShowSkippedDrawings(skipped_);
    view_.EnableCancel(false);
    view_.ShowMessage(Canceled || run.Canceled() || endedEarly ? RunCanceledMessage
                                                              : RunFinishedMessage,
                      RunEndCaption);
    return ConvertCarriedOut;
}

void DwgDxf::RunSession(SessionRun& run, int session, const std::vector<std::string>& sources,
                        const std::vector<std::string>& targets, const ConvertSettings& settings) {
    // Sessions start AutoCAD in turn, each once the one before has its
    // command prompt: every Pelkadu presses the first startup dialog it
    // finds and ends, so two AutoCADs starting at once could have one
    // dialog pressed twice and the other never. A start also looks for
    // another AutoCAD and takes only new windows no other session owns.
    while (!run.IsTurnOf(session)) platform_.clock.Sleep(StartTurnPollMs);
    if (run.StartingStopped()) {
        run.PassTurn(session, false);
        run.SessionEnded(session, std::nullopt);
        return;
    }
    settings_ = settings;
    notAnsweringRun_ = false;
    acadGone_ = false;
    skipped_.clear();
    SetCommandSendLimitMs(static_cast<int>(std::min<std::int64_t>(
        std::int64_t{settings.WaitLimit} * 1000, std::numeric_limits<int>::max())));
    StartPelkadu();
    AcadArgs = settings.AcadArg;
    const StartResult start = StartAcad(settings.StartWait);
    run.StartEnded(session, start);
    if (start != AcadReady) {
        run.PassTurn(session, session == 0);
        run.SessionEnded(session, std::nullopt);
        return;
    }

    platform_.clock.Sleep(AcadReachedPause);
    std::optional<SkipReason> lost;
    const WaitOutcome firstPrompt = WaitForCommandPrompt();
    run.PassTurn(session, false);
    if (firstPrompt == WaitOutcome::TimedOut) {
        SendCommand(Escape);
        lost = AcadLost() ? LostReason() : SkipReason::TimeLimit;
    } else if (firstPrompt == WaitOutcome::AcadLost) {
        lost = LostReason();
    }
    if (!lost) {
        SetUpVariables();
        if (AcadLost()) lost = LostReason();
    }
    while (!lost) {
        const std::optional<std::size_t> index = run.Take(session);
        if (!index) break;
        skipped_.clear();
        drawingListed_ = false;
        const std::string& source = sources[*index];
        if (ConvertDrawing(*index, source, targets) == DrawingOutcome::AcadLost) {
            lost = LostReason();
            if (!drawingListed_) Skip(source, *lost);
        }
        run.Finish(*index, std::exchange(skipped_, {}));
    }
    if (!AcadLost() && firstPrompt == WaitOutcome::Done) {
        if (settings.SaveTmpdwg) SaveToTmpDwg(settings.CommandWait);
        if (!AcadLost()) RestoreVariables();
    }
    notAnsweringRun_ = AcadNotAnswering();
    // Nothing is typed into an AutoCAD that is gone or hung, not even quit.
    if (AcadLost()) ClearWindows();
    else if (settings.AcadClose) CloseAcad();
    run.SessionEnded(session, lost);
}

}  // namespace tovimo
