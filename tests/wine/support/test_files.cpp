#include "test_files.h"

#include "drawings/path_parts.h"

#include <cstdio>
#include <vector>

#include "platform/win32_api.h"
#include "platform/win32_process_launcher.h"
#include "text/cp932_text.h"

namespace tovimo::wine_tests {

std::string BinFolder() {
    return win32::Win32ProcessLauncher().ProgramFolder();
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::string content;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) content.append(chunk, got);
    std::fclose(file);
    return content;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && written;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry{};
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return names;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool CopyInto(const std::string& file, const std::string& folder) {
    std::string name = file.substr(win32::FolderOfPath(file).size());
    std::string target = folder;
    if (!target.empty() && target.back() != '\\') target += '\\';
    return ::CopyFileA(file.c_str(), (target + name).c_str(), FALSE) != FALSE;
}

TempFolder::TempFolder(const std::string& name) {
    char base[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, base);
    // Unique per process and per object, so that a test never finds the
    // leftovers of another.
    static int counter = 0;
    char unique[64];
    std::snprintf(unique, sizeof unique, "-%lu-%d", ::GetCurrentProcessId(), ++counter);
    path_ = std::string(base) + name + unique + "\\";
    RemoveTree(path_);
    ::CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

std::string TempFolder::MakeFolder(const std::string& relativePath) {
    std::string path = path_;
    std::size_t start = 0;
    for (;;) {
        const int found = FindText(std::string_view(relativePath).substr(start), "\\");
        const std::size_t end =
            found ? start + static_cast<std::size_t>(found) - 1 : relativePath.size();
        path += relativePath.substr(start, end - start) + "\\";
        ::CreateDirectoryA(path.c_str(), nullptr);
        if (!found) break;
        start = end + 1;
    }
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::string();
    return path;
}

void RemoveTree(const std::string& folder) {
    std::string base = folder;
    if (base.empty()) return;
    // "出力表" ends in the byte of "\": only a real separator counts.
    if (!EndsWithSeparator(base)) base += '\\';
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((base + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = base + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                // A link: removed if it can be, never followed (it may lead
                // back up, or out of the tree).
                ::RemoveDirectoryA(path.c_str());
            } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(base.c_str());
}

}  // namespace tovimo::wine_tests
