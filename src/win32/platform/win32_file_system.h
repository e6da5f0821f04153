#pragma once
// The file system through the ANSI file functions of Windows.
#include "platform/file_system.h"

namespace tovimo::win32 {

class Win32FileSystem : public FileSystem {
public:
    bool DeleteFile(const std::string& path) override;
    bool CreateDirectory(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    // GetFileAttributesA, which finds hidden and system entries and drive
    // roots as well.
    PathKind GetPathKind(const std::string& path) override;
    FileStamp GetFileStamp(const std::string& path) override;
    std::unique_ptr<DirectorySearch> FindFirst(const std::string& pattern,
                                               DirectoryEntry& first) override;
    std::string FullPathName(const std::string& path) override;
};

}  // namespace tovimo::win32
