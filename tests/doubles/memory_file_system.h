#pragma once
// The file system of the programs over an in-memory tree of folders and
// files, which the tests (and the stand-in AutoCAD) may share.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "memory_files.h"
#include "platform/file_system.h"

namespace tovimo::testing {

class MemoryFileSystem : public FileSystem {
public:
    static constexpr std::uint64_t StepsPerMs = FileTimeStepsPerSecond / 1000;

    explicit MemoryFileSystem(MemoryFiles& files) : files_(files) {}

    bool DeleteFile(const std::string& path) override;
    bool CreateDirectory(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    PathKind GetPathKind(const std::string& path) override;
    // Last-write times from the ms of the tree's clock.
    FileStamp GetFileStamp(const std::string& path) override;
    // To whole ms; fails for a held file.
    bool SetLastWriteTime(const std::string& path, std::uint64_t lastWriteTime) override;
    // Patterns "folder\*.*" and "folder\*" list every entry of the folder,
    // "." and ".." first unless the folder is a drive root; any other last
    // component names one entry. Either way in the tree's order.
    // An unreadable folder fails as Unreadable, a pattern over MAX_PATH as
    // PathTooLong. Folder links carry the reparse-point attribute.
    std::unique_ptr<DirectorySearch> FindFirst(const std::string& pattern,
                                               DirectoryEntry& first,
                                               SearchFailure& failure) override;
    // The tree's folder number, unless the folder was made one without.
    std::optional<FolderIdentity> IdentifyFolder(const std::string& path) override;
    // Relative paths are completed with CurrentDirectory; "." and ".."
    // components are not resolved.
    std::string FullPathName(const std::string& path) override;
    // Windows' key, byte for byte: the UTF-16LE form with every letter
    // upper-cased (full-width, Greek and Cyrillic too). The tree itself
    // tells only ASCII letters apart without case.
    std::string PathKey(const std::string& path) override;

    std::string CurrentDirectory = "C:\\";

    // Extra attribute bits reported for an entry (hidden, system, ...).
    void SetAttributes(const std::string& path, std::uint32_t attributes);

    // A folder for which IdentifyFolder gives none (a file system that
    // keeps no identities, or a link whose target may not be opened).
    void WithoutIdentity(const std::string& path);
    int IdentityRequests() const { return identityRequests_; }

    // Every CreateDirectory call, in order, failed ones too.
    const std::vector<std::string>& CreateCalls() const { return createCalls_; }
    // Searches started and not yet ended.
    int OpenSearches() const { return openSearches_; }
    int SearchesStarted() const { return searchesStarted_; }

private:
    class Search;
    static std::string Key(const std::string& path);

    MemoryFiles& files_;
    std::map<std::string, std::uint32_t> attributes_;
    std::set<std::string> withoutIdentity_;
    int identityRequests_ = 0;
    std::vector<std::string> createCalls_;
    int openSearches_ = 0;
    int searchesStarted_ = 0;
};

}  // namespace tovimo::testing
