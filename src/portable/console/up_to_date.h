#pragma once
// An update run (/u) passes over the drawings whose result is there already
// and is not older than the drawing; the rest are converted.
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "runlists/run_lists.h"
#include "runlists/target_rules.h"

namespace tovimo {

struct UpdateSelection {
    RunLists toConvert;                 // in the run's order, targets kept in step
    std::vector<std::size_t> indexes;   // each one's index in the whole run
    std::vector<std::string> upToDate;  // passed over, in the run's order
    std::vector<std::size_t> upToDateIndexes;
};

// resultExtension: what AutoCAD adds to a target (".dxf", ".dwg").
UpdateSelection SelectOutOfDate(FileSystem& files, const RunLists& lists, const TargetRules& rules,
                                std::string_view resultExtension);

}  // namespace tovimo
