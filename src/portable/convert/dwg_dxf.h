#pragma once
// DwgDxf converts drawings: it reaches AutoCAD, prepares its system
// variables, types one direction's macro for every drawing of a run while
// watching the prompt, and puts the variables back.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "convert/acad_macro.h"
#include "convert/conversion_view.h"
#include "convert/skipped_drawing.h"
#include "platform/file_system.h"
#include "platform/worker_threads.h"
#include "settings/conversion_settings.h"

namespace tovimo {

enum ConvertResult : int {
    ConvertStartFailed = 0,       // AutoCAD could not be started
    ConvertOtherAcadRunning = 1,  // an AutoCAD this object did not start is running
    ConvertCarriedOut = 2,        // the run ended or was cancelled
    ConvertRefused = 3,           // bad settings; nothing was sent
};

class AcadSession;
class SessionProcesses;

class DwgDxf : public AcadMacro {
public:
    DwgDxf(AcadPlatform platform, ProfileFile& profile, FileSystem& files, ConversionView& view,
           std::string iniFileName, std::string macroSection);
    ~DwgDxf() override;

    // Converts sources[i] to the target that the rules give; targets[i] is
    // read only when SaveSameDir is off and SaveChildDir is on. When the
    // macro names the target ("#SAVEFILE"), a drawing counts as converted
    // only if AutoCAD wrote that file while its lines were typed, and a
    // drawing whose result an earlier drawing of the run is saved to is
    // listed and not typed at all. An AutoCAD
    // that crashes or stops answering during a drawing is ended and started
    // again, until RestartLimit drawings in a row have lost it.
    //
    // keptResults are the results of drawings left out of the run (an
    // update run passes over those up to date): a drawing saved to one of
    // them is listed as one whose result an earlier drawing takes.
    //
    // Each result counted as converted is given its drawing's last-write
    // time, which is what tells an update run that it is up to date.
    //
    // With AcadCount above 1, that many AutoCADs convert the drawings side
    // by side, each driven by a session on a thread of its own, and each
    // restarted on its own; the calling thread hands on what the sessions
    // report (progress, Cancel) and shows the end as a run with one does.
    ConvertResult ConvertFiles(const std::vector<std::string>& sources,
                               const std::vector<std::string>& targets,
                               const ConvertSettings& settings,
                               const std::vector<std::string>& keptResults = {});

    // The drawings the last run did not convert, in the order of skipping.
    const std::vector<SkippedDrawing>& LastSkipped() const { return skipped_; }
    // True when the last run ended before its end because AutoCAD went away
    // or stopped answering (and could not, or might not, be started again).
    bool LastRunLostAcad() const { return lostRun_; }
    // True when the last run ended because AutoCAD stopped answering.
    bool LastRunAcadNotAnswering() const { return notAnsweringRun_; }
    // How often the last run started AutoCAD again.
    int LastRunRestarts() const { return restarts_; }

    // The sessions' threads: real ones unless set (the tests run them on
    // the virtual clock).
    void SetWorkerThreads(WorkerThreads& threads) { threads_ = &threads; }
    // The scratch drawing of session k (from 0) of a run with several; the
    // first keeps TmpDwgName.
    static std::string SessionTmpDwgName(const std::string& programFolder, int session);

    const std::string TmpDwgName;
    // Set by Cancel (from the window, or from a console control handler on
    // another thread); tested before each drawing. A run does not clear it:
    // whoever starts the run does, before Cancel can be pressed, so that a
    // Cancel during AutoCAD's start is not lost.
    std::atomic<bool> Canceled{false};
    // Set, with Canceled, when the program is about to be ended (its console
    // closed): an AutoCAD that is still starting is ended at once instead
    // of being waited for.
    std::atomic<bool> EndNow{false};
    // A second line for the end message (what an update run passed over);
    // empty: none.
    std::string EndNote;

private:
    // Converts the drawings in session; false when the run ended before the
    // last drawing for want of an AutoCAD.
    bool ConvertAll(AcadSession& session, const std::vector<std::string>& sources,
                    const std::vector<std::string>& targets);
    bool Refused(const ConvertSettings& settings);

    // Several AutoCADs (dwg_dxf_sessions.cpp).
    ConvertResult ConvertWithSessions(const std::vector<std::string>& sources,
                                      const std::vector<std::string>& targets);
    // Per source: whether a kept result or an earlier drawing of the run is
    // saved to its result.
    std::vector<bool> ResultsTaken(const std::vector<std::string>& sources,
                                   const std::vector<std::string>& targets,
                                   const std::vector<std::string>& keptResults);
    void Skip(const std::string& source, SkipReason reason, const std::string& acadShown = {});
    void SkipFrom(const std::vector<std::string>& sources, std::size_t first, SkipReason reason);
    void EndedByLoss(const AcadSession& session);
    // The end of a run that reached AutoCAD, with one AutoCAD or several:
    // the drawings not converted, then the end message (that of a cancel
    // when the run did not get through its list).
    ConvertResult EndRun(bool complete);
    // Tells the view when the session's last start ended its AutoCAD.
    void TellEndedUnstarted(const AcadSession& session);

    FileSystem& files_;
    ConversionView& view_;
    WorkerThreads* threads_ = &SystemWorkerThreads();
    // The links of the sessions of a run with several AutoCADs, kept for the
    // next run as the one AutoCAD's link is kept.
    std::vector<std::unique_ptr<AcadControl>> sessionLinks_;
    std::unique_ptr<SessionProcesses> sessionProcesses_;

    // Run-local data.
    ConvertSettings settings_;
    std::vector<SkippedDrawing> skipped_;
    std::vector<bool> resultTaken_;  // per source: an earlier one has its result
    bool lostRun_ = false;
    bool notAnsweringRun_ = false;
    int restarts_ = 0;
};

// The name a skipped drawing is listed by: its file name without the blanks
// and control characters at either end.
std::string SkipName(const std::string& source);

}  // namespace tovimo
