#pragma once
#include <string>

namespace tovimo {

// A Windows profile (.ini) file, read and written key by key.
class ProfileFile {
public:
    virtual ~ProfileFile() = default;
    // GetPrivateProfileStringA: the value, or defaultValue when the file,
    // section or key is missing.
    virtual std::string ReadString(const std::string& filePath, const std::string& section,
                                   const std::string& key, const std::string& defaultValue) = 0;
    // WritePrivateProfileStringA; false when the file cannot be written.
    virtual bool WriteString(const std::string& filePath, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

}  // namespace tovimo
