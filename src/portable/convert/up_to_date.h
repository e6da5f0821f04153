#pragma once
// Which drawings of a run share a result, and which results are up to date.
// An update run (/u) passes over the drawings whose result is up to date;
// the rule is the same whichever program asks.
#include <string>
#include <string_view>
#include <vector>

#include "convert/skipped_drawing.h"
#include "platform/file_system.h"
#include "runlists/run_lists.h"
#include "runlists/target_rules.h"

namespace tovimo {

// Each drawing's result: the target "#SAVEFILE" types for it, with the
// extension AutoCAD adds (".dxf", ".dwg").
std::vector<std::string> ExpectedResultPaths(const TargetRules& rules,
                                             const std::vector<std::string>& sources,
                                             const std::vector<std::string>& targets,
                                             std::string_view resultExtension);

// For each result, whether one of kept or an earlier result of the list
// names the same file: that drawing would overwrite another's result.
std::vector<bool> ResultsTakenEarlier(FileSystem& files, const std::vector<std::string>& results,
                                      const std::vector<std::string>& kept = {});

struct UpdateSelection {
    RunLists toConvert;                 // in the run's order, targets kept in step
    std::vector<std::size_t> indexes;   // each one's index in the whole run
    // Per entry of toConvert: an earlier drawing of the whole run takes its
    // result, so it is listed, never typed, whatever the dates say.
    std::vector<bool> resultTaken;
    std::vector<std::size_t> upToDate;  // indexes of those passed over, in the run's order
    // Their results, which the drawings of toConvert must not take over.
    std::vector<std::string> keptResults;

    // Whether nothing is left that AutoCAD would be given.
    bool NothingToConvert() const;
};

// What a run with nothing to convert lists, no AutoCAD started: each of
// sources (toConvert's) as a drawing whose result an earlier one takes.
std::vector<SkippedDrawing> ListedAsTaken(const std::vector<std::string>& sources);

// Which results meet is worked out on the whole list first: a drawing whose
// result an earlier one takes is never up to date. Every other drawing is
// passed over when its result is (ResultUpToDate).
UpdateSelection SelectOutOfDate(FileSystem& files, const RunLists& lists, const TargetRules& rules,
                                std::string_view resultExtension);

}  // namespace tovimo
