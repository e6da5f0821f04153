#pragma once
// The walk through given folders that both the console program and the main
// window's tree use. It reports what it meets to a visitor, in the order in
// which the file system lists the entries, a sub-folder's content right after
// the sub-folder itself.
#include <string>
#include <string_view>
#include <vector>

#include "drawings/walk_problem.h"
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
    // What the walk cannot reach: a folder that cannot be read or whose path
    // is too long (reported between its FolderEntered and FolderLeft, with
    // no entries), a folder link whose target cannot be told (never
    // entered), or an entry whose name code page 932 cannot write (a file,
    // or, with sub-folders on, a folder; never entered). path is the full
    // path, with "?" for the characters that have no code page 932 form.
    virtual bool Unreachable(const std::string& path, WalkProblemKind kind, bool isFolder) = 0;
};

// The longest path the ANSI file functions take: MAX_PATH characters less
// the terminating zero. A double-byte character counts once.
constexpr std::size_t MaxPathCharacters = 259;

// The caption of a given folder: the last component of its path. A drive
// root (D:\) has none of its own and is captioned with its drive letter.
std::string FolderCaption(std::string_view folderPath);

// Walks one given folder: its entries ("." and ".." passed over), and with
// withSubFolders the entries of every sub-folder level as well; without it
// sub-folders are passed over. Hidden and system entries are walked like any
// other. Links are followed, but no folder is entered twice in one given
// folder's walk: a folder reached again through a link (a loop back to a
// folder above, or a second link to the same folder) is passed over, its
// drawings having been reported once already. False when the visitor ended
// the walk.
bool WalkGivenFolder(FileSystem& files, std::string_view folderPath, bool withSubFolders,
                     FolderVisitor& visitor);

// Walks the given paths in the order given: a folder as WalkGivenFolder
// does, a file or a missing path reported by itself. False when the visitor
// ended the walk.
bool WalkGivenPaths(FileSystem& files, const std::vector<std::string>& paths, bool withSubFolders,
                    FolderVisitor& visitor);

}  // namespace tovimo
