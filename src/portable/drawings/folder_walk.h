#pragma once
// The walk through given folders that both the console program and the main
// window's tree use. It reports what it meets to a visitor, in the order in
// which the file system lists the entries, a sub-folder's content right after
// the sub-folder itself.
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace tovimo {

class FolderVisitor {
public:
    virtual ~FolderVisitor() = default;
    // Every visitor call gives true to go on, false to end the walk at once;
    // after a false nothing more is reported, not even the folders left.

    // A folder whose entries follow until the matching FolderLeft: a given
    // folder (its caption the last component of its path), or, with
    // sub-folders on, a folder inside one (its caption its entry name). path
    // is its full path, without a "\" at the end.
    virtual bool FolderEntered(const std::string& path, std::string_view caption) = 0;
    virtual bool FolderLeft() = 0;
    // A file in the folder entered last, of any extension. Its full path is
    // folderPath + "\" + name.
    virtual bool FileFound(const std::string& folderPath, std::string_view name) = 0;
    // A path given by itself that names a file.
    virtual bool FileGiven(const std::string& path) = 0;
    // A path given by itself that names nothing.
    virtual bool MissingGiven(const std::string& path) = 0;
};

// The caption of a given folder: the last component of its path. A drive
// root (D:\) has none of its own and is captioned with its drive letter.
std::string FolderCaption(std::string_view folderPath);

// Walks one given folder: its entries ("." and ".." passed over), and with
// withSubFolders the entries of every sub-folder level as well; without it
// sub-folders are passed over. Hidden and system entries are walked like any
// other. A folder that cannot be read has no entries. False when the visitor
// ended the walk.
bool WalkGivenFolder(FileSystem& files, std::string_view folderPath, bool withSubFolders,
                     FolderVisitor& visitor);

// Walks the given paths in the order given: a folder as WalkGivenFolder
// does, a file or a missing path reported by itself. False when the visitor
// ended the walk.
bool WalkGivenPaths(FileSystem& files, const std::vector<std::string>& paths, bool withSubFolders,
                    FolderVisitor& visitor);

}  // namespace tovimo
