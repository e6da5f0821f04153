#pragma once
// DwgDxf converts drawings: it reaches AutoCAD, prepares its system
// variables, types one direction's macro for every drawing of a run while
// watching the prompt, and puts the variables back.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "convert/acad_macro.h"
#include "convert/conversion_view.h"
#include "convert/skipped_drawing.h"
#include "platform/file_system.h"
#include "platform/worker_threads.h"

namespace tovimo {

class SessionRun;

// Every wait for AutoCAD that the design leaves open is bounded by this,
// unless the settings say otherwise: ten minutes, which a slow AutoCAD
// opening a big drawing does not reach.
constexpr int DefaultWaitLimitSeconds = 600;

// How many AutoCAD sessions a run may use side by side.
constexpr int MinAcadCount = 1;
constexpr int MaxAcadCount = 8;

// The settings of one run, in the order the run takes them.
struct ConvertSettings {
    int CommandWait = 100;  // W, milliseconds
    int StartWait = 15;     // seconds
    bool AcadClose = false;
    bool Rewite = false;
    int FileDia = 1;
    int ISaveBak = 1;
    int ProxyNotice = 1;
    bool SaveTmpdwg = false;
    bool SaveSameDir = true;
    std::string SaveDir;
    bool SaveChildDir = true;
    std::string AcadArg;
    bool DYNCancel = false;
    int WaitLimit = DefaultWaitLimitSeconds;  // seconds
    // AutoCAD sessions side by side; more than one needs AcadPath.
    int AcadCount = MinAcadCount;
};

enum ConvertResult : int {
    ConvertStartFailed = 0,       // AutoCAD could not be started
    ConvertOtherAcadRunning = 1,  // an AutoCAD this object did not start is running
    ConvertCarriedOut = 2,        // the run ended or was cancelled
    ConvertRefused = 3,           // bad settings; nothing was sent
};

class DwgDxf : public AcadMacro {
public:
    DwgDxf(AcadPlatform platform, ProfileFile& profile, FileSystem& files, ConversionView& view,
           std::string iniFileName, std::string macroSection);
    // The same with a scratch drawing of its own (a session of several).
    DwgDxf(AcadPlatform platform, ProfileFile& profile, FileSystem& files, ConversionView& view,
           std::string iniFileName, std::string macroSection, std::string tmpDwgName);
    ~DwgDxf() override;

    // Converts sources[i] to the target that the rules give; targets[i] is
    // read only when SaveSameDir is off and SaveChildDir is on. When the
    // macro names the target ("#SAVEFILE"), a drawing counts as converted
    // only if AutoCAD wrote that file while its lines were typed.
    //
    // With AcadCount above 1, that many AutoCADs convert the drawings side
    // by side, each driven by a session of its own on a thread of its own;
    // the calling thread hands on what the sessions report (progress,
    // Cancel) and shows the end as a run with one AutoCAD does.
    ConvertResult ConvertFiles(const std::vector<std::string>& sources,
                               const std::vector<std::string>& targets,
                               const ConvertSettings& settings);

    // Saves the open drawing as TmpDwgName. False when the wait for the
    // command prompt ended without it (the time limit, or AutoCAD gone).
    bool SaveToTmpDwg(int commandWait);

    // The drawings the last run did not convert, in the order of skipping.
    const std::vector<SkippedDrawing>& LastSkipped() const { return skipped_; }
    // True when the last run ended because AutoCAD went away or stopped
    // answering.
    bool LastRunLostAcad() const { return acadGone_ || notAnsweringRun_; }
    // True when the last run ended because AutoCAD stopped answering.
    bool LastRunAcadNotAnswering() const { return notAnsweringRun_; }

    // The sessions' threads: real ones unless set (the tests run them on
    // the virtual clock).
    void SetWorkerThreads(WorkerThreads& threads) { threads_ = &threads; }
    // The scratch drawing of session k (from 0) of a run with several.
    static std::string SessionTmpDwgName(const std::string& programFolder, int session);
    // The sessions of the last run with several AutoCADs (kept with their
    // link for the next run, as one AutoCAD is kept).
    std::size_t SessionCount() const { return sessions_.size(); }
    const DwgDxf& Session(std::size_t k) const { return *sessions_[k]; }

    const std::string TmpDwgName;
    // Set by Cancel (from the window, or from a console control handler on
    // another thread); tested before each drawing. A run does not clear it:
    // whoever starts the run does, before Cancel can be pressed, so that a
    // Cancel during AutoCAD's start is not lost.
    std::atomic<bool> Canceled{false};

private:
    // AcadLost: AutoCAD went away or stopped answering; the run ends.
    enum class WaitOutcome { Done, TimedOut, AcadLost };
    enum class DrawingOutcome { Converted, Skipped, AcadLost };
    enum class OpenOutcome { Opened, Failed, AcadLost };

    bool AcadLost() const { return acadGone_ || AcadNotAnswering(); }
    SkipReason LostReason() const;
    bool RefuseSettings(const ConvertSettings& settings);

    // Several AutoCADs (dwg_dxf_sessions.cpp).
    ConvertResult ConvertWithSessions(const std::vector<std::string>& sources,
                                      const std::vector<std::string>& targets,
                                      const ConvertSettings& settings);
    void RunSession(SessionRun& run, int session, const std::vector<std::string>& sources,
                    const std::vector<std::string>& targets, const ConvertSettings& settings);

    DrawingOutcome ConvertDrawing(std::size_t i, const std::string& source,
                                  const std::vector<std::string>& targets);
    OpenOutcome WatchOpen(const std::string& source);
    // Whether test holds for every text the drawing's lines would type.
    template <typename Test>
    bool EveryDrawingText(const std::string& source, const std::string& target, Test test) const;
    bool IsOverwriteQuestion();
    template <typename Test>
    WaitOutcome WaitUntil(Test test);
    WaitOutcome WaitForCommandPrompt();
    void SetUpVariables();
    void RestoreVariables();
    void SendAndWait(const std::string& text, int commandWait);
    void Skip(const std::string& source, SkipReason reason);
    void SkipFrom(const std::vector<std::string>& sources, std::size_t first, SkipReason reason);

    ProfileFile& profile_;
    FileSystem& files_;
    ConversionView& view_;
    WorkerThreads* threads_ = &SystemWorkerThreads();
    std::vector<std::unique_ptr<DwgDxf>> sessions_;
    std::unique_ptr<SessionProcesses> sessionProcesses_;

    // Run-local data.
    ConvertSettings settings_;
    std::vector<SkippedDrawing> skipped_;
    bool skippedMark_ = false;
    bool acadGone_ = false;
    bool notAnsweringRun_ = false;
    bool drawingListed_ = false;  // the drawing under way is in skipped_
    std::string savedDynMode_;
};

// The name a skipped drawing is listed by: its file name without the blanks
// and control characters at either end.
std::string SkipName(const std::string& source);

}  // namespace tovimo
