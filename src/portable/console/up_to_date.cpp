#include "console/up_to_date.h"

#include "convert/result_check.h"
#include "runlists/target_path.h"

namespace tovimo {

UpdateSelection SelectOutOfDate(FileSystem& files, const RunLists& lists, const TargetRules& rules,
                                std::string_view resultExtension) {
    UpdateSelection selection;
    selection.toConvert.ok = lists.ok;
    selection.toConvert.failedFolder = lists.failedFolder;
    const bool withTargets = lists.TargetList.size() == lists.SourceList.size();
    for (std::size_t i = 0; i < lists.SourceList.size(); ++i) {
        const std::string& source = lists.SourceList[i];
        const std::string target = SaveFileTarget(rules, source, i, lists.TargetList);
        const FileStamp result = files.GetFileStamp(ExpectedResultPath(target, resultExtension));
        const FileStamp drawing = files.GetFileStamp(source);
        // An empty result is what a failed save leaves: never up to date.
        if (result.exists && result.size > 0 && drawing.exists &&
            result.lastWriteTime >= drawing.lastWriteTime) {
            selection.upToDate.push_back(source);
            selection.upToDateIndexes.push_back(i);
            continue;
        }
        selection.toConvert.SourceList.push_back(source);
        if (withTargets) selection.toConvert.TargetList.push_back(lists.TargetList[i]);
        selection.indexes.push_back(i);
    }
    return selection;
}

}  // namespace tovimo
