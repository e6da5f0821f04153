#pragma once
// What the sessions of a run with several AutoCADs share: the turn to start
// AutoCAD, the drawings handed out in the run's order, each drawing's
// result, Cancel, and the events that the run's own thread hands on to the
// view. Every call is guarded; any session's thread may make it.
#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

#include "acadlink/acad_control.h"
#include "convert/skipped_drawing.h"

namespace tovimo {

class SessionRun {
public:
    explicit SessionRun(std::size_t drawings);

    // ---- starting, one session after another ---------------------------------------
    // Sessions start their AutoCADs in turn: each looks for another AutoCAD
    // and starts its own only once the sessions before it own theirs.
    bool IsTurnOf(int session) const;
    // The next session may start. stopOthers: the first session found
    // another AutoCAD or could not start one, and the others do not try.
    void PassTurn(int session, bool stopOthers);
    bool StartingStopped() const;
    // How the session's start ended.
    void StartEnded(int session, StartResult result);

    // ---- the drawings -------------------------------------------------------------------
    // The next drawing in the run's order, for session; nothing once all
    // are handed out or the run is cancelled.
    std::optional<std::size_t> Take(int session);
    // The drawing's end: what was listed for it (empty: converted).
    void Finish(std::size_t index, std::vector<SkippedDrawing> skipped);
    // The session has ended; lost: why it ended before the drawings did
    // (AutoCAD gone, not answering, or the first prompt not reached).
    void SessionEnded(int session, std::optional<SkipReason> lost);
    void Cancel();
    bool Canceled() const;

    // ---- what the run's thread hands on ------------------------------------------
    enum class EventKind { Reached, Started, Finished };
    struct Event {
        EventKind kind;
        int session;
        std::size_t index;  // Started, Finished
    };
    std::vector<Event> TakeEvents();

    // ---- after every session has ended -------------------------------------------
    bool AnyReached() const;
    bool OtherAcadSeen() const;
    // How many drawings were handed out (always the first ones of the run).
    std::size_t Handed() const;
    // Why the last session that ended early did; nothing when none did.
    std::optional<SkipReason> LastLoss() const;
    // Every drawing's listing, in the run's order.
    std::vector<SkippedDrawing> SkippedInRunOrder() const;

private:
    mutable std::mutex mutex_;
    int turn_ = 0;
    bool startingStopped_ = false;
    bool reached_ = false;
    bool otherAcad_ = false;
    bool canceled_ = false;
    std::size_t next_ = 0;
    std::vector<std::vector<SkippedDrawing>> results_;
    std::optional<SkipReason> lastLoss_;
    std::vector<Event> events_;
};

}  // namespace tovimo
