#pragma once
// One AutoCAD of a run, through one link: it is started (or found) and
// prepared, converts the drawings it is handed one at a time, is started
// again when it crashed or stopped answering, or after a number of drawings,
// and is put back and closed at the run's end. What belongs to the whole run
// (the list of drawings, what was not converted, progress, cancel, what the
// user is shown) is the caller's: the session only tells how each drawing
// went.
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "acadlink/acad_control.h"
#include "convert/skipped_drawing.h"
#include "platform/file_system.h"
#include "settings/conversion_settings.h"

namespace tovimo {

struct DrawingResult {
    enum class Outcome {
        Converted,
        Skipped,  // not converted; the session's AutoCAD goes on
        AcadLost, // AutoCAD crashed or stopped answering during the drawing
    };
    Outcome outcome = Outcome::Converted;
    // Why it was not converted. For a lost AutoCAD this is the loss, unless
    // the drawing had already failed for another reason first.
    SkipReason reason = SkipReason::TimeLimit;
    // For a drawing not converted, what AutoCAD last showed about it (see
    // AcadShownText): the message box answered for it, else the last
    // command-line text read. Empty after a crash.
    std::string acadShown;
};

enum class RestartOutcome {
    Restarted,  // a new AutoCAD is up and prepared
    Failed,     // no AutoCAD could be made ready again
    Canceled,   // the run was cancelled while it waited
};

class AcadSession {
public:
    // link, macroLines, settings and canceled must outlive the session.
    AcadSession(AcadControl& link, AcadPlatform platform, FileSystem& files,
                const std::vector<std::string>& macroLines, std::string_view resultExtension,
                std::string tmpDwgName, const ConvertSettings& settings,
                const std::atomic<bool>& canceled);

    // Pelkadu, AutoCAD's arguments and StartAcad; on AcadReady the pause
    // AutoCAD is given before it is spoken to. An AutoCAD it started whose
    // windows did not all come in time is ended (EndedUnstarted).
    StartResult Start();
    // Waits for the first command prompt, WaitLimit long; after a Cancel,
    // StartWait long at most, while Pelkadu presses the startup dialog.
    // Empty when it came; else the reason every drawing of the session is
    // not converted. An AutoCAD that shows none in time is ended when its
    // process is known (EndedUnstarted).
    std::optional<SkipReason> WaitForFirstPrompt();
    // Whether the last start or wait for the first prompt gave up on the
    // AutoCAD and ended its process.
    bool EndedUnstarted() const { return endedUnstarted_; }
    // FILEDIA, ISAVEBAK, PROXYNOTICE (and DYNMODE), then SDI for the run;
    // false when AutoCAD was lost on the way.
    bool SetUpVariables();
    // Called when a set-up finds that AutoCAD did not take SDI 1; the
    // session goes on with AutoCAD as it is.
    void OnSingleDocumentRefused(std::function<void()> tell) {
        singleDocumentRefused_ = std::move(tell);
    }

    // Types the macro for sources[i]. targets[i] is read only when
    // SaveSameDir is off and SaveChildDir is on.
    DrawingResult Convert(std::size_t i, const std::string& source,
                          const std::vector<std::string>& targets);

    // Whether another AutoCAD may be started after the drawing that was
    // just lost: fewer than RestartLimit drawings in a row have lost one.
    bool RestartAllowed() const;
    // After a drawing lost AutoCAD: ends that AutoCAD's process when it no
    // longer answers, waits (bounded by StartWait) until it has ended, then
    // starts and prepares another as at the run's start.
    RestartOutcome Restart();
    // Whether RestartEvery drawings have been handed to this AutoCAD.
    bool RenewalDue() const;
    // Puts the variables back, closes AutoCAD whatever AcadClose says, waits
    // until it has ended and starts and prepares another.
    RestartOutcome Renew();

    // The run's end in an AutoCAD that still answers and was prepared: the
    // closing tmp.dwg save when asked for, and the variables put back.
    void PutBack();
    // CloseAcad when AcadClose asks for it; a lost AutoCAD is only
    // forgotten, nothing more is typed into it.
    void Close();

    // Saves the open drawing as the scratch drawing. False when the wait
    // for the command prompt ended without it.
    bool SaveToTmpDwg(int commandWait);

    bool Lost() const { return acadGone_ || link_.AcadNotAnswering(); }
    bool NotAnswering() const { return link_.AcadNotAnswering(); }
    SkipReason LostReason() const;

private:
    // Lost: AutoCAD went away or stopped answering.
    enum class WaitOutcome { Done, TimedOut, Lost };
    enum class OpenOutcome { Opened, Failed, Lost };

    // Bounded by WaitLimit; with cancelBound, also by StartWait from the
    // moment a Cancel is seen.
    template <typename Test>
    WaitOutcome WaitUntil(Test test, bool cancelBound = false);
    OpenOutcome WatchOpen(SkipReason& reason);
    // Whether test holds for every text the drawing's lines would type.
    template <typename Test>
    bool EveryDrawingText(const std::string& source, const std::string& target, Test test) const;
    bool IsOverwriteQuestion();
    // shownWhenListed: the command line when the drawing was given up on
    // before its last line (an overwrite answered "n").
    std::string ShownFor(const DrawingResult& result, const std::string& shownWhenListed) const;
    void RestoreVariables();
    void SetUpSingleDocument();
    void SendAndWait(const std::string& text, int commandWait);
    // Waits, bounded by StartWait, until the process of the AutoCAD that was
    // linked has ended; lets messages run meanwhile, and gives up on a cancel.
    bool WaitForProcessEnd();
    RestartOutcome StartAgain();
    // Ends the process of an AutoCAD that did not start; false when it is
    // not known.
    bool EndUnstarted(OwnedProcess* process);

    AcadControl& link_;
    AcadPlatform platform_;
    FileSystem& files_;
    const std::vector<std::string>& macroLines_;
    const std::string_view resultExtension_;
    const std::string tmpDwgName_;
    const ConvertSettings& settings_;
    const std::atomic<bool>& canceled_;

    bool acadGone_ = false;
    bool prompted_ = false;      // the first command prompt came
    bool prepared_ = false;      // the variables were set for the run
    bool endedUnstarted_ = false;
    int lostInARow_ = 0;         // drawings in a row that lost AutoCAD
    int drawingsSinceStart_ = 0; // drawings handed to this AutoCAD
    std::string savedDynMode_;
    // SDI as the session's first AutoCAD of the run had it: read once, and
    // put back (0) in whichever AutoCAD ends the run when the run changed it.
    bool sdiRead_ = false;
    bool putBackSdi_ = false;
    std::function<void()> singleDocumentRefused_;
};

}  // namespace tovimo
