#include "long_paths.h"

#include "drawings/path_parts.h"
#include "platform/win32_api.h"

namespace tovimo::wine_tests {

namespace {

std::wstring Extended(const std::string& path) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return L"\\\\?\\" + wide;
}

}  // namespace

DeepFolder::DeepFolder(const std::string& base, const std::string& levelName,
                       std::size_t minLength) {
    std::string path = base;
    while (CharacterCount(path) <= minLength) {
        path += "\\" + levelName;
        if (!::CreateDirectoryW(Extended(path).c_str(), nullptr)) return;
        levels_.push_back(path);
    }
    path_ = path;
}

DeepFolder::~DeepFolder() {
    for (const std::string& file : files_) ::DeleteFileW(Extended(file).c_str());
    for (auto level = levels_.rbegin(); level != levels_.rend(); ++level)
        ::RemoveDirectoryW(Extended(*level).c_str());
}

bool DeepFolder::WriteFile(const std::string& name, const std::string& content) {
    if (path_.empty()) return false;
    const std::string file = path_ + "\\" + name;
    const HANDLE handle = ::CreateFileW(Extended(file).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    files_.push_back(file);
    DWORD written = 0;
    const BOOL ok = ::WriteFile(handle, content.data(), static_cast<DWORD>(content.size()),
                                &written, nullptr);
    ::CloseHandle(handle);
    return ok && written == content.size();
}

}  // namespace tovimo::wine_tests
