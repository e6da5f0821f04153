#include "platform/win32_profile_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/win32_process_launcher.h"

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

ProfileText Win32ProfileFile::ReadText(const std::string& filePath) {
    HANDLE file = ::CreateFileA(filePath.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return {ProfileText::State::Missing, {}};
        return {ProfileText::State::Unreadable, {}};
    }
    ProfileText result{ProfileText::State::Read, {}};
    char buffer[8192];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &read, nullptr)) {
            result = {ProfileText::State::Unreadable, {}};
            break;
        }
        if (read == 0) break;
        result.text.append(buffer, read);
        if (result.text.size() > LargestValueBuffer) {
            result = {ProfileText::State::Unreadable, {}};
            break;
        }
    }
    ::CloseHandle(file);
    return result;
}

namespace {

bool WriteNewFile(const std::string& path, const std::string& text, bool& made) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    made = file != INVALID_HANDLE_VALUE;
    if (!made) return false;
    bool written = true;
    std::size_t done = 0;
    while (written && done < text.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1u << 20));
        DWORD wrote = 0;
        written = ::WriteFile(file, text.data() + done, chunk, &wrote, nullptr) && wrote == chunk;
        done += wrote;
    }
    // On the disk before it replaces the old file: a power loss then leaves
    // one of the two whole.
    written = written && ::FlushFileBuffers(file);
    ::CloseHandle(file);
    return written;
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

ReplaceOutcome Win32ProfileFile::ReplaceWhole(const std::string& filePath, const std::string& text) {
    const std::string beside = filePath + ".tmp";
    bool made = false;
    if (!WriteNewFile(beside, text, made)) {
        if (!made) return ReplaceOutcome::NothingBeside;
        ::DeleteFileA(beside.c_str());
        return ReplaceOutcome::Failed;
    }
    if (!FileExists(filePath)) {
        if (::MoveFileExA(beside.c_str(), filePath.c_str(), MOVEFILE_WRITE_THROUGH))
            return ReplaceOutcome::Replaced;
        ::DeleteFileA(beside.c_str());
        return ReplaceOutcome::NothingBeside;
    }
    if (::ReplaceFileA(filePath.c_str(), beside.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                       nullptr, nullptr))
        return ReplaceOutcome::Replaced;
    // ReplaceFileA may fail after it has moved the old file away; the new
    // one then takes the free place. Where that fails too, the new text
    // stays beside it, so that nothing is lost.
    if (!FileExists(filePath)) {
        return ::MoveFileExA(beside.c_str(), filePath.c_str(), MOVEFILE_WRITE_THROUGH)
                   ? ReplaceOutcome::Replaced
                   : ReplaceOutcome::Failed;
    }
    // The old file is untouched (it is read-only, held open by another
    // program, or the folder lets no file be renamed): written in place.
    ::DeleteFileA(beside.c_str());
    return ReplaceOutcome::NothingBeside;
}

std::string ProfileLockName(const std::string& filePath) {
    std::string folder = win32::FolderOfPath(filePath);
    if (!folder.empty())
        ::CharUpperBuffA(folder.data(), static_cast<DWORD>(folder.size()));
    // A mutex name may hold no "\": the folder is known by its hash.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : folder) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "Local\\Tovimo.settings.%016llx",
                  static_cast<unsigned long long>(hash));
    return name;
}

std::unique_ptr<ProfileLock> Win32ProfileFile::LockFolder(const std::string& filePath) {
    class MutexLock : public ProfileLock {
    public:
        explicit MutexLock(const std::string& name)
            : mutex_(::CreateMutexA(nullptr, FALSE, name.c_str())) {
            if (!mutex_) return;
            const DWORD waited = ::WaitForSingleObject(mutex_, LockWaitMs);
            // An abandoned mutex (its holder ended midway) is owned all the same.
            owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        }
        ~MutexLock() override {
            if (owned_) ::ReleaseMutex(mutex_);
            if (mutex_) ::CloseHandle(mutex_);
        }

    private:
        HANDLE mutex_;
        bool owned_ = false;
    };
    return std::make_unique<MutexLock>(ProfileLockName(filePath));
}

}  // namespace tovimo
