#include "platform/win32_profile_file.h"

#include <windows.h>

#include <vector>

namespace tovimo {

namespace {
constexpr DWORD InitialValueBuffer = 2048;
// A settings file is small; beyond this a value is not worth reading whole.
constexpr DWORD LargestValueBuffer = 1u << 24;
}  // namespace

std::string Win32ProfileFile::ReadString(const std::string& filePath, const std::string& section,
                                         const std::string& key,
                                         const std::string& defaultValue) {
    std::vector<char> buffer(InitialValueBuffer);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD copied =
            GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                     buffer.data(), size, filePath.c_str());
        // A value that did not fit comes back cut to size - 1 bytes.
        if (copied < size - 1 || size >= LargestValueBuffer) {
            return std::string(buffer.data(), copied);
        }
        buffer.assign(static_cast<std::size_t>(size) * 2, '\0');
    }
}

std::vector<std::string> Win32ProfileFile::ReadKeyNames(const std::string& filePath,
                                                        const std::string& section) {
    std::vector<char> buffer(InitialValueBuffer);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD copied = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(),
                                                      size, filePath.c_str());
        // The names come as zero-terminated texts followed by one more zero;
        // a list that did not fit comes back cut to size - 2 bytes.
        if (copied < size - 2 || size >= LargestValueBuffer) {
            std::vector<std::string> names;
            const char* next = buffer.data();
            const char* end = buffer.data() + copied;
            while (next < end) {
                std::string name(next);
                next += name.size() + 1;
                names.push_back(std::move(name));
            }
            return names;
        }
        buffer.assign(static_cast<std::size_t>(size) * 2, '\0');
    }
}

bool Win32ProfileFile::WriteString(const std::string& filePath, const std::string& section,
                                   const std::string& key, const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      filePath.c_str()) != FALSE;
}

}  // namespace tovimo
