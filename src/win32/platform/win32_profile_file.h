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
};

}  // namespace tovimo
