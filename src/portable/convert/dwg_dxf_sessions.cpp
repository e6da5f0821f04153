// A run with several AutoCADs: each session starts its own AutoCAD, side by
// side with the others, and converts the drawings handed to it exactly as a
// run with one AutoCAD converts each drawing; the calling thread hands on
// progress and Cancel.
//
// One thread per session: every wait of the conversion is a plain sleep or
// a bounded send, written for one AutoCAD at a time, and each session keeps
// its own link (windows, send limit, what it lost) and its own AcadSession.
// A thread per session runs that code unchanged, where serving the sessions
// in turn from one thread would have to cut every wait into steps.
#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "acadlink/session_processes.h"
#include "convert/acad_session.h"
#include "convert/dwg_dxf.h"
#include "convert/result_check.h"
#include "convert/session_run.h"

namespace tovimo {

namespace {

// How often the run's thread hands on what the sessions did.
constexpr int RunPollMs = 20;

// A session's thread has no window: nothing is pending for it.
class NoMessages : public MessagePump {
public:
    void ProcessPendingMessages() override {}
};

NoMessages& SessionMessages() {
    static NoMessages pump;
    return pump;
}

// One session's whole part of the run, on its own thread. Besides the system
// (whose Win32 side keeps no state of its own) it touches only its own
// session and link, and what the sessions share, which is guarded.
void RunSession(SessionRun& run, AcadSession& session, int number,
                const std::vector<std::string>& sources, const std::vector<std::string>& targets) {
    // A start also looks for another AutoCAD, and takes only new windows
    // that no other session's AutoCAD owns. Its Pelkadu presses only its
    // own AutoCAD's startup dialog, so the sessions start side by side.
    const StartResult start = session.Start();
    run.FirstStartEnded(start);
    if (start != AcadReady) {
        run.SessionEnded(std::nullopt, session.EndedUnstarted() ? number : 0, true);
        return;
    }
    const std::optional<SkipReason> notReady = session.WaitForFirstPrompt();

    std::optional<SessionLoss> loss;
    const auto lostWith = [&session](SkipReason reason) {
        return SessionLoss{reason, session.Lost(), session.NotAnswering()};
    };
    // Ended here: an AutoCAD that did not start is not one lost on the way.
    int endedUnstarted = session.EndedUnstarted() ? number : 0;
    if (notReady) {
        loss = endedUnstarted != 0 ? SessionLoss{*notReady, false, false} : lostWith(*notReady);
    } else if (run.AnyLeft() && !session.SetUpVariables()) {
        // Nothing is set in an AutoCAD that gets no drawing (a Cancel while it started).
        loss = lostWith(session.LostReason());
    }
    while (!loss) {
        // A fresh AutoCAD is due before the next drawing, if there is one.
        if (session.RenewalDue() && run.AnyLeft()) {
            run.Restarting(RestartCause::Scheduled);
            const RestartOutcome renewal = session.Renew();
            if (session.EndedUnstarted()) endedUnstarted = number;
            if (renewal == RestartOutcome::Canceled) break;
            if (renewal == RestartOutcome::Failed) {
                loss = SessionLoss{SkipReason::AcadRestartFailed, false, false};
                break;
            }
        }
        const std::optional<std::size_t> index = run.Take();
        if (!index) break;
        const DrawingResult result = session.Convert(*index, sources[*index], targets);
        run.Finish(*index,
                   result.outcome == DrawingResult::Outcome::Converted
                       ? std::nullopt
                       : std::optional<SkipReason>(result.reason),
                   result.acadShown);
        if (result.outcome != DrawingResult::Outcome::AcadLost) continue;
        // This session stops once its AutoCAD may not be started again; the
        // others go on with the drawings it would have taken.
        if (!session.RestartAllowed()) {
            loss = lostWith(session.LostReason());
            break;
        }
        const SkipReason lostReason = session.LostReason();
        run.Restarting(session.NotAnswering() ? RestartCause::AcadNotAnswering
                                              : RestartCause::AcadGone);
        const RestartOutcome restart = session.Restart();
        if (session.EndedUnstarted()) endedUnstarted = number;
        if (restart == RestartOutcome::Canceled) break;
        if (restart == RestartOutcome::Failed)
            loss = SessionLoss{SkipReason::AcadRestartFailed, true,
                               lostReason == SkipReason::AcadNotAnswering};
    }
    session.PutBack();
    session.Close();
    run.SessionEnded(loss, endedUnstarted);
}

}  // namespace

std::string DwgDxf::SessionTmpDwgName(const std::string& programFolder, int session) {
    if (session == 0) return programFolder + "tmp.dwg";
    return programFolder + "tmp" + std::to_string(session + 1) + ".dwg";
}

ConvertResult DwgDxf::ConvertWithSessions(const std::vector<std::string>& sources,
                                          const std::vector<std::string>& targets) {
    const int count = settings_.AcadCount;
    const AcadPlatform sessionPlatform{platform_.windows, platform_.clock, SessionMessages(),
                                       platform_.processes, platform_.encoding};
    while (sessionLinks_.size() < static_cast<std::size_t>(count))
        sessionLinks_.push_back(std::make_unique<AcadControl>(sessionPlatform));
    // Sessions kept linked by an earlier run own their AutoCADs again.
    sessionProcesses_ = std::make_unique<SessionProcesses>();
    const std::string programFolder = platform_.processes.ProgramFolder();
    std::vector<std::unique_ptr<AcadSession>> sessions;
    for (int k = 0; k < count; ++k) {
        AcadControl& link = *sessionLinks_[k];
        link.SetAcadPath(AcadPath);
        link.SetCommandSendLimitMs(CommandSendLimitMs());
        link.BindToSession(sessionProcesses_.get(), k);
        link.SetStartStop(&EndNow);
        if (link.TextWindow != 0 && platform_.windows.IsWindow(link.MainWindow))
            sessionProcesses_->Assign(platform_.windows.GetWindowProcessId(link.MainWindow), k);
        sessions.push_back(std::make_unique<AcadSession>(
            link, sessionPlatform, files_, MacroLines, ResultExtension(MacroSection),
            k == 0 ? TmpDwgName : SessionTmpDwgName(programFolder, k), settings_, Canceled));
    }

    SessionRun run(resultTaken_, Canceled, count);
    for (const auto& session : sessions)
        session->OnSingleDocumentRefused([&run] { run.SingleDocumentRefused(); });
    std::vector<std::unique_ptr<Worker>> workers;
    for (int k = 0; k < count; ++k) {
        AcadSession* session = sessions[k].get();
        workers.push_back(threads_->Start([&run, session, k, &sources, &targets] {
            RunSession(run, *session, k + 1, sources, targets);
        }));
    }

    int finished = 0;
    const auto handOn = [&] {
        for (const SessionRun::Event& event : run.TakeEvents()) {
            switch (event.kind) {
                case SessionRun::EventKind::Reached:
                    view_.EnableCancel(true);
                    view_.SetProgressRange(static_cast<int>(sources.size()));
                    view_.SetProgressPosition(0);
                    break;
                case SessionRun::EventKind::Started:
                    view_.DrawingStarting(static_cast<int>(event.index), sources[event.index]);
                    break;
                case SessionRun::EventKind::Finished:
                    view_.DrawingEnded(static_cast<int>(event.index), sources[event.index],
                                       event.reason, event.acadShown);
                    view_.SetProgressPosition(++finished);
                    break;
                case SessionRun::EventKind::Restarting:
                    view_.AcadRestarting(++restarts_, event.cause);
                    break;
                case SessionRun::EventKind::EndedUnstarted:
                    view_.AcadEndedUnstarted(event.session, event.left);
                    break;
                case SessionRun::EventKind::SingleDocumentRefused:
                    view_.SingleDocumentRefused();
                    break;
            }
        }
    };
    const auto allEnded = [&] {
        return std::all_of(workers.begin(), workers.end(),
                           [](const auto& worker) { return worker->Finished(); });
    };
    while (!allEnded()) {
        platform_.clock.Sleep(RunPollMs);
        platform_.messages.ProcessPendingMessages();
        handOn();
    }
    for (const auto& worker : workers) worker->Join();
    handOn();

    if (!run.AnyReached()) return run.OtherAcadSeen() ? ConvertOtherAcadRunning : ConvertStartFailed;

    skipped_.clear();
    const std::vector<std::optional<SkipReason>> results = run.Results();
    const std::vector<std::string> shown = run.Shown();
    const std::size_t handed = run.Handed();
    for (std::size_t i = 0; i < handed; ++i)
        if (results[i]) Skip(sources[i], *results[i], shown[i]);
    // An AutoCAD lost for good ends the run as with one AutoCAD, also when
    // the others took its drawings: its variables were not put back.
    std::optional<SessionLoss> acadLoss = run.LastAcadLoss();
    // Drawings no session took: every session stopped first.
    bool complete = true;
    if (!Canceled && handed < sources.size()) {
        complete = false;
        const SessionLoss loss =
            run.LastLoss().value_or(SessionLoss{SkipReason::AcadGone, true, false});
        if (!acadLoss && loss.acadLost) acadLoss = loss;
        SkipFrom(sources, handed, loss.reason);
    }
    if (acadLoss) {
        lostRun_ = true;
        notAnsweringRun_ = acadLoss->notAnswering;
    }
    view_.SetProgressPosition(0);
    return EndRun(complete);
}

}  // namespace tovimo
