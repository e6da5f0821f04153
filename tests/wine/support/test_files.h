#pragma once
// Files and folders for the Wine tests, by their Windows (code page 932) paths.
#include <optional>
#include <string>
#include <vector>

namespace tovimo::wine_tests {

// The folder of the running test program, with its trailing "\": the build's
// bin folder, where the programs and "Drawing1.dwg" lie.
std::string BinFolder();

std::optional<std::string> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);
// The names of the files in a folder (no sub-folders).
std::vector<std::string> FilesIn(const std::string& folder);
// A text's lines, split at CR LF.
std::vector<std::string> SplitLines(const std::string& text);
// Copies a file into a folder under its own name; false when it fails.
bool CopyInto(const std::string& file, const std::string& folder);

// A fresh folder under the system's temporary folder, removed with all its
// content when the object ends. Path() ends in "\".
class TempFolder {
public:
    explicit TempFolder(const std::string& name = "tovimo-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Creates a folder below this one (several levels at once) and gives its
    // path with a trailing "\"; empty when it cannot be made.
    std::string MakeFolder(const std::string& relativePath);

private:
    std::string path_;
};

// Deletes a folder and everything in it.
void RemoveTree(const std::string& folder);

}  // namespace tovimo::wine_tests
