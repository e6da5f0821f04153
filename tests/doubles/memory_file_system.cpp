#include "memory_file_system.h"

#include "cp932_conversion.h"
#include "drawings/folder_walk.h"
#include "drawings/path_parts.h"

namespace tovimo::testing {

class MemoryFileSystem::Search : public DirectorySearch {
public:
    Search(MemoryFileSystem& owner, std::vector<DirectoryEntry> entries)
        : owner_(owner), entries_(std::move(entries)) {
        ++owner_.openSearches_;
        ++owner_.searchesStarted_;
    }
    ~Search() override { --owner_.openSearches_; }

    bool Next(DirectoryEntry& entry) override {
        if (next_ >= entries_.size()) return false;
        entry = entries_[next_++];
        return true;
    }

private:
    MemoryFileSystem& owner_;
    std::vector<DirectoryEntry> entries_;
    std::size_t next_ = 0;
};

namespace {

// The letters of code page 932 that have a case, upper-cased as Windows'
// invariant mapping does: Latin, Greek and Cyrillic, full-width Latin and
// the small Roman numerals.
char16_t UpperCase(char16_t unit) {
    const auto within = [unit](char16_t first, char16_t last) { return unit >= first && unit <= last; };
    if (within(u'a', u'z') || (within(u'\u03B1', u'\u03C9') && unit != u'\u03C2') ||
        within(u'\u0430', u'\u044F'))
        return static_cast<char16_t>(unit - 0x20);
    if (within(u'\uFF41', u'\uFF5A')) return static_cast<char16_t>(unit - 0x20);
    if (unit == u'\u0451') return u'\u0401';
    if (within(u'\u2170', u'\u217F')) return static_cast<char16_t>(unit - 0x10);
    return unit;
}

}  // namespace

std::string MemoryFileSystem::PathKey(const std::string& path) {
    const std::optional<std::u16string> wide = DecodeCp932(path);
    if (!wide) return path;
    std::string key;
    key.reserve(wide->size() * 2);
    for (const char16_t unit : *wide) {
        const char16_t upper = UpperCase(unit);
        key.push_back(static_cast<char>(upper & 0xFF));
        key.push_back(static_cast<char>(upper >> 8));
    }
    return key;
}

std::string MemoryFileSystem::Key(const std::string& path) {
    return LowerCaseAnsi(WithoutTrailingSeparators(path));
}

bool MemoryFileSystem::DeleteFile(const std::string& path) { return files_.RemoveFile(path); }

bool MemoryFileSystem::CreateDirectory(const std::string& path) {
    createCalls_.push_back(path);
    return files_.MakeFolder(path);
}

bool MemoryFileSystem::DirectoryExists(const std::string& path) {
    return files_.FolderExists(path);
}

PathKind MemoryFileSystem::GetPathKind(const std::string& path) {
    if (files_.FolderExists(path)) return PathKind::Folder;
    if (files_.FileExists(path)) return PathKind::File;
    return PathKind::Missing;
}

FileStamp MemoryFileSystem::GetFileStamp(const std::string& path) {
    const auto info = files_.InfoOf(path);
    if (!info) return {};
    return {true, static_cast<std::uint64_t>(info->lastWriteMs) * StepsPerMs, info->size};
}

bool MemoryFileSystem::SetLastWriteTime(const std::string& path, std::uint64_t lastWriteTime) {
    return files_.SetLastWriteMs(path, static_cast<std::int64_t>(lastWriteTime / StepsPerMs));
}

std::unique_ptr<DirectorySearch> MemoryFileSystem::FindFirst(const std::string& pattern,
                                                             DirectoryEntry& first,
                                                             SearchFailure& failure) {
    failure = SearchFailure::NothingFound;
    if (CharacterCount(pattern) > MaxPathCharacters) {
        failure = SearchFailure::PathTooLong;
        return nullptr;
    }
    const std::string_view name = FileNameOf(pattern);
    const std::string folder(WithoutTrailingSeparators(
        std::string_view(pattern).substr(0, pattern.size() - name.size())));
    if (!files_.FolderExists(folder)) return nullptr;
    if (files_.IsUnreadable(folder)) {
        failure = SearchFailure::Unreadable;
        return nullptr;
    }
    const bool all = name == "*.*" || name == "*";
    std::vector<DirectoryEntry> entries;
    const bool driveRoot = !folder.empty() && folder.back() == ':';
    if (all && !driveRoot) {
        entries.push_back({".", file_attribute::Directory});
        entries.push_back({"..", file_attribute::Directory});
    }
    for (const MemoryFiles::Entry& found : files_.List(folder)) {
        if (!all && LowerCaseAnsi(found.name) != LowerCaseAnsi(name)) continue;
        std::uint32_t attributes = found.isFolder ? file_attribute::Directory
                                                  : file_attribute::Archive;
        if (found.isLink) attributes |= file_attribute::ReparsePoint;
        if (auto extra = attributes_.find(Key(folder + "\\" + found.name));
            extra != attributes_.end()) {
            attributes |= extra->second;
        }
        entries.push_back({found.name, attributes, found.nameConverts});
    }
    if (entries.empty()) return nullptr;
    auto search = std::make_unique<Search>(*this, std::move(entries));
    search->Next(first);
    return search;
}

std::optional<FolderIdentity> MemoryFileSystem::IdentifyFolder(const std::string& path) {
    ++identityRequests_;
    if (withoutIdentity_.count(Key(path))) return std::nullopt;
    const std::optional<std::uint64_t> number = files_.FolderNumber(path);
    if (!number) return std::nullopt;
    return FolderIdentity{0, 0, *number};
}

void MemoryFileSystem::WithoutIdentity(const std::string& path) {
    withoutIdentity_.insert(Key(path));
}

std::string MemoryFileSystem::FullPathName(const std::string& path) {
    const bool hasDrive = path.size() >= 2 && path[1] == ':';
    if (hasDrive || path.starts_with("\\\\")) return path;
    const std::string_view base = WithoutTrailingSeparators(CurrentDirectory);
    if (path.starts_with("\\")) return std::string(base.substr(0, 2)) + path;
    return std::string(base) + "\\" + path;
}

void MemoryFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    attributes_[Key(path)] = attributes;
}

}  // namespace tovimo::testing
