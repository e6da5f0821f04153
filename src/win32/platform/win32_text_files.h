#pragma once
// Whole files through CreateFileA, ReadFile and WriteFile.
#include "platform/text_files.h"

namespace tovimo::win32 {

class Win32TextFiles : public TextFiles {
public:
    std::optional<std::string> ReadAll(const std::string& path) override;
    bool WriteAll(const std::string& path, const std::string& content) override;
    bool Append(const std::string& path, const std::string& content) override;
    std::string Cp932ToUtf8(const std::string& text) override;
};

}  // namespace tovimo::win32
