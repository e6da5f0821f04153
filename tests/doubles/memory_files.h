#pragma once
// An in-memory tree of folders and files with Windows path rules: "\"
// separates levels, names compare without regard to ASCII letter case, and a
// folder lists its entries in the order they were made (the order in which
// the tests expect the file system to report them).
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tovimo::testing {

class MemoryFiles {
public:
    struct Entry {
        std::string name;
        bool isFolder = false;
        bool isLink = false;      // a folder link (a junction, say)
        bool nameConverts = true; // false: name has "?" for what code page 932 lacks
    };
    // What a directory listing tells of a file.
    struct FileInfo {
        std::int64_t lastWriteMs = 0;
        std::size_t size = 0;
    };

    MemoryFiles();
    ~MemoryFiles();

    // Test set-up: makes every missing level.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::string& content = {});

    // What a program may do: fails when the parent folder is missing.
    bool WriteFile(const std::string& path, const std::string& content);
    bool MakeFolder(const std::string& path);  // one level; false if it exists
    bool RemoveFile(const std::string& path);
    // Fails for a missing or held file.
    bool SetLastWriteMs(const std::string& path, std::int64_t ms);
    std::optional<std::string> ReadFile(const std::string& path) const;
    // A file's text split at its line ends ("\r\n"), each line without
    // it; empty for a missing file.
    std::vector<std::string> Lines(const std::string& path) const;
    bool FileExists(const std::string& path) const;
    bool FolderExists(const std::string& path) const;
    // Empty for a folder or a missing path.
    std::optional<FileInfo> InfoOf(const std::string& path) const;
    // The entries of a folder in creation order; empty for a missing folder.
    std::vector<Entry> List(const std::string& folder) const;
    // Every file path, in creation order of the folders and files.
    std::vector<std::string> AllFiles() const;

    // A file that another program holds open against writing (sharing only
    // reading): it can be read but not written. Nor can its time be set,
    // standing for whatever keeps a program from doing so.
    void Hold(const std::string& path, bool held = true);

    // A folder that refuses new entries (a read-only medium, say).
    void MakeReadOnly(const std::string& folder);

    // Where last-write times come from; without a clock every write is at 0.
    void SetClock(std::function<std::int64_t()> nowMs) { nowMs_ = std::move(nowMs); }
    // Last-write times are kept to whole steps of this many ms, as FAT keeps
    // them to 2 s; 1 by default.
    void SetTimeResolution(std::int64_t ms) { resolutionMs_ = ms; }
    // A folder entry at path that leads to the folder at target, which is
    // looked up each time the link is passed (it may lie below the link).
    void AddFolderLink(const std::string& path, const std::string& target);
    // A folder whose entries may not be listed.
    void MakeUnreadable(const std::string& folder);
    bool IsUnreadable(const std::string& folder) const;
    // An entry whose real name has characters that code page 932 lacks; its
    // name in the tree is the one the ANSI functions give, "?" in their place.
    void MarkNameLost(const std::string& path);
    // A number that tells the folder at path from every other folder, links
    // followed; none for a missing folder.
    std::optional<std::uint64_t> FolderNumber(const std::string& path) const;

private:
    struct Node;
    Node* Find(const std::string& path) const;
    Node* FindParent(const std::string& path, std::string* leafName) const;
    void Written(Node& file, const std::string& content) const;
    // Node, or the folder it links to (links of links followed, a bounded
    // number of times).
    Node* Resolve(Node* node) const;
    Node* FindEntry(const std::string& path) const;  // the entry itself, a link not followed
    std::unique_ptr<Node> root_;
    std::function<std::int64_t()> nowMs_;
    std::int64_t resolutionMs_ = 1;
};

}  // namespace tovimo::testing
