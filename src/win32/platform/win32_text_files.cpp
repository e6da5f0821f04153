#include "platform/win32_text_files.h"

#include "platform/win32_api.h"

namespace tovimo::win32 {

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // CloseHandle is where a write-back error may first show.
    bool Close() {
        if (!IsOpen()) return true;
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// A list of drawing paths is small; anything bigger than this is not one.
constexpr LONGLONG LargestFile = 64LL * 1024 * 1024;

}  // namespace

std::optional<std::string> Win32TextFiles::ReadAll(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > LargestFile) return std::nullopt;
    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), content.data() + done, static_cast<DWORD>(content.size() - done),
                      &read, nullptr))
            return std::nullopt;
        if (read == 0) break;  // the file got shorter meanwhile
        done += read;
    }
    content.resize(done);
    return content;
}

namespace {

bool WriteWhole(FileHandle& file, const std::string& content) {
    if (!file.IsOpen()) return false;
    std::size_t done = 0;
    while (done < content.size()) {
        DWORD written = 0;
        if (!WriteFile(file.Get(), content.data() + done, static_cast<DWORD>(content.size() - done),
                       &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return FlushFileBuffers(file.Get()) && file.Close();
}

}  // namespace

bool Win32TextFiles::WriteAll(const std::string& path, const std::string& content) {
    // Written beside the file and then moved over it, so that a reader (or
    // the next run, after a Ctrl+C or a full disk) finds the old list or the
    // new one, never a cut one.
    const std::string partial = path + ".tovimo-part";
    FileHandle file(CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!WriteWhole(file, content) ||
        !MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(partial.c_str());
        return false;
    }
    return true;
}

bool Win32TextFiles::Append(const std::string& path, const std::string& content) {
    // FILE_APPEND_DATA alone: every write goes to the end, whoever else writes.
    FileHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return WriteWhole(file, content);
}

std::string Win32TextFiles::Cp932ToUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(932, 0, text.data(), size, nullptr, 0);
    std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(932, 0, text.data(), size, utf16.data(), wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

}  // namespace tovimo::win32
