#pragma once
// Folders and files whose paths pass MAX_PATH, made and removed through
// "\\?\" paths, which the ANSI file functions cannot take.
#include <string>
#include <vector>

namespace tovimo::wine_tests {

class DeepFolder {
public:
    // Folder levels named levelName below base (a code page 932 folder path
    // without "\" at the end) until the path is longer than minLength
    // characters.
    DeepFolder(const std::string& base, const std::string& levelName, std::size_t minLength);
    // Removes the files written and the levels made, deepest first.
    ~DeepFolder();
    DeepFolder(const DeepFolder&) = delete;
    DeepFolder& operator=(const DeepFolder&) = delete;

    // The deepest level's path, without "\" at the end; empty when a level
    // could not be made.
    const std::string& Path() const { return path_; }
    // Writes a file in the deepest level.
    bool WriteFile(const std::string& name, const std::string& content);

private:
    std::vector<std::string> levels_;
    std::vector<std::string> files_;
    std::string path_;
};

}  // namespace tovimo::wine_tests
