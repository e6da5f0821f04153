#pragma once
// What the sessions of a run with several AutoCADs share: whether any
// reached its AutoCAD, the drawings handed out in the run's order, each
// drawing's result, how each session ended, and the events that the run's
// own thread hands on to the view. Every call is guarded; any session's thread may
// make it.
#include <atomic>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "acadlink/acad_control.h"
#include "convert/conversion_view.h"
#include "convert/skipped_drawing.h"

namespace tovimo {

// Why a session stopped before the drawings ran out.
struct SessionLoss {
    SkipReason reason;   // what the drawings it would have taken are listed with
    bool acadLost;       // its AutoCAD went away or stopped answering for good
    bool notAnswering;   // ... by not answering
};

class SessionRun {
public:
    // resultTaken[i]: an earlier drawing of the run is saved to drawing i's
    // result, so it is listed and not handed out. canceled is the run's Cancel.
    SessionRun(std::vector<bool> resultTaken, const std::atomic<bool>& canceled, int sessions);

    // ---- starting AutoCAD ---------------------------------------------------------------
    // How a session's first start ended.
    void FirstStartEnded(StartResult result);

    // ---- the drawings -------------------------------------------------------------------
    // Whether any drawing is left to hand out.
    bool AnyLeft() const;
    // The next drawing in the run's order; nothing once all are
    // handed out or the run is cancelled. A drawing whose result is taken
    // is passed over and ends as TargetTaken.
    std::optional<std::size_t> Take();
    // A session's AutoCAD is being started again.
    void Restarting(RestartCause cause);
    // A session's AutoCAD did not take SDI 1; handed on once a run.
    void SingleDocumentRefused();
    // The drawing's end; reason empty: converted. acadShown: what AutoCAD
    // last showed about a drawing not converted.
    void Finish(std::size_t index, std::optional<SkipReason> reason,
                const std::string& acadShown = {});
    // A session has ended; loss: why before the drawings ran out.
    // endedUnstarted: the session's number (from 1) when it ended because
    // its AutoCAD did not start and was ended; 0 otherwise. startFailed:
    // its first start failed, with or without a process to end.
    void SessionEnded(std::optional<SessionLoss> loss, int endedUnstarted = 0, bool startFailed = false);

    // ---- what the run's thread hands on ------------------------------------------------
    enum class EventKind { Reached, Started, Finished, Restarting, EndedUnstarted, SingleDocumentRefused };
    struct Event {
        EventKind kind;
        std::size_t index = 0;              // Started, Finished
        std::optional<SkipReason> reason;   // Finished
        RestartCause cause = RestartCause::AcadGone;  // Restarting
        int session = 0;                    // EndedUnstarted: from 1
        int left = 0;                       // EndedUnstarted: the sessions going on
        std::string acadShown{};            // Finished
    };
    std::vector<Event> TakeEvents();

    // ---- once every session has ended --------------------------------------------------
    bool AnyReached() const;
    bool OtherAcadSeen() const;
    // How many drawings were handed out: always the first ones of the run.
    std::size_t Handed() const;
    // Each drawing's result; empty for converted and for drawings not handed out.
    std::vector<std::optional<SkipReason>> Results() const;
    // What AutoCAD last showed about each drawing not converted.
    std::vector<std::string> Shown() const;
    // Why the session that stopped early last did; nothing when none did.
    std::optional<SessionLoss> LastLoss() const;
    // The last loss of an AutoCAD for good; nothing when none was lost.
    std::optional<SessionLoss> LastAcadLoss() const;

private:
    const std::vector<bool> resultTaken_;
    const std::atomic<bool>& canceled_;

    mutable std::mutex mutex_;
    bool reached_ = false;
    bool otherAcad_ = false;
    bool singleDocumentRefused_ = false;
    std::size_t next_ = 0;
    std::vector<std::optional<SkipReason>> results_;
    std::vector<std::string> shown_;
    std::optional<SessionLoss> lastLoss_;
    std::optional<SessionLoss> lastAcadLoss_;
    int going_;  // sessions that have not stopped early
    std::vector<Event> events_;
};

}  // namespace tovimo
