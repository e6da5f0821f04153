#pragma once
// DwgDxf converts drawings: it reaches AutoCAD, prepares its system
// variables, types one direction's macro for every drawing of a run while
// watching the prompt, and puts the variables back.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/acad_macro.h"
#include "convert/conversion_settings.h"
#include "convert/conversion_view.h"
#include "convert/skipped_drawing.h"
#include "platform/file_system.h"

namespace tovimo {

enum ConvertResult : int {
    ConvertStartFailed = 0,       // AutoCAD could not be started
    ConvertOtherAcadRunning = 1,  // an AutoCAD this object did not start is running
    ConvertCarriedOut = 2,        // the run ended or was cancelled
    ConvertRefused = 3,           // bad settings; nothing was sent
};

class AcadSession;

class DwgDxf : public AcadMacro {
public:
    DwgDxf(AcadPlatform platform, ProfileFile& profile, FileSystem& files, ConversionView& view,
           std::string iniFileName, std::string macroSection);

    // Converts sources[i] to the target that the rules give; targets[i] is
    // read only when SaveSameDir is off and SaveChildDir is on. When the
    // macro names the target ("#SAVEFILE"), a drawing counts as converted
    // only if AutoCAD wrote that file while its lines were typed, and a
    // drawing whose result an earlier drawing of the run is saved to is
    // listed and not typed at all. An AutoCAD
    // that crashes or stops answering during a drawing is ended and started
    // again, until RestartLimit drawings in a row have lost it.
    ConvertResult ConvertFiles(const std::vector<std::string>& sources,
                               const std::vector<std::string>& targets,
                               const ConvertSettings& settings);

    // The drawings the last run did not convert, in the order of skipping.
    const std::vector<SkippedDrawing>& LastSkipped() const { return skipped_; }
    // True when the last run ended before its end because AutoCAD went away
    // or stopped answering (and could not, or might not, be started again).
    bool LastRunLostAcad() const { return lostRun_; }
    // True when the last run ended because AutoCAD stopped answering.
    bool LastRunAcadNotAnswering() const { return notAnsweringRun_; }
    // How often the last run started AutoCAD again.
    int LastRunRestarts() const { return restarts_; }

    const std::string TmpDwgName;
    // Set by Cancel (from the window, or from a console control handler on
    // another thread); tested before each drawing. A run does not clear it:
    // whoever starts the run does, before Cancel can be pressed, so that a
    // Cancel during AutoCAD's start is not lost.
    std::atomic<bool> Canceled{false};

private:
    // Converts the drawings in session; false when the run ended before the
    // last drawing for want of an AutoCAD.
    bool ConvertAll(AcadSession& session, const std::vector<std::string>& sources,
                    const std::vector<std::string>& targets);
    bool Refused(const ConvertSettings& settings);
    // Per source: whether an earlier drawing of the run is saved to its result.
    std::vector<bool> ResultsTakenEarlier(const std::vector<std::string>& sources,
                                          const std::vector<std::string>& targets);
    void Skip(const std::string& source, SkipReason reason);
    void SkipFrom(const std::vector<std::string>& sources, std::size_t first, SkipReason reason);
    void EndedByLoss(const AcadSession& session);

    FileSystem& files_;
    ConversionView& view_;

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
