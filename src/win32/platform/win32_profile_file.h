#pragma once
// The settings file through the profile functions of Windows.
#include <string>
#include <vector>

#include "platform/profile_file.h"

namespace tovimo {

class Win32ProfileFile : public ProfileFile {
public:
    // GetPrivateProfileStringA. The buffer starts at 2048 bytes, far more
    // than any setting or command line needs, and grows until the value fits,
    // so that no value is ever cut short.
    std::string ReadString(const std::string& filePath, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override;
    // GetPrivateProfileStringA with no key name, in a buffer that grows the
    // same way.
    std::vector<std::string> ReadKeyNames(const std::string& filePath,
                                          const std::string& section) override;
    // WritePrivateProfileStringA; its FALSE means the file cannot be written.
    bool WriteString(const std::string& filePath, const std::string& section,
                     const std::string& key, const std::string& value) override;
    ProfileText ReadText(const std::string& filePath) override;
    // The new text goes to filePath + ".tmp", is flushed to the disk, and
    // takes the file's place with ReplaceFileA (MoveFileExA when there was
    // no file yet).
    ReplaceOutcome ReplaceWhole(const std::string& filePath, const std::string& text) override;
    // A named mutex for the folder, waited for at most LockWaitMs.
    std::unique_ptr<ProfileLock> LockFolder(const std::string& filePath) override;

    static constexpr unsigned long LockWaitMs = 10000;
};

// The name of the mutex that guards the settings files of filePath's folder,
// the same for every spelling of the folder's name that differs in case.
std::string ProfileLockName(const std::string& filePath);

}  // namespace tovimo
