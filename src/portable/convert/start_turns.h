#pragma once
// Lets the sessions of a run start their AutoCADs one at a time: every
// Pelkadu presses the first startup dialog it finds and ends, so two
// AutoCADs starting at once could have one dialog pressed twice and the
// other never.
namespace tovimo {

class StartTurns {
public:
    virtual ~StartTurns() = default;
    // Waits until session may start an AutoCAD; false when it may not (the
    // run was cancelled meanwhile, or no more AutoCADs are to be started).
    virtual bool TakeStartTurn(int session) = 0;
    // Once the AutoCAD started has its command prompt, or did not get it.
    virtual void PassStartTurn(int session) = 0;
};

}  // namespace tovimo
