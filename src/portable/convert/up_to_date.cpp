#include "convert/up_to_date.h"

#include <algorithm>

#include "convert/dwg_dxf.h"
#include "convert/result_check.h"
#include "runlists/same_file.h"
#include "runlists/target_path.h"

namespace tovimo {

std::vector<std::string> ExpectedResultPaths(const TargetRules& rules,
                                             const std::vector<std::string>& sources,
                                             const std::vector<std::string>& targets,
                                             std::string_view resultExtension) {
    std::vector<std::string> results;
    results.reserve(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i)
        results.push_back(
            ExpectedResultPath(SaveFileTarget(rules, sources[i], i, targets), resultExtension));
    return results;
}

std::vector<bool> ResultsTakenEarlier(FileSystem& files, const std::vector<std::string>& results,
                                      const std::vector<std::string>& kept) {
    std::vector<std::string> all = kept;
    all.insert(all.end(), results.begin(), results.end());
    const std::vector<bool> earlier = NamedEarlier(files, all);
    return std::vector<bool>(earlier.begin() + static_cast<std::ptrdiff_t>(kept.size()), earlier.end());
}

bool UpdateSelection::NothingToConvert() const {
    return std::all_of(resultTaken.begin(), resultTaken.end(), [](bool taken) { return taken; });
}

std::vector<SkippedDrawing> ListedAsTaken(const std::vector<std::string>& sources) {
    std::vector<SkippedDrawing> listed;
    for (const std::string& source : sources)
        listed.push_back({SkipName(source), source, SkipReason::TargetTaken});
    return listed;
}

UpdateSelection SelectOutOfDate(FileSystem& files, const RunLists& lists, const TargetRules& rules,
                                std::string_view resultExtension) {
    UpdateSelection selection;
    selection.toConvert.ok = lists.ok;
    selection.toConvert.failedFolder = lists.failedFolder;
    const bool withTargets = lists.TargetList.size() == lists.SourceList.size();
    const std::vector<std::string> results =
        ExpectedResultPaths(rules, lists.SourceList, lists.TargetList, resultExtension);
    const std::vector<bool> taken = ResultsTakenEarlier(files, results);
    for (std::size_t i = 0; i < lists.SourceList.size(); ++i) {
        const std::string& source = lists.SourceList[i];
        if (!taken[i] && ResultUpToDate(files.GetFileStamp(source), files.GetFileStamp(results[i]))) {
            selection.upToDate.push_back(i);
            selection.keptResults.push_back(results[i]);
            continue;
        }
        selection.toConvert.SourceList.push_back(source);
        if (withTargets) selection.toConvert.TargetList.push_back(lists.TargetList[i]);
        selection.indexes.push_back(i);
        selection.resultTaken.push_back(taken[i]);
    }
    return selection;
}

}  // namespace tovimo
