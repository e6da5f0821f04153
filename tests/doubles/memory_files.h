#pragma once
// An in-memory tree of folders and files with Windows path rules: "\"
// separates levels, names compare without regard to ASCII letter case, and a
// folder lists its entries in the order they were made (the order in which
// the tests expect the file system to report them).
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
    std::optional<std::string> ReadFile(const std::string& path) const;
    bool FileExists(const std::string& path) const;
    bool FolderExists(const std::string& path) const;
    // The entries of a folder in creation order; empty for a missing folder.
    std::vector<Entry> List(const std::string& folder) const;
    // Every file path, in creation order of the folders and files.
    std::vector<std::string> AllFiles() const;

    // A folder that refuses new entries (a read-only medium, say).
    void MakeReadOnly(const std::string& folder);

private:
    struct Node;
    Node* Find(const std::string& path) const;
    Node* FindParent(const std::string& path, std::string* leafName) const;
    std::unique_ptr<Node> root_;
};

}  // namespace tovimo::testing
