#include "platform/win32_file_system.h"

#include "platform/win32_api.h"

#include <string>
#include <vector>

namespace tovimo::win32 {

namespace {

// The search runs on wide names, each converted here without best fit: the
// ANSI search converts with best fit and would hand a look-alike (even a
// "\" for a yen sign) that names another file or none, and nothing in that
// name would tell.
void TakeEntry(const WIN32_FIND_DATAW& found, DirectoryEntry& entry) {
    // A name has at most MAX_PATH wide characters, each at most two bytes.
    char name[MAX_PATH * 2 + 1];
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, found.cFileName, -1,
                                           name, sizeof name, nullptr, &usedDefault);
    entry.name.assign(name, length > 0 ? static_cast<std::size_t>(length) - 1 : 0);
    entry.attributes = found.dwFileAttributes;
    entry.nameConverts = length > 0 && !usedDefault;
}

std::wstring Widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

SearchFailure FailureOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_NO_MORE_FILES: return SearchFailure::NothingFound;
        case ERROR_FILENAME_EXCED_RANGE: return SearchFailure::PathTooLong;
        default: return SearchFailure::Unreadable;
    }
}

class Win32DirectorySearch : public DirectorySearch {
public:
    explicit Win32DirectorySearch(HANDLE handle) : handle_(handle) {}
    ~Win32DirectorySearch() override { FindClose(handle_); }
    Win32DirectorySearch(const Win32DirectorySearch&) = delete;
    Win32DirectorySearch& operator=(const Win32DirectorySearch&) = delete;

    bool Next(DirectoryEntry& entry) override {
        if (!FindNextFileW(handle_, &found_)) return false;
        TakeEntry(found_, entry);
        return true;
    }

private:
    HANDLE handle_;
    WIN32_FIND_DATAW found_{};
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

bool Win32FileSystem::SetLastWriteTime(const std::string& path, std::uint64_t lastWriteTime) {
    const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const FILETIME time{static_cast<DWORD>(lastWriteTime), static_cast<DWORD>(lastWriteTime >> 32)};
    const BOOL set = SetFileTime(file, nullptr, nullptr, &time);
    return CloseHandle(file) && set;
}

std::unique_ptr<DirectorySearch> Win32FileSystem::FindFirst(const std::string& pattern,
                                                            DirectoryEntry& first,
                                                            SearchFailure& failure) {
    WIN32_FIND_DATAW found{};
    const HANDLE handle = FindFirstFileW(Widen(pattern).c_str(), &found);
    if (handle == INVALID_HANDLE_VALUE) {
        failure = FailureOf(GetLastError());
        return nullptr;
    }
    failure = SearchFailure::NothingFound;
    TakeEntry(found, first);
    return std::make_unique<Win32DirectorySearch>(handle);
}

std::optional<FolderIdentity> Win32FileSystem::IdentifyFolder(const std::string& path) {
    // Opening a folder needs the backup-semantics flag; the open follows
    // links, so a link gives its target's identity.
    const HANDLE folder =
        CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    const BOOL known = GetFileInformationByHandle(folder, &information);
    CloseHandle(folder);
    // Some network file systems give every file the index 0: no identity.
    if (!known || (information.nFileIndexHigh == 0 && information.nFileIndexLow == 0))
        return std::nullopt;
    return FolderIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh,
                          information.nFileIndexLow};
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

std::string Win32FileSystem::PathKey(const std::string& path) {
    if (path.empty()) return std::string();
    const int length = static_cast<int>(path.size());
    const int chars = ::MultiByteToWideChar(CP_ACP, 0, path.data(), length, nullptr, 0);
    if (chars <= 0) return path;
    std::wstring wide(static_cast<std::size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path.data(), length, wide.data(), chars);
    std::wstring upper(wide.size(), L'\0');
    const int mapped = ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), chars,
                                      upper.data(), chars);
    if (mapped == chars) wide = std::move(upper);
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

}  // namespace tovimo::win32
