#include "drawings/folder_walk.h"

#include "drawings/path_parts.h"

namespace tovimo {

namespace {

constexpr std::string_view AllEntries = "\\*.*";

class Walker {
public:
    Walker(FileSystem& files, bool withSubFolders, FolderVisitor& visitor)
        : files_(files), withSubFolders_(withSubFolders), visitor_(visitor) {}

    // Walks the folder whose path is in path_, entered already. path_ is
    // extended for each sub-folder and cut back after it, so the walk builds
    // no path it does not hand out.
    bool WalkEntries() {
        const std::size_t folderLength = path_.size();
        path_ += AllEntries;
        DirectoryEntry entry;
        std::unique_ptr<DirectorySearch> search = files_.FindFirst(path_, entry);
        path_.resize(folderLength);
        if (!search) return true;
        do {
            if (entry.IsDotEntry()) continue;
            if (!entry.IsFolder()) {
                if (!visitor_.FileFound(path_, entry.name)) return false;
            } else if (withSubFolders_) {
                path_ += '\\';
                path_ += entry.name;
                const bool goOn = visitor_.FolderEntered(path_, entry.name) && WalkEntries() &&
                                  visitor_.FolderLeft();
                path_.resize(folderLength);
                if (!goOn) return false;
            }
        } while (search->Next(entry));
        return true;
    }

    bool WalkGiven(std::string_view folderPath) {
        path_.assign(WithoutTrailingSeparators(folderPath));
        return visitor_.FolderEntered(path_, FolderCaption(folderPath)) && WalkEntries() &&
               visitor_.FolderLeft();
    }

private:
    FileSystem& files_;
    const bool withSubFolders_;
    FolderVisitor& visitor_;
    std::string path_;
};

}  // namespace

std::string FolderCaption(std::string_view folderPath) {
    const std::string_view folder = WithoutTrailingSeparators(folderPath);
    const std::string_view name = FileNameOf(folder);
    if (name.empty() && folder.size() >= 2 && folder.back() == ':') {
        return std::string(folder.substr(folder.size() - 2, 1));
    }
    return std::string(name);
}

bool WalkGivenFolder(FileSystem& files, std::string_view folderPath, bool withSubFolders,
                     FolderVisitor& visitor) {
    return Walker(files, withSubFolders, visitor).WalkGiven(folderPath);
}

bool WalkGivenPaths(FileSystem& files, const std::vector<std::string>& paths, bool withSubFolders,
                    FolderVisitor& visitor) {
    Walker walker(files, withSubFolders, visitor);
    for (const std::string& path : paths) {
        bool goOn = true;
        switch (files.GetPathKind(path)) {
            case PathKind::Folder: goOn = walker.WalkGiven(path); break;
            case PathKind::File: goOn = visitor.FileGiven(path); break;
            case PathKind::Missing: goOn = visitor.MissingGiven(path); break;
        }
        if (!goOn) return false;
    }
    return true;
}

}  // namespace tovimo
