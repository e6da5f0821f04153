#pragma once
// Creates the folders that results are saved to, before AutoCAD is reached.
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tovimo {

struct FolderCreation {
    bool ok = true;
    // The level that could not be created, when ok is false.
    std::string failedFolder;
};

// Creates every missing level of folder below saveDir, from saveDir
// downwards; folder is saveDir (as OutputFolderBase gives it) followed by a
// relative part that starts with "\", or saveDir alone. An existing folder
// costs one existence test. Levels are split at "\" separators only, never
// at the trail byte of a double-byte character. When a level cannot be
// created (a missing drive or output folder, no rights, a name the file
// system refuses, a file in the way) the work ends there and that level is
// reported.
FolderCreation CreateTargetFolders(FileSystem& files, std::string_view saveDir,
                                   const std::string& folder);

}  // namespace tovimo
