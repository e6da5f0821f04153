#pragma once
// The file system through the file functions of Windows: paths in code page
// 932, as the ANSI functions take them.
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
    // Opened for its attributes only, sharing everything.
    bool SetLastWriteTime(const std::string& path, std::uint64_t lastWriteTime) override;
    // FindFirstFileW, with each name converted to code page 932.
    std::unique_ptr<DirectorySearch> FindFirst(const std::string& pattern,
                                               DirectoryEntry& first,
                                               SearchFailure& failure) override;
    // The volume serial number and file index (GetFileInformationByHandle).
    std::optional<FolderIdentity> IdentifyFolder(const std::string& path) override;
    std::string FullPathName(const std::string& path) override;
    // The path in UTF-16, upper-cased as the invariant locale does it.
    std::string PathKey(const std::string& path) override;
};

}  // namespace tovimo::win32
