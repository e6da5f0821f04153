#pragma once
#include <string>
#include <vector>

namespace tovimo {

// A Windows profile (.ini) file, read and written key by key. Section and key
// names compare without regard to letter case.
class ProfileFile {
public:
    virtual ~ProfileFile() = default;
    // GetPrivateProfileStringA: the value, or defaultValue when the file,
    // section or key is missing. The value comes back whole, however long,
    // without the blanks around it and without one pair of double or single
    // quotes that encloses it.
    virtual std::string ReadString(const std::string& filePath, const std::string& section,
                                   const std::string& key, const std::string& defaultValue) = 0;
    // GetPrivateProfileStringA with no key: the names of the keys of a
    // section, in file order; empty when the file or the section is missing.
    virtual std::vector<std::string> ReadKeyNames(const std::string& filePath,
                                                  const std::string& section) = 0;
    // WritePrivateProfileStringA; false when the file cannot be written.
    virtual bool WriteString(const std::string& filePath, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

}  // namespace tovimo
