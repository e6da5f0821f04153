#include "runlists/target_path.h"

#include "drawings/path_parts.h"

namespace tovimo {

std::string_view OutputFolderBase(std::string_view saveDir) {
    return WithoutTrailingSeparators(saveDir);
}

std::string TargetFolder(std::string_view saveDir, std::string_view subDir) {
    std::string folder(OutputFolderBase(saveDir));
    folder += subDir;
    return folder;
}

std::string TargetInFolder(std::string_view folder, std::string_view source) {
    std::string target(folder);
    target += '\\';
    target += RemoveExtension(FileNameOf(source));
    return target;
}

std::string SaveFileTarget(const TargetRules& rules, const std::string& source, std::size_t i,
                           const std::vector<std::string>& targets) {
    if (rules.SaveSameDir) return std::string(RemoveExtension(source));
    if (rules.SaveChildDir && i < targets.size()) return targets[i];
    return TargetInFolder(OutputFolderBase(rules.SaveDir), source);
}

}  // namespace tovimo
