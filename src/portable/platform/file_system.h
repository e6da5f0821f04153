#pragma once
#include <string>

namespace tovimo {

// The few file operations the programs make themselves. Drawings are never
// read or written here: AutoCAD does that.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // DeleteFileA; false when there was nothing to delete or it failed.
    virtual bool DeleteFile(const std::string& path) = 0;
    // CreateDirectoryA of one level; false when it failed.
    virtual bool CreateDirectory(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
};

}  // namespace tovimo
