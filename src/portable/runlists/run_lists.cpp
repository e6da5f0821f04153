#include "runlists/run_lists.h"

#include "runlists/target_folders.h"
#include "runlists/target_path.h"

namespace tovimo {

RunLists BuildRunLists(FileSystem& files, const std::vector<TFileName>& drawings,
                       const TargetRules& rules) {
    RunLists lists;
    const std::string_view saveDir = OutputFolderBase(rules.SaveDir);
    for (const TFileName& drawing : drawings) {
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
