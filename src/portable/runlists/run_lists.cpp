#include "runlists/run_lists.h"

#include "runlists/same_file.h"
#include "runlists/target_folders.h"
#include "runlists/target_path.h"

namespace tovimo {

RunLists BuildRunLists(FileSystem& files, const std::vector<TFileName>& drawings,
                       const TargetRules& rules) {
    RunLists lists;
    const std::string_view saveDir = OutputFolderBase(rules.SaveDir);
    std::vector<std::string> sources;
    for (const TFileName& drawing : drawings) sources.push_back(drawing.FullPath);
    const std::vector<bool> repeated = NamedEarlier(files, sources);
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        // One drawing given twice is one drawing: converted once.
        if (repeated[i]) continue;
        const TFileName& drawing = drawings[i];
        lists.SourceList.push_back(drawing.FullPath);
        if (rules.SaveSameDir) continue;
        const std::string folder = TargetFolder(saveDir, drawing.SubDir);
        lists.TargetList.push_back(TargetInFolder(folder, drawing.FullPath));
        if (!rules.SaveChildDir) continue;
        FolderCreation creation = CreateTargetFolders(files, saveDir, folder);
        if (!creation.ok) {
            lists.ok = false;
            lists.failedFolder = std::move(creation.failedFolder);
            break;
        }
    }
    return lists;
}

bool OutputFolderChosen(const TargetRules& rules, std::string_view programFolder) {
    if (rules.SaveSameDir) return true;
    return !rules.SaveDir.empty() && rules.SaveDir != programFolder;
}

}  // namespace tovimo
