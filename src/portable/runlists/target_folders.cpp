#include "runlists/target_folders.h"

#include "drawings/path_parts.h"
#include "text/cp932_text.h"

namespace tovimo {

FolderCreation CreateTargetFolders(FileSystem& files, std::string_view saveDir,
                                   const std::string& folder) {
    if (files.DirectoryExists(folder)) return {};
    // The relative part begins after as many characters as saveDir has;
    // its leading "\" is dropped.
    std::string_view rest = std::string_view(folder).substr(
        ByteOffsetOfCharacter(folder, CharacterCount(saveDir)));
    rest = rest.substr(ByteOffsetOfCharacter(rest, 1));
    std::string current(saveDir);
    for (;;) {
        const int separator = FindText(rest, "\\");
        const std::string_view level =
            separator > 0 ? rest.substr(0, static_cast<std::size_t>(separator - 1)) : rest;
        if (!level.empty()) {
            current += '\\';
            current += level;
        }
        // A level that appears meanwhile (made by another program) is as good
        // as one made here.
        if (!files.DirectoryExists(current) && !files.CreateDirectory(current) &&
            !files.DirectoryExists(current)) {
            return {false, current};
        }
        if (separator <= 0) break;
        rest.remove_prefix(static_cast<std::size_t>(separator));
    }
    // The last level made is folder itself, unless folder did not start
    // with saveDir; then it is folder that is missing.
    if (!files.DirectoryExists(folder)) return {false, folder};
    return {};
}

}  // namespace tovimo
