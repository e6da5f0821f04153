#pragma once
// The lines a run writes into its log as it goes, the same for TovimoCmd's
// /log and the window's run log: the drawings an update passes over, each
// drawing as it ends with the seconds from its own start (drawings overlap
// with several AutoCADs), and at the end a line for each drawing the run
// never reached.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/run_log.h"
#include "convert/dwg_dxf.h"
#include "convert/skipped_drawing.h"
#include "convert/up_to_date.h"
#include "platform/clock.h"
#include "runlists/run_lists.h"
#include "runlists/target_rules.h"

namespace tovimo {

// Where each drawing of lists is saved, as the log names it; all empty when
// the macro has no "#SAVEFILE" line (it saves its own way). extension: what
// AutoCAD adds to a target (".dxf", ".dwg").
std::vector<std::string> LoggedResults(const RunLists& lists, const TargetRules& rules,
                                       bool macroNamesResult, std::string_view extension);

// The reason logged for the drawings a run never reached.
const char* RunEndLogReason(ConvertResult result, bool canceled);

class RunLogLines {
public:
    // log and clock outlive this. results: LoggedResults of the whole run's
    // lists; the run converts all of them until PassOver says otherwise.
    RunLogLines(RunLog& log, Clock& clock, std::vector<std::string> results);

    // An update run: the drawings found up to date are logged as passed
    // over, and the run converts the rest, in selection's order. sources:
    // the whole run's, which selection's indexes count in.
    void PassOver(const UpdateSelection& selection, const std::vector<std::string>& sources);

    // Drawing i of those the run converts starts, or ends (converted when
    // reason is empty).
    void Starting(std::size_t i);
    void Ended(std::size_t i, const std::string& source, std::optional<SkipReason> reason,
               const std::string& acadShown);
    // A line for each drawing not logged yet: with its reason when the run
    // listed it in skipped, else with endReason. sources: those the run converts.
    void Rest(const std::vector<std::string>& sources, const std::string& endReason,
              const std::vector<SkippedDrawing>& skipped);

private:
    RunLog& log_;
    Clock& clock_;
    std::vector<std::string> results_;  // of the whole run
    std::vector<std::size_t> indexes_;  // each converted drawing's place in the whole run
    std::vector<std::int64_t> starts_;  // -1: not started
    std::vector<bool> logged_;
};

}  // namespace tovimo
