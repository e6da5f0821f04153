#include "drawings/folder_walk.h"

#include <set>

#include "drawings/path_parts.h"

namespace tovimo {

namespace {

constexpr std::string_view AllEntries = "\\*.*";

// A folder whose search pattern the file functions refuse; the drawings in
// it could not be opened either.
bool TooLongToSearch(std::string_view folderPath) {
    return CharacterCount(folderPath) + AllEntries.size() > MaxPathCharacters;
}

class Walker {
public:
    Walker(FileSystem& files, bool withSubFolders, FolderVisitor& visitor)
        : files_(files), withSubFolders_(withSubFolders), visitor_(visitor) {}

    // Walks the folder whose path is in path_, entered already. path_ is
    // extended for each sub-folder and cut back after it, so the walk builds
    // no path it does not hand out.
    bool WalkEntries() {
        if (TooLongToSearch(path_))
            return visitor_.Unreachable(path_, WalkProblemKind::PathTooLong, true);
        const std::size_t folderLength = path_.size();
        path_ += AllEntries;
        DirectoryEntry entry;
        SearchFailure failure = SearchFailure::NothingFound;
        std::unique_ptr<DirectorySearch> search = files_.FindFirst(path_, entry, failure);
        path_.resize(folderLength);
        if (!search) return ReportFailure(failure);
        do {
            if (entry.IsDotEntry()) continue;
            if (!entry.IsFolder()) {
                const bool goOn = entry.nameConverts ? visitor_.FileFound(path_, entry.name)
                                                     : ReportLostName(entry, folderLength);
                if (!goOn) return false;
            } else if (withSubFolders_) {
                const bool goOn = entry.nameConverts ? WalkSubFolder(entry, folderLength)
                                                     : ReportLostName(entry, folderLength);
                if (!goOn) return false;
            }
        } while (search->Next(entry));
        return true;
    }

    bool WalkGiven(std::string_view folderPath) {
        entered_.clear();
        enteredPaths_.clear();
        linkMet_ = false;
        path_.assign(WithoutTrailingSeparators(folderPath));
        return Enter(FolderCaption(folderPath), false);
    }

private:
    bool WalkSubFolder(const DirectoryEntry& entry, std::size_t folderLength) {
        path_ += '\\';
        path_ += entry.name;
        const bool goOn =
            Enter(entry.name, (entry.attributes & file_attribute::ReparsePoint) != 0);
        path_.resize(folderLength);
        return goOn;
    }

    // Enters the folder whose path is in path_, unless this walk has been
    // in it already. Only a link can lead into a folder a second time, so a
    // link whose target cannot be told is not followed: it might lead back
    // up and never end.
    bool Enter(std::string_view caption, bool isLink) {
        if (isLink && !linkMet_) IdentifyEnteredSoFar();
        if (!TooLongToSearch(path_)) {
            if (!linkMet_) {
                enteredPaths_.push_back(path_);
            } else if (const auto identity = files_.IdentifyFolder(path_)) {
                if (!entered_.insert(*identity).second) return true;
            } else if (isLink) {
                return visitor_.Unreachable(path_, WalkProblemKind::Unreadable, true);
            }
        }
        return visitor_.FolderEntered(path_, caption) && WalkEntries() && visitor_.FolderLeft();
    }

    // Until a walk meets a link, no folder can have been reached twice, and
    // telling folders apart costs a look-up per folder; so the folders'
    // paths are only kept, and told apart once the first link comes.
    void IdentifyEnteredSoFar() {
        linkMet_ = true;
        for (const std::string& path : enteredPaths_)
            if (const auto identity = files_.IdentifyFolder(path)) entered_.insert(*identity);
        enteredPaths_.clear();
    }

    bool ReportFailure(SearchFailure failure) {
        switch (failure) {
            case SearchFailure::NothingFound: return true;
            case SearchFailure::Unreadable:
                return visitor_.Unreachable(path_, WalkProblemKind::Unreadable, true);
            case SearchFailure::PathTooLong:
                return visitor_.Unreachable(path_, WalkProblemKind::PathTooLong, true);
        }
        return true;
    }

    bool ReportLostName(const DirectoryEntry& entry, std::size_t folderLength) {
        path_ += '\\';
        path_ += entry.name;
        const bool goOn =
            visitor_.Unreachable(path_, WalkProblemKind::NoCp932Name, entry.IsFolder());
        path_.resize(folderLength);
        return goOn;
    }

    FileSystem& files_;
    const bool withSubFolders_;
    FolderVisitor& visitor_;
    std::string path_;
    // The folders entered in the walk of the current given folder: their
    // identities once a link has been met, their paths before.
    std::set<FolderIdentity> entered_;
    std::vector<std::string> enteredPaths_;
    bool linkMet_ = false;
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
