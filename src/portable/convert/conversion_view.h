#pragma once
// What a conversion run shows of itself. The main window, the console
// program and the tests each provide one.
#include <optional>
#include <string>
#include <vector>

#include "convert/skipped_drawing.h"
#include "platform/user_messages.h"

namespace tovimo {

// Why AutoCAD is being started again during a run.
enum class RestartCause {
    AcadGone,          // it went away during a drawing (a crash)
    AcadNotAnswering,  // it stopped taking command text; it is ended
    Scheduled,         // RestartEvery drawings were converted in it
};

class ConversionView : public UserMessages {
public:
    virtual void EnableCancel(bool enabled) = 0;
    // The progress runs from 0 to maximum.
    virtual void SetProgressRange(int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    // Sources[index] (index from 0) is about to be converted.
    virtual void DrawingStarting(int index, const std::string& source) {
        (void)index;
        (void)source;
    }
    // Sources[index] has been dealt with: converted when reason is empty;
    // else acadShown is what AutoCAD last showed about it (may be empty).
    virtual void DrawingEnded(int index, const std::string& source,
                              std::optional<SkipReason> reason, const std::string& acadShown) {
        (void)index;
        (void)source;
        (void)reason;
        (void)acadShown;
    }
    // AutoCAD is being started again, the number-th time in this run. Never
    // modal: an unattended run must not wait for a user here.
    virtual void AcadRestarting(int number, RestartCause cause) {
        (void)number;
        (void)cause;
    }
    // The AutoCAD of session (from 1) did not start, and was ended; left
    // AutoCADs go on with the run (0: none). Never modal.
    virtual void AcadEndedUnstarted(int session, int left) {
        (void)session;
        (void)left;
    }
    // AutoCAD did not take SDI 1 (several drawings open, or no such
    // variable): the run goes on as AutoCAD is. Told once a run; never modal.
    virtual void SingleDocumentRefused() {}
    // Modal: returns when the user has seen the list.
    virtual void ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) = 0;
};

}  // namespace tovimo
