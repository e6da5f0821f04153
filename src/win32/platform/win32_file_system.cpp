#include "platform/win32_file_system.h"

#include "platform/win32_api.h"

#include <vector>

namespace tovimo::win32 {

namespace {

void TakeEntry(const WIN32_FIND_DATAA& found, DirectoryEntry& entry) {
    entry.name.assign(found.cFileName);
    entry.attributes = found.dwFileAttributes;
}

class Win32DirectorySearch : public DirectorySearch {
public:
    explicit Win32DirectorySearch(HANDLE handle) : handle_(handle) {}
    ~Win32DirectorySearch() override { FindClose(handle_); }
    Win32DirectorySearch(const Win32DirectorySearch&) = delete;
    Win32DirectorySearch& operator=(const Win32DirectorySearch&) = delete;

    bool Next(DirectoryEntry& entry) override {
        if (!FindNextFileA(handle_, &found_)) return false;
        TakeEntry(found_, entry);
        return true;
    }

private:
    HANDLE handle_;
    WIN32_FIND_DATAA found_{};
};

}  // namespace

bool Win32FileSystem::DeleteFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::CreateDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::DirectoryExists(const std::string& path) {
    return GetPathKind(path) == PathKind::Folder;
}

PathKind Win32FileSystem::GetPathKind(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

FileStamp Win32FileSystem::GetFileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.lastWriteTime = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                          data.ftLastWriteTime.dwLowDateTime;
    stamp.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return stamp;
}

std::unique_ptr<DirectorySearch> Win32FileSystem::FindFirst(const std::string& pattern,
                                                            DirectoryEntry& first) {
    WIN32_FIND_DATAA found{};
    const HANDLE handle = FindFirstFileA(pattern.c_str(), &found);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    TakeEntry(found, first);
    return std::make_unique<Win32DirectorySearch>(handle);
}

std::string Win32FileSystem::FullPathName(const std::string& path) {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()),
                                              buffer.data(), nullptr);
        if (length == 0) return path;
        // A buffer too small gives the size needed, its zero included.
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.assign(length, '\0');
    }
}

}  // namespace tovimo::win32
